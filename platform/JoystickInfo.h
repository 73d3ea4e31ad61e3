#pragma once
// The joystick record every scene and the heroine are handed: what the first joystick said
// about itself at start-up.

#include <cstdint>

#include "platform/ControlReads.h"

// Whether joystick 1 answered at start-up, and its axis ranges. The heroine refreshes it when
// a pad turns up later.
class JoystickInfo {
public:
    virtual ~JoystickInfo() = default;

    // Asks joystick 1 again, through reads: available when it answers both queries.
    void Refresh(const ControlReads& reads);

    // An axis counts as pushed toward its minimum below minimum + 1000 and toward its maximum
    // above maximum - 1000 (unsigned comparisons).
    static constexpr UINT kDeadZone = 1000;

    uint8_t available = 0;
    JOYCAPSA caps = {};
};

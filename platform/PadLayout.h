#pragma once
// Which of the pad's buttons does what. The pad has five buttons the game reads (the four of
// the joystick record and Start); the player gives each of the four pad actions one of them.
// Readings are rearranged before anyone sees them, so the game, its menus and its recordings
// always see the button of an action where the game's own layout has it: a recorded run plays
// the same whatever layout its watcher uses.

#include <cstdint>

#include "platform/Platform.h"

enum class PadAction : uint8_t { Shoot, Bomb, Slow, Pause, Count };
constexpr int kPadActionCount = static_cast<int>(PadAction::Count);
constexpr int kPadButtonCount = 5;  // buttons 1 to 4, then Start

struct PadLayout {
    // The button (0 to kPadButtonCount - 1) of each action; no button serves two actions.
    int buttons[kPadActionCount];

    static PadLayout Defaults();
    // Gives the action the button, and the action that had it the action's old button.
    void Assign(PadAction action, int button);
    // The button no action holds, which the game reads as a second slow button.
    int Spare() const;
    bool operator==(const PadLayout& other) const;
};

// The name of each action as the settings file writes it, and each button's name ("1" to
// "4", "start"); -1 for a name that is no button.
extern const char* const kPadActionNames[kPadActionCount];
const char* PadButtonName(int button);
int PadButtonFromName(const char* name);
// The reading's bit of a button, and the button of the lowest bit set in buttons (-1: none).
UINT PadButtonBit(int button);
int PadButtonOf(UINT buttons);

namespace platform {

// The layout every reading is rearranged by from now on (the defaults after InstallBackend).
void SetPadLayout(const PadLayout& layout);
// A reading's buttons as the game's own layout has them.
UINT ArrangePadButtons(UINT buttons);
// While on, readings are left as the pad gives them, so a screen can learn which button is
// pressed to bind it.
void ReadPadUnarranged(bool on);

}  // namespace platform

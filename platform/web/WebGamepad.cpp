#include "platform/web/WebGamepad.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "platform/JoystickReading.h"

namespace {

// The standard layout's buttons, in the order the reading wants them.
enum PadSlot { kA, kB, kX, kY, kStart, kUp, kDown, kLeft, kRight, kStickX, kStickY, kSlots };

// Fills values (axes as -1..1, buttons as 0 or 1) from the first connected pad; false when
// there is none. Outside a standard layout the first two axes and buttons 0..3 count.
// clang-format off
EM_JS(int, ReadFirstPad, (double* values), {
    const pads = navigator.getGamepads ? navigator.getGamepads() : [];
    const pad = Array.from(pads).find((each) => each && each.connected);
    if (!pad)
        return 0;
    const pressed = (index) => (pad.buttons[index] && pad.buttons[index].pressed) ? 1 : 0;
    const standard = pad.mapping === "standard";
    const slots = [pressed(0), pressed(1), pressed(2), pressed(3),
                   standard ? pressed(9) : 0,
                   standard ? pressed(12) : 0, standard ? pressed(13) : 0,
                   standard ? pressed(14) : 0, standard ? pressed(15) : 0,
                   pad.axes.length > 0 ? pad.axes[0] : 0, pad.axes.length > 1 ? pad.axes[1] : 0];
    HEAPF64.set(slots, values >> 3);
    return 1;
});
// clang-format on

// clang-format off
EM_JS(void, FirstPadName, (char* name, int size), {
    const pads = navigator.getGamepads ? navigator.getGamepads() : [];
    const pad = Array.from(pads).find((each) => each && each.connected);
    stringToUTF8(pad ? pad.id : "", name, size);
});
// clang-format on

int16_t AxisValue(double position)
{
    return static_cast<int16_t>(std::lround(std::clamp(position, -1.0, 1.0) * 32767.0));
}

}  // namespace

bool ReadGamepad(JOYINFO& reading)
{
    double values[kSlots] = {};
    if (!ReadFirstPad(values))
        return false;
    PadState pad;
    for (int i = 0; i < 4; ++i)
        pad.buttons[i] = values[kA + i] != 0;
    pad.start = values[kStart] != 0;
    pad.up = values[kUp] != 0;
    pad.down = values[kDown] != 0;
    pad.left = values[kLeft] != 0;
    pad.right = values[kRight] != 0;
    pad.stickX = AxisValue(values[kStickX]);
    pad.stickY = AxisValue(values[kStickY]);
    reading = ReadingFromPad(pad);
    return true;
}

std::string GamepadName()
{
    char name[256];
    FirstPadName(name, sizeof name);
    return name;
}

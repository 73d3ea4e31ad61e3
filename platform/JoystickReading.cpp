#include "platform/JoystickReading.h"

namespace {

constexpr UINT kAxisMaximum = 65535;

UINT AxisFromStick(int16_t value, bool towardMinimum, bool towardMaximum)
{
    if (towardMinimum != towardMaximum)
        return towardMinimum ? 0 : kAxisMaximum;
    return static_cast<UINT>(value + 32768);
}

}  // namespace

JOYINFO ReadingFromPad(const PadState& pad)
{
    JOYINFO reading = {};
    reading.wXpos = AxisFromStick(pad.stickX, pad.left, pad.right);
    reading.wYpos = AxisFromStick(pad.stickY, pad.up, pad.down);
    for (int i = 0; i < 4; ++i) {
        if (pad.buttons[i])
            reading.wButtons |= JOY_BUTTON1 << i;
    }
    if (pad.start)
        reading.wButtons |= JOY_BUTTONSTART;
    return reading;
}

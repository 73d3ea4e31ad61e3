#include "platform/JoystickInfo.h"

void JoystickInfo::Refresh()
{
    JOYINFO reading;
    available = joyGetPos(JOYSTICKID1, &reading) == JOYERR_NOERROR;
    if (available)
        available = joyGetDevCapsA(JOYSTICKID1, &caps, sizeof caps) == JOYERR_NOERROR;
}

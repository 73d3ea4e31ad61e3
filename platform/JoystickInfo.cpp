#include "platform/JoystickInfo.h"

#include "platform/Journal.h"

void JoystickInfo::Refresh()
{
    JOYINFO reading;
    available = journal::ReadPad(reading) == JOYERR_NOERROR;
    if (available)
        available = journal::ReadPadCaps(caps) == JOYERR_NOERROR;
}

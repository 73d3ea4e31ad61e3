#include "platform/JoystickInfo.h"

void JoystickInfo::Refresh(const ControlReads& reads)
{
    JOYINFO reading;
    available = reads.readPad(reading) == JOYERR_NOERROR;
    if (available)
        available = reads.readPadCaps(caps) == JOYERR_NOERROR;
}

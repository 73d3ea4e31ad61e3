#include "platform/Backend.h"

DWORD timeGetTime()
{
    return platform::CurrentBackend().Milliseconds();
}

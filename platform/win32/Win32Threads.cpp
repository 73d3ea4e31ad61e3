#include <windows.h>

#include "platform/Threads.h"

void LowerThreadPriority(int niceness)
{
    // Windows has no niceness scale, only a few steps: any niceness is the one below normal,
    // and the most, idle.
    SetThreadPriority(GetCurrentThread(),
                      niceness >= 19 ? THREAD_PRIORITY_IDLE : THREAD_PRIORITY_BELOW_NORMAL);
}

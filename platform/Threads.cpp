#include "platform/Threads.h"

#include <sys/resource.h>
#include <unistd.h>

void LowerThreadPriority(int niceness)
{
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), niceness);
}

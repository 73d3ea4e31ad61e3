#include "platform/sdl/TimingReport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

double Milliseconds(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double NowMilliseconds()
{
    return Milliseconds(CLOCK_MONOTONIC);
}

// Taken before any other static initialisation of the program (the archive is mapped then),
// so that only the loading of the executable itself goes uncounted.
struct StartTime {
    double milliseconds = NowMilliseconds();
};
__attribute__((init_priority(101))) const StartTime programStart;

bool TimingAsked()
{
    static const bool asked = [] {
        const char* timing = std::getenv("KORIMO_TIMING");
        return timing && std::strcmp(timing, "1") == 0;
    }();
    return asked;
}

}  // namespace

void ReportFirstFrame()
{
    static bool reported = false;
    if (reported || !TimingAsked())
        return;
    reported = true;
    std::fprintf(stderr,
                 "korimo: first frame presented after %.1f ms (%.1f ms of processor "
                 "time, all threads)\n",
                 NowMilliseconds() - programStart.milliseconds,
                 Milliseconds(CLOCK_PROCESS_CPUTIME_ID));
}

void ReportFrameStart(uint32_t clock)
{
    if (TimingAsked())
        std::fprintf(stderr, "korimo: frame starts at %u ms\n", clock);
}

#pragma once
// What a run starts from, and so all that restarts it exactly: the game length, the ranking's
// best on show, the keys, the pad's record and both generators. A fresh run takes the game's
// as they are; a recording carries the one its run began with.

#include <cstdint>

#include "objects/KeyBindings.h"

struct RunSetup {
    static constexpr int kRandomWords = 624;

    uint32_t gameLength = 0;  // 0: one minute, 1: five minutes
    int32_t rankedBest = 0;   // the best score of the ranking as the run began, on show
    uint32_t eventMask = 0;   // the EventBits the run's scene hears
    KeyBindings keys = {};
    uint32_t padAvailable = 0;
    uint32_t padRanges[4] = {};  // x minimum, x maximum, y minimum, y maximum
    uint32_t lcgState = 0;
    uint32_t randomIndex = 0;
    uint32_t randomState[kRandomWords] = {};
};

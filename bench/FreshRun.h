#pragma once
// The program-wide state a benchmark's run starts from, as at a program's start: the scripted
// platform at the given start clock (the run's seed), no scene, no snapshots, a fresh random
// stream and an empty save record.

#include <cstdint>
#include <cstring>

#include "app/Globals.h"
#include "app/SaveRecord.h"
#include "platform/scripted/Scripted.h"
#include "random/Random.h"
#include "replay/Journal.h"
#include "scenes/Scene.h"

inline void ResetForFreshRun(uint32_t startClock, bool recordRuns)
{
    scripted::Install();
    scripted::SetClock(startClock);
    snapshotCount = 0;
    theLcgRandom = LcgRandom{};
    currentScene = nullptr;
    std::memset(&saveRecord, 0, sizeof saveRecord);
    journal::RecordRuns(recordRuns);
}

// The soak: the whole game on the scripted platform, five-minute run after five-minute run in
// one process. After every run, back on the title, it checks that the pool has every block
// back (each object deleted exactly once), that the heap has not grown but for the voices the
// game keeps, that the ranking is in order with the run's score in it, and that the save file
// on disk matches the scores in memory. Any fault ends the soak with exit code 1.
//
//     korimo_soak [--runs N] [--seed S]      (in a folder holding korimo.set / korimo.dat)

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/SaveRecord.h"
#include "app/SmallBlockPool.h"
#include "scenes/TitleScene.h"
#include "tests/soak/SoakChecks.h"
#include "tests/soak/SoakSession.h"
#include "tests/support/GameHarness.h"

namespace {

struct Settings {
    int runs = 100;
    uint32_t seed = 1;
};

bool ParseSettings(int argc, char** argv, Settings& settings)
{
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 == argc)
            return false;
        long value = std::strtol(argv[i + 1], nullptr, 10);
        if (std::strcmp(argv[i], "--runs") == 0 && value > 0)
            settings.runs = static_cast<int>(value);
        else if (std::strcmp(argv[i], "--seed") == 0 && value >= 0)
            settings.seed = static_cast<uint32_t>(value);
        else
            return false;
    }
    return true;
}

struct Tally {
    int byTime = 0;
    int byHit = 0;
    int voices = 0;
    int faults = 0;
};

void Report(int run, const RunReport& report, size_t heap)
{
    std::printf("run %3d: %s %-7s after %5.1f s (%5d frames), score %7d, heap %6zu KiB,"
                " %d new voices\n",
                run, report.careful ? "careful, " : "restless,",
                report.byTime ? "time up" : "hit", report.milliseconds / 1000.0, report.frames,
                report.byTime ? report.runScore : report.lastScore, heap >> 10,
                report.newVoices);
    std::fflush(stdout);
}

// Plays the runs one after another in one booted game; stops at the first fault.
void Soak(GameHarness& game, const Settings& settings, Tally& tally)
{
    game.RunFrames(1);
    const int32_t titlePool = smallBlockPool.FreeCount();
    std::printf("soak: %d five-minute runs, seed %u; %d of %d pool blocks free on the title\n",
                settings.runs, settings.seed, titlePool, SmallBlockPool::kBlockCount);

    SoakSession session(game, settings.seed);
    size_t heap = HeapInUse();
    for (int run = 1; run <= settings.runs; ++run) {
        const SaveRecord before = saveRecord;
        RunReport report = session.PlayOneRun();
        const size_t heapBefore = heap;
        heap = HeapInUse();
        Report(run, report, heap);
        (report.byTime ? tally.byTime : tally.byHit)++;
        tally.voices += report.newVoices;

        std::string fault = report.fault;
        if (fault.empty() && smallBlockPool.FreeCount() != titlePool)
            fault = std::to_string(titlePool - smallBlockPool.FreeCount()) +
                    " pool blocks were not given back";
        if (fault.empty())
            fault = CheckHeap(heapBefore, heap, report.newVoices);
        if (fault.empty())
            fault = CheckRanking(before, saveRecord, report);
        if (fault.empty())
            fault = CheckSaveFile(kSaveFileName, saveRecord);
        if (!fault.empty()) {
            std::fprintf(stderr, "soak: run %d: %s\n", run, fault.c_str());
            tally.faults++;
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!ParseSettings(argc, argv, settings)) {
        std::fprintf(stderr, "usage: %s [--runs N] [--seed S]\n", argv[0]);
        return 2;
    }
    std::remove(kSaveFileName);  // a first start: no scores yet

    GameHarness::Options options;
    options.startClock = 1000 + settings.seed;  // seeds the game's own generator
    options.joystick = true;
    options.saveFile = kSaveFileName;
    Tally tally;
    {
        GameHarness game(options);
        if (!game.Boot([] { return new TitleScene; })) {
            std::fprintf(stderr, "soak: the game did not start\n");
            return 1;
        }
        Soak(game, settings, tally);
        if (game.Close() != 0) {
            std::fprintf(stderr, "soak: the game closed with exit code %d\n", game.ExitCode());
            tally.faults++;
        }
    }
    // Shutting down writes the save file once more.
    std::string fault = CheckSaveFile(kSaveFileName, saveRecord);
    if (!fault.empty()) {
        std::fprintf(stderr, "soak: at exit: %s\n", fault.c_str());
        tally.faults++;
    }
    std::printf("soak: %d runs ended by time, %d by a hit, %d voices made; %s\n", tally.byTime,
                tally.byHit, tally.voices, tally.faults ? "FAILED" : "every run checked out");
    return tally.faults ? 1 : 0;
}

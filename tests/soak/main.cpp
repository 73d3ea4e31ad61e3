// The soak: the whole game on the scripted platform, five-minute run after five-minute run in
// one process, played through its screens as one player would: Down and Space on the title, a
// run until the time is up or she is hit, Space out of the ending or the game-over screen.
// Runs are flown in turn by a restless pilot, who seldom lasts a minute, and by the careful
// one of the golden run, who often lasts the five; the clock steps by a frame with random
// jitter and, rarely, a long stall, as when the window is dragged. After every run, back on
// the title, it checks that the pool has every block back (each object deleted exactly once),
// that the heap has not grown but for the voices the game keeps, that the ranking is in order
// with the run's score in it, and that the save file on disk matches the scores in memory.
// Any fault ends the soak with exit code 1.
//
//     korimo_soak [--runs N] [--seed S]      (in a folder holding korimo.set / korimo.dat)

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/SaveRecord.h"
#include "app/SmallBlockPool.h"
#include "scenes/EndingScene.h"
#include "scenes/GameOverScene.h"
#include "scenes/TitleScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/support/GameHarness.h"

namespace {

// An effect gets another voice whenever all of its voices are sounding, and keeps it: a copy
// of the clip. Effects are short, so one voice holds less than this.
constexpr size_t kLargestVoice = 256 << 10;
// The allocator's own bookkeeping may move a little between two visits to the title.
constexpr size_t kHeapSlack = 64 << 10;

// Bytes the heap has handed out and not taken back; 0 when the allocator cannot tell (the
// sanitizers replace it, and find leaks themselves).
size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    // Big blocks (the decoded music) are mapped apart from the arena.
    return info.uordblks + info.hblkhd;
}

// The heap on the title came back to where it was, but for the voices the game made during
// the run and keeps by design. Each check gives an empty string, or what is wrong.
std::string CheckHeap(size_t before, size_t after, int newVoices)
{
    if (before == 0 || after <= before + kHeapSlack + newVoices * kLargestVoice)
        return {};
    return "the heap grew by " + std::to_string((after - before) >> 10) + " KiB with " +
           std::to_string(newVoices) + " new voices";
}

// A five-minute run left the one-minute ranking alone, kept the five-minute one in order
// behind its sentinel, and put `reached` among the kept ten unless it fell below all of them.
// A hit may come after grazes in its own frame, so the score recorded may be a little higher
// than the last one shown.
std::string CheckRanking(const SaveRecord& before, const SaveRecord& after, int32_t reached)
{
    if (std::memcmp(&before.tables[0], &after.tables[0], sizeof(HighScoreTable)) != 0)
        return "a five-minute run changed the one-minute ranking";
    const int32_t* kept = after.tables[1].scores + 1;
    if (!std::is_sorted(kept, kept + 10) || kept[10] != HighScoreTable::kSentinel)
        return "the five-minute ranking is out of order or lost its sentinel";
    // One score in and the lowest one out, or nothing changed.
    std::vector<int32_t> old(before.tables[1].scores + 1, before.tables[1].scores + 11);
    std::sort(old.begin(), old.end());
    std::vector<int32_t> added, dropped;
    std::set_difference(kept, kept + 10, old.begin(), old.end(), std::back_inserter(added));
    std::set_difference(old.begin(), old.end(), kept, kept + 10, std::back_inserter(dropped));
    if (added.empty())
        return reached > kept[0] ? "the score " + std::to_string(reached) + " is missing" : "";
    if (added.size() != 1 || dropped.size() != 1 || dropped[0] != old[0] || added[0] < reached)
        return "the ranking changed by more than the run's score " + std::to_string(reached);
    return {};
}

// The file holds exactly the record's 100 bytes.
std::string CheckSaveFile(const char* path, const SaveRecord& expected)
{
    unsigned char bytes[sizeof(SaveRecord) + 1];
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return std::string(path) + " is missing";
    size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    if (got != sizeof(SaveRecord) || std::memcmp(bytes, &expected, sizeof expected) != 0)
        return std::string(path) + " (" + std::to_string(got) +
               " bytes) differs from the scores in memory";
    return {};
}

constexpr uint32_t kFrame = 17;
constexpr uint32_t kFiveMinutes = 300000;

// Every key the heroine reads: the arrows, the keypad's eight directions, fire, both bomb
// keys and both slow keys.
constexpr int kKeys[] = {VK_UP,      VK_DOWN,    VK_LEFT,    VK_RIGHT,   VK_NUMPAD1, VK_NUMPAD2,
                         VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9,
                         VK_SPACE,   'B',        'N',        'C',        'V'};

template <typename SceneType>
SceneType* Current()
{
    return dynamic_cast<SceneType*>(currentScene);
}

class Soak {
public:
    Soak(GameHarness& game, uint32_t seed) : game(game), chance(seed) {}

    // From the title to the title again through one five-minute run; empty, or the fault.
    std::string PlayOneRun(int run)
    {
        const int buffersBefore = buffersMade;
        const SaveRecord before = saveRecord;
        Wait(Below(250));  // some of the logo, or none of it
        TitleScene* title = Current<TitleScene>();
        if (!title)
            return "the run did not start from the title";
        for (int vk : {VK_SPACE, VK_DOWN}) {
            if ((vk == VK_SPACE && title->state == TitleScene::kLogo) ||
                (vk == VK_DOWN && saveRecord.gameMode != 1)) {
                scripted::PressKey(vk);
                Step(kFrame);
            }
        }
        if (title->state != TitleScene::kMenu || saveRecord.gameMode != 1)
            return "the title did not offer the five-minute game";
        scripted::PressKey(VK_SPACE);
        if (!RunUntil([] { return Current<GameScene>() != nullptr; }, 60))  // a 512 ms fade
            return "Space on the menu started no game";

        GameScene* scene = Current<GameScene>();
        const uint32_t start = scene->startTime;
        const bool careful = run % 2 == 0;  // any two runs in a row see both pilots
        Pilot pilot;
        int32_t lastScore = 0;
        int frames = 0;
        for (; currentScene == scene; ++frames) {
            lastScore = scene->score;
            // Stalls included, a run can last its five minutes and one stall more.
            if (timeGetTime() - start > kFiveMinutes + 60000)
                return "the five-minute run went on past its time";
            careful ? pilot.Steer(*scene) : SteerRestlessly();
            if (!Step(GameFrameStep()))
                return "the window closed during the run";
        }
        const uint32_t lasted = timeGetTime() - start;
        LetGo();

        EndingScene* ending = Current<EndingScene>();
        const int32_t reached = ending ? ending->runScore : lastScore;
        const bool byTime = ending != nullptr;
        std::string fault = ending ? LeaveEnding(ending, lasted) : LeaveGameOver();
        std::printf("run %3d: %s %-7s after %5.1f s (%5d frames), score %7d, %d new voices\n",
                    run, careful ? "careful, " : "restless,", byTime ? "time up" : "hit",
                    lasted / 1000.0, frames, reached, buffersMade - buffersBefore);
        std::fflush(stdout);
        return fault.empty() ? CheckRanking(before, saveRecord, reached) : fault;
    }

    int buffersMade = 0;  // sound buffers seen so far: the nine clips' own, then the voices

private:
    std::string LeaveEnding(EndingScene* ending, uint32_t lasted)
    {
        if (lasted <= kFiveMinutes)
            return "the ending came before the five minutes were up";
        // The ranking ignores Space; the staff roll starts when the ending is 20 s old.
        scripted::PressKey(VK_SPACE);
        auto rolling = [ending] {
            return Current<EndingScene>() != ending || ending->state >= EndingScene::kStaffRoll;
        };
        if (!RunUntil(rolling, 1500) || Current<EndingScene>() != ending)
            return "the ending left before the staff roll, or never reached it";
        Wait(Below(2500));  // some of the roll, or all of it and the closing screen
        scripted::PressKey(VK_SPACE);
        if (!RunUntil([] { return Current<TitleScene>() != nullptr; }, 10))
            return "Space in the staff roll did not bring back the title";
        return {};
    }

    std::string LeaveGameOver()
    {
        GameOverScene* over = Current<GameOverScene>();
        if (!over)
            return "the run ended in neither the ending nor the game-over screen";
        Wait(Below(60));
        // The first press ends the sweep or starts the fade, whichever is due.
        scripted::PressKey(VK_SPACE);
        Step(kFrame);
        if (Current<GameOverScene>() == over && over->state == GameOverScene::kHold) {
            Wait(Below(30));
            scripted::PressKey(VK_SPACE);
        }
        if (!RunUntil([] { return Current<TitleScene>() != nullptr; }, 60))
            return "the game-over screen did not give way to the title";
        return {};
    }

    // A pilot without a plan: a random mix of keys and stick held for a random number of
    // frames, mostly short bursts, now and then a long hold or everything let go.
    void SteerRestlessly()
    {
        if (holdFrames-- > 0)
            return;
        holdFrames = Below(100) < 10 ? Below(300) : Below(20);
        if (Below(100) < 5)
            return LetGo();
        for (int vk : kKeys) {
            int percent = vk == VK_SPACE ? 80 : vk == 'B' || vk == 'N' ? 4
                          : vk >= VK_NUMPAD1 && vk <= VK_NUMPAD9  ? 5 : 12;
            Below(100) < percent ? scripted::HoldKey(vk) : scripted::ReleaseKey(vk);
        }
        static constexpr unsigned kStick[3] = {0, 32768, 65535};
        unsigned buttons = 0;
        for (unsigned bit = 0; bit < 4; ++bit)
            buttons |= Below(100) < (bit == 0 ? 60 : 10) ? 1u << bit : 0;
        if (Below(100) < 30)
            scripted::SetJoystick(kStick[Below(3)], kStick[Below(3)], buttons);
        else
            scripted::SetJoystick(32768, 32768, 0);
    }

    void LetGo()
    {
        scripted::ReleaseAllKeys();
        scripted::SetJoystick(32768, 32768, 0);
        holdFrames = 0;
    }

    // One frame after the clock moved; false when the window has closed. The scripted device
    // logs every sound played: note the buffers it has seen, then empty the log, so that the
    // soak measures the game's memory rather than the log's.
    bool Step(uint32_t milliseconds)
    {
        if (game.RunFrames(1, milliseconds) == 0)
            return false;
        for (const scripted::SoundEvent& event : scripted::SoundEvents())
            buffersMade = std::max(buffersMade, event.buffer + 1);
        scripted::ClearSoundEvents();
        return true;
    }

    void Wait(int frames)
    {
        for (int i = 0; i < frames && Step(kFrame); ++i) {
        }
    }

    bool RunUntil(const std::function<bool()>& done, int maxFrames)
    {
        for (int i = 0; i < maxFrames && !done(); ++i)
            if (!Step(kFrame))
                return false;
        return done();
    }

    uint32_t GameFrameStep()
    {
        int roll = Below(10000);
        if (roll < 2)
            return 1000 + Below(29000);  // a stall of up to half a minute
        return roll < 2000 ? Below(40) : kFrame;  // a fast machine, or a late one
    }

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(chance); }

    GameHarness& game;
    std::mt19937 chance;
    int holdFrames = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    int runs = 100;
    long seed = 1;
    for (int i = 1; i < argc; i += 2) {
        long value = i + 1 < argc ? std::strtol(argv[i + 1], nullptr, 10) : -1;
        if (std::strcmp(argv[i], "--runs") == 0 && value > 0) {
            runs = static_cast<int>(value);
        } else if (std::strcmp(argv[i], "--seed") == 0 && value >= 0) {
            seed = value;
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [--seed S]\n", argv[0]);
            return 2;
        }
    }
    std::remove(kSaveFileName);  // a first start: no scores yet

    std::string fault;
    {
        GameHarness game({.startClock = 1000 + static_cast<uint32_t>(seed),  // seeds the game
                          .joystick = true,
                          .saveFile = kSaveFileName});
        if (!game.Boot([] { return new TitleScene; })) {
            std::fprintf(stderr, "soak: the game did not start\n");
            return 1;
        }
        game.RunFrames(1);
        const int32_t titlePool = smallBlockPool.FreeCount();
        std::printf("soak: %d five-minute runs, seed %ld; %d of %d pool blocks free on the title\n",
                    runs, seed, titlePool, SmallBlockPool::kBlockCount);
        Soak soak(game, static_cast<uint32_t>(seed));
        size_t heap = HeapInUse();
        for (int run = 1; run <= runs && fault.empty(); ++run) {
            const int voicesBefore = soak.buffersMade;
            fault = soak.PlayOneRun(run);
            const size_t heapBefore = heap;
            heap = HeapInUse();
            if (fault.empty() && smallBlockPool.FreeCount() != titlePool)
                fault = std::to_string(titlePool - smallBlockPool.FreeCount()) +
                        " pool blocks were not given back";
            if (fault.empty())
                fault = CheckHeap(heapBefore, heap, soak.buffersMade - voicesBefore);
            if (fault.empty())
                fault = CheckSaveFile(kSaveFileName, saveRecord);
            if (!fault.empty())
                fault = "run " + std::to_string(run) + ": " + fault;
        }
        if (fault.empty() && game.Close() != 0)
            fault = "the game closed with exit code " + std::to_string(game.ExitCode());
    }
    // Shutting down writes the save file once more.
    if (fault.empty())
        fault = CheckSaveFile(kSaveFileName, saveRecord);
    std::printf("soak: %s\n", fault.empty() ? "every run checked out" : "FAILED");
    if (!fault.empty())
        std::fprintf(stderr, "soak: %s\n", fault.c_str());
    return fault.empty() ? 0 : 1;
}

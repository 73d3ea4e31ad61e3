// The soak: the whole game on the scripted platform, five-minute run after five-minute run in
// one process, played through its screens as one player would. Runs are flown in turn by a
// restless pilot, who mashes every key and the stick and seldom lasts a minute, and by the
// careful one of the golden run, who often lasts the five; the clock steps by a frame with
// random jitter and, rarely, a long stall. After every run, back on the title, it checks what
// only many runs in a row show: the pool has every block back and the heap has not grown but
// for the voices the game keeps. Any fault ends the soak with exit code 1.
//
//     korimo_soak RUNS SEED      (in a folder holding korimo.set / korimo.dat)

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/SaveRecord.h"
#include "app/SmallBlockPool.h"
#include "scenes/TitleScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/support/GameHarness.h"

namespace {

// An effect gets another voice whenever all of its voices are sounding, and keeps it: a copy
// of the clip. Effects are short, so one voice holds less than this.
constexpr size_t kLargestVoice = 256 << 10;
// The allocator's own bookkeeping may move a little between two visits to the title.
constexpr size_t kHeapSlack = 64 << 10;
constexpr uint32_t kFrame = 17;

// Bytes the heap has handed out and not taken back (big blocks, the decoded music, are mapped
// apart from the arena); 0 under the sanitizers, which replace the allocator and find leaks
// themselves.
size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Every key the heroine reads: the arrows, the keypad's eight directions, fire, both bomb
// keys and both slow keys.
constexpr int kKeys[] = {VK_UP,      VK_DOWN,    VK_LEFT,    VK_RIGHT,   VK_NUMPAD1, VK_NUMPAD2,
                         VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9,
                         VK_SPACE,   'B',        'N',        'C',        'V'};

class Soak {
public:
    Soak(GameHarness& game, uint32_t seed) : game(game), chance(seed) {}

    // From the title to the title again through one five-minute run; empty, or the fault.
    std::string PlayOneRun(int run)
    {
        auto* title = dynamic_cast<TitleScene*>(currentScene);
        if (!title)
            return "the run did not start from the title";
        if (title->state == TitleScene::kLogo)
            Press(VK_SPACE);
        if (saveRecord.gameMode != 1)
            Press(VK_DOWN);
        if (title->state != TitleScene::kMenu || saveRecord.gameMode != 1)
            return "the title did not offer the five-minute game";
        Press(VK_SPACE);
        for (int i = 0; i < 60 && !dynamic_cast<GameScene*>(currentScene); ++i)  // the fade
            Step(kFrame);
        auto* scene = dynamic_cast<GameScene*>(currentScene);
        if (!scene)
            return "Space on the menu started no game";

        const uint32_t start = scene->startTime;
        const bool careful = run % 2 == 0;  // any two runs in a row see both pilots
        Pilot pilot;
        while (currentScene == scene) {
            // Stalls included, a run can last its five minutes and one stall more.
            if (timeGetTime() - start > 360000)
                return "the five-minute run went on past its time";
            careful ? pilot.Steer(*scene) : SteerRestlessly();
            if (!Step(GameFrameStep()))
                return "the window closed during the run";
        }
        std::printf("run %3d: %s lasted %5.1f s\n", run, careful ? "careful " : "restless",
                    (timeGetTime() - start) / 1000.0);
        std::fflush(stdout);
        // Space now and then brings the ending or the game-over screen back to the title.
        scripted::ReleaseAllKeys();
        scripted::SetJoystick(32768, 32768, 0);
        for (int i = 0; i < 3000 && !dynamic_cast<TitleScene*>(currentScene); ++i) {
            if (i % 50 == 49)
                scripted::PressKey(VK_SPACE);
            Step(kFrame);
        }
        return dynamic_cast<TitleScene*>(currentScene) ? "" : "the run never led back to the title";
    }

    int buffersMade = 0;  // sound buffers seen so far: the nine clips' own, then the voices

private:
    // A pilot without a plan: a random mix of keys and stick held for a random number of
    // frames, mostly short bursts, now and then a long hold.
    void SteerRestlessly()
    {
        if (holdFrames-- > 0)
            return;
        holdFrames = Below(100) < 10 ? Below(300) : Below(20);
        for (int vk : kKeys) {
            int percent = vk == VK_SPACE ? 80 : vk == 'B' || vk == 'N' ? 4 : 12;
            Below(100) < percent ? scripted::HoldKey(vk) : scripted::ReleaseKey(vk);
        }
        static constexpr unsigned kStick[3] = {0, 32768, 65535};
        scripted::SetJoystick(kStick[Below(3)], kStick[Below(3)], Below(16));
    }

    void Press(int vk)
    {
        scripted::PressKey(vk);
        Step(kFrame);
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

    uint32_t GameFrameStep()
    {
        int roll = Below(10000);
        if (roll < 2)
            return 1000 + Below(29000);           // a stall of up to half a minute
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
    const int runs = argc == 3 ? std::atoi(argv[1]) : 0;
    const long seed = argc == 3 ? std::atol(argv[2]) : -1;
    if (runs <= 0 || seed < 0) {
        std::fprintf(stderr, "usage: %s RUNS SEED\n", argv[0]);
        return 2;
    }
    std::string fault;
    GameHarness game({.startClock = 1000 + static_cast<uint32_t>(seed),  // seeds the game
                      .joystick = true});
    if (!game.Boot([] { return new TitleScene; })) {
        std::fprintf(stderr, "soak: the game did not start\n");
        return 1;
    }
    game.RunFrames(1);
    const int32_t titlePool = smallBlockPool.FreeCount();
    std::printf("soak: %d five-minute runs, seed %ld\n", runs, seed);
    Soak soak(game, static_cast<uint32_t>(seed));
    size_t heap = HeapInUse();
    for (int run = 1; run <= runs && fault.empty(); ++run) {
        const int voicesBefore = soak.buffersMade;
        fault = soak.PlayOneRun(run);
        const size_t heapBefore = heap;
        heap = HeapInUse();
        const size_t allowed =
            heapBefore + kHeapSlack + (soak.buffersMade - voicesBefore) * kLargestVoice;
        if (fault.empty() && smallBlockPool.FreeCount() != titlePool)
            fault = std::to_string(titlePool - smallBlockPool.FreeCount()) +
                    " pool blocks were not given back";
        if (fault.empty() && heapBefore != 0 && heap > allowed)
            fault = "the heap grew by " + std::to_string((heap - heapBefore) >> 10) + " KiB";
        if (!fault.empty())
            fault = "run " + std::to_string(run) + ": " + fault;
    }
    if (fault.empty() && game.Close() != 0)
        fault = "the game closed with exit code " + std::to_string(game.ExitCode());
    std::printf("soak: %s\n", fault.empty() ? "every run checked out" : "FAILED");
    if (!fault.empty())
        std::fprintf(stderr, "soak: %s\n", fault.c_str());
    return fault.empty() ? 0 : 1;
}

// Makes the five-minute replay the Windows program is held to (tests/data/five-minutes.krp):
// the careful pilot of the golden run flies a five-minute game from the title, on the scripted
// platform with a fixed start clock and 17 ms frames, and the run's recording is copied to the
// file named. A change to how the game plays needs the file made again:
//
//     korimo_fly_five_minutes OUT.krp     (in a folder holding korimo.set / korimo.dat)

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "replay/Journal.h"
#include "scenes/TitleScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/support/GameHarness.h"

namespace {

constexpr uint32_t kFrame = 17;

// Flies the run; the frames flown, or -1 when no five-minute game started. The recording is
// in replays/ once the harness has shut the game down.
int FlyFiveMinutes()
{
    GameHarness game;
    if (!game.Boot([] { return new TitleScene; }))
        return -1;
    game.Press(VK_SPACE);  // past the logo
    if (saveRecord.gameMode != 1)
        game.Press(VK_DOWN);
    game.Press(VK_SPACE);
    for (int i = 0; i < 60 && !dynamic_cast<GameScene*>(currentScene); ++i)  // the fade
        game.RunFrames(1, kFrame);
    auto* scene = dynamic_cast<GameScene*>(currentScene);
    if (!scene || saveRecord.gameMode != 1)
        return -1;
    Pilot pilot;
    int frames = 0;
    while (currentScene == scene && frames < 5 * 60 * 60 + 600) {
        pilot.Steer(*scene);
        game.RunFrames(1, kFrame);
        frames++;
    }
    scripted::ReleaseAllKeys();
    game.RunFrames(1, kFrame);
    return frames;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: korimo_fly_five_minutes OUT.krp\n");
        return 2;
    }
    std::filesystem::remove_all("replays");
    journal::RecordRuns(true);
    const int frames = FlyFiveMinutes();
    if (frames < 0) {
        std::fprintf(stderr, "korimo_fly_five_minutes: no five-minute game started\n");
        return 1;
    }
    const std::string recorded = "replays/" + LastReplayName(1);
    std::error_code error;
    std::filesystem::copy_file(recorded, argv[1], std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) {
        std::fprintf(stderr, "korimo_fly_five_minutes: no recording in %s\n", recorded.c_str());
        return 1;
    }
    std::printf("%d frames flown\n", frames);
    return 0;
}

// Verifying draws only the pictures it compares and those they are made from. Every run here
// is verified that way and by drawing every picture, as a watched replay does: the two verdict
// lines (length, score, frames, last checksum, and "verified" or where the run first differed)
// must be the same. The runs: the golden one, changed copies of it, paused runs whose compared
// pictures show the frame the pause kept, and the pilots' own runs.

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "scenes/GameScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/support/GameHarness.h"
#include "tests/support/Recordings.h"

namespace {

using namespace recordings;

// The verdict both ways, with the exit code when it is not 0; a failed expectation when they
// differ.
std::string VerifiedBothWays(const journal::Recording& recording, const std::string& name)
{
    std::string verdicts[2];
    for (ReplayMode mode : {ReplayMode::Verify, ReplayMode::VerifyDrawingEveryPicture}) {
        const auto [line, code] = Verdict(recording, mode);
        verdicts[mode != ReplayMode::Verify] =
            line + (code == 0 ? "" : " (exit code " + std::to_string(code) + ")");
    }
    EXPECT_EQ(verdicts[0], verdicts[1]) << name;
    return verdicts[0];
}

// A run played on the scripted platform and recorded as the game records every run, flown by
// fly until the run ends; what the game kept of it.
journal::Recording Record(uint32_t gameLength, const std::function<void(GameHarness&)>& fly,
                          bool joystick = false)
{
    std::filesystem::remove_all("replays");
    journal::RecordRuns(true);
    {
        GameHarness harness({.startClock = 5000, .joystick = joystick});
        EXPECT_TRUE(harness.Boot([gameLength] {
            saveRecord.gameMode = gameLength;
            return new GameScene;
        }));
        fly(harness);
        scripted::ReleaseAllKeys();
    }
    journal::RecordRuns(false);
    return Load("replays/" + LastReplayName(gameLength));
}

// Runs frames until the journal's frame number is frame: the next event is heard in frame + 1.
void RunTo(GameHarness& harness, uint32_t frame)
{
    while (journal::InRun() && journal::PlaybackFrame() < frame)
        harness.RunFrames(1);
}

void GiveUpAt(GameHarness& harness, uint32_t frame)
{
    RunTo(harness, frame - 2);
    scripted::PressKey('P');
    harness.RunFrames(1);
    scripted::PressKey('Q');
    harness.RunFrames(2);
}

TEST(VerifyBothWays, GoldenRunAndChangedCopiesGetTheSameVerdict)
{
    const journal::Recording golden = Load();
    auto withChecksum = [&](size_t slot) {
        journal::Recording changed = golden;
        changed.checksums[slot] ^= 1;
        return changed;
    };
    journal::Recording lastPicture = golden;
    lastPicture.header.finalChecksum ^= 1;
    // A picture differs at frame 1800 and a later frame asks for another key: the picture,
    // compared among others, still comes first.
    std::vector<journal::FrameRecord> frames = Frames(golden);
    for (journal::Read& read : frames[1850].reads) {
        if (read.kind == journal::ReadKind::Key)
            read.arg = 'Z';
    }
    const journal::Recording pictureThenRead = WithFrames(withChecksum(29), frames);
    const journal::Recording readOnly = WithFrames(golden, frames);

    const struct {
        const char* name;
        journal::Recording recording;
        const char* says;
    } cases[] = {
        {"as recorded", golden, ": verified\n"},
        {"the first compared picture", withChecksum(0), "differs at frame 60: the picture"},
        {"a picture mid-run", withChecksum(10), "differs at frame 660: the picture"},
        {"the last compared picture", withChecksum(golden.checksums.size() - 1),
         "differs at frame 3480: the picture"},
        {"the last picture", lastPicture, "frame 3530: the last picture differs"},
        {"a picture, then a read", pictureThenRead, "differs at frame 1800: the picture"},
        {"a read alone", readOnly, "differs at frame 1850: the game asked for key"},
    };
    for (const auto& c : cases) {
        const std::string verdict = VerifiedBothWays(c.recording, c.name);
        EXPECT_NE(verdict.find(c.says), std::string::npos) << c.name << ": " << verdict;
        EXPECT_EQ(verdict.find("(exit code 1)") == std::string::npos, &c == cases) << verdict;
    }
}

// The pause keeps the frame before it, darkened, and the run's last frame may show the frame
// before it: pauses begin just before, on and between compared frames (every 60th), by key,
// by losing the keyboard and by the pad's Start, and runs are given up on compared frames and
// between them.
TEST(VerifyBothWays, PausedRunsGetTheSameVerdict)
{
    auto climb = [] {
        scripted::HoldKey(VK_SPACE);
        scripted::HoldKey(VK_UP);
    };
    auto keyPause = [](GameHarness& harness, uint32_t frame) {
        RunTo(harness, frame - 1);
        scripted::PressKey('P');
        harness.RunFrames(1);
    };
    auto padStart = [](GameHarness& harness, uint32_t frame) {
        RunTo(harness, frame - 1);
        scripted::SetJoystick(32768, 32768, JOY_BUTTONSTART);
        harness.RunFrames(3);
        scripted::SetJoystick(32768, 32768, 0);
        harness.RunFrames(1);
    };
    const struct {
        const char* name;
        bool joystick;
        std::function<void(GameHarness&)> fly;
    } cases[] = {
        {"a key pause between compared frames, over one, resumed, given up later", false,
         [&](GameHarness& h) {
             climb();
             keyPause(h, 100);
             keyPause(h, 130);
             GiveUpAt(h, 200);
         }},
        {"a pause on the frame before a compared one, given up on a compared one", false,
         [&](GameHarness& h) {
             climb();
             keyPause(h, 119);
             RunTo(h, 239);
             scripted::PressKey('Q');
             h.RunFrames(3);
         }},
        {"a pause on a compared frame, resumed, paused again, given up", false,
         [&](GameHarness& h) {
             climb();
             keyPause(h, 180);
             keyPause(h, 185);
             keyPause(h, 250);
             RunTo(h, 299);
             scripted::PressKey('Q');
             h.RunFrames(3);
         }},
        {"the keyboard lost between compared frames, given up", false,
         [&](GameHarness& h) {
             climb();
             RunTo(h, 143);
             scripted::PostToWindow(WM_KILLFOCUS);
             h.RunFrames(40);
             scripted::PressKey('Q');
             h.RunFrames(3);
         }},
        {"the pad's Start pauses and resumes, over a compared frame", true,
         [&](GameHarness& h) {
             climb();
             padStart(h, 111);
             padStart(h, 127);
             GiveUpAt(h, 161);
         }},
    };
    for (const auto& c : cases) {
        const journal::Recording recording = Record(0, c.fly, c.joystick);
        ASSERT_GT(recording.header.frameCount, 100u) << c.name;
        const std::string verdict = VerifiedBothWays(recording, c.name);
        EXPECT_NE(verdict.find(": verified\n"), std::string::npos) << c.name << ": " << verdict;
    }
}

// The keys and stick held at random for random stretches, as the soak's restless pilot flies;
// she seldom lasts a minute, so her runs mostly end with a hit.
void FlyRestlessly(GameHarness& harness, uint32_t seed)
{
    static constexpr int kKeys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE,
                                    'B',   'N',     'C',     'V',      VK_NUMPAD7};
    static constexpr unsigned kStick[3] = {0, 32768, 65535};
    std::mt19937 chance(seed);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(chance); };
    for (int frame = 0; journal::InRun() && frame < 4000;) {
        for (int vk : kKeys)
            below(100) < (vk == VK_SPACE ? 80 : 12) ? scripted::HoldKey(vk)
                                                    : scripted::ReleaseKey(vk);
        scripted::SetJoystick(kStick[below(3)], kStick[below(3)], below(16));
        const int hold = below(20) + 1;
        harness.RunFrames(hold, below(10) < 2 ? below(40) : 17);
        frame += hold;
    }
}

TEST(VerifyBothWays, PilotsRunsGetTheSameVerdict)
{
    for (uint32_t seed : {3u, 11u, 29u}) {
        const std::string name = "restless pilot, seed " + std::to_string(seed);
        const journal::Recording recording = Record(
            0, [seed](GameHarness& h) { FlyRestlessly(h, seed); }, true);
        const std::string verdict = VerifiedBothWays(recording, name);
        EXPECT_NE(verdict.find(": verified\n"), std::string::npos) << name << ": " << verdict;
    }
    // The golden run's pilot, for the five minutes.
    const journal::Recording careful = Record(1, [](GameHarness& h) {
        auto* scene = static_cast<GameScene*>(currentScene);
        Pilot pilot;
        while (currentScene == scene) {
            pilot.Steer(*scene);
            h.RunFrames(1);
        }
    });
    const std::string verdict = VerifiedBothWays(careful, "careful pilot");
    EXPECT_NE(verdict.find("five minutes"), std::string::npos) << verdict;
    EXPECT_NE(verdict.find(": verified\n"), std::string::npos) << verdict;
}

}  // namespace

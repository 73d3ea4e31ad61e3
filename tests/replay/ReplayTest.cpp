// Recorded runs played back: the golden recording on every drawing path and in the viewer, a
// run recorded here and verified back, the best replay kept only for a score that leads its
// ranking, the runs a board is sent, and every kind of bad file refused in one line.

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "gfx/DrawPaths.h"
#include "scenes/GameScene.h"
#include "scenes/TitleScene.h"
#include "tests/archive/TestFiles.h"
#include "tests/support/Command.h"
#include "tests/support/GameHarness.h"
#include "tests/support/Recordings.h"

namespace {

using namespace recordings;

class GoldenReplay : public testing::TestWithParam<DrawPath> {
protected:
    void SetUp() override
    {
        if (!CanUseDrawPath(GetParam()))
            GTEST_SKIP() << DrawPathName(GetParam()) << " is not available on this processor";
        ASSERT_TRUE(UseDrawPath(GetParam()));
    }
    void TearDown() override { UseDrawPath(BestDrawPath()); }
};

TEST_P(GoldenReplay, PlaysToTheRecordedScoreAndPicture)
{
    // The pilot's golden run (GameSceneGoldenTest): 3530 frames to 33490 points.
    const auto [line, code] = Verdict(Load());
    EXPECT_EQ(code, 0) << line;
    EXPECT_EQ(line, "one minute, score 33490, 3530 frames, checksum bd3e4a9cb17e40f4: verified\n");
}

INSTANTIATE_TEST_SUITE_P(Paths, GoldenReplay,
                         testing::Values(DrawPath::Reference, DrawPath::Sse2, DrawPath::Avx2),
                         [](const testing::TestParamInfo<DrawPath>& info) {
                             return std::string(DrawPathName(info.param));
                         });

// The watcher's keys, pressed at frames of the run as a test's script says: each entry is
// taken when the frame about to play is the entry's frame or later. Frames also step on
// while a jump plays the run unseen; those are not presented.
struct WatcherPress {
    uint32_t frame;
    int vk;
};
const std::vector<WatcherPress>* watcherScript = nullptr;
size_t watcherNext = 0;

void ScriptedWatcher(uint32_t clock)
{
    scripted::SetClock(clock);
    if (!journal::InRun() && journal::PlaybackFinished()) {
        scripted::PostToWindow(WM_CLOSE);  // the ending is not the viewer's
        return;
    }
    while (watcherNext < watcherScript->size() &&
           (*watcherScript)[watcherNext].frame <= journal::PlaybackFrame())
        scripted::PressKey((*watcherScript)[watcherNext++].vk);
}

TEST(Replay, TheViewersSpeedsStepsJumpsAndRestartAllEndOnTheRecordedLastFrame)
{
    const journal::Recording golden = Load();
    const uint32_t frames = golden.header.frameCount;
    struct Case {
        const char* what;
        std::vector<WatcherPress> presses;
        int fewest, most;  // frames presented, as multiples of a tenth of the run
    };
    const Case cases[] = {
        {"speeds",
         {{100, VK_UP},
          {100, VK_UP},
          {100, VK_UP},
          {100, VK_UP},
          {600, VK_DOWN},
          {600, VK_DOWN},
          {600, VK_DOWN},
          {600, VK_DOWN},
          {600, VK_DOWN},
          {900, VK_UP}},
         10,
         11},
        {"paused and stepped",
         {{300, 'P'}, {300, 'S'}, {301, 'S'}, {302, 'S'}, {303, 'P'}},
         10,
         11},
        {"10 s on", {{1000, VK_RIGHT}}, 7, 9},
        {"10 s on, then back", {{1000, VK_RIGHT}, {2000, VK_LEFT}}, 9, 10},
        {"started over", {{2000, 'R'}}, 15, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scripted::Install();
        scripted::SilenceAudio();
        watcherScript = &c.presses;
        watcherNext = 0;
        EXPECT_EQ(PlayReplay(golden, ReplayMode::Watch, nullptr, stdout, ScriptedWatcher), 0);
        EXPECT_TRUE(journal::PlaybackFinished()) << journal::PlaybackFault();
        EXPECT_EQ(watcherNext, c.presses.size()) << "every key was pressed";
        // The frames of the run presented, give or take the ending's few.
        EXPECT_GE(scripted::PresentCount(), int(frames * c.fewest / 10));
        EXPECT_LE(scripted::PresentCount(), int(frames * c.most / 10) + 10);
    }
    watcherScript = nullptr;
}

// The picture a jump back stops at, as shown: frame for frame the one the run shows when it
// gets there without a jump, though the jump draws only that one of all it plays again.
struct JumpWatch {
    uint32_t pressAt = 0;  // 0: no jump
    enum { Before, Pressed, Jumping, Shown } step = Before;
    int presentsInJump = 0;
    uint32_t shownFrame = 0;  // the frame whose picture is kept
    std::vector<uint32_t> shown;
};
JumpWatch* jumpWatch = nullptr;

void JumpWatcher(uint32_t clock)
{
    scripted::SetClock(clock);
    JumpWatch& watch = *jumpWatch;
    const uint32_t frame = journal::PlaybackFrame();
    if (!journal::InRun()) {
        scripted::PostToWindow(WM_CLOSE);
        return;
    }
    if (!watch.pressAt) {
        if (frame == watch.shownFrame && watch.shown.empty())
            watch.shown = scripted::LastPresentedFrame();
        return;
    }
    switch (watch.step) {
    case JumpWatch::Before:
        if (frame >= watch.pressAt) {
            scripted::PressKey(VK_LEFT);
            watch.step = JumpWatch::Pressed;
        }
        break;
    case JumpWatch::Pressed:
        if (frame < watch.pressAt) {  // the jump plays the run again, unseen
            watch.presentsInJump = scripted::PresentCount();
            watch.step = JumpWatch::Jumping;
        }
        break;
    case JumpWatch::Jumping:
        if (scripted::PresentCount() != watch.presentsInJump) {
            // The first picture presented after the jump is where it stopped.
            watch.shownFrame = frame;
            watch.shown = scripted::LastPresentedFrame();
            watch.step = JumpWatch::Shown;
        }
        break;
    case JumpWatch::Shown: break;
    }
}

TEST(Replay, AJumpBackShowsThePictureTheRunHasThere)
{
    const journal::Recording golden = Load();
    JumpWatch jumped;
    jumped.pressAt = 1500;
    JumpWatch played;
    for (JumpWatch* watch : {&jumped, &played}) {
        if (watch == &played)
            played.shownFrame = jumped.shownFrame;
        scripted::Install();
        scripted::SilenceAudio();
        jumpWatch = watch;
        PlayReplay(golden, ReplayMode::Watch, nullptr, stdout, JumpWatcher);
    }
    jumpWatch = nullptr;
    ASSERT_FALSE(jumped.shown.empty()) << "the jump was shown";
    EXPECT_LT(jumped.shownFrame, 1500u - 500u) << "10 s back";
    ASSERT_FALSE(played.shown.empty());
    EXPECT_TRUE(jumped.shown == played.shown) << "frame " << jumped.shownFrame;
}

// A short run recorded as the game records every run: the heroine flies up and to the right
// shooting, then the player pauses and gives up. The ranking starts with rankedBest in it.
// With a lead-in, the game starts on the title menu and the lead-in plays on to the run.
void RecordShortRun(int climbFrames, int32_t rankedBest,
                    const std::function<void(GameHarness&)>& leadIn = nullptr)
{
    journal::RecordRuns(true);
    {
        GameHarness harness;
        if (leadIn) {
            ASSERT_TRUE(harness.Boot([] { return new TitleScene(TitleScene::kMenu); }));
            leadIn(harness);
            ASSERT_NE(dynamic_cast<GameScene*>(currentScene), nullptr) << "the run began";
        } else {
            ASSERT_TRUE(harness.Boot([] { return new GameScene; }));
        }
        if (rankedBest)
            saveRecord.tables[0].Insert(rankedBest);
        scripted::HoldKey(VK_SPACE);
        scripted::HoldKey(VK_UP);
        harness.RunFrames(climbFrames);
        scripted::ReleaseKey(VK_UP);
        scripted::HoldKey(VK_RIGHT);
        harness.RunFrames(30);
        scripted::PressKey('P');
        harness.RunFrames(5);
        scripted::PressKey('Q');
        harness.RunFrames(3);
        scripted::ReleaseAllKeys();
    }
    journal::RecordRuns(false);
}

// The best replay is kept, and handed to the board's sender as the file written, only for a
// score that leads its ranking.
TEST(Replay, ARunRecordedHereVerifiesTheBestIsKeptForALeadingScoreAndSentForTheBoardsBest)
{
    std::filesystem::remove_all("replays");
    std::filesystem::remove(kBoardBestsName);
    RecordShortRun(40, 0);
    const auto first = testfiles::ReadFile("replays/last1.krp");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(testfiles::ReadFile("replays/best1.krp"), first)
        << "an empty ranking: the run leads it";
    const journal::Recording recorded = Load("replays/last1.krp");
    const auto [line, code] = Verdict(recorded);
    EXPECT_EQ(code, 0) << line;

    // Below the ranking's best: the latest run is kept and the best one stays; with a board
    // just chosen, it is still the first run there, and is sent as the file written.
    std::vector<std::vector<uint8_t>> sent;
    SendKeptRunsTo("http://board.example",
                   [&sent](std::vector<uint8_t> replay) { sent.push_back(std::move(replay)); });
    RecordShortRun(60, 1000000);
    EXPECT_NE(testfiles::ReadFile("replays/last1.krp"), first);
    EXPECT_EQ(testfiles::ReadFile("replays/best1.krp"), first);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], testfiles::ReadFile("replays/last1.krp"));

    // Level with it (the same run, so the same score): the best is this run now, but it
    // cannot better the player's place on the board, so it is not sent.
    RecordShortRun(60, Load("replays/last1.krp").header.finalScore);
    SendKeptRunsTo("", nullptr);
    EXPECT_EQ(testfiles::ReadFile("replays/best1.krp"), testfiles::ReadFile("replays/last1.krp"));
    EXPECT_NE(testfiles::ReadFile("replays/best1.krp"), first);
    EXPECT_EQ(sent.size(), 1u);
}

TEST(Replay, ARunStartedAfterTheMenuScreensVerifiesAsAnyOther)
{
    // What those screens draw with must not reach the run's pictures (its timer's text).
    std::filesystem::remove_all("replays");
    RecordShortRun(40, 0, [](GameHarness& game) {
        for (int page : {'O', 'R'}) {
            game.Press(page);
            game.RunFrames(3);
            game.Press(VK_ESCAPE);
            game.RunFrames(2);
        }
        game.Press(VK_SPACE);
        for (int frames = 0; frames < 200 && !dynamic_cast<GameScene*>(currentScene); frames++)
            game.RunFrames(1);
    });
    const auto [line, code] = Verdict(Load("replays/last1.krp"));
    EXPECT_EQ(code, 0) << line;
}

TEST(Replay, BadFilesAreRefusedInOneLine)
{
    const std::vector<uint8_t> golden = testfiles::ReadFile(kGolden);
    journal::Recording decoded = Load();

    auto patched = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> bytes = golden;
        bytes[at] = value;
        return bytes;
    };
    journal::Recording otherArchive = decoded;
    otherArchive.header.archiveChecksum ^= 1;
    std::vector<journal::FrameRecord> frames = Frames(decoded);
    frames.resize(frames.size() / 2);
    const journal::Recording framesRunOut = WithFrames(decoded, frames);
    std::mt19937 noise(7);
    std::vector<uint8_t> random(4000);
    for (uint8_t& byte : random)
        byte = static_cast<uint8_t>(noise());
    std::vector<uint8_t> magicThenRandom = random;
    std::copy(golden.begin(), golden.begin() + 8, magicThenRandom.begin());

    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* says;
    } cases[] = {
        {"cut short", {golden.begin(), golden.begin() + golden.size() / 2}, "cut short"},
        {"wrong magic", patched(0, 'X'), "not a replay"},
        {"wrong version", patched(4, 9), "format version 9"},
        {"one byte changed", patched(golden.size() / 2, golden[golden.size() / 2] ^ 0x40),
         "damaged"},
        {"another archive", journal::EncodeRecording(otherArchive), "other game pictures"},
        {"frames run out", journal::EncodeRecording(framesRunOut), "the frames end"},
        {"random bytes", random, "not a replay"},
        {"magic, then random bytes", magicThenRandom, "damaged"},
    };
    for (const auto& c : cases) {
        testfiles::WriteFile("bad.krp", c.bytes);
        const auto [code, output] = RunCommand(KORIMO_RUN_DIR "/korimo --verify bad.krp 2>&1");
        EXPECT_EQ(code, 1) << c.name << ": " << output;
        EXPECT_NE(output.find(c.says), std::string::npos) << c.name << ": " << output;
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << c.name << ": " << output;
    }
}

}  // namespace

// The REPLAYS screen driven as a player would, with the keyboard and with a pad alone, on the
// scripted platform: what it lists from the replays/ folder, and the runs it plays in the
// viewer and comes back from.

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "scenes/GameScene.h"
#include "scenes/MenuPage.h"
#include "scenes/ReplaysScene.h"
#include "scenes/TitleScene.h"
#include "tests/support/GameHarness.h"
#include "tests/support/Recordings.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned kCentre = 32768;
// Noon, so that the day is the same on any player's calendar: 2026-03-14 12:00 UTC.
constexpr uint64_t kNoon = 1773489600;

ReplaysScene* List()
{
    return dynamic_cast<ReplaysScene*>(currentScene);
}

bool Watching()
{
    return dynamic_cast<GameScene*>(currentScene) != nullptr && journal::PlayingBack();
}

void Write(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::ofstream(fs::path("replays") / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A replays/ folder of the test's own, removed again after; the viewer's frames follow the
// recorded clock, as the scripted platform's does not run by itself.
class ReplaysTest : public testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all("replays");
        fs::create_directories("replays/outbox");
        SetWatchedClock(scripted::SetClock);
    }
    void TearDown() override
    {
        SetWatchedClock(nullptr);
        fs::remove_all("replays");
    }

    // The title menu, then the REPLAYS screen by the key or the pad's slow button.
    void Open(GameHarness& game, bool pad = false)
    {
        ASSERT_TRUE(game.Boot([] { return new TitleScene(TitleScene::kMenu); }));
        game.RunFrames(2);
        pad ? game.Pad(kCentre, kCentre, JOY_BUTTON3) : game.Press('R');
        ASSERT_NE(List(), nullptr) << "the REPLAYS screen is open";
        game.RunFrames(1);
    }

    // Plays the watched run on until the viewer has left it (or the frames run out).
    static void WatchToTheEnd(GameHarness& game)
    {
        for (int frames = 0; frames < 8000 && !List(); frames++) {
            if (!journal::InRun())
                scripted::PressKey(VK_SPACE);  // through the ending
            game.RunFrames(1);
        }
    }
};

TEST_F(ReplaysTest, ListsTheKeptRunsFirstThenTheDroppedOnesWithLengthScoreAndDateOrWhyNot)
{
    const journal::Recording golden = recordings::Load();
    journal::Recording fiveMinutes = golden;
    fiveMinutes.header.setup.gameLength = 1;
    fiveMinutes.header.finalScore = 123456;
    fiveMinutes.header.date = kNoon;
    journal::Recording foreign = golden;
    foreign.header.archiveChecksum ^= 1;
    const std::vector<uint8_t> bytes = journal::EncodeRecording(golden);

    Write("zz-from-a-friend.krp", bytes);
    Write("last5.krp", journal::EncodeRecording(fiveMinutes));
    Write("best1.krp", bytes);
    Write("cut.krp", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 2000));
    Write("foreign.krp", journal::EncodeRecording(foreign));
    Write("notes.txt", bytes);        // not a replay's name
    Write("outbox/sent.krp", bytes);  // the board's, not the player's

    GameHarness game;
    Open(game);
    struct Expected {
        const char* name;
        ReplayCheck check;
        uint32_t gameLength;
        int32_t score;
        const char* shown;  // the line's second column
    };
    const Expected expected[] = {
        {"best1.krp", ReplayCheck::Playable, 0, 33490, "1 MIN"},
        {"last5.krp", ReplayCheck::Playable, 1, 123456, "5 MIN"},
        {"cut.krp", ReplayCheck::Damaged, 0, 0, "DAMAGED"},
        {"foreign.krp", ReplayCheck::OtherArchive, 0, 0, "OTHER ARCHIVE"},
        {"zz-from-a-friend.krp", ReplayCheck::Playable, 0, 33490, "1 MIN"},
    };
    const std::vector<ReplayEntry>& entries = List()->list.entries;
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); i++) {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(entries[i].name, e.name);
        EXPECT_EQ(entries[i].check, e.check);
        EXPECT_EQ(entries[i].fault.empty(), e.check == ReplayCheck::Playable) << entries[i].fault;
        const int row = 24 + 16 * static_cast<int>(i);
        const bool playable = e.check == ReplayCheck::Playable;
        const COLORREF colour = i == 0 ? menu::kYellow : playable ? menu::kGrey : menu::kCoral;
        EXPECT_TRUE(game.TextAt(120, row, e.shown, colour)) << "the line says " << e.shown;
        if (!playable)
            continue;
        EXPECT_EQ(entries[i].gameLength, e.gameLength);
        EXPECT_EQ(entries[i].score, e.score);
        const std::string score = std::to_string(e.score);
        EXPECT_TRUE(game.TextAt(216 - 8 * static_cast<int>(score.size()), row, score, colour));
    }
    EXPECT_TRUE(game.TextAt(224, 24 + 16, "2026-03-14", menu::kGrey)) << "the day it was played";

    // The damaged one, chosen, says why under the list and cannot be watched.
    game.Press(VK_DOWN);
    game.Press(VK_DOWN);
    EXPECT_TRUE(game.TextAt(16, 188, entries[2].fault.substr(0, 20), menu::kCoral))
        << entries[2].fault;
    game.Press(VK_RETURN);
    game.RunFrames(2);
    ASSERT_NE(List(), nullptr) << "a damaged file is not played";
    EXPECT_TRUE(game.TextAt(16, 188, "THIS ONE CANNOT BE WATCHED", menu::kCyan));
}

TEST_F(ReplaysTest, AnEmptyFolderSaysSoAndAHugeOneIsReadOnlyInPart)
{
    {
        GameHarness game;
        Open(game);
        EXPECT_TRUE(List()->list.entries.empty());
        EXPECT_TRUE(game.TextAt(16, 80, "NO REPLAYS YET.", menu::kWhite));
        game.Press(VK_RETURN);
        game.Press(VK_DOWN);
        EXPECT_NE(List(), nullptr) << "nothing to choose, nothing happens";
    }
    const std::vector<uint8_t> small = {'K'};
    for (int i = 0; i < 260; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "run%03d.krp", i);
        Write(name, small);
    }
    GameHarness game;
    Open(game);
    ASSERT_EQ(List()->list.entries.size(), kMostReplaysListed);
    EXPECT_TRUE(List()->list.cut);
    EXPECT_EQ(List()->list.entries.back().name, "run199.krp") << "the first names in order";
    // Up from the first line goes round to the last, which the list scrolls to.
    game.Press(VK_UP);
    EXPECT_EQ(List()->chosen, static_cast<int>(kMostReplaysListed) - 1);
    EXPECT_TRUE(game.TextAt(16, 24 + 16 * 9, "run199", menu::kYellow));
}

TEST_F(ReplaysTest, AChosenRunPlaysAsVerifiedAndTheViewerComesBackToTheList)
{
    Write("best1.krp", journal::EncodeRecording(recordings::Load()));
    Write("mine.krp", journal::EncodeRecording(recordings::Load()));
    GameHarness game;
    saveRecord.tables[0].Insert(100);
    Open(game);
    const SaveRecord before = saveRecord;
    game.Press(VK_DOWN);
    game.Press(VK_RETURN);
    game.RunFrames(1);
    ASSERT_TRUE(Watching()) << "the chosen run plays";
    // A run watched to its last frame: every read and picture as recorded, as --verify has it.
    for (int frames = 0; frames < 4000 && journal::InRun(); frames++)
        game.RunFrames(1);
    EXPECT_TRUE(journal::PlaybackFinished()) << journal::PlaybackFault();
    EXPECT_EQ(journal::PlaybackFrame(), recordings::Load().header.frameCount);
    WatchToTheEnd(game);
    ASSERT_NE(List(), nullptr) << "after its ending, back to the list";
    EXPECT_EQ(List()->list.entries[size_t(List()->chosen)].name, "mine.krp");
    EXPECT_FALSE(journal::PlayingBack()) << "the next run is the player's";
    EXPECT_EQ(std::memcmp(&before, &saveRecord, sizeof before), 0)
        << "the replayed score is not in the player's rankings";

    // Backspace leaves in the middle of a run; Esc goes on to the title menu.
    game.Press(VK_RETURN);
    game.RunFrames(300);
    ASSERT_TRUE(Watching());
    game.Press(VK_BACK);
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->chosen, 1);
    game.Press(VK_ESCAPE);
    game.RunFrames(1);
    ASSERT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr);
    EXPECT_EQ(static_cast<TitleScene*>(currentScene)->state, TitleScene::kMenu);
}

TEST_F(ReplaysTest, APadAloneOpensChoosesWatchesAndLeaves)
{
    Write("best1.krp", journal::EncodeRecording(recordings::Load()));
    Write("last1.krp", journal::EncodeRecording(recordings::Load()));
    GameHarness game({.joystick = true});
    Open(game, true);
    game.Pad(kCentre, 65535);  // the stick down
    EXPECT_EQ(List()->chosen, 1);
    game.Pad(kCentre, kCentre, JOY_BUTTON1);
    ASSERT_TRUE(Watching()) << "the shooting button watches";
    game.RunFrames(200);
    game.Pad(kCentre, kCentre, JOY_BUTTON2);
    ASSERT_NE(List(), nullptr) << "the bombing button leaves the viewer";
    EXPECT_EQ(List()->chosen, 1);
    game.Pad(kCentre, kCentre, JOY_BUTTON2);
    EXPECT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr) << "and the list";
}

}  // namespace

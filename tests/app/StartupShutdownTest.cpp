#include <filesystem>

#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/SaveRecord.h"
#include "tests/app/ShellTestKit.h"
#include "tests/support/GameHarness.h"

TEST(StartupShutdown, TheSaveFileIsReadAtStartAndWrittenBackWholeAtExit)
{
    // A short file that chose the five-minute game: every start offers one minute again, and
    // what it holds is read and written back with the rest of the record.
    testfiles::TempFolder folder(true);
    testfiles::WriteFile(kSaveFileName, {1, 0, 0, 0, 11, 0, 0, 0, 22});
    SceneLog log;
    {
        GameHarness game({.saveFile = kSaveFileName});
        ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
        EXPECT_EQ(saveRecord.gameMode, 0);
        EXPECT_EQ(saveRecord.tables[0].scores[1], 22);
        saveRecord.tables[1].scores[10] = 4242;  // as a finished run would leave it
    }
    EXPECT_EQ(std::filesystem::file_size(kSaveFileName), 100u);
    SaveRecord written;
    written.Load(testfiles::ReadFile(kSaveFileName));
    EXPECT_EQ(written.gameMode, 0);
    EXPECT_EQ(written.tables[0].scores[1], 22);
    EXPECT_EQ(written.tables[1].Best(), 4242);
}

TEST(StartupShutdown, ASaveFileThatCannotBeWrittenCostsOneLineAtExit)
{
    testfiles::TempFolder folder(true);
    std::filesystem::create_directory(kSaveFileName);  // in the way of the file
    SceneLog log;
    testing::internal::CaptureStderr();
    {
        GameHarness game({.saveFile = kSaveFileName});
        EXPECT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
        game.RunFrames(2);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "korimo: could not write korimo.sav; the scores of this session are lost\n");
}

TEST(StartupShutdown, NoDisplayEndsTheStartWithOneLineAndLeavesTheScores)
{
    testfiles::TempFolder folder(true);
    const std::string scores(100, '\5');
    testfiles::WriteText(kSaveFileName, scores);
    SceneLog log;
    {
        GameHarness game({.saveFile = kSaveFileName});
        scripted::FailWindowCreation(true);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(game.Boot([&] { return new RecordingScene(log); }));
        const std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        EXPECT_NE(printed.find("no display"), std::string::npos) << printed;
        EXPECT_EQ(game.ExitCode(), 1);
        EXPECT_EQ(game.RunFrames(3), 0);
    }
    EXPECT_EQ(log.Count("frame"), 0);
    EXPECT_EQ(log.deletions, 1) << "the first scene is still released";
    EXPECT_EQ(testfiles::ReadText(kSaveFileName), scores);
}

// With no audio device and no other choice made, start-up says how to play without one.
TEST(StartupShutdownDeathTest, NoAudioDeviceEndsTheStartWithHowToPlaySilently)
{
    SceneLog log;
    GameHarness game;
    scripted::FailAudioDevice(true);
    EXPECT_EXIT(game.Boot([&] { return new RecordingScene(log); }), testing::ExitedWithCode(255),
                "audio device.*--no-sound");
}

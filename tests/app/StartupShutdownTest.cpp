#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/SaveRecord.h"
#include "random/Random.h"
#include "sound/SoundSystem.h"
#include "tests/app/ShellTestKit.h"
#include "tests/support/GameHarness.h"

namespace {

void WriteFile(const std::string& bytes)
{
    std::ofstream(kSaveFileName, std::ios::binary) << bytes;
}

bool IsCanvasSized(const Surface* surface)
{
    return surface && surface->width == kCanvasWidth && surface->height == kCanvasHeight;
}

// Checks what the first scene can see of the program when the entry function creates it, when
// the window's creation initialises it and when the entry function deletes it; counts the
// moments it saw.
class ProbeScene : public Scene {
public:
    explicit ProbeScene(int& moments) : moments(moments)
    {
        Random expected;
        expected.Seed(123456);
        EXPECT_EQ(theRandom.Next(), expected.Next()) << "seeded from the clock first";
        EXPECT_TRUE(theMainLoop && !theMainLoop->idleHandler);
        EXPECT_TRUE(std::all_of(snapshots, snapshots + kSnapshotCount, IsCanvasSized));
        EXPECT_EQ(scripted::TheWindow(), nullptr);
        ++moments;
    }

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override
    {
        Scene::Init(app, canvas, joystick);
        EXPECT_TRUE(app->window && app->window == scripted::TheWindow());
        EXPECT_NE(soundSystem, nullptr) << "the clips are loaded before";
        EXPECT_TRUE(canvas == app->backBuffer && IsCanvasSized(canvas));
        EXPECT_TRUE(app->presentBuffer->width == kWindowWidth &&
                    app->presentBuffer->height == kWindowHeight);
        EXPECT_EQ(joystick, &app->joystick);
        EXPECT_EQ(theMainLoop->idleHandler, &RunSceneFrame);
        EXPECT_EQ(scripted::PresentCount(), 0);
        ++moments;
    }

    ~ProbeScene() override
    {
        // After the save file, the snapshots, the sound and the window, before the loop.
        EXPECT_EQ(std::filesystem::file_size(kSaveFileName), 100u);
        EXPECT_TRUE(!snapshots[0] && !soundSystem && !scripted::TheWindow());
        EXPECT_NE(theMainLoop, nullptr);
        ++moments;
    }

private:
    int& moments;
};

}  // namespace

TEST(StartupShutdown, ProgramWideObjectsAreBuiltAndReleasedInOrder)
{
    ScratchFolder folder;
    int moments = 0;
    {
        GameHarness game({.startClock = 123456, .saveFile = kSaveFileName});
        ASSERT_TRUE(game.Boot([&] { return new ProbeScene(moments); }));
        EXPECT_EQ(moments, 2);
        EXPECT_EQ(game.Close(), 0);
    }
    EXPECT_EQ(moments, 3);
    EXPECT_TRUE(!theMainLoop && !currentScene);
}

TEST(StartupShutdown, SaveFileIsReadAsFarAsItGoesAndWrittenBackWhole)
{
    ScratchFolder folder;
    SceneLog log;
    auto session = [&](auto whileOpen) {
        {
            GameHarness game({.saveFile = kSaveFileName});
            ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
            whileOpen();
        }
        EXPECT_EQ(std::filesystem::file_size(kSaveFileName), 100u);
    };

    // No file: a zero record, written out at the end.
    session([] { EXPECT_EQ(saveRecord.tables[0].Best() + saveRecord.tables[1].Best(), 0); });

    // A short file that chose the five-minute game: every start offers one minute again, and
    // what it holds is read and written back with the rest of the record.
    WriteFile({1, 0, 0, 0, 11, 0, 0, 0, 22});
    session([] {
        EXPECT_EQ(saveRecord.gameMode, 0);
        EXPECT_EQ(saveRecord.tables[0].scores[1], 22);
        saveRecord.tables[1].scores[10] = 4242;  // as a finished run would leave it
    });
    SaveRecord written;
    written.Load(kSaveFileName);
    EXPECT_EQ(written.gameMode, 0);
    EXPECT_EQ(written.tables[0].scores[1], 22);
    EXPECT_EQ(written.tables[1].Best(), 4242);

    // A file longer than the record: its first 100 bytes count.
    std::string longer(150, '\0');
    longer[4 + 10 * 4] = 77;
    WriteFile(longer);
    session([] { EXPECT_EQ(saveRecord.tables[0].Best(), 77); });
}

TEST(StartupShutdown, NoDisplayEndsTheStartWithOneLineAndLeavesTheScores)
{
    ScratchFolder folder;
    const std::string scores(100, '\5');
    WriteFile(scores);
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
    std::ifstream file(kSaveFileName, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), scores);
}

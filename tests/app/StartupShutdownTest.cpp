#include <cstring>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "app/GameApp.h"
#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/Random.h"
#include "app/SaveRecord.h"
#include "sound/SoundSystem.h"
#include "tests/app/ShellTestKit.h"
#include "tests/support/GameHarness.h"

namespace {

// What the first scene can see of the program at the three moments that matter: when the
// entry function creates it, when the window's creation initialises it, and when the entry
// function deletes it at the end.
struct Moments {
    bool mainLoopAtCreation = false;
    bool idleHandlerAtCreation = true;
    bool snapshotsAtCreation = false;
    int32_t modeAtCreation = -1;
    bool windowAtCreation = true;
    uint32_t firstDrawAtCreation = 0;

    bool windowAtInit = false;
    bool soundAtInit = false;
    bool canvasIsBackBuffer = false;
    bool joystickIsTheApps = false;
    bool idleIsSceneFrame = false;
    int presentsAtInit = -1;

    bool soundAtDeletion = true;
    bool snapshotsAtDeletion = true;
    bool windowAtDeletion = true;
    bool mainLoopAtDeletion = false;
    long saveBytesAtDeletion = -1;
};

Moments seen;

long FileSize(const char* path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    return file ? static_cast<long>(file.tellg()) : -1;
}

class ProbeScene : public Scene {
public:
    ProbeScene()
    {
        seen.mainLoopAtCreation = theMainLoop != nullptr;
        seen.idleHandlerAtCreation = theMainLoop && theMainLoop->idleHandler;
        seen.snapshotsAtCreation = true;
        for (Surface* snapshot : snapshots) {
            seen.snapshotsAtCreation &= snapshot && snapshot->width == kCanvasWidth &&
                                        snapshot->height == kCanvasHeight;
        }
        seen.modeAtCreation = saveRecord.gameMode;
        seen.windowAtCreation = scripted::TheWindow() != nullptr;
        seen.firstDrawAtCreation = theRandom.Next();
    }

    ~ProbeScene() override
    {
        seen.soundAtDeletion = soundSystem != nullptr;
        seen.snapshotsAtDeletion = snapshots[0] != nullptr;
        seen.windowAtDeletion = scripted::TheWindow() != nullptr;
        seen.mainLoopAtDeletion = theMainLoop != nullptr;
        seen.saveBytesAtDeletion = FileSize(kSaveFileName);
    }

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override
    {
        Scene::Init(app, canvas, joystick);
        seen.windowAtInit = app->window && app->window == scripted::TheWindow();
        seen.soundAtInit = soundSystem != nullptr;
        seen.canvasIsBackBuffer = canvas == app->backBuffer && canvas->width == kCanvasWidth &&
                                  canvas->height == kCanvasHeight &&
                                  app->presentBuffer->width == kWindowWidth &&
                                  app->presentBuffer->height == kWindowHeight;
        seen.joystickIsTheApps = joystick == &app->joystick;
        seen.idleIsSceneFrame = theMainLoop->idleHandler == &RunSceneFrame;
        seen.presentsAtInit = scripted::PresentCount();
    }
};

std::vector<unsigned char> ReadAll(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteAll(const char* path, const std::vector<unsigned char>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

int32_t WordAt(const std::vector<unsigned char>& bytes, size_t index)
{
    int32_t word;
    std::memcpy(&word, bytes.data() + index * 4, 4);
    return word;
}

}  // namespace

TEST(StartupShutdown, ProgramWideObjectsAreBuiltAndReleasedInOrder)
{
    ScratchFolder folder;
    seen = Moments{};
    GameHarness::Options options;
    options.startClock = 123456;
    options.saveFile = kSaveFileName;
    {
        GameHarness game(options);
        ASSERT_TRUE(game.Boot([] { return new ProbeScene; }));

        // Created by the entry function after the loop, the snapshots and the save record,
        // before the idle handler and the window.
        EXPECT_TRUE(seen.mainLoopAtCreation);
        EXPECT_FALSE(seen.idleHandlerAtCreation);
        EXPECT_TRUE(seen.snapshotsAtCreation);
        EXPECT_EQ(seen.modeAtCreation, 0);
        EXPECT_FALSE(seen.windowAtCreation);
        Random expected;
        expected.Seed(123456);
        EXPECT_EQ(seen.firstDrawAtCreation, expected.Next()) << "seeded from the clock";

        // Initialised inside the window's creation, with sound ready and nothing shown yet.
        EXPECT_TRUE(seen.windowAtInit);
        EXPECT_TRUE(seen.soundAtInit);
        EXPECT_TRUE(seen.canvasIsBackBuffer);
        EXPECT_TRUE(seen.joystickIsTheApps);
        EXPECT_TRUE(seen.idleIsSceneFrame);
        EXPECT_EQ(seen.presentsAtInit, 0);

        EXPECT_EQ(game.Close(), 0);
    }
    // Deleted after the save file was written, the snapshots and the sound system released
    // and the window gone, but before the main loop.
    EXPECT_EQ(seen.saveBytesAtDeletion, 100);
    EXPECT_FALSE(seen.snapshotsAtDeletion);
    EXPECT_FALSE(seen.soundAtDeletion);
    EXPECT_FALSE(seen.windowAtDeletion);
    EXPECT_TRUE(seen.mainLoopAtDeletion);
    EXPECT_EQ(theMainLoop, nullptr);
    EXPECT_EQ(currentScene, nullptr);
    EXPECT_EQ(soundSystem, nullptr);
}

TEST(StartupShutdown, SaveFileIsReadAsFarAsItGoesAndWrittenBackWhole)
{
    ScratchFolder folder;
    GameHarness::Options options;
    options.saveFile = kSaveFileName;
    SceneLog log;
    auto session = [&](auto whileOpen) {
        GameHarness game(options);
        ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
        whileOpen();
        EXPECT_EQ(game.Close(), 0);
    };

    // No file: a zero record, and a 100-byte file at the end.
    session([] {
        EXPECT_EQ(saveRecord.tables[0].Best(), 0);
        EXPECT_EQ(saveRecord.tables[1].Best(), 0);
    });
    EXPECT_EQ(ReadAll(kSaveFileName), std::vector<unsigned char>(100, 0));

    // A short file that chose the five-minute game: the mode is back to one minute, the
    // bytes it holds are kept, the rest reads as zero, and all 100 bytes are written back.
    WriteAll(kSaveFileName, {1, 0, 0, 0, 11, 0, 0, 0, 22, 0, 0, 0, 33});
    session([] {
        EXPECT_EQ(saveRecord.gameMode, 0);
        EXPECT_EQ(saveRecord.tables[0].scores[0], 11);
        EXPECT_EQ(saveRecord.tables[0].scores[1], 22);
        EXPECT_EQ(saveRecord.tables[0].scores[2], 33) << "its one byte, the rest zero";
        EXPECT_EQ(saveRecord.tables[1].Best(), 0);
        saveRecord.tables[1].scores[10] = 4242;  // as a finished run would leave it
    });
    std::vector<unsigned char> written = ReadAll(kSaveFileName);
    ASSERT_EQ(written.size(), 100u);
    EXPECT_EQ(WordAt(written, 0), 0);
    EXPECT_EQ(WordAt(written, 1), 11);
    EXPECT_EQ(WordAt(written, 2), 22);
    EXPECT_EQ(WordAt(written, 13 + 10), 4242);

    // A file longer than the record: its first 100 bytes count, and the file becomes 100.
    std::vector<unsigned char> longer(150, 0);
    longer[4 + 10 * 4] = 77;
    WriteAll(kSaveFileName, longer);
    session([] { EXPECT_EQ(saveRecord.tables[0].Best(), 77); });
    EXPECT_EQ(FileSize(kSaveFileName), 100);
}

TEST(StartupShutdown, NoDisplayEndsTheStartWithOneLineAndLeavesTheScores)
{
    ScratchFolder folder;
    const std::vector<unsigned char> scores(100, 5);
    WriteAll(kSaveFileName, scores);
    GameHarness::Options options;
    options.saveFile = kSaveFileName;
    SceneLog log;
    {
        GameHarness game(options);
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
    EXPECT_EQ(ReadAll(kSaveFileName), scores);
}

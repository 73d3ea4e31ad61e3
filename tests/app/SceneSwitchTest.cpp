#include <gtest/gtest.h>

#include "tests/app/ShellTestKit.h"
#include "tests/support/GameHarness.h"

TEST(SceneSwitch, OldSceneIsDeletedOnceAfterItsLastFrameIsShown)
{
    SceneLog first;
    SceneLog second;
    GameHarness game;
    RecordingScene* outgoing = nullptr;
    ASSERT_TRUE(game.Boot([&] { return outgoing = new RecordingScene(first); }));
    game.RunFrames(2);

    auto* successor = new RecordingScene(second);
    outgoing->successor = successor;
    game.RunFrames(1);  // the outgoing scene's last frame hands over
    EXPECT_EQ(first.deletions, 1);
    EXPECT_TRUE(ShowsPattern(game.Screen(), 2)) << "its last frame is on the screen";
    EXPECT_EQ(currentScene, successor);
    EXPECT_EQ(successor->app, &game.App());
    EXPECT_EQ(successor->canvas, &game.Canvas());
    EXPECT_EQ(successor->joystick, &game.App().joystick);
    EXPECT_EQ(second.entries, (Entries{"init"})) << "its first frame is the next one";

    // A key pressed before the successor's first frame is the successor's.
    scripted::PressKey(VK_SPACE);
    game.RunFrames(2);
    EXPECT_EQ(second.entries, (Entries{"init", "key 32", "frame", "frame"}));
    EXPECT_EQ(first.entries, (Entries{"init", "frame", "frame", "frame"}));
    EXPECT_EQ(first.deletions, 1);
}

TEST(SceneSwitch, NoFrameRunsOnceTheWindowIsClosed)
{
    SceneLog log;
    GameHarness game;
    ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
    scripted::PressKey(VK_RETURN, true);  // full screen, which closing must undo
    game.RunFrames(2);

    scripted::PostToWindow(WM_CLOSE);
    scripted::PressKey(VK_SPACE);  // behind the close: never delivered
    EXPECT_EQ(game.RunFrames(5), 0);
    EXPECT_TRUE(game.Closed());
    EXPECT_EQ(game.ExitCode(), 0);
    EXPECT_EQ(scripted::TheWindow(), nullptr);
    EXPECT_TRUE(!scripted::IsFullScreen() && scripted::IsCursorVisible()) << "desktop restored";
    EXPECT_EQ(log.entries, (Entries{"init", "frame", "frame"}));
    EXPECT_EQ(log.deletions, 0) << "the current scene is released at shutdown, not at close";
}

TEST(SceneSwitch, ASceneNeverInitialisedNeitherDrawsNorPresents)
{
    scripted::Install();
    SceneLog log;
    RecordingScene scene(log);
    EXPECT_EQ(scene.Tick(), 1);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(scripted::PresentCount(), 0);
}

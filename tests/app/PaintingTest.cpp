#include <cstring>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "tests/app/ShellTestKit.h"
#include "tests/support/GameHarness.h"

namespace {

// Whether the snapshot file holds the canvas pattern of `frame`: a 58-byte header, then the
// 320x240 pixels bottom row first, as in memory.
bool SnapshotShowsPattern(const char* path, int frame)
{
    const testfiles::Bytes bytes = testfiles::ReadFile(path);
    std::vector<uint32_t> pixels(320 * 240);
    if (bytes.size() != 58 + pixels.size() * 4)
        return false;
    std::memcpy(pixels.data(), bytes.data() + 58, pixels.size() * 4);
    return ShowsPattern(pixels, frame, 1);
}

}  // namespace

TEST(Painting, EachFrameIsShownDoubledAndAnExposeShowsItAgain)
{
    SceneLog log;
    GameHarness game;
    ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
    ASSERT_EQ(game.RunFrames(3), 3);
    // The window uncovered between frames: the last picture comes back, once, without a frame.
    const int presents = scripted::PresentCount();
    InvalidateRect(scripted::TheWindow(), nullptr, FALSE);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_PAINT);
    DispatchMessageA(&message);
    EXPECT_EQ(scripted::PresentCount(), presents + 1);
    EXPECT_TRUE(ShowsPattern(game.Screen(), 2));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(log.Count("frame"), 3);
}

TEST(Painting, F1WritesOneSnapshotPerFrameWhileHeldAndOneForATap)
{
    testfiles::TempFolder folder(true);
    SceneLog log;
    GameHarness game;
    ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
    game.RunFrames(1);  // frame 0
    scripted::HoldKey(VK_F1);
    game.RunFrames(3);  // frames 1 to 3
    scripted::ReleaseKey(VK_F1);
    game.RunFrames(2);
    EXPECT_TRUE(SnapshotShowsPattern("Snap0000.bmp", 1));
    EXPECT_TRUE(SnapshotShowsPattern("Snap0001.bmp", 2));
    EXPECT_TRUE(SnapshotShowsPattern("Snap0002.bmp", 3));
    EXPECT_FALSE(std::filesystem::exists("Snap0003.bmp"));

    // Pressed and let go between two frames: that one frame is saved.
    scripted::PressKey(VK_F1);
    game.RunFrames(2);  // frames 6 and 7
    EXPECT_TRUE(SnapshotShowsPattern("Snap0003.bmp", 6));
    EXPECT_FALSE(std::filesystem::exists("Snap0004.bmp"));
}

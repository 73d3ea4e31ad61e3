// Loading the menu-like scenes' pictures from an archive of our own making, with pictures
// that fit, pictures of the wrong size, a damaged one and a missing one.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "app/GameApp.h"
#include "archive/ResourceArchive.h"
#include "gfx/BmpWriter.h"
#include "scenes/ScenePicture.h"
#include "scenes/TitleScene.h"
#include "tests/gfx/GfxTestKit.h"
#include "tests/support/GameHarness.h"

namespace {

constexpr uint32_t kMarker = 0x00336699;

testfiles::Bytes BmpBytes(int width, int height)
{
    Surface picture(width, height);
    testfiles::Fill(picture, kMarker);
    SaveBmp(picture, "scene-picture.bmp");
    return testfiles::ReadFile("scene-picture.bmp");
}

}  // namespace

TEST(ScenePicture, ReportsAndReplacesPicturesItCannotDrawSafely)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    HWND window = game.App().window;
    testfiles::WriteArchive("scene-pictures", {{"screen.bmp", BmpBytes(320, 240)},
                                               {"small.bmp", BmpBytes(4, 4)},
                                               {"wide.bmp", BmpBytes(400, 20)},
                                               {"narrow.bmp", BmpBytes(4, 240)},
                                               {"junk.bmp", testfiles::Bytes(30, 'x')}});
    ResourceArchive archive("scene-pictures");
    ASSERT_EQ(archive.error(), "");

    // A picture within its limits arrives as it is, without a word.
    testing::internal::CaptureStderr();
    std::unique_ptr<Surface> fits(LoadScenePicture(window, archive, "screen.bmp", kExactlyScreen));
    std::unique_ptr<Surface> small(LoadScenePicture(window, archive, "small.bmp", kAtMostScreen));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(fits->pixels[320 * 240 - 1], kMarker);
    EXPECT_EQ(small->width, 4);
    EXPECT_NE(fits->dc, nullptr);

    // Anything else: one line naming the picture, and a black stand-in the scene can draw
    // from without leaving any surface.
    const PictureLimits menu = {1, 2, 300, 400};
    const std::pair<const char*, PictureLimits> bad[] = {{"small.bmp", kExactlyScreen},
                                                         {"narrow.bmp", kExactlyScreen},
                                                         {"wide.bmp", menu},
                                                         {"junk.bmp", kScreenOrMore},
                                                         {"missing.bmp", kScreenOrMore}};
    for (const auto& [name, limits] : bad) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStderr();
        std::unique_ptr<Surface> stand(LoadScenePicture(window, archive, name, limits));
        std::string message = testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find(name), std::string::npos) << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_EQ(stand->width, limits.minWidth);
        EXPECT_EQ(stand->height, limits.minHeight);
        EXPECT_TRUE(testfiles::AllBlack(*stand));
        EXPECT_NE(stand->dc, nullptr);
    }
}

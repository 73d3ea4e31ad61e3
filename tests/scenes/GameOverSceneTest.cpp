// The game-over screen driven frame by frame through the whole program on the scripted
// platform, starting over a known picture as if a run had just been cut short.

#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/Surface.h"
#include "platform/scripted/Scripted.h"
#include "scenes/GameOverScene.h"
#include "scenes/TitleScene.h"
#include "tests/support/GameHarness.h"

namespace {

// What the last game frame left on the canvas; not a colour of the game-over picture.
constexpr uint32_t kGamePicture = 0x00123456;

GameOverScene* GameOver()
{
    return dynamic_cast<GameOverScene*>(currentScene);
}

bool BootOverGamePicture(GameHarness& game)
{
    if (!game.Boot([] { return new GameOverScene; })) return false;
    std::fill_n(game.Canvas().pixels, 320 * 240, kGamePicture);
    return true;
}

void Press(GameHarness& game, int vk)
{
    scripted::PressKey(vk);
    game.RunFrames(1, 0);
}

bool ShowsWholePicture(GameHarness& game)
{
    const Surface& picture = *GameOver()->gameOverImage;
    return std::equal(picture.pixels, picture.pixels + 320 * 240, game.Canvas().pixels);
}

}  // namespace

TEST(GameOverScene, SweepsInFromTheRightThenHoldsForEver)
{
    GameHarness game;
    ASSERT_TRUE(BootOverGamePicture(game));
    game.RunFrames(12);  // 204 ms of the 300 ms sweep

    // Only a ragged strip on the right is revealed: the edge never comes further left than
    // 320 - 204/4 - 50; to its right, revealed pixels are the picture's own.
    const Surface& canvas = game.Canvas();
    const Surface& picture = *GameOver()->gameOverImage;
    int revealed = 0;
    bool leftUntouched = true;
    bool revealedAsPicture = true;
    for (int y = 0; y < 240; y++) {
        for (int x = 0; x < 320; x++) {
            uint32_t p = canvas.pixels[y * 320 + x];
            if (p == kGamePicture) continue;
            revealed++;
            leftUntouched &= x >= 320 - 204 / 4 - 50;
            revealedAsPicture &= p == picture.pixels[y * 320 + x];
        }
    }
    EXPECT_TRUE(leftUntouched);
    EXPECT_TRUE(revealedAsPicture);
    EXPECT_GT(revealed, 240 * 5);

    game.RunFrames(6);
    EXPECT_EQ(GameOver()->state, GameOverScene::kHold);
    game.RunFrames(1);
    EXPECT_TRUE(ShowsWholePicture(game));

    // No time-out: a minute later it is still there.
    game.RunFrames(60, 1000);
    ASSERT_NE(GameOver(), nullptr);
    EXPECT_TRUE(ShowsWholePicture(game));
}

TEST(GameOverScene, TwoQuickPressesFadeToBlackAndReturnToTheTitle)
{
    GameHarness game;
    ASSERT_TRUE(BootOverGamePicture(game));
    game.RunFrames(2);
    Press(game, VK_SPACE);  // ends the sweep
    EXPECT_EQ(GameOver()->state, GameOverScene::kHold);
    EXPECT_TRUE(ShowsWholePicture(game));
    game.RunFrames(1);
    Press(game, VK_SPACE);  // starts the fade
    EXPECT_EQ(GameOver()->state, GameOverScene::kFading);

    game.RunFrames(1, 100);
    Press(game, VK_SPACE);  // raises the state, does not restart the fade
    game.RunFrames(1, 156);
    // 256 ms in: half black.
    const Surface& picture = *GameOver()->gameOverImage;
    bool halved = true;
    for (int i = 0; i < 320 * 240; i++)
        halved &= game.Canvas().pixels[i] == ((picture.pixels[i] >> 1) & 0x7F7F7F7F);
    EXPECT_TRUE(halved);

    game.RunFrames(1, 258);  // 514 ms: black, leaving on the next frame
    EXPECT_TRUE(std::all_of(game.Canvas().pixels, game.Canvas().pixels + 320 * 240,
                            [](uint32_t p) { return (p & 0xFFFFFF) == 0; }));
    EXPECT_EQ(GameOver()->state, GameOverScene::kLeaving);
    Press(game, VK_SPACE);  // too late to matter
    EXPECT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr);
}

TEST(GameOverScene, OnlySpaceAndJoystickButtonOneContinue)
{
    GameHarness::Options options;
    options.joystick = true;
    GameHarness game(options);
    ASSERT_TRUE(BootOverGamePicture(game));
    game.RunFrames(20);
    ASSERT_EQ(GameOver()->state, GameOverScene::kHold);

    Press(game, VK_RETURN);
    Press(game, 'B');
    scripted::SetJoystick(32767, 32767, JOY_BUTTON2);
    game.RunFrames(3);
    scripted::SetJoystick(0, 0, 0);  // the stick means nothing here
    game.RunFrames(3);
    EXPECT_EQ(GameOver()->state, GameOverScene::kHold);

    scripted::SetJoystick(32767, 32767, JOY_BUTTON1);
    game.RunFrames(3);
    EXPECT_EQ(GameOver()->state, GameOverScene::kFading);
    game.RunFrames(40);
    EXPECT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr);
}

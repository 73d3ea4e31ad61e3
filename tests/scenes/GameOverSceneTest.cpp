// The game-over screen driven frame by frame through the whole program on the scripted
// platform, starting over a known picture as if a run had just been cut short.

#include <gtest/gtest.h>

#include "scenes/GameOverScene.h"
#include "scenes/TitleScene.h"
#include "tests/gfx/GfxTestKit.h"
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
    if (!game.Boot([] { return new GameOverScene; }))
        return false;
    std::fill_n(game.Canvas().pixels, 320 * 240, kGamePicture);
    return true;
}

bool ShowsWholePicture(GameHarness& game)
{
    const Surface& picture = *GameOver()->gameOverImage;
    return std::equal(picture.pixels, picture.pixels + 320 * 240, game.Canvas().pixels);
}

}  // namespace

TEST(GameOverScene, SweepsInHoldsForEverAndOnlySpaceOrButtonOneGoesOn)
{
    GameHarness game({.joystick = true});
    ASSERT_TRUE(BootOverGamePicture(game));
    game.RunFrames(12);  // 204 ms of the 300 ms sweep

    // Only a ragged strip on the right is revealed, never further left than 320 - 204/4 - 50,
    // and what is revealed is the picture's own.
    const Surface& picture = *GameOver()->gameOverImage;
    int revealed = 0, misplaced = 0;
    for (int i = 0; i < 320 * 240; i++) {
        if (game.Canvas().pixels[i] == kGamePicture)
            continue;
        revealed++;
        misplaced += i % 320 < 320 - 204 / 4 - 50 || game.Canvas().pixels[i] != picture.pixels[i];
    }
    EXPECT_GT(revealed, 240 * 5);
    EXPECT_EQ(misplaced, 0);

    game.RunFrames(6);
    EXPECT_EQ(GameOver()->state, GameOverScene::kHold);
    game.RunFrames(60, 1000);
    ASSERT_NE(GameOver(), nullptr) << "no time-out";
    EXPECT_TRUE(ShowsWholePicture(game));

    game.Press(VK_RETURN);
    game.Press('B');
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

TEST(GameOverScene, TwoQuickPressesFadeToBlackAndReturnToTheTitle)
{
    GameHarness game;
    ASSERT_TRUE(BootOverGamePicture(game));
    game.RunFrames(2);
    game.Press(VK_SPACE);  // ends the sweep
    EXPECT_EQ(GameOver()->state, GameOverScene::kHold);
    EXPECT_TRUE(ShowsWholePicture(game));
    game.RunFrames(1);
    game.Press(VK_SPACE);  // starts the fade
    EXPECT_EQ(GameOver()->state, GameOverScene::kFading);

    game.RunFrames(1, 100);
    game.Press(VK_SPACE);  // raises the state, does not restart the fade
    game.RunFrames(1, 156);
    EXPECT_TRUE(testfiles::Halved(game.Canvas(), *GameOver()->gameOverImage)) << "256 ms in";

    game.RunFrames(1, 258);  // 514 ms: black, leaving on the next frame
    EXPECT_TRUE(testfiles::AllBlack(game.Canvas()));
    EXPECT_EQ(GameOver()->state, GameOverScene::kLeaving);
    game.Press(VK_SPACE);  // too late to matter
    EXPECT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr);
}

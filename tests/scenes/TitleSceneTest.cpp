// The title screen driven frame by frame through the whole program on the scripted platform.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/SaveRecord.h"
#include "gfx/Surface.h"
#include "platform/scripted/Scripted.h"
#include "scenes/GameScene.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"
#include "tests/support/GameHarness.h"

namespace {

TitleScene* Title()
{
    return dynamic_cast<TitleScene*>(currentScene);
}

// Dispatches the press at the current clock and draws one frame at that same moment.
void Press(GameHarness& game, int vk)
{
    scripted::PressKey(vk);
    game.RunFrames(1, 0);
}

int SelectionSounds()
{
    return static_cast<int>(std::count_if(
        scripted::SoundEvents().begin(), scripted::SoundEvents().end(),
        [](const scripted::SoundEvent& e) { return e.clip == kSoundSelect; }));
}

uint32_t Pixel(const Surface& surface, int x, int y)
{
    return surface.pixels[y * surface.width + x];
}

// Whether the canvas shows the menu half for the given mode at its place over the opening
// picture: the menu's non-black pixels where the menu is, the opening picture elsewhere.
bool ShowsMenu(const Surface& canvas, const TitleScene& title, int mode)
{
    const Surface& menu = *title.menuImage;
    int half = menu.height / 2;
    for (int y = 0; y < canvas.height; y++) {
        for (int x = 0; x < canvas.width; x++) {
            uint32_t expected = Pixel(*title.openingImage, x, y);
            int mx = x - 20;
            int my = y - 40;
            if (mx >= 0 && mx < menu.width && my >= 0 && my < half) {
                uint32_t m = Pixel(menu, mx, my + half * mode);
                if ((m & 0xFFFFFF) != 0) expected = m;
            }
            if (Pixel(canvas, x, y) != expected) return false;
        }
    }
    return true;
}

bool IsBlack(const Surface& canvas)
{
    return std::all_of(canvas.pixels, canvas.pixels + canvas.width * canvas.height,
                       [](uint32_t p) { return (p & 0xFFFFFF) == 0; });
}

}  // namespace

TEST(TitleScene, SpaceSkipsTheLogoThenStartsTheFadeAndTheGame)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    game.RunFrames(10);
    ASSERT_NE(Title(), nullptr);
    EXPECT_EQ(Title()->state, TitleScene::kLogo);

    Press(game, VK_SPACE);
    game.RunFrames(1);
    EXPECT_EQ(Title()->state, TitleScene::kMenu);
    EXPECT_TRUE(ShowsMenu(game.Canvas(), *Title(), 0));

    // Half way through the fade the opening picture shows at half brightness.
    Press(game, VK_SPACE);
    EXPECT_GE(Title()->state, TitleScene::kFading);
    game.RunFrames(1, 256);
    const Surface& opening = *Title()->openingImage;
    bool halved = true;
    for (int i = 0; i < opening.width * opening.height; i++)
        halved &= game.Canvas().pixels[i] == ((opening.pixels[i] >> 1) & 0x7F7F7F7F);
    EXPECT_TRUE(halved);

    // Black at 512 ms, still the title; past it the game takes over on the next frame.
    game.RunFrames(1, 256);
    EXPECT_TRUE(IsBlack(game.Canvas()));
    EXPECT_NE(Title(), nullptr);
    game.RunFrames(1, 2);
    EXPECT_TRUE(IsBlack(game.Canvas()));
    EXPECT_NE(Title(), nullptr);
    game.RunFrames(1);
    EXPECT_NE(dynamic_cast<GameScene*>(currentScene), nullptr);
}

TEST(TitleScene, LogoTurnsRestsAndGivesWayToTheMenuByItself)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    const Surface& logo = *Title()->logoImage;
    // Upright, the nearest-pixel copy shows each pixel of the logo or a neighbour below or
    // to the left of it.
    auto uprightShare = [&] {
        int upright = 0;
        for (int y = 1; y < 240; y++) {
            for (int x = 1; x < 320; x++) {
                uint32_t p = Pixel(game.Canvas(), x, y);
                upright += p == Pixel(logo, x, y) || p == Pixel(logo, x - 1, y) ||
                           p == Pixel(logo, x, y - 1) || p == Pixel(logo, x - 1, y - 1);
            }
        }
        return upright / (319.0 * 239.0);
    };
    game.RunFrames(1, 500);  // half way round
    EXPECT_LT(uprightShare(), 0.9);
    game.RunFrames(1, 1000);  // 1500 ms: upright and resting
    EXPECT_EQ(uprightShare(), 1.0);
    game.RunFrames(1, 1400);  // 2900 ms: still resting
    EXPECT_EQ(uprightShare(), 1.0);

    game.RunFrames(1, 200);  // 3100 ms: the opening picture fades in, no menu yet
    EXPECT_EQ(Title()->state, TitleScene::kLogo);
    game.RunFrames(1, 500);  // 3600 ms: fully in, the menu follows
    EXPECT_EQ(Title()->state, TitleScene::kMenu);
    EXPECT_TRUE(std::equal(Title()->openingImage->pixels,
                           Title()->openingImage->pixels + 320 * 240, game.Canvas().pixels));
    game.RunFrames(1);
    EXPECT_TRUE(ShowsMenu(game.Canvas(), *Title(), 0));
}

TEST(TitleScene, UpAndDownToggleTheGameLengthWithASoundOnlyOnTheMenu)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    game.RunFrames(2);
    scripted::ClearSoundEvents();

    Press(game, VK_DOWN);  // the logo ignores it
    Press(game, VK_UP);
    EXPECT_EQ(saveRecord.gameMode, 0);
    EXPECT_EQ(SelectionSounds(), 0);

    Press(game, VK_SPACE);
    Press(game, VK_DOWN);
    EXPECT_EQ(saveRecord.gameMode, 1);
    EXPECT_TRUE(ShowsMenu(game.Canvas(), *Title(), 1));
    Press(game, VK_DOWN);
    EXPECT_EQ(saveRecord.gameMode, 0);
    EXPECT_TRUE(ShowsMenu(game.Canvas(), *Title(), 0));
    Press(game, VK_UP);
    EXPECT_EQ(saveRecord.gameMode, 1);
    Press(game, VK_UP);
    EXPECT_EQ(saveRecord.gameMode, 0);
    Press(game, 'X');  // nothing
    EXPECT_EQ(SelectionSounds(), 4);

    Press(game, VK_SPACE);  // the fade ignores them again
    Press(game, VK_DOWN);
    EXPECT_EQ(saveRecord.gameMode, 0);
    EXPECT_EQ(SelectionSounds(), 4);
}

TEST(TitleScene, HeldSpaceWalksThroughLogoMenuAndFadeWithoutRestartingIt)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    game.RunFrames(3);
    // Auto-repeat: a key-down every 34 ms. The second starts the fade; the rest only raise
    // the state, and the game follows 514 ms after the second press.
    int frames = 0;
    while (dynamic_cast<GameScene*>(currentScene) == nullptr && frames < 100) {
        if (frames % 2 == 0) scripted::PressKey(VK_SPACE);
        game.RunFrames(1);
        frames++;
        if (frames == 1) {
            EXPECT_EQ(Title()->state, TitleScene::kMenu);
        }
        if (frames == 3) {
            EXPECT_EQ(Title()->state, TitleScene::kFading);
        }
    }
    // The press before frame 3 starts the fade 17 ms before that frame; frame 3 + 30 is the
    // first at 514 ms or more, and the game follows on the next.
    EXPECT_EQ(frames, 3 + 30 + 1);
}

TEST(TitleScene, JoystickButtonOneAndStickActLikeTheKeysButButtonTwoDoesNothing)
{
    GameHarness::Options options;
    options.joystick = true;
    GameHarness game(options);
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    game.RunFrames(3);

    scripted::SetJoystick(32767, 32767, JOY_BUTTON2);
    game.RunFrames(3);
    scripted::SetJoystick(32767, 32767, 0);
    game.RunFrames(3);
    EXPECT_EQ(Title()->state, TitleScene::kLogo);

    scripted::SetJoystick(32767, 32767, JOY_BUTTON1 | JOY_BUTTON2);
    game.RunFrames(3);
    scripted::SetJoystick(32767, 32767, 0);
    game.RunFrames(3);
    EXPECT_EQ(Title()->state, TitleScene::kMenu);

    scripted::ClearSoundEvents();
    scripted::SetJoystick(32767, 65535, 0);  // down
    game.RunFrames(3);
    EXPECT_EQ(saveRecord.gameMode, 1);
    scripted::SetJoystick(32767, 32767, 0);
    game.RunFrames(3);
    scripted::SetJoystick(32767, 0, 0);  // up
    game.RunFrames(3);
    EXPECT_EQ(saveRecord.gameMode, 0);
    EXPECT_EQ(SelectionSounds(), 2);
}

TEST(TitleScene, TheChosenLengthSurvivesARunAndTheReturnToTheTitle)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    game.RunFrames(2);
    Press(game, VK_SPACE);
    Press(game, VK_DOWN);
    Press(game, VK_SPACE);
    game.RunFrames(40);
    ASSERT_NE(dynamic_cast<GameScene*>(currentScene), nullptr);

    // The five-minute run ends by time; the ending follows, and from its roll Space returns
    // to a new title.
    game.RunFrames(1, 300001);
    game.RunFrames(1);
    game.RunFrames(1, 21000);
    game.RunFrames(2);
    scripted::PressKey(VK_SPACE);
    game.RunFrames(2);
    ASSERT_NE(Title(), nullptr);
    EXPECT_EQ(saveRecord.gameMode, 1);
    Press(game, VK_SPACE);
    game.RunFrames(1);
    EXPECT_TRUE(ShowsMenu(game.Canvas(), *Title(), 1));
}

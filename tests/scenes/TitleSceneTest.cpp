// The title screen driven frame by frame through the whole program on the scripted platform.

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "scenes/GameScene.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"
#include "tests/gfx/GfxTestKit.h"
#include "tests/support/GameHarness.h"

namespace {

using testfiles::Pixel;

TitleScene* Title()
{
    return dynamic_cast<TitleScene*>(currentScene);
}

bool Playing()
{
    return dynamic_cast<GameScene*>(currentScene) != nullptr;
}

int SelectionSounds()
{
    return static_cast<int>(
        std::count_if(scripted::SoundEvents().begin(), scripted::SoundEvents().end(),
                      [](const scripted::SoundEvent& e) { return e.clip == kSoundSelect; }));
}

// Whether the canvas shows the menu half for the mode at (20, 40) over the opening picture:
// the menu's non-black pixels there, the opening picture everywhere else.
bool ShowsMenu(const Surface& canvas, int mode)
{
    const Surface& menu = *Title()->menuImage;
    int half = menu.height / 2;
    for (int y = 0; y < canvas.height; y++) {
        for (int x = 0; x < canvas.width; x++) {
            uint32_t expected = Pixel(*Title()->openingImage, x, y);
            int mx = x - 20, my = y - 40;
            if (mx >= 0 && mx < menu.width && my >= 0 && my < half &&
                Pixel(menu, mx, my + half * mode) != 0)
                expected = Pixel(menu, mx, my + half * mode);
            if (Pixel(canvas, x, y) != expected)
                return false;
        }
    }
    return true;
}

}  // namespace

TEST(TitleScene, SpaceSkipsTheLogoThenStartsTheFadeAndTheGame)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    game.RunFrames(10);
    EXPECT_EQ(Title()->state, TitleScene::kLogo);
    game.Press(VK_SPACE);
    game.RunFrames(1);
    EXPECT_EQ(Title()->state, TitleScene::kMenu);
    EXPECT_TRUE(ShowsMenu(game.Canvas(), 0));

    game.Press(VK_SPACE);
    EXPECT_GE(Title()->state, TitleScene::kFading);
    game.RunFrames(1, 256);
    EXPECT_TRUE(testfiles::Halved(game.Canvas(), *Title()->openingImage));
    // Black at 512 ms and still the title; past it the game takes over on the next frame.
    game.RunFrames(1, 256);
    EXPECT_TRUE(testfiles::AllBlack(game.Canvas()));
    game.RunFrames(1, 2);
    EXPECT_TRUE(testfiles::AllBlack(game.Canvas()));
    EXPECT_FALSE(Playing());
    scripted::PressKey(VK_SPACE);  // too late to change anything
    game.RunFrames(1);
    EXPECT_TRUE(Playing());
}

TEST(TitleScene, UpAndDownToggleTheGameLengthWithASoundOnlyOnTheMenu)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    game.RunFrames(2);
    scripted::ClearSoundEvents();
    struct Step {
        int vk, mode, sounds;
    };
    const Step steps[] = {
        {VK_DOWN, 0, 0}, {VK_UP, 0, 0},  // the logo ignores them
        {0, 0, 0},                       // the logo gives way to the menu by itself after 3.5 s
        {VK_DOWN, 1, 1}, {VK_DOWN, 0, 2},  {VK_UP, 1, 3},   {VK_UP, 0, 4},
        {'X', 0, 4},     {VK_SPACE, 0, 4}, {VK_DOWN, 0, 4},  // so does the fade
    };
    for (const Step& s : steps) {
        if (s.vk == 0) {
            game.RunFrames(1, 3450);
            EXPECT_EQ(Title()->state, TitleScene::kLogo);
            game.RunFrames(2, 50);
            EXPECT_EQ(Title()->state, TitleScene::kMenu);
        } else {
            game.Press(s.vk);
        }
        EXPECT_EQ(saveRecord.gameMode, s.mode);
        EXPECT_EQ(SelectionSounds(), s.sounds);
        if (Title()->state == TitleScene::kMenu) {
            EXPECT_TRUE(ShowsMenu(game.Canvas(), s.mode));
        }
    }
}

TEST(TitleScene, JoystickButtonOneAndTheStickActLikeTheKeysButButtonTwoDoesNothing)
{
    GameHarness game({.joystick = true});
    ASSERT_TRUE(game.Boot([] { return new TitleScene; }));
    game.RunFrames(3);
    auto joystick = [&](unsigned y, unsigned buttons) {
        scripted::SetJoystick(32767, y, buttons);
        game.RunFrames(3);
    };
    joystick(32767, JOY_BUTTON2);
    joystick(32767, 0);
    EXPECT_EQ(Title()->state, TitleScene::kLogo);
    joystick(32767, JOY_BUTTON1 | JOY_BUTTON2);
    joystick(32767, 0);
    EXPECT_EQ(Title()->state, TitleScene::kMenu);

    scripted::ClearSoundEvents();
    joystick(65535, 0);  // down
    EXPECT_EQ(saveRecord.gameMode, 1);
    joystick(32767, 0);
    joystick(0, 0);  // up
    EXPECT_EQ(saveRecord.gameMode, 0);
    EXPECT_EQ(SelectionSounds(), 2);
}

// The title screen driven frame by frame through the whole program on the scripted platform.

#include <cstring>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "replay/Journal.h"
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
    game.RunFrames(1);
    EXPECT_FALSE(game.DrawnOver(440, 472).empty()) << "the ways to the options and replays";
    EXPECT_TRUE(game.DrawnOver(0, 440).empty());

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
    game.Pad(32768, 32768, JOY_BUTTON2);
    EXPECT_EQ(Title()->state, TitleScene::kLogo);
    game.Pad(32768, 32768, JOY_BUTTON1 | JOY_BUTTON2);
    EXPECT_EQ(Title()->state, TitleScene::kMenu);

    scripted::ClearSoundEvents();
    game.Pad(32768, 65535);  // down
    EXPECT_EQ(saveRecord.gameMode, 1);
    game.Pad(32768, 0);  // up
    EXPECT_EQ(saveRecord.gameMode, 0);
    EXPECT_EQ(SelectionSounds(), 2);
}

namespace {

// The shipped demo beside the archive pair (the tests' run folder), the player's best runs
// out of the way; all removed again after.
struct ShippedDemo {
    ShippedDemo()
    {
        std::filesystem::remove_all("replays");
        std::filesystem::copy_file(KORIMO_SOURCE_DIR "/tests/data/golden-one-minute.krp",
                                   "korimo-demo.krp",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ~ShippedDemo()
    {
        std::filesystem::remove("korimo-demo.krp");
        std::filesystem::remove_all("replays");
    }
};

TEST(TitleScene, TwentySecondsIdleOnTheMenuPlayADemoThatAKeyOrThePadEnds)
{
    ShippedDemo demo;
    const int idleFrames = 20000 / 17;
    struct Case {
        const char* what;
        std::function<void()> touch;
    };
    const Case cases[] = {
        {"a key", [] { scripted::PressKey('X'); }},
        {"a pad button", [] { scripted::SetJoystick(32768, 32768, JOY_BUTTON2); }},
        {"the stick", [] { scripted::SetJoystick(0, 32768, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameHarness game({.joystick = true});
        ASSERT_TRUE(game.Boot([] { return new TitleScene(TitleScene::kMenu); }));
        game.RunFrames(idleFrames - 60);
        scripted::PressKey(VK_DOWN);  // a touch starts the wait over
        game.RunFrames(idleFrames - 10);
        ASSERT_NE(Title(), nullptr) << "no demo before 20 s without a touch";
        game.RunFrames(20);
        ASSERT_TRUE(Playing()) << "the demo plays";
        ASSERT_TRUE(journal::PlayingBack());
        game.RunFrames(120);
        EXPECT_TRUE(scripted::IsClipPlaying(kSoundGameMusic)) << "with the game's sound";
        c.touch();
        game.RunFrames(3);
        ASSERT_NE(Title(), nullptr) << "back to the title at once";
        EXPECT_EQ(Title()->state, TitleScene::kMenu);
        EXPECT_FALSE(journal::PlayingBack()) << "the next run is the player's";
        EXPECT_FALSE(std::filesystem::exists("replays/last1.krp")) << "nothing recorded";
        scripted::SetJoystick(32768, 32768, 0);
    }
}

TEST(TitleScene, ADemoPlayedToItsEndLeavesTheRankingsAsTheyWere)
{
    ShippedDemo demo;
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new TitleScene(TitleScene::kMenu); }));
    saveRecord.tables[0].Insert(100);
    saveRecord.gameMode = 1;  // the five-minute game chosen on the menu
    const SaveRecord before = saveRecord;
    game.RunFrames(20000 / 17 + 20);
    ASSERT_TRUE(Playing()) << "the demo plays";
    for (int frames = 0; frames < 5000 && !Title(); frames++)
        game.RunFrames(1);
    ASSERT_NE(Title(), nullptr) << "the run's end returns to the title menu";
    EXPECT_EQ(std::memcmp(&before, &saveRecord, sizeof before), 0)
        << "neither the demo's score nor its length stays in the player's record";
}

}  // namespace

// The options screen driven as a player would, with the keyboard and with a pad alone, on the
// scripted platform: what the game then does, and what settings.ini holds.

#include <cctype>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "objects/Player.h"
#include "platform/PadLayout.h"
#include "scenes/GameScene.h"
#include "scenes/OptionsScene.h"
#include "scenes/TitleScene.h"
#include "tests/archive/TestFiles.h"
#include "tests/support/GameHarness.h"

namespace {

using Entry = OptionsScene::Entry;

constexpr unsigned kCentre = 32768;

Entry KeyEntry(Action action)
{
    return static_cast<Entry>(static_cast<int>(Entry::FirstKey) + static_cast<int>(action));
}

OptionsScene* Options()
{
    return dynamic_cast<OptionsScene*>(currentScene);
}

// A player's folder with its settings.ini, which the screen saves into, and the game's
// settings as that file gives them.
class OptionsTest : public testing::Test {
protected:
    void SetUp() override { settingsFile = &file; }
    void TearDown() override
    {
        settingsFile = nullptr;
        settings = Settings();
    }

    // Loads the file (as start-up does) and opens the options from the title menu.
    void Open(bool pad = false)
    {
        game = std::make_unique<GameHarness>(GameHarness::Options{.joystick = pad});
        testing::internal::CaptureStderr();
        file.Load(settings);
        testing::internal::GetCapturedStderr();
        ASSERT_TRUE(game->Boot([] { return new TitleScene(TitleScene::kMenu); }));
        game->RunFrames(2);
        if (pad)
            Pad(kCentre, kCentre, JOY_BUTTON4);
        else
            game->Press('O');
        game->RunFrames(1);
        ASSERT_NE(Options(), nullptr);
    }

    void Press(int vk)
    {
        game->Press(vk);
        game->RunFrames(1);
    }
    // Down to the entry from the first one.
    void Choose(Entry entry)
    {
        while (Options()->entry != entry)
            Press(VK_DOWN);
    }
    void Pad(unsigned x, unsigned y, unsigned buttons = 0) { game->Pad(x, y, buttons); }
    // The menus confirm with the shooting button and go back with the bombing one, wherever
    // the player has put them.
    void PadConfirm() { Pad(kCentre, kCentre, PadButtonBit(settings.pad.buttons[0])); }

    std::string Saved() const { return testfiles::ReadText(folder / SettingsFile::kName); }

    testfiles::TempFolder folder;
    SettingsFile file{folder.path.string()};
    std::unique_ptr<GameHarness> game;
};

TEST_F(OptionsTest, AKeyBoundOnTheScreenIsSavedAtOnceAndTheHeroineShootsWithIt)
{
    Open();
    Choose(KeyEntry(Action::Shoot));
    Press(VK_RETURN);
    EXPECT_EQ(Options()->mode, OptionsScene::Mode::AwaitKey);
    Press('Z');
    EXPECT_TRUE(settings.keys.Bound(Action::Shoot, 'Z'));
    EXPECT_FALSE(settings.keys.Bound(Action::Shoot, VK_SPACE));
    EXPECT_NE(Saved().find("keys_shoot = Z"), std::string::npos) << Saved();

    // Back on the title menu, a run obeys the new key and no longer the old one.
    Press(VK_ESCAPE);
    ASSERT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr);
    Press(VK_SPACE);
    game->RunFrames(40);
    auto* run = dynamic_cast<GameScene*>(currentScene);
    ASSERT_NE(run, nullptr);
    scripted::HoldKey(VK_SPACE);
    game->RunFrames(10);
    EXPECT_EQ(run->shotList.Count(), 0) << "Space shoots no more";
    scripted::ReleaseKey(VK_SPACE);
    scripted::HoldKey('Z');
    game->RunFrames(10);
    EXPECT_GT(run->shotList.Count(), 0);
    scripted::ReleaseAllKeys();
}

TEST_F(OptionsTest, TakenKeysAreSwappedReservedOnesRefusedAndEscKeepsTheKey)
{
    struct Case {
        const char* what;
        Action action;
        int slot;
        int pressed;
        int shoot[2], bomb[2];  // what the two actions hold afterwards
        bool written;
    };
    const Action shoot = Action::Shoot;
    const Case cases[] = {
        {"B taken from bomb", shoot, 0, 'B', {'B', 0}, {VK_SPACE, 'N'}, true},
        {"N in shoot's empty place", shoot, 1, 'N', {VK_SPACE, 'N'}, {'B', 0}, true},
        {"bomb's two keys change places", Action::Bomb, 0, 'N', {VK_SPACE, 0}, {'N', 'B'}, true},
        {"and from the second place", Action::Bomb, 1, 'B', {VK_SPACE, 0}, {'N', 'B'}, true},
        {"Esc cancels", shoot, 0, VK_ESCAPE, {VK_SPACE, 0}, {'B', 'N'}, false},
        {"Q is the game's own", shoot, 0, 'Q', {VK_SPACE, 0}, {'B', 'N'}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder / SettingsFile::kName);
        Open();
        Choose(KeyEntry(c.action));
        Press(c.slot ? VK_RIGHT : VK_LEFT);
        Press(VK_RETURN);
        Press(c.pressed);
        EXPECT_EQ(Options()->mode, OptionsScene::Mode::Browse);
        for (int slot = 0; slot < kKeysPerAction; slot++) {
            EXPECT_EQ(settings.keys.keys[int(Action::Shoot)][slot], c.shoot[slot]);
            EXPECT_EQ(settings.keys.keys[int(Action::Bomb)][slot], c.bomb[slot]);
        }
        EXPECT_EQ(std::filesystem::exists(folder / SettingsFile::kName), c.written);
        if (c.pressed == 'B' && c.action == shoot) {
            EXPECT_NE(Options()->note.find("SWAPPED"), std::string::npos) << Options()->note;
        }
        // What was saved reads back as the game holds it.
        if (c.written) {
            Settings read;
            std::vector<std::string> problems;
            EXPECT_TRUE(ReadSettings(Saved(), read, problems)) << Saved();
            EXPECT_TRUE(read.keys == settings.keys);
        }
        game.reset();
        settings = Settings();
    }
}

TEST_F(OptionsTest, AFileWithUnreadableLinesIsReplacedOnlyWhenThePlayerSaysSo)
{
    const std::string damaged = "volume = 4\nloudness = 11\n";
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "yes" : "no");
        testfiles::WriteText(folder / SettingsFile::kName, damaged);
        Open();
        EXPECT_EQ(Options()->mode, OptionsScene::Mode::AskReplace);
        EXPECT_TRUE(game->TextAt(16, 128, "SAVING REPLACES THEM.", 0xE6F0F4));
        Press(replace ? 'Y' : 'N');
        Press(VK_RIGHT);  // the music a step up: already at 10, so down and up again
        Press(VK_LEFT);
        EXPECT_EQ(settings.musicVolume, 9) << "the change holds either way";
        EXPECT_EQ(settings.volume, 4);
        if (replace) {
            EXPECT_NE(Saved().find("music_volume = 9"), std::string::npos) << Saved();
            EXPECT_EQ(Saved().find("loudness"), std::string::npos);
        } else {
            EXPECT_EQ(Saved(), damaged);
        }
        game.reset();
    }
}

TEST_F(OptionsTest, EveryEntryIsReachedAndChangedWithThePadAlone)
{
    Open(true);
    const Settings before = settings;
    // Right on each of the first entries, down to the next, all the way round.
    Pad(kCentre, 65535);  // effects
    Pad(65535, kCentre);
    Pad(kCentre, 0);  // back up to the music
    Pad(0, kCentre);
    EXPECT_EQ(settings.musicVolume, before.musicVolume - 1);
    EXPECT_EQ(settings.effectsVolume, before.effectsVolume);  // 10 stays 10 going up
    Pad(kCentre, 65535);
    Pad(0, kCentre);
    EXPECT_EQ(settings.effectsVolume, before.effectsVolume - 1);
    Pad(kCentre, 65535);  // window scale
    Pad(65535, kCentre);
    EXPECT_EQ(GetWindowScale(game->App().window), 3);
    Pad(kCentre, 65535);  // full screen
    Pad(kCentre, kCentre, JOY_BUTTON1);
    EXPECT_TRUE(settings.fullScreen);
    EXPECT_FALSE(game->App().windowed);
    Pad(kCentre, kCentre, JOY_BUTTON1);
    EXPECT_TRUE(game->App().windowed);
    // Every key entry is passed on the way to the pad's.
    for (int i = 0; i < 9; i++)
        Pad(kCentre, 65535);
    ASSERT_EQ(Options()->entry, Entry::FirstPadButton);
    // Shoot on button 3: pressed, button 3 now reads as the shooting button.
    Pad(kCentre, kCentre, JOY_BUTTON1);
    EXPECT_EQ(Options()->mode, OptionsScene::Mode::AwaitButton);
    Pad(kCentre, kCentre, JOY_BUTTON3);
    EXPECT_EQ(settings.pad.buttons[0], 2);
    EXPECT_EQ(settings.pad.buttons[2], 0) << "slow had button 3 and takes button 1";
    scripted::SetJoystick(kCentre, kCentre, JOY_BUTTON3);
    JOYINFO reading = {};
    ASSERT_EQ(joyGetPos(JOYSTICKID1, &reading), JOYERR_NOERROR);
    EXPECT_EQ(reading.wButtons, JOY_BUTTON1);
    scripted::SetJoystick(kCentre, kCentre, 0);
    game->RunFrames(3);
    // The other pad entries step with the stick.
    for (int a = 1; a < kPadActionCount; a++) {
        Pad(kCentre, 65535);
        const PadLayout was = settings.pad;
        Pad(65535, kCentre);
        EXPECT_FALSE(settings.pad == was) << kPadActionNames[a];
    }
    // The name: spelt with the stick, kept with button 1.
    Pad(kCentre, 65535);
    ASSERT_EQ(Options()->entry, Entry::PlayerName);
    PadConfirm();
    Pad(65535, kCentre);  // a new place: "A"
    Pad(kCentre, 0);      // up the letters: "B", "C", and down again to "B"
    Pad(kCentre, 0);
    Pad(kCentre, 65535);
    PadConfirm();
    const std::string name = before.playerName;
    EXPECT_EQ(settings.playerName,
              (name.size() < kLongestPlayerName ? name : name.substr(0, 15)) + "B");
    for (bool* assist : {&settings.showHitBox, &settings.calmBomb}) {
        Pad(kCentre, 65535);
        PadConfirm();
        EXPECT_TRUE(*assist);
    }
    Pad(kCentre, 65535);  // reset
    PadConfirm();
    EXPECT_TRUE(settings.keys == before.keys);
    EXPECT_TRUE(settings.pad == before.pad);
    EXPECT_EQ(settings.musicVolume, before.musicVolume);
    EXPECT_FALSE(settings.showHitBox);
    Pad(kCentre, 65535);  // back, to the title menu
    PadConfirm();
    auto* title = dynamic_cast<TitleScene*>(currentScene);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->state, TitleScene::kMenu);
}

TEST_F(OptionsTest, ANameIsTypedWithinTheRankingsRules)
{
    struct Case {
        const char* typed;  // from an empty name; '!' is Backspace
        const char* kept;   // what the settings hold after Return
    };
    const Case cases[] = {
        {"am-b", "am-b"},
        {"  x  ", "x"},
        {"a!!!", nullptr},  // nothing left: refused, the old name stays
        {"abcdefghijklmnopqrs", "abcdefghijklmnop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Open();
        const std::string old = settings.playerName;
        Choose(Entry::PlayerName);
        Press(VK_RETURN);
        for (size_t i = 0; i < 20; i++)
            Press(VK_BACK);
        for (const char* t = c.typed; *t; t++)
            Press(*t == '!'   ? VK_BACK
                  : *t == ' ' ? VK_SPACE
                  : *t == '-' ? VK_OEM_MINUS
                              : std::toupper(*t));
        Press(VK_RETURN);
        EXPECT_EQ(settings.playerName, c.kept ? c.kept : old);
        if (!c.kept) {
            EXPECT_EQ(Options()->mode, OptionsScene::Mode::TypeName);
            Press(VK_ESCAPE);
        }
        EXPECT_EQ(Options()->mode, OptionsScene::Mode::Browse);
        // M and - are letters while typing, not the mute and volume keys.
        EXPECT_FALSE(settings.muted);
        EXPECT_EQ(settings.volume, kVolumeSteps);
        game.reset();
        settings = Settings();
    }
}

}  // namespace

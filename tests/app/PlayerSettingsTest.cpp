// What the player sets: the settings file and its damaged cases, the volume keys with their
// caption, the window's scale and full screen.

#include <cmath>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "scenes/GameScene.h"
#include "sound/SoundSystem.h"
#include "tests/app/ShellTestKit.h"
#include "tests/support/GameHarness.h"

namespace {

TEST(SettingsFile, ADamagedFileIsNamedLineByLineGivesDefaultsAndIsNeverOverwritten)
{
    testfiles::TempFolder folder(true);
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    struct Case {
        const char* what;
        std::string text;
        std::function<bool(const Settings&)> sensible;
    };
    const Settings defaults;
    const auto unchanged = [&](const Settings& s) { return s == defaults; };
    const Case cases[] = {
        {"random bytes", noise, unchanged},
        {"10 MB", std::string(10 << 20, 'x'), unchanged},
        {"an unknown key", "volume = 4\nloudness = 11\n",
         [](const Settings& s) { return s.volume == 4; }},
        {"a duplicate entry", "volume = 4\nvolume = 6\n",
         [](const Settings& s) { return s.volume == 4; }},
        {"a key bound to two actions", "keys_shoot = Z\nkeys_bomb = Z, X\n",
         [](const Settings& s) {
             return s.keys.Bound(Action::Shoot, 'Z') && !s.keys.Bound(Action::Bomb, 'Z') &&
                    s.keys.Bound(Action::Bomb, 'X');
         }},
        {"a window scale of 0", "window_scale = 0\n", unchanged},
        {"a window scale of 100", "window_scale = 100\n", unchanged},
        {"a volume of -3", "music_volume = -3\neffects_volume = 5\n",
         [](const Settings& s) { return s.musicVolume == 10 && s.effectsVolume == 5; }},
        {"a key SDL has no name for", "keys_up = Hyper Up, W\n",
         [](const Settings& s) { return s.keys.Bound(Action::Up, 'W'); }},
        {"three keys for one action", "keys_slow = A, S, D\n",
         [](const Settings& s) { return s.keys.Bound(Action::Slow, 'S'); }},
        {"one of the game's own keys", "keys_bomb = M, X\n",
         [](const Settings& s) {
             return !s.keys.Bound(Action::Bomb, 'M') && s.keys.Bound(Action::Bomb, 'X');
         }},
        {"a name of 17 characters", "player_name = seventeen letters\nvolume = 2\n",
         [&](const Settings& s) { return s.playerName == defaults.playerName && s.volume == 2; }},
        {"a name with markup", "player_name = <b>me</b>\n", unchanged},
        {"a board that is no web address", "board = ftp://example.org\n", unchanged},
        {"a board with a space", "board = http://exa mple.org\n", unchanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testfiles::WriteText(SettingsFile::kName, c.text);
        testing::internal::CaptureStderr();
        SettingsFile file(".");
        Settings loaded;
        file.Load(loaded);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("settings.ini"), std::string::npos) << said;
        EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 10) << said;
        EXPECT_TRUE(c.sensible(loaded));
        EXPECT_FALSE(file.readWhole());

        loaded.volume = 3;  // the player changes something: still the file stays as it was
        EXPECT_TRUE(file.Save(loaded));
        EXPECT_TRUE(testfiles::ReadText(SettingsFile::kName) == c.text);
    }
}

TEST(SettingsFile, IsWrittenOnlyWhenSomethingChangedAndReadsBackTheSame)
{
    testfiles::TempFolder folder(true);
    SettingsFile file(".");
    Settings loaded;
    file.Load(loaded);
    EXPECT_TRUE(file.readWhole()) << "no file yet is no damage";
    EXPECT_TRUE(file.Save(loaded));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile::kName)) << "nothing changed";

    Settings changed = loaded;
    changed.volume = 7;
    changed.effectsVolume = 2;
    changed.muted = true;
    changed.windowScale = 3;
    changed.fullScreen = true;
    changed.keys.keys[int(Action::Shoot)][0] = 'Z';
    changed.keys.keys[int(Action::Shoot)][1] = VK_SPACE;
    changed.keys.keys[int(Action::Pause)][1] = VK_NUMPAD0;
    changed.playerName = "Mio 2.0";
    changed.board = "http://127.0.0.1:8018";
    ASSERT_TRUE(file.Save(changed));
    // Through a temporary file and a rename: nothing else is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1);
    const std::string text = testfiles::ReadText(SettingsFile::kName);
    EXPECT_NE(text.find("keys_shoot = Z, Space"), std::string::npos) << text;
    EXPECT_NE(text.find("keys_pause = P, Keypad 0"), std::string::npos) << text;
    EXPECT_NE(text.find("player_name = Mio 2.0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("board = http://127.0.0.1:8018\n"), std::string::npos) << text;
    // The game's own name and no board are not written: such a file stays as it was before.
    const std::string plain = WriteSettings(Settings());
    EXPECT_EQ(plain.find("player_name"), std::string::npos) << plain;
    EXPECT_EQ(plain.find("board"), std::string::npos) << plain;

    SettingsFile again(".");
    Settings read;
    again.Load(read);
    EXPECT_TRUE(again.readWhole());
    EXPECT_TRUE(read == changed);
    // A hand edit with comments and odd spacing and case reads as meant; a key it gives to
    // one action leaves the action whose own key it was.
    testfiles::WriteText(SettingsFile::kName,
                         "# mine\r\n  VOLUME=5 \r\nkeys_up = w, Keypad 2\r\n\r\nmute = off\r\n");
    again.Load(read);
    EXPECT_TRUE(again.readWhole());
    EXPECT_EQ(read.volume, 5);
    EXPECT_TRUE(read.keys.Bound(Action::Up, 'W') && read.keys.Bound(Action::Up, VK_NUMPAD2));
    EXPECT_TRUE(read.keys.Bound(Action::Down, VK_DOWN) &&
                !read.keys.Bound(Action::Down, VK_NUMPAD2));
}

// Whether the caption shows on the window's picture: its corner differs from the frame's.
bool CaptionShown(GameHarness& game)
{
    const std::vector<uint32_t>& screen = game.Screen();
    for (int y = 480 - 34; y < 480 - 16; y++) {
        for (int x = 16; x < 16 + 10 * 8; x++) {
            if (screen[size_t(y) * 640 + x] != game.Canvas().GetPixel(x / 2, y / 2))
                return true;
        }
    }
    return false;
}

TEST(Volume, MinusAndEqualsStepTheVolumeAndMMutesWithACaptionForASecond)
{
    GameHarness game;
    ASSERT_TRUE(game.Boot([] { return new GameScene; }));
    auto lastShotVolume = [&] {
        scripted::ClearSoundEvents();
        scripted::HoldKey(VK_SPACE);
        game.RunFrames(4);
        scripted::ReleaseKey(VK_SPACE);
        for (auto& e : scripted::SoundEvents())
            if (e.clip == kSoundShot && e.kind == scripted::SoundEvent::Play)
                return e.volume;
        return 1;  // no shot heard
    };
    EXPECT_EQ(lastShotVolume(), -1000) << "effects sound 10 dB under the music";

    for (int vk : {VK_OEM_MINUS, VK_SUBTRACT, VK_OEM_MINUS, VK_OEM_MINUS, VK_OEM_PLUS})
        scripted::PressKey(vk);
    game.RunFrames(1);
    EXPECT_EQ(settings.volume, 7);
    EXPECT_TRUE(CaptionShown(game));
    EXPECT_EQ(lastShotVolume(), -1000 + std::lround(2000 * std::log10(0.7)));
    game.RunFrames(60);
    EXPECT_FALSE(CaptionShown(game)) << "the caption stays a second";

    scripted::PressKey('M');
    game.RunFrames(1);
    EXPECT_TRUE(settings.muted);
    EXPECT_TRUE(CaptionShown(game));
    EXPECT_EQ(lastShotVolume(), DSBVOLUME_MIN);
    for (int i = 0; i < 12; i++)
        scripted::PressKey(VK_ADD);  // raising the volume ends the silence
    game.RunFrames(1);
    EXPECT_FALSE(settings.muted);
    EXPECT_EQ(settings.volume, 10);
}

TEST(Window, F5AndF6StepTheScaleAndAltEnterSwitchesOncePerPressBothRemembered)
{
    SceneLog log;
    GameHarness game;
    ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
    HWND window = scripted::TheWindow();
    EXPECT_EQ(GetWindowScale(window), 2);
    for (int vk : {VK_F6, VK_F6, VK_F6, VK_F6, VK_F6})
        scripted::PressKey(vk);
    game.RunFrames(1);
    EXPECT_EQ(GetWindowScale(window), 6) << "no larger than the desktop holds";
    scripted::PressKey(VK_F5);
    game.RunFrames(1);
    EXPECT_EQ(GetWindowScale(window), 5);
    EXPECT_TRUE(ShowsPattern(game.Screen(), log.Count("frame") - 1))
        << "the game's picture itself is unchanged: the backend enlarges it";
    scripted::PressKey(VK_OEM_MINUS);
    game.RunFrames(1);
    EXPECT_EQ(log.Count("key 116") + log.Count("key 117") + log.Count("key 189"), 0)
        << "the scenes never see the player's own keys";

    // Alt+Enter and back: the windowed style and the cursor return.
    scripted::PressKey(VK_RETURN, true);
    game.RunFrames(1);
    EXPECT_TRUE(scripted::IsFullScreen() && !scripted::IsCursorVisible());
    scripted::PressKey(VK_RETURN, true);
    game.RunFrames(1);
    EXPECT_TRUE(!scripted::IsFullScreen() && scripted::IsCursorVisible());
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), kWindowedStyle);

    // Enter held with Alt: the first press switches, the auto-repeats do not.
    scripted::PressKey(VK_RETURN, true);
    scripted::HoldKey(VK_RETURN);
    for (int i = 0; i < 5; i++)
        scripted::PressKey(VK_RETURN, true);
    game.RunFrames(1);
    EXPECT_TRUE(scripted::IsFullScreen());
    EXPECT_EQ(log.Count("key 13"), 0) << "Alt+Enter is not a key for the scene";
    game.Close();
    EXPECT_TRUE(settings.fullScreen);
    EXPECT_EQ(settings.windowScale, 5);
}

TEST(SettingsFile, PadButtonsNamesAndAssistsReadBackAndBadLinesAreNamed)
{
    struct Case {
        const char* text;
        bool understood;
        std::function<bool(const Settings&)> holds;
    };
    const Settings defaults;
    const Case cases[] = {
        {"pad_shoot = 3\n", true,
         [](const Settings& s) { return s.pad.buttons[0] == 2 && s.pad.buttons[2] == 0; }},
        {"pad_pause = 1\npad_shoot = START\n", true,
         [](const Settings& s) { return s.pad.buttons[3] == 0 && s.pad.buttons[0] == 4; }},
        {"pad_bomb = 5\n", false, [&](const Settings& s) { return s.pad == defaults.pad; }},
        {"pad_bomb = 3\npad_slow = 3\n", false,
         [](const Settings& s) { return s.pad.buttons[1] == 2 && s.pad.buttons[2] != 2; }},
        {"player_name =  Ann-Marie_2.0 \n", true,
         [](const Settings& s) { return s.playerName == "Ann-Marie_2.0"; }},
        {"player_name =\n", false,
         [&](const Settings& s) { return s.playerName == defaults.playerName; }},
        {"show_hit_box = yes\ncalm_bomb = on\n", true,
         [](const Settings& s) { return s.showHitBox && s.calmBomb; }},
        {"calm_bomb = maybe\n", false, [](const Settings& s) { return !s.calmBomb; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Settings read;
        std::vector<std::string> problems;
        EXPECT_EQ(ReadSettings(c.text, read, problems), c.understood);
        EXPECT_EQ(problems.size(), c.understood ? 0u : 1u);
        EXPECT_TRUE(c.holds(read));
        // What the game writes it reads back the same.
        Settings again;
        EXPECT_TRUE(ReadSettings(WriteSettings(read), again, problems));
        EXPECT_TRUE(again == read);
    }
}

}  // namespace

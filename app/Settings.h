#pragma once
// The player's settings: volumes, window scale, full screen, the keys of every action, the
// pad's buttons, the assists, and the board runs go to under the player's name, kept in
// "settings.ini" in the player's folder. Read at start-up; written back at exit only
// when something changed, and never over a file that could not be read whole, so a player's
// hand edits are never lost.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/PlayerName.h"
#include "objects/KeyBindings.h"
#include "platform/PadLayout.h"

constexpr int kVolumeSteps = 10;  // levels run 0 (silent) to 10 (as made)

// The game's own keys (snapshot, window, volume, mute, giving up), which no action can have.
bool ReservedKey(int vk);

struct Settings {
    int volume = kVolumeSteps;  // stepped with - and =, shown as "VOLUME n"
    int musicVolume = kVolumeSteps;
    int effectsVolume = kVolumeSteps;
    bool muted = false;
    int windowScale = 2;  // window pixels per pixel of the game's 320x240 picture
    bool fullScreen = false;
    KeyBindings keys = KeyBindings::Defaults();
    PadLayout pad = PadLayout::Defaults();
    std::string playerName = DefaultPlayerName();  // the name the player's runs carry on a board
    std::string board;  // the board runs are sent to, http:// or https://; empty: none
    // Assists change only what is shown, never a run: the heroine's hit rectangle drawn on
    // her, and the bomb's picture at a quarter of its change in brightness.
    bool showHitBox = false;
    bool calmBomb = false;

    bool operator==(const Settings& other) const = default;
};

extern Settings settings;
class SettingsFile;
// The file the settings came from, which the options screen saves into at every change; null
// when nothing is to be saved (a replay watched, a test).
extern SettingsFile* settingsFile;

// The settings file's text. Reading starts from the defaults; each line it cannot use is
// named in problems (one line each) and leaves the default in place. True when every line was
// understood.
bool ReadSettings(std::string_view text, Settings& out, std::vector<std::string>& problems);
std::string WriteSettings(const Settings& settings);
// Whether the text can name a board: an http:// or https:// address, printable, no spaces.
bool BoardAddress(std::string_view text);

// The settings file of one folder.
class SettingsFile {
public:
    static constexpr const char* kName = "settings.ini";
    // Larger files are not read at all: no hand-written settings file comes near it.
    static constexpr size_t kLargest = 64 * 1024;

    explicit SettingsFile(std::string folder);

    // Fills out (the defaults when there is no file) and prints each problem on stderr.
    void Load(Settings& out);
    // Writes settings when they differ from what Load gave and the file was read whole (or
    // did not exist). False only when a write was tried and failed.
    bool Save(const Settings& current);

    bool readWhole() const { return intact; }
    // The player agreed to replace a file that could not be read whole: Save writes from now.
    void AllowReplacing() { intact = true; }

private:
    std::string path;
    Settings loaded;
    bool intact = true;
};

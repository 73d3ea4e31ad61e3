#include "app/Settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/Text.h"

Settings settings;
SettingsFile* settingsFile = nullptr;

namespace {

constexpr int kLargestScale = 16;

// Keys the game keeps for itself: snapshots, window scale, volume, mute and giving up.
constexpr int kReservedKeys[] = {VK_F1,       VK_F5,  VK_F6, VK_OEM_MINUS, VK_OEM_PLUS,
                                 VK_SUBTRACT, VK_ADD, 'M',   'Q'};

// A damaged file would otherwise fill the terminal.
constexpr size_t kProblemsShown = 8;

bool Printable(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == '\t' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    });
}

// What a problem quotes of the file: short, and printable whatever the file held.
std::string Quote(std::string_view text)
{
    std::string quoted = "\"";
    for (char c : text.substr(0, 32))
        quoted += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    return quoted + (text.size() > 32 ? "...\"" : "\"");
}

bool Equal(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool ParseNumber(std::string_view text, int low, int high, int& out)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

bool ParseSwitch(std::string_view text, bool& out)
{
    for (const char* yes : {"yes", "on", "true", "1"}) {
        if (Equal(text, yes))
            return out = true;
    }
    for (const char* no : {"no", "off", "false", "0"}) {
        if (Equal(text, no)) {
            out = false;
            return true;
        }
    }
    return false;
}

}  // namespace

bool BoardAddress(std::string_view text)
{
    constexpr size_t kLongest = 200;
    return text.size() <= kLongest && Printable(text) &&
           text.find_first_of(" \t") == std::string_view::npos &&
           ((text.starts_with("http://") && text.size() > 7) ||
            (text.starts_with("https://") && text.size() > 8));
}

namespace {

struct Reader {
    Reader(Settings& out, std::vector<std::string>& problems) : out(out), problems(problems) {}

    Settings& out;
    std::vector<std::string>& problems;
    int line = 0;
    std::vector<std::string> seen;
    bool explicitKeys[kActionCount] = {};
    bool explicitPad[kPadActionCount] = {};

    void Problem(const std::string& what)
    {
        problems.push_back(std::string(SettingsFile::kName) + " line " + std::to_string(line) +
                           ": " + what);
    }

    void Line(std::string_view text)
    {
        text = Trim(text);
        if (text.empty() || text.front() == '#' || text.front() == ';')
            return;
        const size_t equals = text.find('=');
        if (equals == std::string_view::npos || !Printable(text)) {
            Problem("not a \"name = value\" line: " + Quote(text));
            return;
        }
        const std::string_view name = Trim(text.substr(0, equals));
        const std::string_view value = Trim(text.substr(equals + 1));
        if (std::any_of(seen.begin(), seen.end(), [&](auto& s) { return Equal(s, name); })) {
            Problem(Quote(name) + " is set again; the first one holds");
            return;
        }
        seen.emplace_back(name);
        if (!Setting(name, value))
            seen.pop_back();
    }

    // False when the name is no setting at all.
    bool Setting(std::string_view name, std::string_view value)
    {
        struct Level {
            const char* name;
            int* field;
            int low, high;
        };
        const Level levels[] = {
            {"volume", &out.volume, 0, kVolumeSteps},
            {"music_volume", &out.musicVolume, 0, kVolumeSteps},
            {"effects_volume", &out.effectsVolume, 0, kVolumeSteps},
            {"window_scale", &out.windowScale, 1, kLargestScale},
        };
        for (const Level& level : levels) {
            if (!Equal(name, level.name))
                continue;
            if (!ParseNumber(value, level.low, level.high, *level.field))
                Problem(std::string(level.name) + " must be a whole number from " +
                        std::to_string(level.low) + " to " + std::to_string(level.high) + ", not " +
                        Quote(value));
            return true;
        }
        struct Switch {
            const char* name;
            bool* field;
        };
        const Switch switches[] = {{"mute", &out.muted},
                                   {"fullscreen", &out.fullScreen},
                                   {"show_hit_box", &out.showHitBox},
                                   {"calm_bomb", &out.calmBomb}};
        for (const Switch& each : switches) {
            if (!Equal(name, each.name))
                continue;
            if (!ParseSwitch(value, *each.field))
                Problem(std::string(each.name) + " must be yes or no, not " + Quote(value));
            return true;
        }
        if (Equal(name, "player_name")) {
            if (const auto valid = PlayerNameFrom(value))
                out.playerName = *valid;
            else
                Problem("player_name must be 1 to 16 letters, digits, spaces, '-', '_' or '.', "
                        "not " +
                        Quote(value));
            return true;
        }
        if (Equal(name, "board")) {
            if (BoardAddress(value))
                out.board = value;
            else
                Problem("board must be an http:// or https:// address, not " + Quote(value));
            return true;
        }
        for (int a = 0; a < kActionCount; a++) {
            if (Equal(name, std::string("keys_") + kActionNames[a])) {
                Keys(a, value);
                return true;
            }
        }
        for (int a = 0; a < kPadActionCount; a++) {
            if (Equal(name, std::string("pad_") + kPadActionNames[a])) {
                PadButton(a, value);
                return true;
            }
        }
        Problem("no such setting: " + Quote(name));
        return false;
    }

    // One button; a button another line has given stays with that action.
    void PadButton(int action, std::string_view value)
    {
        const int button = PadButtonFromName(std::string(value).c_str());
        if (button < 0) {
            Problem("pad buttons are 1 to 4 or start, not " + Quote(value));
            return;
        }
        for (int a = 0; a < kPadActionCount; a++) {
            if (explicitPad[a] && out.pad.buttons[a] == button) {
                Problem("pad button " + Quote(value) + " is already the button of " +
                        kPadActionNames[a]);
                return;
            }
        }
        out.pad.Assign(static_cast<PadAction>(action), button);
        explicitPad[action] = true;
    }

    // Up to two key names, separated by a comma. A key another action has already taken
    // stays with that action.
    void Keys(int action, std::string_view value)
    {
        int* keys = out.keys.keys[action];
        std::fill_n(keys, kKeysPerAction, 0);
        explicitKeys[action] = true;
        int count = 0;
        while (!value.empty()) {
            const size_t comma = value.find(',');
            const std::string_view name = Trim(value.substr(0, comma));
            value = comma == std::string_view::npos ? "" : value.substr(comma + 1);
            const int vk = VirtualKeyFromName(std::string(name).c_str());
            const int owner = ExplicitOwner(vk);
            if (vk == 0)
                Problem("no key is called " + Quote(name));
            else if (ReservedKey(vk))
                Problem(Quote(name) + " is one of the game's own keys");
            else if (count == kKeysPerAction)
                Problem(std::string("keys_") + kActionNames[action] + " takes two keys at most");
            else if (owner >= 0)
                Problem(Quote(name) + " is already a key of " + kActionNames[owner]);
            else
                keys[count++] = vk;
        }
    }

    // Actions the file leaves alone keep their own keys, less those the file gave to others;
    // an action left without a key gets its own back.
    void SettleKeys()
    {
        const KeyBindings defaults = KeyBindings::Defaults();
        for (int a = 0; a < kActionCount; a++) {
            int* keys = out.keys.keys[a];
            if (explicitKeys[a] && keys[0] != 0)
                continue;
            std::fill_n(keys, kKeysPerAction, 0);
            int count = 0;
            for (int vk : defaults.keys[a]) {
                if (vk != 0 && ExplicitOwner(vk) < 0)
                    keys[count++] = vk;
            }
        }
    }

    // The action a line of the file gave the key to; -1 for none.
    int ExplicitOwner(int vk) const
    {
        for (int a = 0; a < kActionCount; a++) {
            if (explicitKeys[a] && out.keys.Bound(static_cast<Action>(a), vk))
                return a;
        }
        return -1;
    }
};

}  // namespace

bool ReservedKey(int vk)
{
    return std::find(std::begin(kReservedKeys), std::end(kReservedKeys), vk) !=
           std::end(kReservedKeys);
}

bool ReadSettings(std::string_view text, Settings& out, std::vector<std::string>& problems)
{
    out = Settings();
    const size_t before = problems.size();
    Reader reader(out, problems);
    while (!text.empty()) {
        reader.line++;
        const size_t end = text.find('\n');
        reader.Line(text.substr(0, end));
        text = end == std::string_view::npos ? "" : text.substr(end + 1);
    }
    reader.SettleKeys();
    return problems.size() == before;
}

std::string WriteSettings(const Settings& s)
{
    std::ostringstream text;
    text << "# Korimo Shooting: the game writes this file on exit when a setting changed.\n"
         << "# Levels run 0 (silent) to 10; keys are SDL key names, two per action at most.\n";
    text << "volume = " << s.volume << "\n"
         << "music_volume = " << s.musicVolume << "\n"
         << "effects_volume = " << s.effectsVolume << "\n"
         << "mute = " << (s.muted ? "yes" : "no") << "\n"
         << "window_scale = " << s.windowScale << "\n"
         << "fullscreen = " << (s.fullScreen ? "yes" : "no") << "\n"
         << "show_hit_box = " << (s.showHitBox ? "yes" : "no") << "\n"
         << "calm_bomb = " << (s.calmBomb ? "yes" : "no") << "\n";
    for (int a = 0; a < kPadActionCount; a++)
        text << "pad_" << kPadActionNames[a] << " = " << PadButtonName(s.pad.buttons[a]) << "\n";
    for (int a = 0; a < kActionCount; a++) {
        text << "keys_" << kActionNames[a] << " =";
        const char* separator = " ";
        for (int vk : s.keys.keys[a]) {
            if (vk == 0)
                continue;
            text << separator << KeyNameFromVirtualKey(vk);
            separator = ", ";
        }
        text << "\n";
    }
    // Written only once chosen, so a file of the game's own settings stays as it was.
    if (s.playerName != Settings().playerName)
        text << "player_name = " << s.playerName << "\n";
    if (!s.board.empty())
        text << "board = " << s.board << "\n";
    return text.str();
}

SettingsFile::SettingsFile(std::string folder) : path(std::move(folder) + "/" + kName)
{
}

void SettingsFile::Load(Settings& out)
{
    out = Settings();
    loaded = out;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return;  // no file yet: the defaults, and a file is written once something changes
    std::string text;
    text.resize(kLargest + 1);
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    std::vector<std::string> problems;
    if (file.bad()) {
        problems.push_back(path + ": cannot be read; the game's own settings are used");
    } else if (text.size() > kLargest) {
        problems.push_back(path + ": larger than " + std::to_string(kLargest / 1024) +
                           " KB, so not read; the game's own settings are used");
    } else {
        ReadSettings(text, out, problems);
    }
    intact = problems.empty();
    for (size_t i = 0; i < problems.size() && i < kProblemsShown; i++)
        std::fprintf(stderr, "korimo: %s\n", problems[i].c_str());
    if (problems.size() > kProblemsShown)
        std::fprintf(stderr, "korimo: %s: %zu more lines cannot be used\n", kName,
                     problems.size() - kProblemsShown);
    if (!intact)
        std::fprintf(stderr, "korimo: %s is kept as it is; fix or remove it to save settings\n",
                     path.c_str());
    loaded = out;
}

bool SettingsFile::Save(const Settings& current)
{
    if (!intact || current == loaded)
        return true;
    const std::string text = WriteSettings(current);
    if (!ReplaceFile(path, text.data(), text.size())) {
        std::fprintf(stderr, "korimo: could not write %s; the settings of this session are lost\n",
                     path.c_str());
        return false;
    }
    loaded = current;
    return true;
}

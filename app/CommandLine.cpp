#include "app/CommandLine.h"

#include <cstdlib>
#include <cstring>

#include "app/Settings.h"

namespace {

// "--name value" or "--name=value": the value, or null when the option is another one.
const char* ValueOf(const char* name, int& i, int argc, const char* const* argv, bool& missing)
{
    const size_t length = std::strlen(name);
    const char* argument = argv[i];
    if (std::strncmp(argument, name, length) != 0)
        return nullptr;
    if (argument[length] == '=')
        return argument + length + 1;
    if (argument[length] != '\0')
        return nullptr;
    if (i + 1 >= argc) {
        missing = true;
        return nullptr;
    }
    return argv[++i];
}

bool ParseScale(const char* text, int& scale)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < kMinWindowScale || value > kMaxWindowScale)
        return false;
    scale = static_cast<int>(value);
    return true;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CommandLine line;
    auto refuse = [&line](const std::string& fault) {
        line.action = CommandLine::Action::Refuse;
        line.fault = fault;
        return line;
    };
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        bool missing = false;
        if (!std::strcmp(argument, "--help") || !std::strcmp(argument, "-h")) {
            line.action = CommandLine::Action::ShowHelp;
            return line;
        }
        if (!std::strcmp(argument, "--version")) {
            line.action = CommandLine::Action::ShowVersion;
            return line;
        }
        if (!std::strcmp(argument, "--fullscreen")) {
            line.fullScreen = true;
        } else if (!std::strcmp(argument, "--no-sound")) {
            line.noSound = true;
        } else if (const char* scale = ValueOf("--window-scale", i, argc, argv, missing)) {
            if (!ParseScale(scale, line.windowScale))
                return refuse(
                    std::string("--window-scale takes a whole number from 1 to 8, not '") + scale +
                    "'");
        } else if (const char* folder = ValueOf("--data-dir", i, argc, argv, missing)) {
            if (!*folder)
                return refuse("--data-dir needs a folder");
            line.dataFolder = folder;
        } else if (const char* file = ValueOf("--replay", i, argc, argv, missing)) {
            line.action = CommandLine::Action::WatchReplay;
            line.replayFile = file;
        } else if (const char* board = ValueOf("--board", i, argc, argv, missing)) {
            if (!BoardAddress(board))
                return refuse(std::string("--board takes an http:// or https:// address, not '") +
                              board + "'");
            line.board = board;
        } else if (!std::strncmp(argument, "--board-top", 11) &&
                   (argument[11] == '\0' || argument[11] == '=')) {
            // The length may follow, or be left out for the one-minute runs.
            const char* length = argument[11] == '=' ? argument + 12 : nullptr;
            if (!length && i + 1 < argc && argv[i + 1][0] != '-')
                length = argv[++i];
            if (length && std::strcmp(length, "1") != 0 && std::strcmp(length, "5") != 0)
                return refuse(std::string("--board-top takes 1 or 5 (minutes), not '") + length +
                              "'");
            line.action = CommandLine::Action::ShowBoardTop;
            line.boardTopLength = length ? std::atoi(length) : 1;
        } else if (const char* file = ValueOf("--verify", i, argc, argv, missing)) {
            line.action = CommandLine::Action::VerifyReplay;
            line.replayFile = file;
        } else if (missing) {
            return refuse(std::string(argument) + " needs a value");
        } else {
            return refuse(std::string("unknown option '") + argument + "'");
        }
    }
    return line;
}

std::string UsageText()
{
    return R"(Usage: korimo-shooting [OPTION]...
A shooting game against the clock: one minute or five, the ten best scores of each kept.

Options:
  --fullscreen         start in full screen (Alt+Enter switches back)
  --window-scale N     a window of 320N x 240N pixels, N from 1 to 8 (default: as last time;
                       2, 640x480, the first time)
  --data-dir DIR       keep the scores, snapshots and best-run pictures in DIR
  --no-sound           play in silence, without opening an audio device
  --replay FILE        watch a recorded run (keys below); FILE may be a board's address
                       of a run, such as http://board.example:8018/runs/12.krp
  --board URL          send your best runs to the board at URL (http:// or https://) in
                       this session, instead of settings.ini's board
  --board-top [1|5]    print the board's ten best one-minute (or five-minute) runs, and
                       exit; the board is --board's or settings.ini's
  --verify FILE        play a recorded run unseen, as fast as possible; print one line
                       and exit 0 when it played as recorded, 1 otherwise
  -h, --help           show this help and exit
  --version            show the versions of the game, SDL and libmpg123, and exit

Keys:
  Space                skip the logo, start the game, shoot (hold), back to the title
  Up, Down             choose the one-minute or the five-minute game
  arrows, keypad       move (keypad 7 9 1 3: diagonally)
  B or N               bomb        C or V (hold)   move slowly
  P or Esc             pause and resume; Q while paused gives the run up
  - and =              volume down and up          M    mute
  F5, F6               smaller and larger window   F1   save a snapshot
  Alt+Enter            full screen and back        Alt+F4   quit
  O (title menu)       the options: volumes, window, keys, pad buttons, name, assists
  R (title menu)       the replays: the kept runs and any .krp put in replays/, to watch
  A joystick or game pad works too (Start pauses; on the title menu button 4 opens the
  options and the slow button, 3, the replays).

Watching a replay:
  P or Esc  pause      S  one frame (paused)     Up, Down  faster, slower (1/2 to 8 times)
  Left, Right  10 s back and on     R  from the start     Space  to the end of the run
  Backspace  leave (back to the replays, or quit --replay)

Files:
  korimo.sav (the scores), settings.ini (the options), Snap0000.bmp... (F1),
  HighScore1.bmp, HighScore5.bmp (the best run's last picture) and replays/ (last1.krp,
  last5.krp: the latest run; best1.krp, best5.krp: the best one) are kept in
  $XDG_DATA_HOME/korimo-shooting, by default ~/.local/share/korimo-shooting, or in the
  folder given with --data-dir. The game's pictures and sounds, korimo.set and korimo.dat,
  are read from the program's folder, then <prefix>/share/korimo-shooting, then the
  current folder.
)";
}

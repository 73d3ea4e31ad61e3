#pragma once
// What the player may say on the command line. Without options the game starts as it was left
// (settings.ini), the first time in a 640x480 window.

#include <string>

struct CommandLine {
    enum class Action {
        Play,
        ShowHelp,
        ShowVersion,
        Refuse,
        WatchReplay,
        VerifyReplay,
        ShowBoardTop
    };

    Action action = Action::Play;
    bool fullScreen = false;
    bool noSound = false;    // play without opening an audio device, in silence
    int windowScale = 0;     // window pixels per pixel of the 320x240 picture; 0: as before
    std::string dataFolder;  // empty: the player's usual folder
    std::string replayFile;  // with WatchReplay (a file or an http(s) address) and VerifyReplay
    std::string board;       // the board runs go to in this session; empty: settings.ini's
    int boardTopLength = 1;  // with ShowBoardTop: the minutes of the runs listed, 1 or 5
    std::string fault;       // with Refuse: what was wrong, in one line
};

constexpr int kMinWindowScale = 1;
constexpr int kMaxWindowScale = 8;

CommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage, the keys and where the files are, for --help and after a refusal.
std::string UsageText();

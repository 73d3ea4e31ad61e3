// The entry function: the command line is read, the player's folder settled, the program-wide
// objects built in a fixed order, the window opened, the message loop run until the window is
// gone, and everything released in a fixed order.

#include <cstdio>
#include <memory>
#include <string>

#include "app/BoardClient.h"
#include "app/BoardLine.h"
#include "app/CommandLine.h"
#include "app/EarlierScores.h"
#include "app/MainLoop.h"
#include "app/PlayerFolder.h"
#include "app/Program.h"
#include "app/ReplaySession.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "app/Settings.h"
#include "app/VerifyReplay.h"
#include "archive/GameArchive.h"
#include "archive/ResourceArchive.h"
#include "board/BoardSender.h"
#include "board/SystemTransport.h"
#ifdef _WIN32
#include "platform/win32/Win32.h"
namespace native = win32;
#else
#include "platform/sdl/Sdl.h"
namespace native = sdl;
#endif
#include "replay/Journal.h"
#include "scenes/TitleScene.h"
#include "sound/DecoderVersion.h"

namespace {

// The settings live beside the save file; the command line overrides them, and what it chose is
// remembered like a choice made in the game.
void LoadSettings(SettingsFile& file, const CommandLine& options)
{
    file.Load(settings);
    if (options.windowScale)
        settings.windowScale = options.windowScale;
    if (options.fullScreen)
        settings.fullScreen = true;
}

// Asking a board something while the player waits at the terminal.
constexpr ExchangeLimits kAskingLimits = {.connectSeconds = 5, .totalSeconds = 15};

int ShowBoardTop(const CommandLine& options)
{
    playerFolder.Settle(options.dataFolder.empty() ? nullptr : options.dataFolder.c_str());
    SettingsFile file(playerFolder.path());
    file.Load(settings);
    SystemTransport transport(kAskingLimits);
    return PrintBoardTop(transport, options.board.empty() ? settings.board : options.board,
                         options.boardTopLength, stdout, stderr);
}

// A replay file, or a run on a board at its address.
bool LoadWatchedReplay(const std::string& where, journal::Recording& recording, std::string& error)
{
    if (IsReplayAddress(where)) {
        SystemTransport transport(kAskingLimits);
        return FetchReplay(transport, where, recording, error);
    }
    return LoadReplay(where, recording, error);
}

// A recorded run, watched in the window or verified unseen on the scripted platform. Nothing
// of the player's is written; the save file is read for the ranking a watched run ends on.
int WatchOrVerify(const CommandLine& options)
{
    if (options.action == CommandLine::Action::VerifyReplay)
        return VerifyReplayFile(options.replayFile, stdout);
    journal::Recording recording;
    std::string error;
    if (!LoadWatchedReplay(options.replayFile, recording, error)) {
        std::fprintf(stderr, "korimo: %s\n", error.c_str());
        return 1;
    }
    playerFolder.Settle(options.dataFolder.empty() ? nullptr : options.dataFolder.c_str());
    SettingsFile file(playerFolder.path());
    LoadSettings(file, options);
    native::Install(!options.noSound);
    const std::string saveFile = playerFolder.PathOf(kSaveFileName);
    const int exitCode = PlayReplay(recording, ReplayMode::Watch, saveFile.c_str(), stdout);
    native::Uninstall();
    return exitCode;
}

}  // namespace

int main(int argc, char** argv)
{
    const CommandLine options = ParseCommandLine(argc, argv);
#ifdef _WIN32
    // A program started from the desktop has no console; one started from a command prompt
    // prints there.
    win32::UseParentConsole();
#endif
    switch (options.action) {
    case CommandLine::Action::ShowHelp: std::fputs(UsageText().c_str(), stdout); return 0;
    case CommandLine::Action::ShowVersion:
        std::printf("Korimo Shooting %s\n%s\n%s\n", KORIMO_VERSION, native::VersionText().c_str(),
                    DecoderVersionText().c_str());
        return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "korimo: %s\n\n%s", options.fault.c_str(), UsageText().c_str());
        return 2;
    case CommandLine::Action::ShowBoardTop: return ShowBoardTop(options);
    case CommandLine::Action::Play:
    case CommandLine::Action::WatchReplay:
    case CommandLine::Action::VerifyReplay: break;
    }

    // Every picture and sound comes from the archive, so nothing can run without it.
    const std::string& archiveFault =
        gameArchiveLocation.error.empty() ? resourceArchive.error() : gameArchiveLocation.error;
    if (!archiveFault.empty()) {
        std::fprintf(stderr, "korimo: %s\n", archiveFault.c_str());
#ifdef _WIN32
        win32::ShowError(archiveFault);
#endif
        return 1;
    }

    if (options.action != CommandLine::Action::Play)
        return WatchOrVerify(options);

    playerFolder.Settle(options.dataFolder.empty() ? nullptr : options.dataFolder.c_str());
    CopyEarlierScores(playerFolder);
    const std::string saveFile = playerFolder.PathOf(kSaveFileName);
    SettingsFile file(playerFolder.path());
    LoadSettings(file, options);
    if (playerFolder.writable())
        settingsFile = &file;

    // Each finished run goes to the board too, on the sender's own thread (over the system's
    // own HTTP service).
    const std::string board = options.board.empty() ? settings.board : options.board;
    SystemTransport transport;
    std::unique_ptr<BoardSender> sender;
    if (!board.empty() && playerFolder.writable()) {
        sender = std::make_unique<BoardSender>(
            transport, BoardPlace{board, settings.playerName, playerFolder.PathOf("board.key"),
                                  playerFolder.PathOf("replays/outbox")});
        SendKeptRunsTo(board,
                       [&sender](std::vector<uint8_t> replay) { sender->Send(std::move(replay)); });
        FollowBoardWith([&sender] { return NewsOf(sender->latestRun()); });
    }

    native::Install(!options.noSound);
    journal::RecordRuns(true);
    Program program;
    const bool started =
        program.Start([] { return new TitleScene; }, saveFile.c_str(), nullptr, SW_SHOWNORMAL);
    // A start that failed writes nothing back: the scores on disk stay as they were; a folder
    // that cannot be written keeps them in memory.
    const int exitCode = started ? theMainLoop->Run() : 1;
    program.Stop(started && playerFolder.writable() ? saveFile.c_str() : nullptr);
    if (started && playerFolder.writable())
        file.Save(settings);
    settingsFile = nullptr;
    SendKeptRunsTo("", nullptr);
    FollowBoardWith(nullptr);
    sender.reset();  // a transfer under way is left for the next start
    native::Uninstall();
    return exitCode;
}

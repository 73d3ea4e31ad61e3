// The entry function of the web page. Start-up and shutdown are the desktop's (Program); only
// the loop differs: a page cannot block, so the browser calls one turn of the main loop per
// frame. The page (web/page.js) has put the archive pair into the file system and the
// player's folder, kept in the browser's storage, at /korimo before this runs. Opened with
// ?verify=, the page passes --verify and a replay file instead, which is verified unseen as
// on the desktop and nothing is played. Opened with ?replay=, the page has fetched that run
// into the file system and passes --replay and its address: the game starts in the replay
// viewer with it, and comes back to the REPLAYS screen at its end, as from a run chosen there.

#include <emscripten.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/BoardLine.h"
#include "app/CommandLine.h"
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
#include "platform/web/Web.h"
#include "replay/Journal.h"
#include "scenes/TitleScene.h"
#include "web/PageBoard.h"

namespace {

constexpr const char* kPlayerFolder = "/korimo";
// Frames start at least this far apart, as on the desktop.
constexpr int kFrameInterval = 17;

Program program;
std::string saveFile;
// What the player's folder holds now, so that only a change is written and stored.
SaveRecord storedRecord;
Settings storedSettings;
bool inRun = false;  // a run was being recorded at the end of the last frame

// Where the page put the replay it fetched for --replay (web/page.js).
constexpr const char* kWatchedFile = "/watched.krp";
std::string watchedAddress;
journal::Recording watchedRun;  // its recording, for the verdict at its end
bool watchingRun = false;       // the watched run was playing at the end of the last frame

// clang-format off
EM_JS(void, StorePlayerFolder, (), {
    if (Module.korimoStore)
        Module.korimoStore();
});
// clang-format on

// A frame's time in two parts: the game's own (the message handlers and the scene's frame with
// its doubling) and the browser's (the picture put on the canvas).
// clang-format off
EM_JS(void, ReportFrameTime, (double game, double presenting), {
    if (Module.korimoFrameTime)
        Module.korimoFrameTime(game, presenting);
});
// clang-format on

// clang-format off
EM_JS(void, ReportEnd, (int exitCode), {
    if (Module.korimoEnded)
        Module.korimoEnded(exitCode);
});
// clang-format on

// How the watched run went, at its last frame: the line --verify prints for it.
// clang-format off
EM_JS(void, ReportWatched, (const char* verdict), {
    if (Module.korimoWatched)
        Module.korimoWatched(UTF8ToString(verdict));
});
// clang-format on

// The first scene when the page was opened to watch a run: the replay viewer takes over from
// it at once, as it does from the REPLAYS screen.
class WatchOnArrival final : public Scene {
public:
    void Frame() override
    {
        std::string error;
        if (WatchInGame(kWatchedFile, error))
            return;
        std::fprintf(stderr, "korimo: %s: %s\n", watchedAddress.c_str(), error.c_str());
        SwitchTo(new TitleScene);
    }
};

// A fetched file is checked as any replay before the game starts on it; one that is none is
// named by its address, and the game starts on its title as ever.
bool CanWatch(const std::string& address)
{
    std::string error;
    if (CheckReplayFile(kWatchedFile, watchedRun, error) == ReplayCheck::Playable)
        return true;
    std::fprintf(stderr, "korimo: %s: %s\n", address.c_str(), error.c_str());
    return false;
}

// With a board chosen (settings.ini's board, or ?board= for this visit), each run that leads
// its ranking goes there, and the ranking screen shows what became of it, as on the desktop.
void SendRunsToBoard(const std::string& board)
{
    if (board.empty())
        return;
    SendFromPage({board, settings.playerName, playerFolder.PathOf("board.key"),
                  playerFolder.PathOf("replays/outbox")});
    SendKeptRunsTo(board, [](std::vector<uint8_t> replay) { SendRunFromPage(std::move(replay)); });
    FollowBoardWith([] {
        const SentRun run = LatestRunFromPage();
        switch (run.stage) {
        case SentRun::Stage::Sending: return BoardNews{BoardNews::Stage::Sending};
        case SentRun::Stage::Placed:
            return BoardNews{BoardNews::Stage::Placed, run.rank, run.ranked};
        case SentRun::Stage::Waiting: return BoardNews{BoardNews::Stage::Waiting};
        case SentRun::Stage::None:
        case SentRun::Stage::Refused: break;
        }
        return BoardNews{};
    });
}

// A page may be closed at any moment, with no exit to write things back at: the scores and
// settings go to the browser's storage as soon as they change.
void StoreChanges()
{
    const bool recordChanged = std::memcmp(&saveRecord, &storedRecord, sizeof saveRecord) != 0;
    const bool settingsChanged = !(settings == storedSettings);
    if (!recordChanged && !settingsChanged)
        return;
    if (recordChanged && !saveRecord.Save(saveFile.c_str()))
        std::fprintf(stderr, "korimo: could not write %s\n", saveFile.c_str());
    if (settingsChanged)
        settingsFile->Save(settings);
    storedRecord = saveRecord;
    storedSettings = settings;
    StorePlayerFolder();
}

void Stop(int exitCode)
{
    emscripten_cancel_main_loop();
    program.Stop(saveFile.c_str());
    settingsFile->Save(settings);
    StorePlayerFolder();
    web::Uninstall();
    ReportEnd(exitCode);
}

void RunFrame()
{
    const double start = emscripten_get_now();
    int exitCode = 0;
    if (!theMainLoop->RunOnce(exitCode)) {
        Stop(exitCode);
        return;
    }
    // A run's end has kept its replays: they go to the browser's storage with the scores.
    if (inRun && !journal::InRun())
        StorePlayerFolder();
    inRun = journal::InRun();
    const bool watching = !watchedAddress.empty() && journal::PlayingBack() && inRun;
    if (watchingRun && !watching)
        ReportWatched(ReplayVerdict(watchedRun).c_str());
    watchingRun = watching;
    const double presenting = web::TakePresentMilliseconds();
    ReportFrameTime(emscripten_get_now() - start - presenting, presenting);
    StoreChanges();
}

}  // namespace

int main(int argc, char** argv)
{
    const CommandLine options = ParseCommandLine(argc, argv);
    const std::string& archiveFault =
        gameArchiveLocation.error.empty() ? resourceArchive.error() : gameArchiveLocation.error;
    if (!archiveFault.empty()) {
        std::fprintf(stderr, "korimo: %s\n", archiveFault.c_str());
        return 1;
    }
    // Verifying runs to its end here, before main returns: the page waits for nothing else.
    if (options.action == CommandLine::Action::VerifyReplay)
        return VerifyReplayFile(options.replayFile, stdout);

    playerFolder.Settle(kPlayerFolder);
    saveFile = playerFolder.PathOf(kSaveFileName);
    settingsFile = new SettingsFile(playerFolder.path());
    settingsFile->Load(settings);

    if (options.action == CommandLine::Action::Refuse)
        std::fprintf(stderr, "korimo: %s\n", options.fault.c_str());
    if (options.action == CommandLine::Action::Play)
        SendRunsToBoard(options.board.empty() ? settings.board : options.board);
    if (options.action == CommandLine::Action::WatchReplay && CanWatch(options.replayFile))
        watchedAddress = options.replayFile;
    const auto firstScene = [] {
        return watchedAddress.empty() ? static_cast<Scene*>(new TitleScene) : new WatchOnArrival;
    };

    web::Install();
    journal::RecordRuns(true);
    if (!program.Start(firstScene, saveFile.c_str(), nullptr, SW_SHOWNORMAL)) {
        program.Stop(nullptr);
        web::Uninstall();
        ReportEnd(1);
        return 1;
    }
    storedRecord = saveRecord;
    storedSettings = settings;
    // The browser calls RunFrame from now on; main returns and the page stays alive.
    emscripten_set_main_loop(RunFrame, 0, false);
    emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, kFrameInterval);
    return 0;
}

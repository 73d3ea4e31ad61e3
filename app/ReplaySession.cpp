#include "app/ReplaySession.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <thread>

#include "app/GameApp.h"
#include "app/MainLoop.h"
#include "app/Program.h"
#include "app/Replays.h"
#include "app/Settings.h"
#include "platform/Backend.h"
#include "replay/Journal.h"
#include "scenes/GameScene.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"

namespace {

constexpr LONG kSilent = -10000;  // hundredths of a decibel

struct Session {
    ReplayMode mode = ReplayMode::Verify;
    GameApp* app = nullptr;
    void (*setClock)(uint32_t) = nullptr;
    bool skipping = false;
    bool paused = false;
    bool paced = false;      // the first frame has set the two clocks below
    uint32_t realStart = 0;  // the platform's clock at the run's first frame
    uint32_t recordedStart = 0;
    uint32_t pausedAt = 0;
};

Session session;

// Space skips to the end of the run, silently; the pause keys stop and resume it.
bool WatcherKey(int vk)
{
    if (!journal::InRun())
        return false;  // the ending takes its keys as ever
    if (vk == VK_SPACE) {
        if (!session.skipping) {
            session.skipping = true;
            platform::CurrentBackend().SetFastForward(true);
            soundSystem->SetLevels(kSilent, kSilent);
        }
        return true;
    }
    if (settings.keys.Bound(Action::Pause, vk)) {
        session.paused = !session.paused;
        if (session.paused) {
            session.pausedAt = timeGetTime();
            soundSystem->PauseAll();
        } else {
            session.realStart += timeGetTime() - session.pausedAt;
            soundSystem->ResumeAll();
        }
        return true;
    }
    return false;
}

// Waits until the recording's next frame is due by the platform's clock, as it was when played.
void WaitForRecordedTime()
{
    const uint32_t upcoming = journal::UpcomingClock();
    if (!session.paced) {
        session.paced = true;
        session.realStart = timeGetTime();
        session.recordedStart = upcoming;
        return;
    }
    const uint32_t due = session.realStart + (upcoming - session.recordedStart);
    const int32_t early = static_cast<int32_t>(due - timeGetTime());
    if (early > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(early, 100)));
}

void EndSkip()
{
    session.skipping = false;
    platform::CurrentBackend().SetFastForward(false);
    session.app->ApplyVolume();
}

int ReplayFrame()
{
    const bool inRun = journal::InRun();
    const bool failed = !journal::PlaybackFault().empty();
    if (failed || (session.mode != ReplayMode::Watch && !inRun) ||
        dynamic_cast<TitleScene*>(currentScene)) {
        // Where the game would go back to the title, the session ends as a closed window
        // does: the window's pictures go with it, and its end posts the quit message.
        DestroyWindow(session.app->window);
        return 0;
    }
    if (session.paused)
        return 0;  // until a message comes
    if (session.setClock)
        session.setClock(journal::UpcomingClock());
    else if (session.mode == ReplayMode::Watch && inRun && !session.skipping)
        WaitForRecordedTime();
    RunSceneFrame();
    if (session.skipping && !journal::InRun())
        EndSkip();
    return 1;
}

}  // namespace

std::string ReplayVerdict(const journal::Recording& recording)
{
    const journal::RunHeader& header = recording.header;
    char line[160];
    std::snprintf(line, sizeof line, "%s, score %d, %u frames, checksum %016" PRIx64 ": ",
                  GameLengthName(header.setup.gameLength), header.finalScore, header.frameCount,
                  header.finalChecksum);
    if (journal::PlaybackFinished())
        return std::string(line) + "verified";
    if (!journal::PlaybackFault().empty())
        return std::string(line) + "differs at " + journal::PlaybackFault();
    return std::string(line) + "not played to its end";
}

int PlayReplay(const journal::Recording& recording, ReplayMode mode, const char* saveFile,
               std::FILE* out, void (*setClock)(uint32_t))
{
    session = Session{};
    session.mode = mode;
    session.setClock = setClock;
    const bool verifying = mode != ReplayMode::Watch;
    journal::RecordRuns(false);
    journal::SkipUnusedPictures(mode == ReplayMode::Verify);
    Program program;
    const bool started = program.Start(
        [&recording] {
            journal::StartPlayback(recording);
            return new GameScene;
        },
        saveFile, nullptr, SW_SHOWNORMAL);
    if (started) {
        session.app = program.app;
        session.app->watcherKey = WatcherKey;
        session.app->unseen = verifying;
        theMainLoop->idleHandler = ReplayFrame;
        theMainLoop->Run();
    }
    program.Stop(nullptr);  // the save file stays as it was
    journal::SkipUnusedPictures(false);
    if (!started)
        return 1;
    if (verifying)
        std::fprintf(out, "%s\n", ReplayVerdict(recording).c_str());
    else if (!journal::PlaybackFault().empty())
        std::fprintf(stderr, "korimo: the replay differs at %s\n",
                     journal::PlaybackFault().c_str());
    if (verifying)
        return journal::PlaybackFinished() ? 0 : 1;
    return journal::PlaybackFault().empty() ? 0 : 1;  // closing the window early is no fault
}

#include "app/ReplaySession.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <iterator>
#include <thread>

#include "app/GameApp.h"
#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/Program.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "app/Settings.h"
#include "gfx/Surface.h"
#include "platform/Backend.h"
#include "replay/Journal.h"
#include "scenes/GameScene.h"
#include "scenes/ReplaysScene.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"

namespace {

constexpr LONG kSilent = -10000;  // hundredths of a decibel
// The viewer's speeds in halves: 1/2, 1, 2, 4 and 8 times as fast as played.
constexpr int kSpeedHalves[] = {1, 2, 4, 8, 16};
constexpr int kNormalSpeed = 1;
constexpr uint32_t kJump = 10000;  // ms of the run a jump goes back or on
constexpr int kLeaveKey = VK_BACK;
// The pad's bombing button, where the game's own layout has it.
constexpr UINT kLeaveButton = JOY_BUTTON2;

struct Session {
    ReplayMode mode = ReplayMode::Verify;
    const journal::Recording* recording = nullptr;
    GameApp* app = nullptr;
    void (*setClock)(uint32_t) = nullptr;
    bool skipping = false;
    bool paused = false;
    bool stepping = false;     // paused, but one frame is to be played
    int speed = kNormalSpeed;  // index into kSpeedHalves
    bool paced = false;        // the first frame has set the two clocks below
    uint32_t realStart = 0;    // the platform's clock where pacing last started over
    uint32_t recordedStart = 0;
    uint32_t pausedAt = 0;
    uint32_t runStart = 0;  // the recording's clock at its run's first frame
    // Where the game would go back to the title, and on the leaving key: how watching ends.
    void (*end)() = nullptr;

    // Watching in the game.
    bool inGame = false;
    journal::Recording watched;
    std::string path;
    SaveRecord record;  // the rankings as they were before, given back after
    int snapshotsTaken = 0;
    UINT padHeld = 0;
};

Session session;
void (*watchedClock)(uint32_t) = nullptr;

void SetPaused(bool paused)
{
    session.paused = paused;
    if (paused) {
        session.pausedAt = timeGetTime();
        soundSystem->PauseAll();
    } else {
        session.realStart += timeGetTime() - session.pausedAt;
        soundSystem->ResumeAll();
    }
}

// Sound only at the speed it was played at.
void ApplyViewerVolume()
{
    if (session.skipping || session.speed != kNormalSpeed)
        soundSystem->SetLevels(kSilent, kSilent);
    else
        session.app->ApplyVolume();
}

void SetSpeed(int speed)
{
    session.speed = std::clamp(speed, 0, static_cast<int>(std::size(kSpeedHalves)) - 1);
    session.paced = false;  // pacing starts over from here at the new speed
    platform::CurrentBackend().SetFastForward(session.speed > kNormalSpeed);
    ApplyViewerVolume();
}

// Plays the run on, unseen and unheard, until its next frame begins at the recorded clock
// target or later (or the run ends). A run can only be played forward, so going back first
// starts it over from its beginning; that part it has shown before, so only the picture it
// stops at is drawn, as verifying draws only what it compares. Going on, every picture is
// drawn: the ending's snapshots of the run may be taken from any of them.
void Seek(uint32_t target)
{
    const bool again = target < journal::UpcomingClock() || !journal::InRun();
    if (again) {
        for (int clip = 0; clip < static_cast<int>(std::size(kClipNames)); clip++)
            soundSystem->Stop(clip);
        journal::StartPlayback(*session.recording);
        Scene* old = currentScene;
        currentScene = new GameScene;
        currentScene->Init(old->app, old->canvas, old->joystick);
        delete old;
    }
    soundSystem->SetLevels(kSilent, kSilent);
    session.app->unseen = true;
    journal::SkipUnusedPictures(again);
    journal::DrawPictureBefore(target);
    while (journal::InRun() && journal::PlaybackFault().empty() &&
           journal::UpcomingClock() < target) {
        if (session.setClock)
            session.setClock(journal::UpcomingClock());
        PlaySceneFrame();
    }
    journal::DrawPictureBefore(0);
    journal::SkipUnusedPictures(false);
    session.app->unseen = false;
    session.paced = false;
    ApplyViewerVolume();
}

bool ViewerKey(int vk);

// The watcher's keys while the run plays; the ending takes its keys as ever. What they change
// shows at once, also on a paused run's still picture.
bool WatcherKey(int vk)
{
    if (vk == kLeaveKey) {
        session.end();
        return true;
    }
    if (!ViewerKey(vk))
        return false;
    InvalidateRect(session.app->window, nullptr, FALSE);
    UpdateWindow(session.app->window);
    return true;
}

bool ViewerKey(int vk)
{
    if (!journal::InRun())
        return false;
    const uint32_t now = journal::UpcomingClock();
    switch (vk) {
    case VK_SPACE:  // to the end of the run, silently
        if (!session.skipping) {
            session.skipping = true;
            platform::CurrentBackend().SetFastForward(true);
            ApplyViewerVolume();
        }
        return true;
    case VK_UP: SetSpeed(session.speed + 1); return true;
    case VK_DOWN: SetSpeed(session.speed - 1); return true;
    case VK_LEFT: Seek(now - std::min(now - session.runStart, kJump)); return true;
    case VK_RIGHT: Seek(now + kJump); return true;
    case 'R': Seek(session.runStart); return true;
    case 'S':
        if (session.paused)
            session.stepping = true;
        return true;
    default: break;
    }
    if (settings.keys.Bound(Action::Pause, vk)) {
        SetPaused(!session.paused);
        return true;
    }
    return false;
}

// Waits until the recording's next frame is due by the platform's clock at the chosen speed.
void WaitForRecordedTime()
{
    const uint32_t upcoming = journal::UpcomingClock();
    if (!session.paced) {
        session.paced = true;
        session.realStart = timeGetTime();
        session.recordedStart = upcoming;
        return;
    }
    const uint32_t due =
        session.realStart + (upcoming - session.recordedStart) * 2 / kSpeedHalves[session.speed];
    const int32_t early = static_cast<int32_t>(due - timeGetTime());
    if (early > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(early, 100)));
}

void EndSkip()
{
    session.skipping = false;
    session.speed = kNormalSpeed;
    platform::CurrentBackend().SetFastForward(false);
    session.app->ApplyVolume();
}

// Along the bottom of the shown picture: where the run stands, the speed, and the keys.
void DrawViewer(Surface& shown)
{
    if (!journal::InRun() || session.skipping)
        return;
    const uint32_t total = std::max<uint32_t>(1, session.recording->header.frameCount);
    const uint32_t played = std::min(journal::PlaybackFrame(), total);
    constexpr int kBarHeight = 4;
    constexpr uint32_t kBarColour = 0xF2C840;    // yellow
    constexpr uint32_t kTrackColour = 0x3C2A4E;  // plum
    const int filled = static_cast<int>(uint64_t(shown.width) * played / total);
    for (int y = 0; y < kBarHeight; y++) {
        uint32_t* row = shown.pixels + size_t(y) * shown.width;
        std::fill(row, row + filled, kBarColour);
        std::fill(row + filled, row + shown.width, kTrackColour);
    }
    static const char* const kSpeedNames[] = {"x1/2", "x1", "x2", "x4", "x8"};
    char state[48];
    std::snprintf(state, sizeof state, "%s %-4s   BACKSPACE LEAVE",
                  session.paused ? "PAUSED" : "REPLAY", kSpeedNames[session.speed]);
    GameApp::DrawShownText(shown, 8, shown.height - 40, state);
    GameApp::DrawShownText(shown, 8, shown.height - 22,
                           "P PAUSE  S STEP  UP/DOWN SPEED  LEFT/RIGHT 10 S  R RESTART  SPACE END");
}

int ReplayFrame()
{
    const bool inRun = journal::InRun();
    const bool failed = !journal::PlaybackFault().empty();
    if (failed || (session.mode != ReplayMode::Watch && !inRun) ||
        dynamic_cast<TitleScene*>(currentScene)) {
        session.end();
        return 0;
    }
    if (session.paused && !session.stepping)
        return 0;  // until a message comes
    session.stepping = false;
    if (inRun && session.runStart == 0)
        session.runStart = journal::UpcomingClock();
    // A session of its own has no other clock, also for the ending; in the game, the ending
    // goes by the game's.
    if (session.setClock && (inRun || !session.inGame))
        session.setClock(journal::UpcomingClock());
    else if (session.mode == ReplayMode::Watch && inRun && !session.skipping && !session.paused)
        WaitForRecordedTime();
    PlaySceneFrame();
    if (session.skipping && !journal::InRun())
        EndSkip();
    else if (!journal::InRun() && session.speed != kNormalSpeed)
        EndSkip();  // the ending plays at its own pace
    return 1;
}

// Where the game would go back to the title, a session of its own ends as a closed window
// does: the window's pictures go with it, and its end posts the quit message.
void CloseWindow()
{
    DestroyWindow(session.app->window);
}

// A press of the pad's bombing button, past the journal, which answers from the recording.
bool PadLeavePressed()
{
    JOYINFO reading = {};
    const UINT held = joyGetPos(JOYSTICKID1, &reading) == JOYERR_NOERROR ? reading.wButtons : 0;
    const bool pressed = (held & kLeaveButton) && !(session.padHeld & kLeaveButton);
    session.padHeld = held;
    return pressed;
}

// Watching in the game ends on the REPLAYS screen, with the file watched chosen and, when the
// run went its own way, where it did.
void ReturnToList()
{
    const std::string note =
        journal::PlaybackFault().empty() ? "" : "IT DIFFERS AT " + journal::PlaybackFault();
    if (session.paused)
        soundSystem->ResumeAll();
    for (int clip = 0; clip < static_cast<int>(std::size(kClipNames)); clip++)
        soundSystem->Stop(clip);
    platform::CurrentBackend().SetFastForward(false);
    journal::Reset();  // live again: the next run is the player's, ranked and kept
    saveRecord = session.record;
    snapshotCount = session.snapshotsTaken;
    GameApp* app = session.app;
    app->watcherKey = nullptr;
    app->watcherOverlay = nullptr;
    app->unseen = false;
    app->ApplyVolume();
    Scene* old = currentScene;
    currentScene = new ReplaysScene(session.path, note);
    currentScene->Init(old->app, old->canvas, old->joystick);
    delete old;
    session = Session{};
}

}  // namespace

bool WatchInGame(const std::string& path, std::string& error)
{
    journal::Recording recording;
    if (!currentScene || !currentScene->app || !LoadReplay(path, recording, error))
        return false;
    session = Session{};
    session.mode = ReplayMode::Watch;
    session.inGame = true;
    session.watched = std::move(recording);
    session.recording = &session.watched;
    session.path = path;
    session.record = saveRecord;
    session.snapshotsTaken = snapshotCount;
    session.setClock = watchedClock;
    session.end = ReturnToList;
    PadLeavePressed();  // a button already held is no press
    Scene* list = currentScene;
    session.app = list->app;
    session.app->watcherKey = WatcherKey;
    session.app->watcherOverlay = DrawViewer;
    journal::StartPlayback(session.watched);
    HandOver(*list, new GameScene);  // the list's Tick deletes it once this frame is drawn
    return true;
}

bool WatchingInGame()
{
    return session.inGame;
}

int WatchedFrame()
{
    if (PadLeavePressed()) {
        session.end();
        return 1;
    }
    return ReplayFrame();
}

void SetWatchedClock(void (*setClock)(uint32_t))
{
    watchedClock = setClock;
}

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
    session.recording = &recording;
    session.setClock = setClock;
    session.end = CloseWindow;
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
        if (mode == ReplayMode::Watch)
            session.app->watcherOverlay = DrawViewer;
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

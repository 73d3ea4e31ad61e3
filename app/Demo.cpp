#include "app/Demo.h"

#include <cstring>
#include <iterator>

#include "app/GameApp.h"
#include "app/Globals.h"
#include "app/PlayerFolder.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "archive/GameArchive.h"
#include "archive/ResourceArchive.h"
#include "gfx/Surface.h"
#include "replay/Journal.h"
#include "scenes/GameScene.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"

namespace {

constexpr UINT kStickZone = 16384;  // a push of a quarter of the way counts as a move
constexpr UINT kCentre = 32768;

bool playing = false;
GameApp* demoApp = nullptr;
// The rankings and the ending's pictures as they were before: the demo's run ends as any run
// does, in them, and they are given back.
SaveRecord recordBefore;
int snapshotsBefore = 0;

bool Playable(const std::string& path, journal::Recording& recording)
{
    std::string error;
    return LoadReplay(path, recording, error);
}

UINT Distance(UINT a, UINT b)
{
    return a > b ? a - b : b - a;
}

// The pad as it is now, past the journal, which answers from the demo's recording.
bool PadTouched()
{
    JOYINFO reading = {};
    if (joyGetPos(JOYSTICKID1, &reading) != JOYERR_NOERROR)
        return false;
    return reading.wButtons != 0 || Distance(reading.wXpos, kCentre) > kStickZone ||
           Distance(reading.wYpos, kCentre) > kStickZone;
}

void EndDemo()
{
    playing = false;
    for (int clip = 0; clip < static_cast<int>(std::size(kClipNames)); clip++)
        soundSystem->Stop(clip);
    journal::Reset();  // live again: the next run is the player's, ranked and kept
    saveRecord = recordBefore;
    snapshotCount = snapshotsBefore;
    Scene* old = currentScene;
    currentScene = new TitleScene(TitleScene::kMenu);
    currentScene->Init(old->app, old->canvas, old->joystick);
    delete old;
    demoApp->watcherKey = nullptr;
    demoApp->watcherOverlay = nullptr;
}

bool AnyKey(int vk)
{
    EndDemo();
    return true;
}

void DrawDemo(Surface& shown)
{
    GameApp::DrawShownText(shown, (shown.width - 4 * 8) / 2, 40, "DEMO", 0x40C8F2);
}

}  // namespace

std::string DemoReplayPath(const PlayerFolder& folder)
{
    journal::Recording best, candidate;
    std::string path;
    for (uint32_t length : {0u, 1u}) {
        const std::string each = folder.PathOf(("replays/" + BestReplayName(length)).c_str());
        if (Playable(each, candidate) &&
            (path.empty() || candidate.header.finalScore > best.header.finalScore)) {
            best = candidate;
            path = each;
        }
    }
    const std::string shipped = gameArchiveLocation.baseName + "-demo.krp";
    if (path.empty() && Playable(shipped, candidate))
        path = shipped;
    return path;
}

bool StartDemo()
{
    const std::string path = DemoReplayPath(playerFolder);
    journal::Recording recording;
    if (path.empty() || !Playable(path, recording) || !currentScene || !currentScene->app)
        return false;
    Scene* title = currentScene;
    demoApp = title->app;
    recordBefore = saveRecord;
    snapshotsBefore = snapshotCount;
    journal::StartPlayback(recording);
    playing = true;
    // Keys pressed while it plays go past the journal to end it, as a replay's watcher's do.
    demoApp->watcherKey = AnyKey;
    demoApp->watcherOverlay = DrawDemo;
    HandOver(*title, new GameScene);  // the title's Tick deletes it once this frame is drawn
    return true;
}

bool DemoPlaying()
{
    return playing;
}

void EndDemoWhenDone()
{
    if (playing && (PadTouched() || !journal::InRun() || !journal::PlaybackFault().empty()))
        EndDemo();
}

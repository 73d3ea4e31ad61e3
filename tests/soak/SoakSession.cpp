#include "tests/soak/SoakSession.h"

#include <algorithm>

#include "app/SaveRecord.h"
#include "platform/Platform.h"
#include "platform/scripted/Scripted.h"
#include "scenes/EndingScene.h"
#include "scenes/GameOverScene.h"
#include "scenes/GameScene.h"
#include "scenes/TitleScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/support/GameHarness.h"

namespace {

constexpr uint32_t kFrameMilliseconds = 17;
constexpr uint32_t kFiveMinutes = 300000;

template <typename SceneType>
SceneType* Current()
{
    return dynamic_cast<SceneType*>(currentScene);
}

}  // namespace

SoakSession::SoakSession(GameHarness& game, uint32_t seed)
    : game(game), restless(seed), chance(seed ^ 0x9E3779B9u)
{
}

RunReport SoakSession::PlayOneRun()
{
    RunReport report;
    const int buffersBefore = buffersMade;
    if (StartFiveMinuteGame(report)) {
        FlyRun(report);
        if (report.fault.empty()) {
            if (report.byTime)
                LeaveEnding(report);
            else
                LeaveGameOver(report);
        }
    }
    report.newVoices = buffersMade - buffersBefore;
    return report;
}

bool SoakSession::StartFiveMinuteGame(RunReport& report)
{
    TitleScene* title = Current<TitleScene>();
    if (!title) {
        report.fault = "the run did not start from the title";
        return false;
    }
    // Watch some of the logo, or none of it.
    Wait(static_cast<int>(Below(250)));
    if (title->state == TitleScene::kLogo) {
        scripted::PressKey(VK_SPACE);
        Step(kFrameMilliseconds);
    }
    if (title->state != TitleScene::kMenu) {
        report.fault = "the title shows no menu";
        return false;
    }
    if (saveRecord.gameMode != 1) {
        scripted::PressKey(VK_DOWN);
        Step(kFrameMilliseconds);
    }
    if (saveRecord.gameMode != 1) {
        report.fault = "Down on the menu did not choose the five-minute game";
        return false;
    }
    scripted::PressKey(VK_SPACE);
    // The fade to black takes 512 ms.
    if (!RunUntil([] { return Current<GameScene>() != nullptr; }, 60)) {
        report.fault = "Space on the menu started no game";
        return false;
    }
    return true;
}

void SoakSession::FlyRun(RunReport& report)
{
    GameScene* scene = Current<GameScene>();
    const uint32_t start = scene->startTime;
    // Every other run is flown with care, so that any two runs in a row see both pilots.
    report.careful = ++runs % 2 == 0;
    Pilot careful;
    while (currentScene == scene) {
        report.lastScore = scene->score;
        // Stalls included, a run can last its five minutes and one stall more.
        if (timeGetTime() - start > kFiveMinutes + 60000) {
            report.fault = "the five-minute run went on past its time";
            break;
        }
        if (report.careful)
            careful.Steer(*scene);
        else
            restless.Steer();
        if (!Step(GameFrameStep())) {
            report.fault = "the window closed during the run";
            break;
        }
        ++report.frames;
    }
    report.milliseconds = timeGetTime() - start;
    restless.LetGo();
    if (!report.fault.empty())
        return;

    if (EndingScene* ending = Current<EndingScene>()) {
        report.byTime = true;
        report.runScore = ending->runScore;
        if (report.milliseconds <= kFiveMinutes)
            report.fault = "the ending came before the five minutes were up";
    } else if (!Current<GameOverScene>()) {
        report.fault = "the run ended in neither the ending nor the game-over screen";
    }
}

bool SoakSession::LeaveEnding(RunReport& report)
{
    EndingScene* ending = Current<EndingScene>();
    // The ranking ignores Space; the staff roll starts when the ending is 20 s old.
    scripted::PressKey(VK_SPACE);
    auto rolling = [ending] {
        return Current<EndingScene>() != ending || ending->state >= EndingScene::kStaffRoll;
    };
    if (!RunUntil(rolling, 1500) || Current<EndingScene>() != ending) {
        report.fault = "the ending left before the staff roll, or never reached it";
        return false;
    }
    // Some of the roll, or all of it and the closing screen.
    Wait(static_cast<int>(Below(2500)));
    scripted::PressKey(VK_SPACE);
    if (!RunUntil([] { return Current<TitleScene>() != nullptr; }, 10)) {
        report.fault = "Space in the staff roll did not bring back the title";
        return false;
    }
    return true;
}

bool SoakSession::LeaveGameOver(RunReport& report)
{
    GameOverScene* over = Current<GameOverScene>();
    Wait(static_cast<int>(Below(60)));
    // The first press ends the sweep or starts the fade, whichever is due.
    scripted::PressKey(VK_SPACE);
    Step(kFrameMilliseconds);
    if (Current<GameOverScene>() == over && over->state == GameOverScene::kHold) {
        Wait(static_cast<int>(Below(30)));
        scripted::PressKey(VK_SPACE);
    }
    if (!RunUntil([] { return Current<TitleScene>() != nullptr; }, 60)) {
        report.fault = "the game-over screen did not give way to the title";
        return false;
    }
    return true;
}

bool SoakSession::Step(uint32_t milliseconds)
{
    if (game.RunFrames(1, milliseconds) == 0)
        return false;
    // The scripted device logs every sound played: note the buffers it has seen, then empty
    // the log, so that the soak measures the game's memory rather than the log's.
    for (const scripted::SoundEvent& event : scripted::SoundEvents())
        buffersMade = std::max(buffersMade, event.buffer + 1);
    scripted::ClearSoundEvents();
    return true;
}

void SoakSession::Wait(int frames)
{
    for (int i = 0; i < frames && Step(kFrameMilliseconds); ++i) {
    }
}

bool SoakSession::RunUntil(const std::function<bool()>& done, int maxFrames)
{
    for (int i = 0; i < maxFrames && !done(); ++i) {
        if (!Step(kFrameMilliseconds))
            return false;
    }
    return done();
}

uint32_t SoakSession::GameFrameStep()
{
    uint32_t roll = Below(10000);
    if (roll < 2)
        return 1000 + Below(29000);  // a stall of up to half a minute
    if (roll < 2000)
        return Below(40);  // a fast machine, or a late one
    return kFrameMilliseconds;
}

#include "scenes/GameOverScene.h"

#include "app/BoardLine.h"
#include "app/GameApp.h"
#include "archive/ResourceArchive.h"
#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "scenes/ScenePicture.h"
#include "scenes/TitleScene.h"

namespace {

// Only a ragged strip on the right is revealed before the hold shows the whole picture.
constexpr uint32_t kRevealTime = 300;
constexpr int kWipeSpread = 50;

}  // namespace

GameOverScene::~GameOverScene()
{
    delete gameOverImage;
    delete blackImage;
}

void GameOverScene::Init(GameApp* app, Surface* canvas, JoystickInfo* joystick)
{
    Scene::Init(app, canvas, joystick);
    state = kReveal;
    blackImage = LoadScenePicture(app->window, resourceArchive, "black.bmp", kScreenOrMore);
    gameOverImage = LoadScenePicture(app->window, resourceArchive, "gameover.bmp", kExactlyScreen);
    CaptureJoystick();
    stateTime = journal::Clock();
    startTime = journal::Clock();
}

void GameOverScene::OnKeyDown(int vk)
{
    if (vk == VK_SPACE)
        Advance();
}

void GameOverScene::OnJoyButtonDown(UINT buttons)
{
    if (buttons & JOY_BUTTON1)
        Advance();
}

// A press ends the reveal, ends the hold, and during the fade only raises the state: the fade
// keeps the start time of its first press.
void GameOverScene::Advance()
{
    if (state == kLeaving)
        return;
    state++;
    if (state == kHold || state == kFading)
        stateTime = journal::Clock();
}

void GameOverScene::Frame()
{
    uint32_t now = journal::Clock();
    uint32_t t = now - stateTime;
    if (state == kLeaving) {
        LeaveForTitle();
    } else if (state == kReveal) {
        if (t >= kRevealTime)
            state = kHold;
        // The canvas is never cleared, so what earlier frames revealed stays.
        WipeRagged(*gameOverImage, *canvas, kScreenWidth - static_cast<int>(t / 4), kWipeSpread);
    } else if (state == kHold) {
        CopyPicture(*gameOverImage, *canvas);
        stateTime = now;
    } else if (FadeToBlack(*gameOverImage, *blackImage, *canvas, t)) {
        // The frame that gets there shows plain black; the next one leaves.
        state = kLeaving;
    }
}

void GameOverScene::DrawOverShown(Surface& shown)
{
    if (state == kReveal || state == kHold)
        DrawBoardLine(shown);
}

void GameOverScene::LeaveForTitle()
{
    ReleaseJoystick();
    SwitchTo(new TitleScene());
}

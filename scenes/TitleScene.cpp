#include "scenes/TitleScene.h"

#include <algorithm>
#include <cstdio>

#include "app/Demo.h"
#include "app/GameApp.h"
#include "app/SaveRecord.h"
#include "app/Settings.h"
#include "archive/ResourceArchive.h"
#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "scenes/GameScene.h"
#include "scenes/OptionsScene.h"
#include "scenes/ReplaysScene.h"
#include "scenes/ScenePicture.h"
#include "sound/SoundSystem.h"

namespace {

// The logo turns for a second, rests, then the opening picture fades in over it.
constexpr uint32_t kTurnEnd = 1000;
constexpr uint32_t kRestEnd = 3000;
constexpr uint32_t kOpeningEnd = 3500;

// The menu's two pictures lie one above the other, each at most 300x200, drawn at (20, 40).
constexpr PictureLimits kMenuLimits = {1, 2, 300, 400};
constexpr int kMenuX = 20;
constexpr int kMenuY = 40;

constexpr int kGameModeCount = 2;

// The pad's button that no action holds reads as button 4 (see PadLayout).
constexpr uint32_t kIdleBeforeDemo = 20000;

constexpr int kOptionsKey = 'O';
constexpr UINT kOptionsButton = JOY_BUTTON4;
// The slow button means nothing on the menu; it opens the replays.
constexpr int kReplaysKey = 'R';
constexpr UINT kReplaysButton = JOY_BUTTON3;

}  // namespace

TitleScene::~TitleScene()
{
    delete blackImage;
    delete logoImage;
    delete openingImage;
    delete menuImage;
}

void TitleScene::Init(GameApp* app, Surface* canvas, JoystickInfo* joystick)
{
    Scene::Init(app, canvas, joystick);
    state = firstState;
    blackImage = LoadScenePicture(app->window, resourceArchive, "black.bmp", kScreenOrMore);
    logoImage = LoadScenePicture(app->window, resourceArchive, "logo.bmp", kAtMostScreen);
    openingImage = LoadScenePicture(app->window, resourceArchive, "opening.bmp", kExactlyScreen);
    menuImage = LoadScenePicture(app->window, resourceArchive, "menu.bmp", kMenuLimits);
    CaptureJoystick();
    stateTime = journal::Clock();
    startTime = journal::Clock();
    lastTouched = journal::Clock();
}

void TitleScene::OnKeyDown(int vk)
{
    lastTouched = journal::Clock();
    switch (vk) {
    case VK_SPACE: Advance(); break;
    case VK_UP:
        if (state == kMenu)
            SelectPrevious();
        break;
    case VK_DOWN:
        if (state == kMenu)
            SelectNext();
        break;
    case kOptionsKey:
        if (state == kMenu)
            LeaveFor(new OptionsScene());
        break;
    case kReplaysKey:
        if (state == kMenu)
            LeaveFor(new ReplaysScene());
        break;
    }
}

void TitleScene::OnJoyButtonUp(UINT buttons)
{
    lastTouched = journal::Clock();
}

void TitleScene::OnJoyButtonDown(UINT buttons)
{
    lastTouched = journal::Clock();
    if (buttons & JOY_BUTTON1)
        Advance();
    else if ((buttons & kOptionsButton) && state == kMenu)
        LeaveFor(new OptionsScene());
    else if ((buttons & kReplaysButton) && state == kMenu)
        LeaveFor(new ReplaysScene());
}

void TitleScene::OnJoyMove(uint32_t position)
{
    lastTouched = journal::Clock();
    UINT y = position >> 16;
    if (y < joystick->caps.wYmin + JoystickInfo::kDeadZone && state == kMenu)
        SelectPrevious();
    if (y > joystick->caps.wYmax - JoystickInfo::kDeadZone && state == kMenu)
        SelectNext();
}

// A press skips the logo, confirms the menu, and during the fade only raises the state: the
// fade keeps the start time of its first press.
void TitleScene::Advance()
{
    if (state == kLeaving)
        return;
    state++;
    if (state == kMenu || state == kFading)
        stateTime = journal::Clock();
}

void TitleScene::SelectPrevious()
{
    int32_t& mode = saveRecord.gameMode;
    mode = mode - 1 < 0 ? kGameModeCount - 1 : mode - 1;
    soundSystem->Play(kSoundSelect);
}

void TitleScene::SelectNext()
{
    int32_t& mode = saveRecord.gameMode;
    mode = mode + 1 >= kGameModeCount ? 0 : mode + 1;
    soundSystem->Play(kSoundSelect);
}

void TitleScene::Frame()
{
    uint32_t now = journal::Clock();
    uint32_t t = now - stateTime;
    if (state == kLeaving) {
        LeaveForGame();
    } else if (state == kLogo) {
        DrawLogo(t);
    } else if (state == kMenu) {
        if (now - lastTouched >= kIdleBeforeDemo && !journal::PlayingBack()) {
            lastTouched = now;  // without a run to show, the menu waits another 20 s
            ReleaseJoystick();
            if (StartDemo())
                return;
            CaptureJoystick();
        }
        DrawMenu();
        stateTime = now;
    } else if (FadeToBlack(*openingImage, *blackImage, *canvas, t)) {
        state = kLeaving;
    }
}

void TitleScene::DrawLogo(uint32_t t)
{
    if (t <= kRestEnd) {
        // One full turn in the first second, ending upright.
        int angle = t < kTurnEnd ? (256 - t / 4) % 256 : 0;
        BlitRotated(canvas->pixels, canvas->width, canvas->height, logoImage->pixels,
                    logoImage->width, logoImage->height, angle);
        return;
    }
    int weight = 0;
    if (t <= kOpeningEnd) {
        weight = 256 - static_cast<int>(t - kRestEnd) / 2;
    } else {
        state = kMenu;
    }
    CopyPicture(*logoImage, *canvas);
    BlitBlend(*openingImage, kScreenRect, *canvas, 0, 0, weight);
}

void TitleScene::DrawMenu()
{
    CopyPicture(*openingImage, *canvas);
    // The lower half (as viewed) shows the first choice highlighted, the upper half the second.
    int mode = std::clamp(saveRecord.gameMode, 0, kGameModeCount - 1);
    int halfHeight = menuImage->height / 2;
    RECT choice = {0, halfHeight * mode, menuImage->width, halfHeight * (mode + 1)};
    BlitKeyed(*menuImage, choice, *canvas, kMenuX, kMenuY, 0x000000);
}

void TitleScene::LeaveForGame()
{
    ReleaseJoystick();
    SwitchTo(new GameScene());
}

void TitleScene::LeaveFor(Scene* page)
{
    ReleaseJoystick();
    SwitchTo(page);
}

// The ways to the options and the replays, named on the menu over its picture.
void TitleScene::DrawOverShown(Surface& shown)
{
    if (state != kMenu || finished)
        return;
    char hint[64];
    std::snprintf(hint, sizeof hint, "O / PAD %s: OPTIONS    R / PAD %s: REPLAYS",
                  PadButtonName(settings.pad.Spare()),
                  PadButtonName(settings.pad.buttons[int(PadAction::Slow)]));
    GameApp::DrawShownText(shown, 16, shown.height - 24, hint);
}

#include "scenes/EndingScene.h"

#include <cstdio>
#include <cstring>

#include "app/BoardLine.h"
#include "app/GameApp.h"
#include "app/Globals.h"
#include "app/SaveRecord.h"
#include "archive/ResourceArchive.h"
#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "scenes/ScenePicture.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"

namespace {

constexpr uint32_t kWipeInTime = 3000;
constexpr int kWipeSpread = 50;
// The ranking stays until the scene is this old.
constexpr uint32_t kRankingEnd = 20000;
// The roll moves about 32 pixels a second; the background snapshot changes every 8192 ms.
constexpr double kRollSpeed = 0.032;
constexpr uint32_t kSlideTime = 8192;

// The roll is read a screen at a time from its top, and its first screen sweeps in whole.
constexpr PictureLimits kStaffRollLimits = {kScreenWidth, kScreenHeight + 1, kAnySize, kAnySize};

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;
constexpr int kGlyphWidth = 8;
constexpr int kLineHeight = 16;

// Text coordinates count y downward from the top of the screen.
void DrawCentredText(HDC dc, int y, const char* text)
{
    int length = static_cast<int>(std::strlen(text));
    TextOutA(dc, (kScreenWidth / kGlyphWidth - length) * kGlyphWidth / 2, y, text, length);
}

}  // namespace

EndingScene::~EndingScene()
{
    delete staffRollImage;
    delete blackImage;
}

void EndingScene::Init(GameApp* app, Surface* canvas, JoystickInfo* joystick)
{
    Scene::Init(app, canvas, joystick);
    state = kWipeIn;
    blackImage = LoadScenePicture(app->window, resourceArchive, "black.bmp", kScreenOrMore);
    staffRollImage =
        LoadScenePicture(app->window, resourceArchive, "staffroll.bmp", kStaffRollLimits);
    scrollY = 0;
    CaptureJoystick();
    soundSystem->PlayMusic(kSoundEndingMusic, 0);
    stateTime = journal::Clock();
    startTime = journal::Clock();
}

// The ranking cannot be skipped; from the roll on, a press returns to the title.
void EndingScene::OnKeyDown(int vk)
{
    if (vk == VK_SPACE && (state == kStaffRoll || state == kClosing)) {
        state = kLeaving;
        stateTime = journal::Clock();
    }
}

void EndingScene::OnJoyButtonDown(UINT buttons)
{
    if (buttons & JOY_BUTTON1)
        OnKeyDown(VK_SPACE);
}

void EndingScene::Frame()
{
    uint32_t now = journal::Clock();
    switch (state) {
    case kLeaving: LeaveForTitle(); break;
    case kWipeIn: DrawWipeIn(now); break;
    case kRanking: DrawRanking(now); break;
    case kStaffRoll: DrawStaffRoll(now); break;
    case kClosing: DrawClosing(); break;
    }
}

// The roll's first screen sweeps in from the right over the last game picture. The canvas is
// never cleared, so what earlier frames revealed stays.
void EndingScene::DrawWipeIn(uint32_t now)
{
    uint32_t t = now - stateTime;
    if (t >= kWipeInTime)
        state = kRanking;
    WipeRagged(*staffRollImage, *canvas, kScreenWidth - static_cast<int>(t / 4), kWipeSpread);
}

void EndingScene::DrawRanking(uint32_t now)
{
    if (now - startTime > kRankingEnd) {
        state = kStaffRoll;
        stateTime = now;
    }
    BlitBlend(*snapshots[0], kScreenRect, *canvas, 0, 0, 128);
    canvas->HalveRect(RECT{10, 10, 310, 230});

    HDC dc = canvas->dc;
    SetTextColor(dc, kWhite);
    TextOutA(dc, 112, 10, "SCORE RANKING", 13);

    const HighScoreTable& table = saveRecord.tables[saveRecord.gameMode == 1 ? 1 : 0];
    char line[64];
    for (int rank = 1; rank <= 10; rank++) {
        int32_t score = table.scores[11 - rank];
        std::snprintf(line, sizeof line, "%2d : %010d", rank, score);
        SetTextColor(dc, score == runScore ? kRed : kWhite);
        DrawCentredText(dc, 42 + kLineHeight * (rank - 1), line);
    }
    std::snprintf(line, sizeof line, "This time SCORE is %010d", runScore);
    SetTextColor(dc, kRed);
    DrawCentredText(dc, 202, line);
    SetTextColor(dc, kWhite);
}

void EndingScene::DrawStaffRoll(uint32_t now)
{
    // The fraction of a pixel left at each step is dropped, since the step restarts the time.
    uint32_t step = static_cast<uint32_t>((now - stateTime) * kRollSpeed);
    if (step == 0)
        return;
    scrollY += step;
    if (scrollY > static_cast<uint32_t>(staffRollImage->height - kScreenHeight)) {
        state = kClosing;
        scrollY = 0;
    }
    BitBlt(canvas->dc, 0, 0, kScreenWidth, kScreenHeight, staffRollImage->dc, 0,
           static_cast<int>(scrollY), SRCCOPY);
    stateTime = now;
    uint32_t slide = (now - startTime) / kSlideTime % kSnapshotCount;
    BlitBlend(*snapshots[slide], kScreenRect, *canvas, 0, 0, 128);
}

void EndingScene::DrawClosing()
{
    BlitBlend(*blackImage, kScreenRect, *canvas, 0, 0, 0);
    SetTextColor(canvas->dc, kWhite);
    TextOutA(canvas->dc, 280, 220, "Fin.", 4);
}

void EndingScene::DrawOverShown(Surface& shown)
{
    if (state == kRanking)
        DrawBoardLine(shown);
}

void EndingScene::LeaveForTitle()
{
    ReleaseJoystick();
    soundSystem->Stop(kSoundEndingMusic);
    SwitchTo(new TitleScene());
}

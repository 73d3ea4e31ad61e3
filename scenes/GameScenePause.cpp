// Pausing a run: the frame stays on screen, darkened, under "PAUSE" and a line of help; the
// run's clock, the music and the effects stand still until the run is resumed or given up.

#include "scenes/GameScene.h"

#include <algorithm>

#include "app/GameApp.h"
#include "app/Settings.h"
#include "gfx/Surface.h"
#include "sound/SoundSystem.h"

namespace {

constexpr const char kPauseTitle[] = "PAUSE";
constexpr const char kPauseHelp[] = "P / ESC: RESUME   Q: GIVE UP";
constexpr const char kPauseHelpForPads[] = "PAD START: RESUME   PAD BOMB BUTTON: GIVE UP";
constexpr UINT kPadGiveUp = JOY_BUTTON2;  // the bombing button, wherever the player put it
constexpr int kGlyphWidth = 8;
constexpr int kTitleRow = 100;  // text rows count down from the top
constexpr int kHelpRow = 124;

// Half brightness in each of blue, green and red.
uint32_t Darken(uint32_t pixel)
{
    return (pixel >> 1) & 0x7F7F7F;
}

void TextCentred(Surface& canvas, int row, const char* text, int length)
{
    TextOutA(canvas.dc, (canvas.width - length * kGlyphWidth) / 2, row, text, length);
}

}  // namespace

uint32_t GameScene::RunClock() const
{
    return journal::Clock() - pausedTotal;
}

void GameScene::OnKeyPress(int vk)
{
    if (settings.keys.Bound(Action::Pause, vk))
        paused ? Resume() : Pause();
    else if (paused && vk == 'Q')
        givingUp = true;  // the run ends in a frame, where a scene hands over
}

void GameScene::OnFocusLost()
{
    if (!paused)
        Pause();
}

void GameScene::Pause()
{
    paused = true;
    pausedSince = journal::Clock();
    const size_t count = size_t(canvas->width) * canvas->height;
    pausedFrame.resize(count);
    std::transform(canvas->pixels, canvas->pixels + count, pausedFrame.begin(), Darken);
    soundSystem->PauseAll();
}

void GameScene::Resume()
{
    paused = false;
    pausedTotal += journal::Clock() - pausedSince;
    soundSystem->ResumeAll();
}

// Ends the run as a hit would: the score counts and the game-over screen follows.
void GameScene::GiveUp()
{
    givingUp = false;
    Resume();
    EndRunByHit();
}

// One reading a frame, as ever: Start pauses and resumes, and while paused the bombing button
// gives the run up, so a pad alone can end a run.
bool GameScene::PadStartPressed()
{
    JOYINFO reading = {};
    const UINT buttons = journal::ReadPad(reading) == JOYERR_NOERROR ? reading.wButtons : UINT(0);
    const bool held = buttons & JOY_BUTTONSTART;
    const bool pressed = held && !padStartHeld;
    padStartHeld = held;
    const bool giveUpHeld = buttons & kPadGiveUp;
    if (paused && giveUpHeld && !padGiveUpHeld)
        givingUp = true;
    padGiveUpHeld = giveUpHeld;
    return pressed;
}

void GameScene::DrawPauseScreen()
{
    if (canvas->drawingSkipped)
        return;
    std::copy(pausedFrame.begin(), pausedFrame.end(), canvas->pixels);
    TextCentred(*canvas, kTitleRow, kPauseTitle, sizeof kPauseTitle - 1);
    TextCentred(*canvas, kHelpRow, kPauseHelp, sizeof kPauseHelp - 1);
}

// Only a player with a pad needs its keys named.
void GameScene::DrawPausedOverShown(Surface& shown)
{
    if (!joystick || !joystick->available)
        return;
    GameApp::DrawShownText(shown,
                           (shown.width - int(sizeof kPauseHelpForPads - 1) * kGlyphWidth) / 2,
                           2 * kHelpRow + 40, kPauseHelpForPads);
}

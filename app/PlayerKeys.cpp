// The player's own keys, which work on every screen: the volume, muting and the window's
// scale, with a short caption for the volume. And the settings they change, put into effect
// at start-up and noted at exit.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/GameApp.h"
#include "app/Settings.h"
#include "gfx/Surface.h"
#include "platform/PadLayout.h"
#include "sound/SoundSystem.h"

namespace {

constexpr uint32_t kCaptionTime = 1000;
constexpr COLORREF kCaptionColour = 0xFFFFFF;
constexpr COLORREF kCaptionShadow = 0x000000;

// A level of 0..10 in hundredths of a decibel: level n plays at n tenths of the full
// amplitude (5 is -6 dB, 1 is -20 dB) and 0 is silence.
LONG LevelToVolume(int level)
{
    if (level <= 0)
        return DSBVOLUME_MIN;
    return static_cast<LONG>(std::lround(2000.0 * std::log10(double(level) / kVolumeSteps)));
}

}  // namespace

bool GameApp::HandlePlayerKey(int vk, bool repeat)
{
    if (typing && vk != VK_F5 && vk != VK_F6)
        return false;
    switch (vk) {
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
    case VK_OEM_PLUS:
    case VK_ADD: {
        // Held, the key goes on stepping.
        const int step = (vk == VK_OEM_MINUS || vk == VK_SUBTRACT) ? -1 : 1;
        settings.volume = std::clamp(settings.volume + step, 0, kVolumeSteps);
        settings.muted = false;
        ApplyVolume();
        ShowVolume();
        return true;
    }
    case 'M':
        if (!repeat) {
            settings.muted = !settings.muted;
            ApplyVolume();
            ShowVolume();
        }
        return true;
    case VK_F5:
    case VK_F6:
        if (!repeat && windowed) {
            const int scale = GetWindowScale(window) + (vk == VK_F5 ? -1 : 1);
            SetWindowScale(window, std::clamp(scale, 1, GetLargestWindowScale(window)));
        }
        return true;
    default: return false;
    }
}

void GameApp::ApplySettings()
{
    ApplyVolume();
    platform::SetPadLayout(settings.pad);
    const int scale = std::clamp(settings.windowScale, 1, GetLargestWindowScale(window));
    if (scale != GetWindowScale(window))
        SetWindowScale(window, scale);
    if (settings.fullScreen && windowed)
        EnterFullScreen();
}

void GameApp::RememberWindow()
{
    settings.fullScreen = !windowed;
    settings.windowScale = std::max(1, GetWindowScale(window));
}

void GameApp::ApplyVolume()
{
    if (!soundSystem)
        return;
    const LONG master = settings.muted ? DSBVOLUME_MIN : LevelToVolume(settings.volume);
    soundSystem->SetLevels(master + LevelToVolume(settings.musicVolume),
                           master + LevelToVolume(settings.effectsVolume));
}

void GameApp::ShowVolume()
{
    if (settings.muted)
        std::snprintf(caption, sizeof caption, "MUTE");
    else
        std::snprintf(caption, sizeof caption, "VOLUME %d", settings.volume);
    captionUntil = timeGetTime() + kCaptionTime;
}

// On the window's picture, top left, with a shadow so it reads on any frame.
void GameApp::DrawCaption()
{
    if (!caption[0] || static_cast<int32_t>(captionUntil - timeGetTime()) <= 0) {
        caption[0] = '\0';
        return;
    }
    DrawShownText(*presentBuffer, 16, 16, caption, kCaptionColour);
}

void GameApp::DrawShownText(Surface& shown, int x, int row, const char* text, COLORREF colour)
{
    const int length = static_cast<int>(std::strlen(text));
    SetTextColor(shown.dc, kCaptionShadow);
    TextOutA(shown.dc, x + 1, row + 1, text, length);
    SetTextColor(shown.dc, colour);
    TextOutA(shown.dc, x, row, text, length);
}

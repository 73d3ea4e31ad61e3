#pragma once
// Pictures of the menu-like scenes (title, game over, ending): loading them so that the
// scenes' unclipped drawing stays inside every surface, and copying one whole to the canvas.

#include <cstdint>

#include "platform/Platform.h"

class ResourceArchive;
class Surface;

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr RECT kScreenRect = {0, 0, kScreenWidth, kScreenHeight};
constexpr int kAnySize = 1 << 15;

struct PictureLimits {
    int minWidth;
    int minHeight;
    int maxWidth;
    int maxHeight;
};

// Drawn whole at the top-left corner: at most a screen.
constexpr PictureLimits kAtMostScreen = {1, 1, kScreenWidth, kScreenHeight};
// Drawn whole and blended over the whole screen: exactly a screen.
constexpr PictureLimits kExactlyScreen = {kScreenWidth, kScreenHeight, kScreenWidth, kScreenHeight};
// Read only within the screen's rectangle: a screen or more.
constexpr PictureLimits kScreenOrMore = {kScreenWidth, kScreenHeight, kAnySize, kAnySize};

// A window-attached surface (it has a device context) holding the named picture. A picture
// that is missing, damaged or outside the limits is reported in one line on stderr and
// replaced by a black one of the smallest size the limits allow.
Surface* LoadScenePicture(HWND window, ResourceArchive& archive, const char* name,
                          const PictureLimits& limits);

// Copies the whole picture unscaled to the canvas, its top-left corner at the canvas's.
void CopyPicture(const Surface& picture, Surface& canvas);

// Shows the picture darkened by black as it stands `elapsed` ms into a 512 ms fade. Returns
// true once the screen is fully black.
bool FadeToBlack(const Surface& picture, const Surface& black, Surface& canvas, uint32_t elapsed);

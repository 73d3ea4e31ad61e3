// The window's scale on the desktop, counted in the game's 320x240 picture (the client area is
// that picture doubled). The client area keeps its size; the window shows the picture enlarged
// by a whole factor (Present places it), so every pixel stays a sharp square.

#include <algorithm>

#include "platform/sdl/SdlScreen.h"

void SdlScreen::SetScale(int factor)
{
    scale = std::max(1, factor);
    ApplyScale();
}

void SdlScreen::ApplyScale()
{
    if (window && !fullScreen)
        SDL_SetWindowSize(window, WindowSize(clientWidth), WindowSize(clientHeight));
}

int SdlScreen::Scale() const
{
    // After the player resized the window, the factor the picture has in it now.
    int width = 0;
    int height = 0;
    const int pictureWidth = clientWidth / 2;
    const int pictureHeight = clientHeight / 2;
    if (!window || fullScreen || pictureWidth <= 0 || pictureHeight <= 0)
        return scale;
    SDL_GetWindowSize(window, &width, &height);
    return std::max(1, std::min(width / pictureWidth, height / pictureHeight));
}

int SdlScreen::LargestScale() const
{
    SDL_Rect desktop;
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    const int pictureWidth = clientWidth / 2;
    const int pictureHeight = clientHeight / 2;
    if (pictureWidth <= 0 || pictureHeight <= 0 ||
        SDL_GetDisplayUsableBounds(std::max(display, 0), &desktop) != 0)
        return 1;
    return std::max(1, std::min(desktop.w / pictureWidth, desktop.h / pictureHeight));
}

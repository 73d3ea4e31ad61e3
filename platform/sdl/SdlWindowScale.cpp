// The window's scale on the desktop. The client-area picture keeps its size; the window shows
// it enlarged by a whole factor (Present places it), so every pixel stays a sharp square.

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
        SDL_SetWindowSize(window, pictureWidth * scale, pictureHeight * scale);
}

int SdlScreen::Scale() const
{
    // After the player resized the window, the factor the picture has in it now.
    int width = 0;
    int height = 0;
    if (!window || fullScreen || pictureWidth <= 0 || pictureHeight <= 0)
        return scale;
    SDL_GetWindowSize(window, &width, &height);
    return std::max(1, std::min(width / pictureWidth, height / pictureHeight));
}

int SdlScreen::LargestScale() const
{
    SDL_Rect desktop;
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    if (pictureWidth <= 0 || pictureHeight <= 0 ||
        SDL_GetDisplayUsableBounds(std::max(display, 0), &desktop) != 0)
        return 1;
    return std::max(1, std::min(desktop.w / pictureWidth, desktop.h / pictureHeight));
}

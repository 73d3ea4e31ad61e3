#pragma once
// The one native window: an SDL window with a renderer and one streaming texture the size of
// the window's picture. Presenting paces the frames: a frame starts no sooner than
// kFrameInterval milliseconds after the previous one, on the game's own clock, never on the
// display's refresh.

#include <cstdint>
#include <string>

#include <SDL.h>

struct DibSection;

class SdlScreen {
public:
    // About 59 frames a second: every frame is at least one movement step of the heroine,
    // whose steps need more than 16 ms.
    static constexpr uint32_t kFrameInterval = 17;

    bool Open(const char* caption, int width, int height, std::string& error);
    void Close();
    void Show();
    void SetCaption(const char* caption);
    void Resize(int width, int height);
    void SetFullScreen(bool fullScreen);
    void Present(const DibSection& frame);
    // Frames are then shown only when one is due, and nothing waits.
    bool fastForward = false;
    // The window's scale (SdlWindowScale.cpp): window pixels per pixel of the game's 320x240
    // picture, 2 unless the player chose. The game's client area is that picture doubled, so
    // the window is the client area times scale / 2. The player may resize the window too;
    // the picture then takes the largest whole factor that fits, centred on black.
    void SetScale(int factor);
    int Scale() const;
    int LargestScale() const;

private:
    bool UploadPicture(const DibSection& frame);
    void WaitForNextFrame();
    void ApplyScale();
    int WindowSize(int clientSize) const { return clientSize * scale / 2; }

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    bool fullScreen = false;
    int clientWidth = 0;  // the picture the game presents: its 320x240 frame doubled
    int clientHeight = 0;
    int scale = 2;
    uint32_t frameStart = 0;
    bool framePresented = false;
};

// Milliseconds of the monotonic clock since the machine started, truncated to 32 bits: unlike
// time since SDL started, it differs from one run to the next, and the generator is seeded
// from it.
uint32_t MonotonicMilliseconds();

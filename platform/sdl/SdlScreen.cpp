#include "platform/sdl/SdlScreen.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/DibSection.h"
#include "platform/WindowPlacement.h"
#include "platform/sdl/TimingReport.h"

uint32_t MonotonicMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000 +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000);
}

namespace {

// Unless the player chose a video driver, only drivers that show something on a screen may
// open the window: SDL would otherwise fall back to its invisible offscreen driver and the
// game would run unseen.
void ChooseVisibleDrivers()
{
    if (SDL_GetHint(SDL_HINT_VIDEODRIVER))
        return;
    std::string drivers;
    if (SDL_getenv("DISPLAY"))
        drivers += "x11,";
    if (SDL_getenv("WAYLAND_DISPLAY"))
        drivers += "wayland,";
    drivers += "KMSDRM";
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

}  // namespace

bool SdlScreen::Open(const char* caption, int width, int height, std::string& error)
{
    ChooseVisibleDrivers();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("no display to show the window on (") + SDL_GetError() + ")";
        return false;
    }
    // A driver that shows nothing gains nothing from the graphics library, and loading it
    // (a software OpenGL with its compiler, on a machine without a graphics card) would be
    // most of the start-up: draw in plain memory. Hints the player set still win.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    }
    clientWidth = width;
    clientHeight = height;
    window = SDL_CreateWindow(caption, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                              WindowSize(width), WindowSize(height),
                              SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (window)
        renderer = SDL_CreateRenderer(window, -1, 0);  // no vsync: frames are paced here
    if (!renderer) {
        error = std::string("cannot create the window: ") + SDL_GetError();
        Close();
        return false;
    }
    return true;
}

void SdlScreen::Close()
{
    if (texture)
        SDL_DestroyTexture(texture);
    if (renderer)
        SDL_DestroyRenderer(renderer);
    if (window)
        SDL_DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    textureWidth = textureHeight = 0;
    fullScreen = false;
    framePresented = false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlScreen::Show()
{
    SDL_ShowWindow(window);
}

void SdlScreen::SetCaption(const char* caption)
{
    SDL_SetWindowTitle(window, caption);
}

void SdlScreen::Resize(int width, int height)
{
    clientWidth = width;
    clientHeight = height;
    ApplyScale();
}

void SdlScreen::SetFullScreen(bool on)
{
    // Desktop full screen: the display mode stays; the picture is scaled when presented.
    SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    fullScreen = on;
    // A scale chosen meanwhile shows on the way back.
    ApplyScale();
}

void SdlScreen::Present(const DibSection& frame)
{
    // Fast forward shows a frame when one is due and drops the others, never waiting.
    if (fastForward && framePresented && MonotonicMilliseconds() - frameStart < kFrameInterval)
        return;
    if (!UploadPicture(frame))
        return;
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    // Full screen enlarges the doubled picture by whole factors; a window, whatever size the
    // player gave it, shows the game's own 320x240 picture at the largest whole factor.
    const RECT place =
        fullScreen ? PlacePicture(outputWidth, outputHeight, frame.width, frame.height)
                   : PlacePicture(outputWidth, outputHeight, frame.width / 2, frame.height / 2);
    const SDL_Rect target = {place.left, place.top, place.right - place.left,
                             place.bottom - place.top};
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, &target);
    SDL_RenderPresent(renderer);
    ReportFirstFrame();
    WaitForNextFrame();
}

bool SdlScreen::UploadPicture(const DibSection& frame)
{
    if (!texture || textureWidth != frame.width || textureHeight != frame.height) {
        if (texture)
            SDL_DestroyTexture(texture);
        // Our pixels are blue, green, red and a fourth byte that means nothing on screen.
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    frame.width, frame.height);
        textureWidth = texture ? frame.width : 0;
        textureHeight = texture ? frame.height : 0;
    }
    void* locked = nullptr;
    int pitch = 0;
    if (!texture || SDL_LockTexture(texture, nullptr, &locked, &pitch) != 0)
        return false;
    // The picture's rows are stored bottom-up, the texture's top-down.
    const size_t rowBytes = static_cast<size_t>(frame.width) * sizeof(uint32_t);
    for (int row = 0; row < frame.height; ++row) {
        const uint32_t* source =
            frame.pixels + static_cast<size_t>(frame.height - 1 - row) * frame.width;
        std::memcpy(static_cast<uint8_t*>(locked) + static_cast<size_t>(row) * pitch, source,
                    rowBytes);
    }
    SDL_UnlockTexture(texture);
    return true;
}

void SdlScreen::WaitForNextFrame()
{
    if (framePresented && !fastForward) {
        const uint32_t due = frameStart + kFrameInterval;
        const int32_t early = static_cast<int32_t>(due - MonotonicMilliseconds());
        if (early > 0) {
            // Sleep to the millisecond boundary itself, so the clock reads "due" on waking.
            timespec now;
            clock_gettime(CLOCK_MONOTONIC, &now);
            const uint64_t nowNs =
                static_cast<uint64_t>(now.tv_sec) * 1000000000 + static_cast<uint64_t>(now.tv_nsec);
            const uint64_t wakeNs = (nowNs / 1000000 + static_cast<uint64_t>(early)) * 1000000;
            const timespec wake = {static_cast<time_t>(wakeNs / 1000000000),
                                   static_cast<long>(wakeNs % 1000000000)};
            while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {}
        }
    }
    frameStart = MonotonicMilliseconds();
    framePresented = true;
    ReportFrameStart(frameStart);
}

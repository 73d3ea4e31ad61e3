#pragma once
// The operating-system half of the platform layer. The Windows-like services of Platform.h
// (windows, the message queue, painting, key polling, joystick capture) and the sound services
// of Audio.h are written once over this interface; a backend supplies only the clock, the one
// native window, the event pump, the raw keyboard and joystick readings and an audio device.
// platform/sdl is the game's backend, platform/scripted the tests'; the entry function installs
// the one it wants, and with it the audio device to use.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/DibSection.h"
#include "platform/Platform.h"

// What an audio device plays: 16-bit signed samples at this rate, interleaved by channel.
struct AudioFormat {
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
};

// The sound output a backend provides. The platform's sound services (Audio.h) are written
// once over it: they open it, mix every playing buffer in its callback and take its lock
// around every change to what the callback reads.
class AudioDevice {
public:
    // Writes count samples of output. A device with a thread of its own calls it there; one
    // without calls it from Lock, for the output due by the clock since the last call. A
    // device nobody hears passes a null out: everything moves on as far, unsummed.
    using Callback = void (*)(void* context, int16_t* out, size_t count);

    virtual ~AudioDevice() = default;

    // Opens the device, paused. False when there is none; error then says why in one line.
    virtual bool Open(const AudioFormat& format, Callback callback, void* context,
                      std::string& error) = 0;
    // Waits for a callback in progress to end; no call follows.
    virtual void Close() = 0;
    // While locked, the callback does not run.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // A paused device asks for nothing and plays silence.
    virtual void Pause(bool paused) = 0;

    // Hears of every start and stop of a buffer: its tag, its number among the buffers made
    // since the backend was installed, and its volume. Only a device that reports what was
    // played (the tests') listens.
    enum class BufferAction { Play, Loop, Stop };
    virtual void OnBufferAction(int tag, int buffer, BufferAction action, int32_t volume) {}
};

class Backend {
public:
    virtual ~Backend() = default;

    // Milliseconds of a monotonic clock, truncated to 32 bits.
    virtual uint32_t Milliseconds() = 0;

    // The one native window, hidden until shown. False when there is no display; error then
    // says why in one line.
    virtual bool OpenWindow(const char* caption, int width, int height, std::string& error) = 0;
    virtual void CloseWindow() = 0;
    virtual void ShowWindow() = 0;
    virtual void SetCaption(const char* caption) = 0;
    virtual void ResizeWindow(int width, int height) = 0;
    // Full screen covers the desktop without changing the display mode; the picture is scaled
    // by the largest whole factor that fits and centred on black.
    virtual void SetFullScreen(bool fullScreen) = 0;
    virtual void SetCursorVisible(bool visible) = 0;
    // The window's size on the desktop: window pixels per pixel of the game's picture, which
    // is half the client area each way (see GetWindowScale). WindowScale reports the largest factor that fits the window as it is now, also after
    // the player resized it; LargestWindowScale the largest whose window fits the desktop.
    virtual void SetWindowScale(int scale) = 0;
    virtual int WindowScale() = 0;
    virtual int LargestWindowScale() = 0;
    // Puts the client-area picture on the screen. A backend that paces frames waits here.
    virtual void Present(const DibSection& frame) = 0;
    // Fast forward: no waiting, and only the frames due by the pace are shown (for skipping
    // ahead). A backend that does not pace ignores it.
    virtual void SetFastForward(bool on) {}

    // Turns the operating system's waiting events into calls of the platform::On* functions.
    virtual void PumpEvents() = 0;
    // Sleeps until an event may be waiting or the time is up. False when no event can ever
    // arrive (a scripted platform with nothing left to report), so a wait would never end.
    virtual bool WaitForEvents(uint32_t timeoutMilliseconds) = 0;

    // Whether the key with this virtual-key code is held now.
    virtual bool IsKeyHeld(int vk) = 0;
    // The first joystick's reading (axes 0..65535, buttons JOY_BUTTON1..4); false when there is
    // none.
    virtual bool ReadJoystick(JOYINFO& reading) = 0;
    // The first joystick's product name; only asked while ReadJoystick succeeds.
    virtual std::string JoystickName() = 0;

    // The backend's own sound output.
    virtual AudioDevice& Audio() = 0;

    // Shows an error line to a player who may have no console; a backend whose player always
    // sees standard error shows nothing.
    virtual void ShowError(const char* text) {}
};

namespace platform {

// Makes backend the one the services use and resets everything they keep (windows, classes,
// queue, key latches, joystick capture, cursor, sound buffers). Sound goes to audio, or to the
// backend's own device when audio is null. Both outlive their use; a null backend uninstalls.
void InstallBackend(Backend* backend, AudioDevice* audio = nullptr);
Backend& CurrentBackend();
AudioDevice& CurrentAudioDevice();

// What a backend's PumpEvents reports. Keys carry virtual-key codes; alt tells whether an Alt
// key was held, repeat whether the key was already down (auto-repeat).
void OnKeyDown(int vk, bool alt, bool repeat);
void OnKeyUp(int vk, bool alt);
void OnCloseRequest();  // the close box, the window manager's close, or a termination signal
void OnExpose();        // the window's picture was lost and must be painted again
void OnFocusLost();     // the window lost the keyboard or was minimised

// The window the backend's events belong to; null when none is open.
HWND NativeWindowOwner();
// Whether a live sound buffer with this tag is playing now, for a device that reports what
// was played.
bool IsSoundPlaying(int tag);

}  // namespace platform

#pragma once
// The scripted backend: the platform as a test drives it. The test sets the clock, the held
// keys, the joystick and the queued messages, and reads back what was presented and played.
// Nothing here waits: frames are not paced and sounds play out by the scripted clock.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace scripted {

// Installs a fresh scripted platform: clock 0, no key held, no joystick, no window, empty
// message queue, no sound events. Call at the start of every test that touches the platform.
void Install();

void SetClock(uint32_t milliseconds);
void AdvanceClock(uint32_t milliseconds);

// Held keys answer GetAsyncKeyState's high bit. PressKey also queues WM_KEYDOWN for the
// window (and latches the low bit), as one press of a real key does; with alt it queues
// WM_SYSKEYDOWN. ReleaseKey clears the held state.
void HoldKey(int vk);
void ReleaseKey(int vk);
void PressKey(int vk, bool alt = false);
void ReleaseAllKeys();

// The first joystick: absent until attached. Axes 0..65535, buttons JOY_BUTTON1..4.
void AttachJoystick();
void DetachJoystick();
void SetJoystick(unsigned x, unsigned y, unsigned buttons);

// Queues a message for the one window (the close box is WM_CLOSE).
void PostToWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Makes the next window creation fail, as with no display.
void FailWindowCreation(bool fail);

// What reached the screen: the 640x480 picture of the last present (pixels as in memory:
// bottom row first), and how many presents there were.
const std::vector<uint32_t>& LastPresentedFrame();
int PresentCount();
bool IsFullScreen();
bool IsCursorVisible();
HWND TheWindow();  // null when no window exists

// Sound, as the scripted audio device saw it. `clip` is the tag the sound system gives each
// buffer (the clip id); `buffer` numbers the buffers in the order they were made since Install,
// so a test can tell a voice used again from a new one; `volume` is the buffer's volume in
// hundredths of a decibel at the time.
struct SoundEvent {
    enum Kind { Play, Loop, Stop };
    uint32_t time;
    int clip;
    Kind kind;
    int buffer = 0;
    int volume = 0;
};
const std::vector<SoundEvent>& SoundEvents();
void ClearSoundEvents();
// Whether any buffer of the clip is playing at the current scripted clock.
bool IsClipPlaying(int clip);
// While set, creating the audio device fails, as with no sound device. Install clears it.
void FailAudioDevice(bool fail);
// Sound goes to the null device from now on, as with the game's --no-sound: nothing is
// reported. Call right after Install, before anything is opened.
void SilenceAudio();

}  // namespace scripted

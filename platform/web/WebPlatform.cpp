// The page's backend: the browser's key and focus events become the platform's messages; the
// clock is the page's, counted from the epoch so that it differs from one visit to the next
// (the generator is seeded from it).

#include <emscripten.h>
#include <emscripten/html5.h>

#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/ClockedAudio.h"
#include "platform/web/Web.h"
#include "platform/web/WebAudio.h"
#include "platform/web/WebCanvas.h"
#include "platform/web/WebGamepad.h"
#include "platform/web/WebKeys.h"

namespace {

struct HeldKey {
    std::string code;  // the physical key, to match its key-up to its key-down
    int vk;
};

struct KeyEvent {
    int vk;
    bool down;
    bool alt;
    bool repeat;
};

class WebBackend final : public Backend {
public:
    WebCanvas canvas;
    WebAudioDevice audio;
    // Events wait here between frames until PumpEvents hands them on, as a desktop's queue
    // holds them.
    std::vector<KeyEvent> keyEvents;
    bool focusLost = false;
    std::vector<HeldKey> heldKeys;  // every physical key held, so either Shift counts

    uint32_t Milliseconds() override
    {
        static const double origin = EM_ASM_DOUBLE({ return performance.timeOrigin; });
        return static_cast<uint32_t>(static_cast<uint64_t>(origin + emscripten_get_now()));
    }

    bool OpenWindow(const char* caption, int width, int height, std::string& error) override
    {
        return canvas.Open(caption, error);
    }

    void CloseWindow() override {}
    void ShowWindow() override {}
    void SetCaption(const char* caption) override { canvas.SetCaption(caption); }
    // The page decides the canvas's size on screen; the picture's size is the frame's.
    void ResizeWindow(int width, int height) override {}
    void SetFullScreen(bool fullScreen) override { canvas.SetFullScreen(fullScreen); }
    void SetCursorVisible(bool visible) override { canvas.SetCursorVisible(visible); }
    // The picture always takes the largest whole factor that fits the page.
    void SetWindowScale(int scale) override {}
    int WindowScale() override { return canvas.Scale(); }
    int LargestWindowScale() override { return canvas.Scale(); }

    // The page's loop paces the frames (app/main_web.cpp); presenting never waits.
    void Present(const DibSection& frame) override { canvas.Present(frame); }

    void PumpEvents() override
    {
        if (focusLost) {
            focusLost = false;
            platform::OnFocusLost();
        }
        // Taken first: a handler may call back in.
        std::vector<KeyEvent> events;
        events.swap(keyEvents);
        for (const KeyEvent& event : events) {
            if (event.down)
                platform::OnKeyDown(event.vk, event.alt, event.repeat);
            else
                platform::OnKeyUp(event.vk, event.alt);
        }
    }

    // A page cannot sleep; the next frame comes from the page's loop.
    bool WaitForEvents(uint32_t timeoutMilliseconds) override { return true; }

    bool IsKeyHeld(int vk) override
    {
        for (const HeldKey& held : heldKeys) {
            if (held.vk == vk)
                return true;
        }
        return false;
    }

    bool ReadJoystick(JOYINFO& reading) override { return ReadGamepad(reading); }
    std::string JoystickName() override { return GamepadName(); }
    AudioDevice& Audio() override { return audio; }
};

WebBackend* backend = nullptr;

void ForgetHeldKey(const char* code)
{
    std::vector<HeldKey>& held = backend->heldKeys;
    for (auto key = held.begin(); key != held.end(); ++key) {
        if (key->code == code) {
            held.erase(key);
            return;
        }
    }
}

// Keys the browser keeps for itself: reloading (F5), the address bar (F6), its own full
// screen (F11, the key after F10), and any shortcut with Ctrl or the command key.
bool BrowserKeepsKey(const EmscriptenKeyboardEvent& event, int vk)
{
    return event.ctrlKey || event.metaKey || vk == 0 || vk == VK_F5 || vk == VK_F6 ||
           vk == VK_F10 + 1;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*)
{
    const int vk = VirtualKeyFromCode(event->code);
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    if (vk != 0) {
        ForgetHeldKey(event->code);
        if (down)
            backend->heldKeys.push_back({event->code, vk});
        backend->keyEvents.push_back({vk, down, event->altKey != 0, down && event->repeat});
    }
    // True keeps the browser from acting on the key too (scrolling on Space and the arrows,
    // its help on F1).
    return !BrowserKeepsKey(*event, vk);
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*)
{
    // Keys released while the page was in the background never report their key-up.
    backend->heldKeys.clear();
    backend->focusLost = true;
    return false;
}

}  // namespace

namespace web {

void Install(bool sound)
{
    backend = new WebBackend;
    const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(page, nullptr, true, OnKey);
    emscripten_set_keyup_callback(page, nullptr, true, OnKey);
    emscripten_set_blur_callback(page, nullptr, true, OnBlur);
    platform::InstallBackend(backend, sound ? nullptr : &platform::NullAudioDevice());
}

double TakePresentMilliseconds()
{
    return backend ? backend->canvas.TakePresentMilliseconds() : 0;
}

void Uninstall()
{
    platform::InstallBackend(nullptr);
    const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(page, nullptr, true, nullptr);
    emscripten_set_keyup_callback(page, nullptr, true, nullptr);
    emscripten_set_blur_callback(page, nullptr, true, nullptr);
    delete backend;
    backend = nullptr;
}

}  // namespace web

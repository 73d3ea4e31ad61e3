#pragma once
// What the shell's tests share: a scene that records everything that reaches it and draws a
// picture that betrays any flip or shift, and a scratch folder to run in.

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/GameApp.h"
#include "gfx/Surface.h"
#include "platform/Platform.h"
#include "platform/scripted/Scripted.h"
#include "scenes/Scene.h"

// Every call a RecordingScene received, in order, one entry each ("frame", "key 32", ...).
struct SceneLog {
    std::vector<std::string> entries;
    int deletions = 0;
    int presentsAtLastFrame = -1;  // scripted::PresentCount() during the last Frame
    int presentsAtDeletion = -1;

    int Count(const std::string& entry) const
    {
        int n = 0;
        for (const auto& e : entries)
            n += e == entry;
        return n;
    }
};

// The colour of canvas pixel (x, y) in the given frame: different in every row and column and
// from frame to frame, and clear of the fourth byte.
inline uint32_t PatternColour(int x, int y, int frame)
{
    return static_cast<uint32_t>((x << 12) | y) ^ (static_cast<uint32_t>(frame & 0xF) << 20);
}

// Whether the 640x480 screen shows frame number `frame` of the pattern, every pixel doubled.
inline bool ScreenShowsPattern(const std::vector<uint32_t>& screen, int frame)
{
    if (screen.size() != 640u * 480u)
        return false;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (screen[y * 640 + x] != PatternColour(x / 2, y / 2, frame))
                return false;
        }
    }
    return true;
}

class RecordingScene : public Scene {
public:
    explicit RecordingScene(SceneLog& log) : log(log) {}
    ~RecordingScene() override
    {
        ++log.deletions;
        log.presentsAtDeletion = scripted::PresentCount();
    }

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override
    {
        Scene::Init(app, canvas, joystick);
        log.entries.push_back("init");
        if (captureJoystick) {
            // As the menu-like screens do.
            joySetThreshold(JOYSTICKID1, 1000);
            joySetCapture(app->window, JOYSTICKID1, 33, TRUE);
        }
    }
    void OnKeyDown(int vk) override { Add("key " + std::to_string(vk)); }
    void OnJoyButtonDown(UINT buttons) override { Add("joydown " + std::to_string(buttons)); }
    void OnJoyButtonUp(UINT buttons) override { Add("joyup " + std::to_string(buttons)); }
    void OnJoyMove(uint32_t position) override
    {
        Add("joymove " + std::to_string(position & 0xFFFF) + "," +
            std::to_string(position >> 16));
    }
    void OnLButtonDown(WPARAM keys, int x, int y) override { Add(Mouse("ldown", x, y)); }
    void OnRButtonDown(WPARAM keys, int x, int y) override { Add(Mouse("rdown", x, y)); }
    void OnLButtonUp(WPARAM keys, int x, int y) override { Add(Mouse("lup", x, y)); }
    void OnRButtonUp(WPARAM keys, int x, int y) override { Add(Mouse("rup", x, y)); }
    void OnMouseMove(WPARAM keys, int x, int y) override { Add(Mouse("move", x, y)); }

    void Frame() override
    {
        for (int y = 0; y < canvas->height; ++y) {
            for (int x = 0; x < canvas->width; ++x)
                canvas->pixels[y * canvas->width + x] = PatternColour(x, y, frames);
        }
        ++frames;
        log.entries.push_back("frame");
        log.presentsAtLastFrame = scripted::PresentCount();
        if (successor) {
            Scene* next = successor;
            successor = nullptr;
            SwitchTo(next);
        }
    }

    SceneLog& log;
    int frames = 0;
    bool captureJoystick = false;
    Scene* successor = nullptr;  // handed over to in the next frame

private:
    void Add(const std::string& entry) { log.entries.push_back(entry); }
    static std::string Mouse(const char* what, int x, int y)
    {
        return std::string(what) + " " + std::to_string(x) + "," + std::to_string(y);
    }
};

// Runs the test in a fresh empty folder, for what the game writes into its working folder.
class ScratchFolder {
public:
    ScratchFolder()
    {
        char pattern[] = "/tmp/korimo-shell-XXXXXX";
        path = mkdtemp(pattern);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(path);
    }
    ~ScratchFolder()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(path);
    }
    std::filesystem::path path;

private:
    std::filesystem::path previous;
};

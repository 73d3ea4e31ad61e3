#pragma once
// What the shell's tests share: a scene that records what reaches it and draws a picture that
// betrays any flip or shift.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/GameApp.h"
#include "gfx/Surface.h"
#include "platform/scripted/Scripted.h"
#include "scenes/Scene.h"
#include "tests/archive/TestFiles.h"

using Entries = std::vector<std::string>;

// Every call a RecordingScene received, in order ("init", "frame", "key 32", ...).
struct SceneLog {
    Entries entries;
    int deletions = 0;

    int Count(const std::string& entry) const
    {
        return static_cast<int>(std::count(entries.begin(), entries.end(), entry));
    }
    Entries Since(size_t start) const { return {entries.begin() + long(start), entries.end()}; }
};

// Canvas pixel (x, y) of the given frame: different in every row, column and frame.
inline uint32_t PatternColour(int x, int y, int frame)
{
    return static_cast<uint32_t>((x << 12) | y) ^ (static_cast<uint32_t>(frame & 0xF) << 20);
}

// Whether `pixels` (width x height, bottom row first) show the pattern of `frame`, each canvas
// pixel `scale` times in both directions.
inline bool ShowsPattern(const std::vector<uint32_t>& pixels, int frame, int scale = 2)
{
    const int width = 320 * scale;
    const int height = 240 * scale;
    if (pixels.size() != size_t(width) * height)
        return false;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (pixels[y * width + x] != PatternColour(x / scale, y / scale, frame))
                return false;
        }
    }
    return true;
}

class RecordingScene : public Scene {
public:
    explicit RecordingScene(SceneLog& log, bool captureJoystick = false)
        : log(log), captureJoystick(captureJoystick)
    {
    }
    ~RecordingScene() override { ++log.deletions; }

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
    void OnKeyDown(int vk) override { Add("key", vk); }
    void OnJoyButtonDown(UINT buttons) override { Add("joydown", buttons); }
    void OnJoyButtonUp(UINT buttons) override { Add("joyup", buttons); }
    void OnJoyMove(uint32_t position) override
    {
        Add("joymove", position & 0xFFFF, "," + std::to_string(position >> 16));
    }

    void Frame() override
    {
        for (int y = 0; y < canvas->height; ++y) {
            for (int x = 0; x < canvas->width; ++x)
                canvas->pixels[y * canvas->width + x] = PatternColour(x, y, frames);
        }
        ++frames;
        log.entries.push_back("frame");
        if (successor)
            SwitchTo(std::exchange(successor, nullptr));
    }

    SceneLog& log;
    bool captureJoystick;
    int frames = 0;
    Scene* successor = nullptr;  // handed over to in the next frame

private:
    void Add(const char* what, unsigned value, const std::string& more = "")
    {
        log.entries.push_back(what + (" " + std::to_string(value)) + more);
    }
};

#include "tests/support/GameHarness.h"

#include <cstring>

#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/Program.h"
#include "app/SaveRecord.h"
#include "app/Settings.h"
#include "gfx/Surface.h"
#include "random/Random.h"
#include "scenes/Scene.h"

namespace {

GameHarness* running = nullptr;
Program program;

// Posted by the harness's idle pass after the last frame asked for; any other exit code
// comes from the game.
constexpr int kPaused = 0x7FFF0001;

}  // namespace

GameHarness::GameHarness() : GameHarness(Options{})
{
}

GameHarness::GameHarness(const Options& chosen) : options(chosen)
{
    scripted::Install();
    scripted::SetClock(options.startClock);
    if (options.joystick)
        scripted::AttachJoystick();
    // What a fresh process starts with.
    std::memset(&saveRecord, 0, sizeof saveRecord);
    snapshotCount = 0;
    theLcgRandom = LcgRandom{};
    settings = Settings();
    currentScene = nullptr;
}

GameHarness::~GameHarness()
{
    if (started && !closed)
        Close();
    // A start that failed writes nothing back, as in the game.
    if (booted)
        program.Stop(started ? options.saveFile : nullptr);
    running = nullptr;
}

bool GameHarness::Boot(const std::function<Scene*()>& makeFirstScene)
{
    booted = true;
    running = this;
    if (!program.Start(makeFirstScene, options.saveFile, nullptr, SW_SHOWNORMAL)) {
        closed = true;
        exitCode = 1;
        return false;
    }
    started = true;
    app = program.app;
    theMainLoop->idleHandler = IdlePass;
    return true;
}

int GameHarness::IdlePass()
{
    GameHarness& harness = *running;
    if (harness.framesLeft <= 0) {
        PostQuitMessage(kPaused);
        return 1;
    }
    scripted::AdvanceClock(harness.frameStep);
    RunSceneFrame();
    ++harness.framesRun;
    if (--harness.framesLeft == 0)
        PostQuitMessage(kPaused);
    return 1;
}

int GameHarness::RunFrames(int count, uint32_t millisecondsPerFrame)
{
    if (closed || count <= 0)
        return 0;
    const int before = framesRun;
    framesLeft = count;
    frameStep = millisecondsPerFrame;
    const int result = theMainLoop->Run();
    framesLeft = 0;
    if (result != kPaused) {
        closed = true;
        exitCode = result;
    }
    return framesRun - before;
}

int GameHarness::Close()
{
    if (closed)
        return exitCode;
    scripted::PostToWindow(WM_CLOSE);
    // No frame is left to run: should the loop come to an idle pass, it stops there.
    framesLeft = 0;
    const int result = theMainLoop->Run();
    if (result != kPaused) {
        closed = true;
        exitCode = result;
    }
    return exitCode;
}

bool GameHarness::TextAt(int x, int row, const std::string& text, COLORREF colour)
{
    Surface& canvas = Canvas();
    Surface blank(app->window, 320, 240);
    SelectObject(blank.dc, canvas.font);
    SetTextColor(blank.dc, colour);
    SetBkMode(blank.dc, TRANSPARENT);
    TextOutA(blank.dc, x, row, text.c_str(), static_cast<int>(text.size()));
    int inked = 0;
    for (int i = 0; i < 320 * 240; i++) {
        if ((blank.pixels[i] & 0xFFFFFF) == 0)
            continue;
        inked++;
        if ((canvas.pixels[i] & 0xFFFFFF) != (blank.pixels[i] & 0xFFFFFF))
            return false;
    }
    return inked > 0;
}

std::vector<uint32_t> GameHarness::DrawnOver(int top, int bottom)
{
    std::vector<uint32_t> drawn;
    for (int row = top; row < bottom; row++) {
        const int y = 479 - row;
        for (int x = 0; x < 640; x++) {
            if (Screen()[size_t(y) * 640 + x] != Canvas().GetPixel(x / 2, y / 2))
                drawn.push_back(uint32_t(row) << 16 | uint32_t(x));
        }
    }
    return drawn;
}

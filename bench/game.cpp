// Whole runs of the game played headless, as fast as the machine allows: the one-minute and
// the five-minute game at 60 simulated frames a second, with the scene tests' pilot moving and
// firing. Each frame's CPU time is taken over the scene's frame and the doubling of the
// picture to the window's 640x480, without the upload to the screen. The report gives the
// mean, the 99th percentile and the worst frame (with its number: the last frame of a run is the
// hand-over to the ending, which writes the scores and loads the ending's pictures, so the
// worst frame in play is given apart), and the most objects alive at once; the same runs with SDL's scaler doing the doubling are the
// reference.
//
// The runs are the same every time: the clock starts at 6000, which seeds the generator (with
// this seed the pilot lasts both runs), and advances 17, 17, 16 ms per frame.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include "app/GameApp.h"
#include "app/Globals.h"
#include "app/Program.h"
#include "app/SaveRecord.h"
#include "bench/ScratchFolder.h"
#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "platform/scripted/Scripted.h"
#include "random/Random.h"
#include "scenes/EndingScene.h"
#include "scenes/GameScene.h"
#include "scenes/Scene.h"
#include "tests/scenes/GameScenePilot.h"

namespace {

constexpr uint32_t kStartClock = 6000;
constexpr uint32_t kFrameSteps[3] = {17, 17, 16};  // 60 frames a second

// The goal for a five-minute run.
constexpr double kGoalMeanMs = 0.2;
constexpr double kGoalP99Ms = 0.5;

struct RunReport {
    double meanMs = 0;
    double p99Ms = 0;
    double worstMs = 0;
    int worstFrame = 0;        // counted from 0; the last is the hand-over to the next scene
    double worstInPlayMs = 0;  // the worst but for that hand-over
    int mostObjects = 0;
    int frames = 0;
    double seconds = 0;   // of play
    bool lasted = false;  // ended by time, not by a hit
};

double CpuMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

SDL_Surface* Wrap(Surface& surface)
{
    return SDL_CreateRGBSurfaceWithFormatFrom(surface.pixels, surface.width, surface.height, 32,
                                              surface.width * 4, SDL_PIXELFORMAT_RGB888);
}

// One run from start-up to its end, as a fresh program would play it.
RunReport PlayRun(int gameMode, bool sdlDoubling)
{
    scripted::Install();
    scripted::SetClock(kStartClock);
    snapshotCount = 0;
    theLcgRandom = LcgRandom{};
    currentScene = nullptr;

    Program program;
    RunReport report;
    if (!program.Start([] { return new GameScene; }, nullptr, nullptr, SW_SHOWNORMAL))
        return report;
    saveRecord.gameMode = gameMode;
    auto* scene = static_cast<GameScene*>(currentScene);
    Surface& canvas = *program.app->backBuffer;
    Surface& window = *program.app->presentBuffer;
    SDL_Surface* sdlCanvas = Wrap(canvas);
    SDL_Surface* sdlWindow = Wrap(window);

    Pilot pilot;
    std::vector<double> frameMs;
    frameMs.reserve(20000);
    uint32_t start = timeGetTime();
    while (currentScene == scene) {
        pilot.Steer(*scene);
        scripted::AdvanceClock(kFrameSteps[frameMs.size() % 3]);
        double before = CpuMilliseconds();
        scene->Frame();
        if (sdlDoubling)
            SDL_BlitScaled(sdlCanvas, nullptr, sdlWindow, nullptr);
        else
            Double2x(canvas, window);
        frameMs.push_back(CpuMilliseconds() - before);
        if (currentScene == scene) {
            report.mostObjects = std::max(report.mostObjects,
                                          scene->enemyList.Count() + scene->shotList.Count() + 1);
        }
    }
    report.lasted = dynamic_cast<EndingScene*>(currentScene) != nullptr;
    report.seconds = (timeGetTime() - start) / 1000.0;
    // The scene's own Tick would have deleted it after its last frame.
    delete scene;
    scripted::ReleaseAllKeys();
    SDL_FreeSurface(sdlCanvas);
    SDL_FreeSurface(sdlWindow);
    program.Stop(nullptr);

    report.frames = static_cast<int>(frameMs.size());
    report.worstFrame =
        static_cast<int>(std::max_element(frameMs.begin(), frameMs.end()) - frameMs.begin());
    report.worstInPlayMs = *std::max_element(frameMs.begin(), frameMs.end() - 1);
    double sum = 0;
    for (double ms : frameMs)
        sum += ms;
    report.meanMs = sum / frameMs.size();
    std::sort(frameMs.begin(), frameMs.end());
    report.p99Ms = frameMs[static_cast<size_t>(std::ceil(0.99 * frameMs.size())) - 1];
    report.worstMs = frameMs.back();
    return report;
}

std::map<std::string, RunReport> reports;

void Run(benchmark::State& state, int gameMode, bool sdlDoubling, const std::string& name)
{
    RunReport report;
    for (auto _ : state)
        report = PlayRun(gameMode, sdlDoubling);
    reports[name] = report;
    state.counters["mean_ms"] = report.meanMs;
    state.counters["p99_ms"] = report.p99Ms;
    state.counters["worst_ms"] = report.worstMs;
    state.counters["worst_frame"] = report.worstFrame;
    state.counters["worst_in_play_ms"] = report.worstInPlayMs;
    state.counters["most_objects"] = report.mostObjects;
    state.counters["frames"] = report.frames;
    state.counters["played_s"] = report.seconds;
    if (!report.lasted)
        state.SetLabel("ended by a hit");
}

void RegisterAll()
{
    struct Entry {
        const char* name;
        int mode;
        bool sdl;
    };
    for (Entry e :
         {Entry{"one-minute run/ours", 0, false}, Entry{"one-minute run/SDL", 0, true},
          Entry{"five-minute run/ours", 1, false}, Entry{"five-minute run/SDL", 1, true}}) {
        benchmark::RegisterBenchmark(
            e.name, [e](benchmark::State& state) { Run(state, e.mode, e.sdl, e.name); })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
}

void PrintSummary()
{
    std::printf("\n%-22s %9s %9s %9s %13s %13s %8s %8s %s\n", "frame CPU time", "mean ms", "p99 ms",
                "worst ms", "worst frame", "worst in play", "objects", "played", "");
    for (const auto& [name, r] : reports) {
        std::string worstAt = std::to_string(r.worstFrame) + "/" + std::to_string(r.frames);
        std::printf("%-22s %9.4f %9.4f %9.4f %13s %13.4f %8d %7.1fs %s\n", name.c_str(), r.meanMs,
                    r.p99Ms, r.worstMs, worstAt.c_str(), r.worstInPlayMs, r.mostObjects, r.seconds,
                    r.lasted ? "" : "(ended by a hit)");
    }
    auto ours = reports.find("five-minute run/ours");
    auto sdl = reports.find("five-minute run/SDL");
    if (ours == reports.end())
        return;
    const RunReport& r = ours->second;
    std::printf("\nfive-minute goal: mean <= %.1f ms %s, p99 <= %.1f ms %s\n", kGoalMeanMs,
                r.meanMs <= kGoalMeanMs ? "met" : "MISSED", kGoalP99Ms,
                r.p99Ms <= kGoalP99Ms ? "met" : "MISSED");
    if (sdl != reports.end())
        std::printf("mean frame with our doubling / with SDL's: %.2f\n",
                    r.meanMs / sdl->second.meanMs);
}

}  // namespace

int main(int argc, char** argv)
{
    const ScratchFolder scratch;  // the runs' endings write the scores and best-run pictures
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    PrintSummary();
    benchmark::Shutdown();
    return 0;
}

// Replays: a one-minute and a five-minute run flown by the scene tests' pilot and recorded as
// every run is, then verified as --verify does. The report gives each replay's size, what
// keeping it costs the run's last frame (packing it and writing last and best through a
// temporary file and a rename), and the time to verify it beside the time the recorded run
// itself took to play headless (the reference).
//
// The runs start with the clock at 6000 (with this seed the pilot lasts both) and advance
// 17, 17, 16 ms per frame.

#include <chrono>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/PlayerFolder.h"
#include "app/Program.h"
#include "app/ReplaySession.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "platform/Journal.h"
#include "platform/scripted/Scripted.h"
#include "random/Random.h"
#include "scenes/GameScene.h"
#include "tests/scenes/GameScenePilot.h"

namespace {

constexpr uint32_t kStartClock = 6000;
constexpr uint32_t kFrameSteps[3] = {17, 17, 16};

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Flies a run of the game length with recording on; the seconds it took.
double RecordRun(int gameLength)
{
    scripted::Install();
    scripted::SetClock(kStartClock);
    snapshotCount = 0;
    theLcgRandom = LcgRandom{};
    currentScene = nullptr;
    std::memset(&saveRecord, 0, sizeof saveRecord);
    journal::RecordRuns(true);
    Program program;
    const auto start = std::chrono::steady_clock::now();
    program.Start(
        [gameLength] {
            saveRecord.gameMode = gameLength;
            return new GameScene;
        },
        nullptr, nullptr, SW_SHOWNORMAL);
    auto* scene = static_cast<GameScene*>(currentScene);
    Pilot pilot;
    for (int frame = 0; currentScene == scene; frame++) {
        pilot.Steer(*scene);
        scripted::AdvanceClock(kFrameSteps[frame % 3]);
        RunSceneFrame();  // the last one keeps the replay
    }
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    scripted::ReleaseAllKeys();
    program.Stop(nullptr);
    journal::RecordRuns(false);
    return seconds;
}

void Replay(benchmark::State& state, int gameLength)
{
    std::filesystem::remove_all("replays");
    double played = 0;
    for (auto _ : state)
        played = RecordRun(gameLength);
    const std::string path = "replays/" + LastReplayName(gameLength);
    journal::Recording recording;
    std::string error;
    if (!LoadReplay(path, recording, error)) {
        state.SkipWithError(error.c_str());
        return;
    }

    const auto keepStart = std::chrono::steady_clock::now();
    KeepReplay(recording, true, playerFolder);
    const double keepMs = Seconds(std::chrono::steady_clock::now() - keepStart) * 1e3;

    scripted::Install();
    scripted::SilenceAudio();
    std::FILE* out = std::tmpfile();
    const auto verifyStart = std::chrono::steady_clock::now();
    const int code = PlayReplay(recording, ReplayMode::Verify, nullptr, out);
    const double verifySeconds = Seconds(std::chrono::steady_clock::now() - verifyStart);
    std::fclose(out);

    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.counters["frames"] = recording.header.frameCount;
    state.counters["keep_ms"] = keepMs;
    state.counters["verify_s"] = verifySeconds;
    state.counters["recorded_play_s"] = played;
    state.SetLabel(code == 0 ? "verified" : "NOT verified");
}

BENCHMARK_CAPTURE(Replay, one_minute, 0)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Replay, five_minutes, 1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();

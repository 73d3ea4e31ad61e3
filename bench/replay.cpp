// Replays: a one-minute and a five-minute run flown by the scene tests' pilot, once recorded as
// every run is and once not (the reference), then verified as --verify does. The report gives
// each replay's size; the mean frame and the run's last frame (which hands the recording to
// the thread that writes it) with and without recording; the time that thread takes to pack
// and write last and best through a temporary file and a rename; and the time to verify the
// replay, drawing only the pictures it compares and drawing every picture as a watched replay
// does, beside the time the recorded run itself took to play headless; and the time the
// viewer's 10 s jump back takes at the run's end, which plays the run again from its start;
// and the time the REPLAYS screen takes to read a folder of as many copies of the replay as
// it reads at most.
//
// The runs start with the clock at 6000 (with this seed the pilot lasts both) and advance
// 17, 17, 16 ms per frame.

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/PlayerFolder.h"
#include "app/Program.h"
#include "app/ReplayList.h"
#include "app/ReplaySession.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "bench/FreshRun.h"
#include "bench/ScratchFolder.h"
#include "platform/scripted/Scripted.h"
#include "random/Random.h"
#include "replay/Journal.h"
#include "scenes/GameScene.h"
#include "tests/scenes/GameScenePilot.h"

namespace {

// The replays, and whatever else the runs keep, are written there.
const ScratchFolder scratch;

constexpr uint32_t kStartClock = 6000;
constexpr uint32_t kFrameSteps[3] = {17, 17, 16};

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

struct Flight {
    double seconds = 0;
    double meanFrameMs = 0;
    double lastFrameMs = 0;
};

// Flies a run of the game length, recorded or not.
Flight FlyRun(int gameLength, bool record)
{
    ResetForFreshRun(kStartClock, record);
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
    Flight flight;
    double framesMs = 0;
    int frame = 0;
    for (; currentScene == scene; frame++) {
        pilot.Steer(*scene);
        scripted::AdvanceClock(kFrameSteps[frame % 3]);
        const auto before = std::chrono::steady_clock::now();
        RunSceneFrame();  // the last one hands the replay over
        flight.lastFrameMs = Seconds(std::chrono::steady_clock::now() - before) * 1e3;
        framesMs += flight.lastFrameMs;
    }
    flight.seconds = Seconds(std::chrono::steady_clock::now() - start);
    flight.meanFrameMs = framesMs / frame;
    scripted::ReleaseAllKeys();
    program.Stop(nullptr);
    journal::RecordRuns(false);
    return flight;
}

struct Verification {
    double seconds = 0;
    int code = 1;
};

// Verifies as --verify does, in the mode given, with the processor's time of this thread: the
// machine is shared, and waiting for it is not the verifier's.
Verification VerifyTimed(const journal::Recording& recording, ReplayMode mode)
{
    scripted::Install();
    scripted::SilenceAudio();
    std::FILE* out = std::tmpfile();
    timespec start, end;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    Verification verification;
    verification.code = PlayReplay(recording, mode, nullptr, out, scripted::SetClock);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    std::fclose(out);
    verification.seconds = double(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
    return verification;
}

// The viewer's jump back from the run's last half second, timed from the key to the first
// picture shown after it, with the processor's time of this thread.
struct JumpBack {
    uint32_t pressAt = 0;
    bool pressed = false;
    bool jumping = false;
    int presents = 0;
    timespec start = {};
    double ms = 0;
};
JumpBack jump;

double CpuMsSince(const timespec& start)
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec - start.tv_sec) * 1e3 + (now.tv_nsec - start.tv_nsec) * 1e-6;
}

void JumpBackWatcher(uint32_t clock)
{
    scripted::SetClock(clock);
    const uint32_t frame = journal::PlaybackFrame();
    if (!journal::InRun()) {
        scripted::PostToWindow(WM_CLOSE);
    } else if (!jump.pressed && frame >= jump.pressAt) {
        jump.pressed = true;
        scripted::PressKey(VK_LEFT);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &jump.start);
    } else if (jump.pressed && !jump.jumping && frame < jump.pressAt) {
        jump.jumping = true;  // unseen from here: nothing is presented until it stops
        jump.presents = scripted::PresentCount();
    } else if (jump.jumping && jump.ms == 0 && scripted::PresentCount() != jump.presents) {
        jump.ms = CpuMsSince(jump.start);
        scripted::PostToWindow(WM_CLOSE);
    }
}

double JumpBackMs(const journal::Recording& recording)
{
    scripted::Install();
    scripted::SilenceAudio();
    jump = JumpBack{};
    jump.pressAt = recording.header.frameCount - 30;
    PlayReplay(recording, ReplayMode::Watch, nullptr, stdout, JumpBackWatcher);
    return jump.ms;
}

double ListingMs(const std::string& replay)
{
    for (size_t i = 0; i < kMostReplaysListed; i++)
        std::filesystem::copy_file(replay, "replays/copy" + std::to_string(i) + ".krp",
                                   std::filesystem::copy_options::overwrite_existing);
    const auto start = std::chrono::steady_clock::now();
    const ReplayList list = ListReplays(playerFolder);
    const double ms = Seconds(std::chrono::steady_clock::now() - start) * 1e3;
    std::filesystem::remove_all("replays");
    return list.entries.size() == kMostReplaysListed ? ms : -1;
}

void Replay(benchmark::State& state, int gameLength)
{
    std::filesystem::remove_all("replays");
    Flight recorded, unrecorded;
    for (auto _ : state) {
        unrecorded = FlyRun(gameLength, false);
        recorded = FlyRun(gameLength, true);
    }
    const std::string path = "replays/" + LastReplayName(gameLength);
    journal::Recording recording;
    std::string error;
    if (!LoadReplay(path, recording, error)) {
        state.SkipWithError(error.c_str());
        return;
    }

    const auto writeStart = std::chrono::steady_clock::now();
    KeepReplay(recording, true, playerFolder);
    const double writeMs = Seconds(std::chrono::steady_clock::now() - writeStart) * 1e3;

    const Verification fast = VerifyTimed(recording, ReplayMode::Verify);
    const Verification everyPicture = VerifyTimed(recording, ReplayMode::VerifyDrawingEveryPicture);
    const double jumpBackMs = JumpBackMs(recording);
    const auto bytes = std::filesystem::file_size(path);
    const double listingMs = ListingMs(path);  // the folder goes with it

    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["frames"] = recording.header.frameCount;
    state.counters["mean_frame_ms"] = recorded.meanFrameMs;
    state.counters["mean_frame_ms_unrecorded"] = unrecorded.meanFrameMs;
    state.counters["last_frame_ms"] = recorded.lastFrameMs;
    state.counters["last_frame_ms_unrecorded"] = unrecorded.lastFrameMs;
    state.counters["writer_ms"] = writeMs;
    state.counters["verify_ms"] = fast.seconds * 1e3;
    state.counters["verify_every_picture_ms"] = everyPicture.seconds * 1e3;
    state.counters["recorded_play_s"] = recorded.seconds;
    state.counters["jump_back_ms"] = jumpBackMs;
    state.counters["list_most_ms"] = listingMs;
    state.SetLabel(fast.code == 0 && everyPicture.code == 0 ? "verified" : "NOT verified");
}

BENCHMARK_CAPTURE(Replay, one_minute, 0)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Replay, five_minutes, 1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();

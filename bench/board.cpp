// The frame never waits on the network: one-minute runs flown by the scene tests' pilot, each
// kept and handed to a board's sender, against a stand-in board on loopback that answers
// every upload after 5 s; beside them the same runs with no board (the reference). The report
// gives the mean frame and the run's last frame (the one that hands the run over) both ways,
// and how long after the run's end the board's answer came, on the sender's thread.
//
// The runs start with the clock at 6000 and advance 17, 17, 16 ms per frame.

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include <benchmark/benchmark.h>
#include <httplib.h>

#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/PlayerFolder.h"
#include "app/Program.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "bench/FreshRun.h"
#include "bench/ScratchFolder.h"
#include "board/BoardSender.h"
#include "board/CurlTransport.h"
#include "platform/scripted/Scripted.h"
#include "random/Random.h"
#include "replay/Journal.h"
#include "scenes/GameScene.h"
#include "tests/scenes/GameScenePilot.h"

namespace {

const ScratchFolder scratch;

constexpr uint32_t kFrameSteps[3] = {17, 17, 16};
constexpr int kAnswerDelayMs = 5000;

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Frames {
    double meanMs = 0;
    double lastMs = 0;
};

Frames FlyRun()
{
    ResetForFreshRun(6000, true);
    Program program;
    program.Start([] { return new GameScene; }, nullptr, nullptr, SW_SHOWNORMAL);
    auto* scene = static_cast<GameScene*>(currentScene);
    Pilot pilot;
    Frames frames;
    double totalMs = 0;
    int frame = 0;
    for (; currentScene == scene; frame++) {
        pilot.Steer(*scene);
        scripted::AdvanceClock(kFrameSteps[frame % 3]);
        const auto before = std::chrono::steady_clock::now();
        RunSceneFrame();
        frames.lastMs = Milliseconds(std::chrono::steady_clock::now() - before);
        totalMs += frames.lastMs;
    }
    frames.meanMs = totalMs / frame;
    scripted::ReleaseAllKeys();
    program.Stop(nullptr);
    journal::RecordRuns(false);
    return frames;
}

void SlowBoard(benchmark::State& state)
{
    httplib::Server board;
    board.Post("/api/runs", [](const httplib::Request&, httplib::Response& reply) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kAnswerDelayMs));
        reply.status = 201;
        reply.set_content(R"({"rank": 1})", "application/json");
    });
    const int port = board.bind_to_any_port("127.0.0.1");
    std::thread serving([&board] { board.listen_after_bind(); });

    Frames alone, sending;
    double answerMs = 0;
    for (auto _ : state) {
        alone = FlyRun();
        CurlTransport transport;
        const std::string address = "http://127.0.0.1:" + std::to_string(port);
        BoardSender sender(transport, {address, "bench", "board.key", "replays/outbox"});
        // Each round's run is the first since the board was chosen, so it is sent.
        std::filesystem::remove(playerFolder.PathOf(kBoardBestsName));
        SendKeptRunsTo(address,
                       [&sender](std::vector<uint8_t> replay) { sender.Send(std::move(replay)); });
        sending = FlyRun();
        const auto ended = std::chrono::steady_clock::now();
        SendKeptRunsTo("", nullptr);
        while (sender.answered() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        answerMs = Milliseconds(std::chrono::steady_clock::now() - ended);
    }
    board.stop();
    serving.join();
    state.counters["mean_frame_ms"] = sending.meanMs;
    state.counters["mean_frame_ms_no_board"] = alone.meanMs;
    state.counters["last_frame_ms"] = sending.lastMs;
    state.counters["last_frame_ms_no_board"] = alone.lastMs;
    state.counters["answer_after_run_ms"] = answerMs;
}

BENCHMARK(SlowBoard)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();

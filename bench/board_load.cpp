// The board under load: 1,000 uploads from 16 clients at once over loopback, 200 of them bad in
// the ways the board refuses, the rest distinct valid one-minute replays flown headless by the
// scene tests' pilot, each run with a start clock of its own (the game's seed). The same load
// runs against a board on SQLite and one on a throwaway PostgreSQL cluster; the report gives
// the accepted runs per second, the latency of all uploads at the median and the 99th
// percentile, the board's peak memory (VmHWM) and whether every valid run was stored once,
// byte for byte, and every bad one refused. BOARD_BENCH_UPLOADS sets another count.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/Program.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "bench/FreshRun.h"
#include "bench/ScratchFolder.h"
#include "platform/scripted/Scripted.h"
#include "random/Random.h"
#include "replay/Journal.h"
#include "scenes/GameScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/server/BoardProcess.h"
#include "tests/server/PostgresCluster.h"

namespace {

const ScratchFolder scratch;
constexpr int kClients = 16;

using Clock = std::chrono::steady_clock;

// A one-minute run flown by the pilot from the given start clock; its replay file.
std::string FlyOneMinute(uint32_t startClock)
{
    ResetForFreshRun(startClock, true);
    Program program;
    program.Start([] { return new GameScene; }, nullptr, nullptr, SW_SHOWNORMAL);
    auto* scene = static_cast<GameScene*>(currentScene);
    Pilot pilot;
    for (int frame = 0; currentScene == scene; ++frame) {
        pilot.Steer(*scene);
        scripted::AdvanceClock(frame % 3 == 2 ? 16 : 17);
        RunSceneFrame();
    }
    scripted::ReleaseAllKeys();
    program.Stop(nullptr);
    journal::RecordRuns(false);
    return ReadFile("replays/" + LastReplayName(0));
}

std::string Reencoded(const std::string& file, void (*change)(journal::Recording&))
{
    journal::Recording recording;
    std::string error;
    journal::DecodeRecording(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()),
                             recording, error);
    change(recording);
    const std::vector<uint8_t> bytes = journal::EncodeRecording(recording);
    return std::string(bytes.begin(), bytes.end());
}

struct Item {
    std::string name, key, body;
    bool valid = false;      // a distinct valid run: must be stored once
    bool duplicate = false;  // a second copy of a valid run: at most one of the two is stored
    int status = 0;
    int64_t id = 0;
    double seconds = 0;
};

// 1 in 5 bad: the ways of the board's refusal table, in turn.
std::vector<Item> MakeLoad(const std::vector<std::string>& runs, int bad)
{
    std::vector<Item> load;
    for (size_t i = 0; i < runs.size(); ++i)
        load.push_back(
            {"pilot " + std::to_string(i), PlayerKey(static_cast<int>(i % 16)), runs[i], true});
    // Each pilot name with its own key: keys repeat every 16, so make them distinct.
    for (size_t i = 0; i < load.size(); ++i)
        load[i].key = std::string(48, 'a') + [&] {
            char hex[17];
            std::snprintf(hex, sizeof hex, "%016zx", i);
            return std::string(hex);
        }();
    const std::string& some = runs.front();
    for (int i = 0; i < bad; ++i) {
        Item item{"bad " + std::to_string(i), std::string(64, 'b'), ""};
        switch (i % 8) {
        case 0: item.body = some.substr(0, some.size() / 2); break;
        case 1: item.body = some, item.body[item.body.size() / 3] ^= 0x10; break;
        case 2: item.body = std::string(2000 + i, static_cast<char>(i)); break;
        case 3: item.body = ""; break;
        case 4: item.body = std::string(65 * 1024, 'K'); break;
        case 5:
            item.body = Reencoded(runs[i % runs.size()],
                                  [](journal::Recording& r) { r.header.archiveChecksum ^= 1; });
            break;
        case 6: item = load[i % runs.size()], item.valid = false, item.duplicate = true; break;
        case 7:
            item.name = "<script>";
            item.body = runs[i % runs.size()];
            break;
        }
        load.push_back(item);
    }
    std::shuffle(load.begin(), load.end(), std::mt19937(25));
    return load;
}

long PeakMemoryKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::atol(line.c_str() + 6);
    return -1;
}

// Sends the load from 16 clients at once, checks it and prints one line; false on a fault.
bool RunLoad(const char* database, const std::string& url, std::vector<Item> load)
{
    std::string game = KORIMO_RUN_DIR "/korimo";
    const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    BoardProcess board({"--database", url, "--game", game, "--workers", std::to_string(workers),
                        "--queue", "1000", "--uploads-per-minute", "0"});
    if (!board.Running())
        return false;
    std::atomic<size_t> next{0};
    const auto start = Clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
        clients.emplace_back([&] {
            auto client = board.Client();
            for (size_t i; (i = next++) < load.size();) {
                Item& item = load[i];
                const auto sent = Clock::now();
                const httplib::Result result = Upload(*client, item.name, item.key, item.body);
                item.seconds = std::chrono::duration<double>(Clock::now() - sent).count();
                item.status = result ? result->status : 0;
                if (item.status == 201)
                    item.id = nlohmann::json::parse(result->body)["id"].get<int64_t>();
            }
        });
    for (std::thread& client : clients)
        client.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const long peak = PeakMemoryKiB(board.Pid());

    int accepted = 0, faults = 0;
    std::vector<double> latencies;
    std::vector<int64_t> ids;
    auto client = board.Client();
    for (const Item& item : load) {
        latencies.push_back(item.seconds);
        if (item.status == 201) {
            ++accepted;
            ids.push_back(item.id);
            const httplib::Result stored =
                client->Get(("/runs/" + std::to_string(item.id) + ".krp").c_str());
            faults += !item.valid && !item.duplicate;
            faults += !stored || stored->body != item.body;
        } else {
            // A valid run refused, unless its copy was stored in its place.
            faults += item.valid && item.status != 409;
        }
    }
    std::sort(ids.begin(), ids.end());
    faults += std::adjacent_find(ids.begin(), ids.end()) != ids.end();
    const int valid = static_cast<int>(
        std::count_if(load.begin(), load.end(), [](const Item& i) { return i.valid; }));
    faults += accepted != valid;
    std::sort(latencies.begin(), latencies.end());
    std::printf("%-10s %5zu uploads  %4d accepted  %6.1f accepted/s  p50 %6.0f ms  p99 %6.0f ms  "
                "peak %6.1f MiB  %s\n",
                database, load.size(), accepted, accepted / seconds,
                latencies[latencies.size() / 2] * 1e3, latencies[latencies.size() * 99 / 100] * 1e3,
                peak / 1024.0,
                faults ? "FAULTS" : "every valid run stored once, every bad one refused");
    if (faults)
        std::fprintf(stderr, "board bench: %d faults on %s\n", faults, database);
    return faults == 0;
}

}  // namespace

int main()
{
    const char* wanted = std::getenv("BOARD_BENCH_UPLOADS");
    const int uploads = std::max(10, wanted ? std::atoi(wanted) : 1000);
    const int bad = uploads / 5;

    const auto flying = Clock::now();
    std::vector<std::string> runs;
    for (int i = 0; i < uploads - bad; ++i)
        runs.push_back(FlyOneMinute(7000 + 977 * static_cast<uint32_t>(i)));
    std::printf("%zu replays flown headless in %.1f s\n", runs.size(),
                std::chrono::duration<double>(Clock::now() - flying).count());
    const std::vector<Item> load = MakeLoad(runs, bad);

    bool good = RunLoad(
        "SQLite", "sqlite:" + (std::filesystem::current_path() / "board.sqlite").string(), load);
    const std::string bin = PostgresBin();
    if (bin.empty()) {
        std::printf("PostgreSQL: not installed (tools/setup-dev.sh installs it)\n");
        return good ? 0 : 1;
    }
    Cluster cluster(bin);
    if (!cluster.ready) {
        std::fprintf(stderr, "board bench: the PostgreSQL cluster did not start\n");
        return 1;
    }
    good = RunLoad("PostgreSQL", cluster.Url(), load) && good;
    return good ? 0 : 1;
}

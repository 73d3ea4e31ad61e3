// The real game on SDL's offscreen video driver and dummy audio driver, timed by itself
// (KORIMO_TIMING=1), its files kept in a scratch folder.
//
// Start-up as the player waits it: the game started ten times, each start timed by the game
// from its start to its first presented frame, with the processor time it took meanwhile
// (which other programs on a shared machine disturb less), and, as a reference, from outside
// (from the spawn to the moment its line arrives, which adds loading the executable and its
// libraries). Each start is ended as soon as it has shown its first frame.
//
// The frames' pace: the game started once more and left at the title for two seconds of its
// own clock, every frame's start as it reports it: how many frames came (holding F1 would save
// as many snapshots) and how far apart, beside the 17 ms it keeps between frame starts.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ScratchFolder.h"

extern char** environ;

namespace {

constexpr int kStarts = 10;
constexpr double kGoalMs = 100;
constexpr int kGiveUpMs = 10000;

constexpr uint32_t kPacedMs = 2000;
constexpr uint32_t kFrameInterval = 17;  // the shortest gap the game allows between frames
constexpr uint32_t kGoalMedianGapMs = 20;

// A running game and the read end of its standard error.
struct Game {
    pid_t pid = 0;
    int errors = -1;
    std::chrono::steady_clock::time_point spawned;
};

// Starts the game in the current folder, which it keeps its files in.
bool StartGame(Game& game)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> settings = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy",
                                         "KORIMO_TIMING=1"};
    std::vector<char*> environment;
    for (std::string& setting : settings)
        environment.push_back(setting.data());
    for (char** inherited = environ; *inherited; inherited++) {
        std::string name(*inherited, std::string(*inherited).find('='));
        if (name != "SDL_VIDEODRIVER" && name != "SDL_AUDIODRIVER" && name != "KORIMO_TIMING")
            environment.push_back(*inherited);
    }
    environment.push_back(nullptr);
    char* arguments[] = {const_cast<char*>(KORIMO_GAME_PATH), const_cast<char*>("--data-dir"),
                         const_cast<char*>("."), nullptr};

    game.spawned = std::chrono::steady_clock::now();
    int failed =
        posix_spawn(&game.pid, KORIMO_GAME_PATH, &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (failed != 0) {
        close(pipeEnds[0]);
        return false;
    }
    game.errors = pipeEnds[0];
    return true;
}

void StopGame(Game& game)
{
    kill(game.pid, SIGTERM);
    waitpid(game.pid, nullptr, 0);
    close(game.errors);
}

// Appends what the game says next; false once it has ended or stayed silent for kGiveUpMs.
bool ReadMore(const Game& game, std::string& output)
{
    pollfd waiting = {game.errors, POLLIN, 0};
    if (poll(&waiting, 1, kGiveUpMs) <= 0)
        return false;
    char text[512];
    ssize_t got = read(game.errors, text, sizeof text);
    if (got <= 0)
        return false;
    output.append(text, static_cast<size_t>(got));
    return true;
}

struct Start {
    double ownMs = -1;        // as the game measured it
    double processorMs = -1;  // the game's processor time meanwhile, all threads
    double outsideMs = -1;
};

// Runs the game once and reads its timing line; both times stay -1 when it never comes.
Start TimeOneStart()
{
    Start start;
    Game game;
    if (!StartGame(game))
        return start;
    std::string output;
    const std::string marker = "first frame presented after ";
    while (ReadMore(game, output)) {
        size_t at = output.find(marker);
        if (at != std::string::npos && output.find('\n', at) != std::string::npos) {
            start.outsideMs = std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - game.spawned)
                                  .count();
            char* rest = nullptr;
            start.ownMs = std::strtod(output.c_str() + at + marker.size(), &rest);
            if (rest && std::strncmp(rest, " ms (", 5) == 0)
                start.processorMs = std::atof(rest + 5);
            break;
        }
    }
    StopGame(game);
    if (start.ownMs < 0)
        std::fprintf(stderr, "no timing line from the game; it said: %s\n", output.c_str());
    return start;
}

template <typename Number>
double Median(std::vector<Number> values)
{
    std::sort(values.begin(), values.end());
    return (values[(values.size() - 1) / 2] + values[values.size() / 2]) / 2.0;
}

bool ReportStartUp()
{
    std::vector<double> own, processor, outside;
    std::printf("%-6s %14s %14s %14s\n", "start", "own ms", "processor ms", "outside ms");
    for (int i = 1; i <= kStarts; i++) {
        Start start = TimeOneStart();
        if (start.ownMs < 0)
            return false;
        own.push_back(start.ownMs);
        processor.push_back(start.processorMs);
        outside.push_back(start.outsideMs);
        std::printf("%-6d %14.1f %14.1f %14.1f\n", i, start.ownMs, start.processorMs,
                    start.outsideMs);
    }
    double worst = *std::max_element(own.begin(), own.end());
    std::printf("\nstart to first frame, own measure: median %.1f ms, worst %.1f ms; processor "
                "time: median %.1f ms; from outside: median %.1f ms\n",
                Median(own), worst, Median(processor), Median(outside));
    // The median, since other programs on a shared machine can stall any one start.
    std::printf("goal: median <= %.0f ms: %s\n", kGoalMs,
                Median(own) <= kGoalMs ? "met" : "MISSED");
    return true;
}

// The game's clock at every frame start it reported, from the first to kPacedMs later.
std::vector<uint32_t> PacedFrameStarts()
{
    std::vector<uint32_t> starts;
    Game game;
    if (!StartGame(game))
        return starts;
    std::string output;
    size_t unread = 0;
    const std::string marker = "korimo: frame starts at ";
    auto pacedLong = [&starts] {
        return !starts.empty() && starts.back() - starts.front() >= kPacedMs;
    };
    while (!pacedLong() && ReadMore(game, output)) {
        for (size_t end; (end = output.find('\n', unread)) != std::string::npos; unread = end + 1) {
            if (output.compare(unread, marker.size(), marker) == 0)
                starts.push_back(static_cast<uint32_t>(
                    std::strtoul(output.c_str() + unread + marker.size(), nullptr, 10)));
        }
    }
    StopGame(game);
    while (pacedLong())
        starts.pop_back();
    if (starts.size() < 2)
        std::fprintf(stderr, "no frames reported by the game; it said: %s\n", output.c_str());
    return starts;
}

bool ReportPace()
{
    std::vector<uint32_t> starts = PacedFrameStarts();
    if (starts.size() < 2)
        return false;
    std::vector<uint32_t> gaps;
    for (size_t i = 1; i < starts.size(); i++)
        gaps.push_back(starts[i] - starts[i - 1]);
    const auto [shortest, longest] = std::minmax_element(gaps.begin(), gaps.end());
    const double median = Median(gaps);
    std::printf("\nframes at the title, %u ms of the game's clock:\n", kPacedMs);
    std::printf("%-8s %8s %14s %14s %14s\n", "", "frames", "median gap ms", "shortest ms",
                "longest ms");
    std::printf("%-8s %8zu %14.1f %14u %14u\n", "game", starts.size(), median, *shortest, *longest);
    std::printf("%-8s %8.1f %14u %14s %14s\n", "target",
                static_cast<double>(kPacedMs) / kFrameInterval, kFrameInterval,
                (">= " + std::to_string(kFrameInterval)).c_str(), "");
    std::printf("goal: no gap < %u ms: %s; median gap <= %u ms: %s\n", kFrameInterval,
                *shortest >= kFrameInterval ? "met" : "MISSED", kGoalMedianGapMs,
                median <= kGoalMedianGapMs ? "met" : "MISSED");
    return true;
}

}  // namespace

int main()
{
    const ScratchFolder scratch;
    return ReportStartUp() && ReportPace() ? 0 : 1;
}

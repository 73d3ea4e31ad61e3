// Start-up time as the player waits it: the game started ten times on SDL's offscreen video
// driver and dummy audio driver, each start timed by the game itself (KORIMO_TIMING=1: from its
// start to its first presented frame, with the processor time it took meanwhile, which other
// programs on a shared machine disturb less) and, as a reference, from outside (from the spawn to the
// moment its line arrives, which adds loading the executable and its libraries). Each start is
// ended as soon as it has shown its first frame.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kStarts = 10;
constexpr double kGoalMs = 100;
constexpr int kGiveUpMs = 10000;

struct Start {
    double ownMs = -1;  // as the game measured it
    double processorMs = -1;  // the game's processor time meanwhile, all threads
    double outsideMs = -1;
};

// Runs the game once and reads its timing line; both times stay -1 when it never comes.
Start TimeOneStart()
{
    Start start;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return start;
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
    char* arguments[] = {const_cast<char*>(KORIMO_GAME_PATH), nullptr};

    auto spawned = std::chrono::steady_clock::now();
    pid_t game = 0;
    int failed = posix_spawn(&game, KORIMO_GAME_PATH, &actions, nullptr, arguments,
                             environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (failed != 0) {
        close(pipeEnds[0]);
        return start;
    }

    std::string output;
    const std::string marker = "first frame presented after ";
    for (;;) {
        pollfd waiting = {pipeEnds[0], POLLIN, 0};
        if (poll(&waiting, 1, kGiveUpMs) <= 0)
            break;
        char text[512];
        ssize_t got = read(pipeEnds[0], text, sizeof text);
        if (got <= 0)
            break;
        output.append(text, static_cast<size_t>(got));
        size_t at = output.find(marker);
        if (at != std::string::npos && output.find('\n', at) != std::string::npos) {
            start.outsideMs = std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - spawned)
                                  .count();
            char* rest = nullptr;
            start.ownMs = std::strtod(output.c_str() + at + marker.size(), &rest);
            if (rest && std::strncmp(rest, " ms (", 5) == 0)
                start.processorMs = std::atof(rest + 5);
            break;
        }
    }
    kill(game, SIGTERM);
    waitpid(game, nullptr, 0);
    close(pipeEnds[0]);
    if (start.ownMs < 0)
        std::fprintf(stderr, "no timing line from the game; it said: %s\n", output.c_str());
    return start;
}

}  // namespace

int main()
{
    // The game reads its archive from the folder it starts in.
    if (chdir(KORIMO_RUN_DIR) != 0) {
        std::perror(KORIMO_RUN_DIR);
        return 1;
    }
    std::vector<double> own, processor, outside;
    std::printf("%-6s %14s %14s %14s\n", "start", "own ms", "processor ms", "outside ms");
    for (int i = 1; i <= kStarts; i++) {
        Start start = TimeOneStart();
        if (start.ownMs < 0)
            return 1;
        own.push_back(start.ownMs);
        processor.push_back(start.processorMs);
        outside.push_back(start.outsideMs);
        std::printf("%-6d %14.1f %14.1f %14.1f\n", i, start.ownMs, start.processorMs,
                    start.outsideMs);
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
    };
    double worst = *std::max_element(own.begin(), own.end());
    std::printf("\nstart to first frame, own measure: median %.1f ms, worst %.1f ms; processor "
                "time: median %.1f ms; from outside: median %.1f ms\n",
                median(own), worst, median(processor), median(outside));
    // The median, since other programs on a shared machine can stall any one start.
    std::printf("goal: median <= %.0f ms: %s\n", kGoalMs,
                median(own) <= kGoalMs ? "met" : "MISSED");
    return 0;
}

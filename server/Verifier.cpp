#include "server/Verifier.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <regex>

namespace board {

namespace {

using Clock = std::chrono::steady_clock;

// In the child between fork and exec: only async-signal-safe calls, and _exit on failure.
[[noreturn]] void BecomeVerifier(const std::string& game, const std::string& replay,
                                 const std::string& scratch, const VerifierLimits& limits,
                                 int outputFd)
{
    const rlimit cpu{static_cast<rlim_t>(limits.cpuSeconds),
                     static_cast<rlim_t>(limits.cpuSeconds)};
    const rlimit space{static_cast<rlim_t>(limits.addressSpace),
                       static_cast<rlim_t>(limits.addressSpace)};
    const int devNull = open("/dev/null", O_RDONLY);
    // A group of its own, so that whatever it starts is stopped with it.
    if (setpgid(0, 0) != 0 || setrlimit(RLIMIT_CPU, &cpu) != 0 ||
        (limits.addressSpace > 0 && setrlimit(RLIMIT_AS, &space) != 0) || devNull < 0 ||
        dup2(devNull, 0) < 0 || dup2(outputFd, 1) < 0 || dup2(outputFd, 2) < 0 ||
        chdir(scratch.c_str()) != 0)
        _exit(127);
    closefrom(3);
    const std::string home = "HOME=" + scratch;
    char* const argv[] = {const_cast<char*>(game.c_str()), const_cast<char*>("--verify"),
                          const_cast<char*>(replay.c_str()), nullptr};
    char* const envp[] = {const_cast<char*>(home.c_str()), const_cast<char*>("LC_ALL=C"), nullptr};
    execve(game.c_str(), argv, envp);
    _exit(127);
}

// Reads the child's output until it ends, the limit is reached or the time is up; false when
// the child had to be stopped.
bool ReadOutput(int fd, pid_t child, Clock::time_point deadline, size_t limit, std::string& output)
{
    char buffer[1024];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = read(fd, buffer, std::min(sizeof buffer, limit + 1 - output.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return true;
        output.append(buffer, static_cast<size_t>(got));
        if (output.size() > limit)
            return false;
    }
}

// The child's exit code once it has ended, -1 for a signal; kills it at the deadline.
int AwaitChild(pid_t child, Clock::time_point deadline, bool& timedOut)
{
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            timedOut = true;
            kill(-child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        usleep(2000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

Verdict RunVerifier(const std::string& game, const std::string& replay, const std::string& scratch,
                    const VerifierLimits& limits)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return {.reason = "the board could not start its verifier"};
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(limits.wallSeconds);
    const pid_t child = fork();
    if (child == 0)
        BecomeVerifier(game, replay, scratch, limits, pipeFds[1]);
    close(pipeFds[1]);
    if (child > 0)
        setpgid(child, child);  // also here, so that no kill can come before the child's own
    if (child < 0) {
        close(pipeFds[0]);
        return {.reason = "the board could not start its verifier"};
    }
    std::string output;
    const bool complete = ReadOutput(pipeFds[0], child, deadline, limits.outputBytes, output);
    close(pipeFds[0]);
    bool timedOut = false;
    if (!complete)
        kill(-child, SIGKILL);
    const int exitCode = AwaitChild(child, deadline, timedOut);
    if (timedOut || (!complete && output.size() <= limits.outputBytes))
        return {.reason = "the replay took longer to verify than the board allows"};
    if (!complete)
        return {.reason = "the verifier said more than the board reads"};
    if (exitCode == 127)
        return {.reason = "the board could not start its verifier"};
    return ReadVerdict(output, exitCode, replay);
}

Verdict ReadVerdict(const std::string& output, int exitCode, const std::string& replay)
{
    if (exitCode < 0)
        return {.reason = "the verifier crashed on this replay"};
    std::string line = output;
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    const bool oneLine = !line.empty() && line.size() <= 300 &&
                         line.find_first_of("\n\r") == std::string::npos &&
                         std::all_of(line.begin(), line.end(),
                                     [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
    if (!oneLine)
        return {.reason = "the verifier gave an answer the board does not understand"};
    static const std::regex kVerified("(one minute|five minutes), score (\\d{1,9}), (\\d{1,9}) "
                                      "frames, checksum [0-9a-f]{16}: verified");
    std::smatch match;
    if (exitCode == 0 && std::regex_match(line, match, kVerified))
        return {true, match[1] == "one minute" ? 1 : 5, std::stoll(match[2]), std::stoll(match[3]),
                ""};
    if (exitCode != 1)
        return {.reason = "the verifier gave an answer the board does not understand"};
    // The verifier names the file it read: the player knows it as their replay.
    if (line.starts_with("korimo: "))
        line.erase(0, 8);
    if (line.starts_with(replay + ": "))
        line.erase(0, replay.size() + 2);
    for (size_t at; (at = line.find(replay)) != std::string::npos;)
        line.replace(at, replay.size(), "the replay");
    return {.reason = line};
}

}  // namespace board

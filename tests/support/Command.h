#pragma once
// A shell command run to its end: what it printed and its exit code (-1 when it did not exit).

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct CommandOutcome {
    int exitCode = -1;
    std::string output;
};

inline CommandOutcome RunCommand(const std::string& command)
{
    CommandOutcome outcome;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            outcome.output.append(buffer, got);
        const int status = pclose(pipe);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return outcome;
}

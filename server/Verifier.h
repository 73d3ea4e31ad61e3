#pragma once
// The game's own --verify, run on an uploaded replay in a child process with limits, so that
// a replay that crashes, hangs or floods the verifier costs the board one refusal and nothing
// else.

#include <cstdint>
#include <string>

namespace board {

#ifdef KORIMO_SANITIZED
// AddressSanitizer's shadow memory takes terabytes of address space: no limit of it can hold.
inline constexpr int64_t kVerifierAddressSpace = 0;
#else
inline constexpr int64_t kVerifierAddressSpace = int64_t{512} << 20;
#endif

struct VerifierLimits {
    int cpuSeconds = 10;
    int64_t addressSpace = kVerifierAddressSpace;  // bytes; 0: no limit
    int wallSeconds = 20;
    size_t outputBytes = 4096;
};

struct Verdict {
    bool verified = false;
    // Verified: the run's length in minutes, score and frames. Refused: one line for the player.
    int length = 0;
    int64_t score = 0;
    int64_t frames = 0;
    std::string reason;
};

// Runs "game --verify replay" without a shell, in scratch (its working and home folder).
Verdict RunVerifier(const std::string& game, const std::string& replay, const std::string& scratch,
                    const VerifierLimits& limits);

// What the verifier's output and exit status mean. exitCode is the child's exit code, or -1
// when a signal ended it.
Verdict ReadVerdict(const std::string& output, int exitCode, const std::string& replay);

}  // namespace board

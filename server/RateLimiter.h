#pragma once
// Uploads per address in the last minute, kept in memory only and forgotten after the minute.

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace board {

class RateLimiter {
public:
    using Clock = std::chrono::steady_clock;

    // perMinute 0: no limit.
    explicit RateLimiter(int perMinute) : perMinute(perMinute) {}

    // Counts an upload from the address at now; 0 when it may go on, else the seconds until
    // the address may upload again.
    int Admit(const std::string& address, Clock::time_point now = Clock::now());

private:
    void ForgetOlderThan(Clock::time_point cutoff);

    const int perMinute;
    std::mutex mutex;
    std::unordered_map<std::string, std::deque<Clock::time_point>> recent;
    Clock::time_point lastSweep{};
};

}  // namespace board

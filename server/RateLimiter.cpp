#include "server/RateLimiter.h"

namespace board {

int RateLimiter::Admit(const std::string& address, Clock::time_point now)
{
    if (perMinute <= 0)
        return 0;
    const Clock::time_point cutoff = now - std::chrono::minutes(1);
    std::lock_guard lock(mutex);
    // Addresses that went quiet are dropped once a minute, so the table stays as small as the
    // last minute's callers.
    if (now - lastSweep > std::chrono::minutes(1)) {
        ForgetOlderThan(cutoff);
        lastSweep = now;
    }
    std::deque<Clock::time_point>& times = recent[address];
    while (!times.empty() && times.front() <= cutoff)
        times.pop_front();
    if (static_cast<int>(times.size()) >= perMinute) {
        const auto wait = std::chrono::ceil<std::chrono::seconds>(times.front() - cutoff);
        return std::max<int>(1, static_cast<int>(wait.count()));
    }
    times.push_back(now);
    return 0;
}

void RateLimiter::ForgetOlderThan(Clock::time_point cutoff)
{
    for (auto it = recent.begin(); it != recent.end();) {
        while (!it->second.empty() && it->second.front() <= cutoff)
            it->second.pop_front();
        it = it->second.empty() ? recent.erase(it) : std::next(it);
    }
}

}  // namespace board

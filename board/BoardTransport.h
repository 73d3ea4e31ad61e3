#pragma once
// One HTTP exchange with a board, made with each system's own network service (libcurl on the
// desktop, WinHTTP on Windows). A transport only carries bytes: what an answer means is
// decided once, in BoardApi. Whatever answers is a stranger, so every transport keeps the same
// promises: only http and https, no redirects followed, the answer's body read up to
// request.largestAnswer bytes (beyond that the exchange fails), a time limit on the whole
// exchange, and an end soon after stop is set.

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct HttpRequest {
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    const std::vector<uint8_t>* body = nullptr;  // posted when set; a GET without
    size_t largestAnswer = 16 * 1024;
};

struct HttpAnswer {
    int status = 0;          // 0 when no whole answer came
    std::string failure;     // why not, for the player
    std::string body;        // at most the request's largestAnswer bytes
    std::string retryAfter;  // the Retry-After header's value, as sent

    static HttpAnswer Failed(std::string why)
    {
        HttpAnswer answer;
        answer.failure = std::move(why);
        return answer;
    }
};

// How long an exchange may take: to connect, and in all.
struct ExchangeLimits {
    long connectSeconds = 10;
    long totalSeconds = 40;  // the board plays a run again before it answers an upload
};

class BoardTransport {
public:
    virtual ~BoardTransport() = default;
    virtual HttpAnswer Exchange(const HttpRequest& request, const std::atomic<bool>& stop) = 0;
};

#pragma once
// The board's answers, apart from the network: what an upload, a listing or a removal gets.
// The HTTP server (HttpServer) only carries requests here and replies back, so that the
// handler can also be driven directly, as the fuzz target does.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "server/RateLimiter.h"
#include "server/RunStore.h"
#include "server/Verifier.h"
#include "server/VerifyQueue.h"

namespace board {

struct Reply {
    int status = 200;
    std::string body;  // JSON unless contentType says otherwise
    std::string contentType = "application/json";
    int retryAfter = 0;  // seconds; 0: no Retry-After
};

// A one-sentence refusal as the interface gives it: {"error": "..."}.
Reply Refusal(int status, const std::string& sentence, int retryAfter = 0);

struct Upload {
    std::string address;    // the caller's, for the limiter only
    std::string_view name;  // as given
    std::string_view key;   // X-Player-Key
    std::string_view body;  // the replay file
};

inline constexpr size_t kMaxUploadBytes = 64 * 1024;

class Board {
public:
    // Verifies the replay file's bytes: the game's --verify in a child process, or a stand-in.
    using Verify = std::function<Verdict(std::string_view replay)>;

    struct Settings {
        int workers = 1;
        int waiting = 16;
        int uploadsPerMinute = 10;
        std::string adminToken;  // empty: removal is refused to everyone
    };

    Board(RunStore& store, Verify verify, const Settings& settings);

    Reply Post(const Upload& upload);
    Reply Top(std::string_view length, std::string_view limit);
    Reply Run(std::string_view id);
    Reply ReplayFile(std::string_view id);
    Reply Remove(std::string_view id, std::string_view authorization);
    // The HTML page: both top tens and how to take part.
    Reply Page();

    RunStore& store;

private:
    Reply Accept(const Upload& upload, const std::string& name, const std::string& sha256);

    Verify verify;
    VerifyQueue queue;
    RateLimiter limiter;
    std::string adminToken;
};

}  // namespace board

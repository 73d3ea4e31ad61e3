#pragma once
// How a run reaches a board: one upload, answered or not. Each system sends its own way (curl
// on the desktop; others can sit beside it); what the answer means is decided by the sender.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct BoardAnswer {
    int status = 0;           // the HTTP status; 0 when no usable answer came
    std::string message;      // the board's own sentence ("error"), or why nothing came
    int rank = 0;             // with 201
    uint32_t retryAfter = 0;  // seconds, with 429 and 503
};

class BoardTransport {
public:
    virtual ~BoardTransport() = default;
    // Posts the replay file to board/api/runs under the name, with the player's key; gives up
    // soon after stop is set.
    virtual BoardAnswer PostRun(const std::string& board, const std::string& name,
                                const std::string& key, const std::vector<uint8_t>& replay,
                                const std::atomic<bool>& stop) = 0;
};

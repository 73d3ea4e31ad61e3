#pragma once
// What the game asks of a board, and what the board's answers mean, over any transport.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "board/BoardTransport.h"

struct BoardAnswer {
    int status = 0;           // the HTTP status; 0 when no usable answer came
    std::string message;      // the board's own sentence ("error"), or why nothing came
    int rank = 0;             // with 201
    uint32_t retryAfter = 0;  // seconds, with 429 and 503
};

// Posts the replay file to board/api/runs under the name, with the player's key.
BoardAnswer PostRun(BoardTransport& transport, const std::string& board, const std::string& name,
                    const std::string& key, const std::vector<uint8_t>& replay,
                    const std::atomic<bool>& stop);

// The name as it may stand in a URL's query: letters, digits and -._~ as they are, the rest
// %XX.
std::string EscapedForQuery(std::string_view text);
// Retry-After in seconds (its delay form); a date, nonsense or nothing is 0, and more than an
// hour is taken as an hour.
uint32_t RetryAfterSeconds(std::string_view value);
// Text from a stranger made safe for one line on a terminal: control and non-ASCII bytes
// become '?', and it ends after 200 characters.
std::string Printable(std::string text);

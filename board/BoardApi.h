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
    int ranked = 0;           // with 201: the names ranked at the run's length; 0 if not said
    uint32_t retryAfter = 0;  // seconds, with 429 and 503
};

// One row of a board's ranking, each field checked.
struct BoardRun {
    int rank = 0;
    int64_t id = 0;
    std::string name;  // made Printable
    int64_t score = 0;
    int64_t recorded = 0;  // seconds since 1970
    int64_t received = 0;
};

struct BoardTop {
    std::string failure;         // empty when the rows are the board's; else why not, in one line
    int ranked = 0;              // the names ranked at that length; 0 when the board does not say
    std::vector<BoardRun> runs;  // best first, at most the number asked for
};

// The most rows a board gives in one ranking, and the largest replay file it takes.
constexpr int kMostBoardRuns = 100;
constexpr size_t kLargestBoardReplay = 64 * 1024;

// Posts the replay file to board/api/runs under the name, with the player's key.
BoardAnswer PostRun(BoardTransport& transport, const std::string& board, const std::string& name,
                    const std::string& key, const std::vector<uint8_t>& replay,
                    const std::atomic<bool>& stop);
// The same in two halves, for a transport that answers later (the page's): the request, which
// holds on to replay, and what the board's answer to it says.
HttpRequest RunPost(const std::string& board, const std::string& name, const std::string& key,
                    const std::vector<uint8_t>& replay);
BoardAnswer ReadRunAnswer(const HttpAnswer& http);
// Whether the board refused a run for good, so that sending it again cannot help: not a
// replay, another player's name, a run it has, too large, or one that does not verify.
bool RefusedForGood(int status);

// Asks the board for the best runs of a length (1 or 5 minutes), at most limit of them.
BoardTop FetchTop(BoardTransport& transport, const std::string& board, int length, int limit,
                  const std::atomic<bool>& stop);

// Fetches the file at url (a board's /runs/ID.krp), at most kLargestBoardReplay bytes. False
// with one line in error when no such file came; what came is still to be checked as a replay.
bool FetchReplayFile(BoardTransport& transport, const std::string& url, std::vector<uint8_t>& bytes,
                     std::string& error, const std::atomic<bool>& stop);

// The name as it may stand in a URL's query: letters, digits and -._~ as they are, the rest
// %XX.
std::string EscapedForQuery(std::string_view text);
// Retry-After in seconds (its delay form); a date, nonsense or nothing is 0, and more than an
// hour is taken as an hour.
uint32_t RetryAfterSeconds(std::string_view value);
// Text from a stranger made safe for one line on a terminal: control and non-ASCII bytes
// become '?', and it ends after 200 characters.
std::string Printable(std::string text);

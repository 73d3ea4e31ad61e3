// The board's upload handler without the network, over an SQLite database in memory and a
// verifier that passes every file it is given: whatever name, key and body arrive, the answer
// is one of the interface's statuses with a JSON body, a run is stored exactly when the answer
// is 201, and the listings stay sound.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "server/Board.h"

namespace {

board::Board& TheBoard()
{
    static board::RunStore store(board::OpenSqlDatabase("sqlite::memory:"));
    static board::Board instance(
        store,
        [](std::string_view replay) {
            return board::Verdict{true, replay.size() % 2 ? 1 : 5,
                                  static_cast<int64_t>(replay.size()), 3530, ""};
        },
        {.workers = 1, .waiting = 0, .uploadsPerMinute = 0, .adminToken = "a-fuzzing-token-1"});
    return instance;
}

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

}  // namespace

// Input: a byte giving the name's length, the name, 64 bytes of key, then the body.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t nameSize = input.empty() ? 0 : static_cast<uint8_t>(input[0]) % 24;
    const std::string_view rest = input.substr(std::min<size_t>(1, input.size()));
    const std::string_view name = rest.substr(0, nameSize);
    const std::string_view key = rest.substr(std::min(nameSize, rest.size()), 64);
    const std::string_view body = rest.substr(std::min(nameSize + 64, rest.size()));

    board::Board& board = TheBoard();
    const int64_t before = board.store.CountRuns();
    const board::Reply reply = board.Post({"127.0.0.1", name, key, body});
    static const std::set<int> kStatuses = {201, 400, 403, 409, 413, 422, 429, 503};
    Check(kStatuses.count(reply.status) == 1);
    const auto answer = nlohmann::json::parse(reply.body, nullptr, false);
    Check(answer.is_object());
    Check(board.store.CountRuns() == before + (reply.status == 201));
    if (reply.status != 201)
        Check(answer.contains("error") && answer["error"].is_string());

    // The same bytes as the other requests' parameters.
    Check(board.Top(name, key).body.size() > 0);
    Check(board.Run(name).status == 404 || board.Run(name).status == 200);
    Check(board.Remove(name, key).status == 401);
    Check(board.Page().body.find("<script") == std::string::npos);
    return 0;
}

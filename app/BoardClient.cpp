#include "app/BoardClient.h"

#include <atomic>
#include <ctime>

#include "app/Replays.h"
#include "board/BoardApi.h"

namespace {

constexpr int kTopRows = 10;

std::string Date(int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    char text[16] = "";
#ifdef _WIN32
    const bool known = gmtime_s(&utc, &time) == 0;
#else
    const bool known = gmtime_r(&time, &utc) != nullptr;
#endif
    if (known)
        std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
    return text;
}

}  // namespace

int PrintBoardTop(BoardTransport& transport, const std::string& board, int length, std::FILE* out,
                  std::FILE* err)
{
    if (board.empty()) {
        std::fputs("korimo: no board is set: give one with --board URL or as board = URL in "
                   "settings.ini\n",
                   err);
        return 1;
    }
    const std::atomic<bool> stop{false};
    const BoardTop top = FetchTop(transport, board, length, kTopRows, stop);
    if (!top.failure.empty()) {
        std::fprintf(err, "korimo: the board at %s %s\n", Printable(board).c_str(),
                     top.failure.c_str());
        return 1;
    }
    std::fprintf(out, "The board at %s, %s runs", Printable(board).c_str(),
                 GameLengthName(length == 5 ? 1 : 0));
    if (top.ranked > 0)
        std::fprintf(out, " (%d %s ranked)", top.ranked, top.ranked == 1 ? "name" : "names");
    std::fputs(":\n", out);
    if (top.runs.empty())
        std::fputs("  no runs yet\n", out);
    for (const BoardRun& run : top.runs)
        std::fprintf(out, "%4d  %-16s  %010lld  %s\n", run.rank, run.name.c_str(),
                     static_cast<long long>(run.score), Date(run.recorded).c_str());
    return 0;
}

bool IsReplayAddress(std::string_view where)
{
    return where.starts_with("http://") || where.starts_with("https://");
}

bool FetchReplay(BoardTransport& transport, const std::string& url, journal::Recording& recording,
                 std::string& error)
{
    const std::atomic<bool> stop{false};
    std::vector<uint8_t> bytes;
    if (!FetchReplayFile(transport, url, bytes, error, stop))
        return false;
    if (!ReadReplay(bytes, recording, error)) {
        error = Printable(url) + ": " + error;
        return false;
    }
    return true;
}

BoardNews NewsOf(const SentRun& run)
{
    switch (run.stage) {
    case SentRun::Stage::Sending: return {BoardNews::Stage::Sending};
    case SentRun::Stage::Placed: return {BoardNews::Stage::Placed, run.rank, run.ranked};
    case SentRun::Stage::Waiting: return {BoardNews::Stage::Waiting};
    case SentRun::Stage::None:
    case SentRun::Stage::Refused: break;
    }
    return {};
}

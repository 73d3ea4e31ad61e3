#include "board/BoardApi.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

namespace {

using nlohmann::json;

constexpr uint32_t kLongestWait = 3600;
constexpr size_t kLongestName = 16;
// Far beyond any real board, small enough for any arithmetic a caller does with them.
constexpr int64_t kMostRanked = 1'000'000'000;
constexpr int64_t kLatestDate = 253'402'300'799;  // the last second of the year 9999
// A ranking of a hundred rows is a few kilobytes.
constexpr size_t kLargestTop = 64 * 1024;

std::string WithoutTrailingSlashes(std::string url)
{
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    return url;
}

// A whole number from low to high under the key; floats, strings and numbers out of range are
// nothing.
std::optional<int64_t> WholeNumber(const json& object, const char* key, int64_t low, int64_t high)
{
    if (!object.is_object())
        return std::nullopt;
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_integer())
        return std::nullopt;
    if (found->is_number_unsigned() && found->get<uint64_t>() > static_cast<uint64_t>(high))
        return std::nullopt;
    const int64_t value = found->get<int64_t>();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// The board's own sentence with a refusal, if it sent one.
std::string BoardSentence(const json& body)
{
    if (body.is_object() && body.contains("error") && body["error"].is_string())
        return Printable(body["error"].get<std::string>());
    return "";
}

// Why an exchange that did not bring what was asked for failed, in a few words.
std::string Unanswered(const HttpAnswer& http)
{
    if (http.status == 0)
        return "gave no answer (" + Printable(http.failure) + ")";
    const std::string sentence = BoardSentence(json::parse(http.body, nullptr, false));
    return "answered " + std::to_string(http.status) + (sentence.empty() ? "" : ": " + sentence);
}

std::optional<BoardRun> ReadRun(const json& row)
{
    if (!row.is_object() || !row.contains("name") || !row["name"].is_string())
        return std::nullopt;
    const std::string name = row["name"].get<std::string>();
    const auto rank = WholeNumber(row, "rank", 1, kMostRanked);
    const auto id = WholeNumber(row, "id", 1, std::numeric_limits<int64_t>::max());
    const auto score = WholeNumber(row, "score", 0, std::numeric_limits<int32_t>::max());
    const auto recorded = WholeNumber(row, "recorded", 0, kLatestDate);
    const auto received = WholeNumber(row, "received", 0, kLatestDate);
    if (name.empty() || name.size() > kLongestName || !rank || !id || !score || !recorded ||
        !received)
        return std::nullopt;
    return BoardRun{static_cast<int>(*rank), *id, Printable(name), *score, *recorded, *received};
}

}  // namespace

std::string EscapedForQuery(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
            escaped += c;
        } else {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 15];
        }
    }
    return escaped;
}

uint32_t RetryAfterSeconds(std::string_view value)
{
    size_t at = value.find_first_not_of(' ');
    uint64_t seconds = 0;
    for (; at < value.size() && std::isdigit(static_cast<unsigned char>(value[at])); at++) {
        seconds = seconds * 10 + static_cast<uint64_t>(value[at] - '0');
        if (seconds > kLongestWait)
            return kLongestWait;
    }
    return static_cast<uint32_t>(seconds);
}

std::string Printable(std::string text)
{
    if (text.size() > 200)
        text.resize(200);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            c = '?';
    }
    return text;
}

HttpRequest RunPost(const std::string& board, const std::string& name, const std::string& key,
                    const std::vector<uint8_t>& replay)
{
    HttpRequest request;
    request.url = WithoutTrailingSlashes(board) + "/api/runs?name=" + EscapedForQuery(name);
    request.headers = {{"X-Player-Key", key}, {"Content-Type", "application/octet-stream"}};
    request.body = &replay;
    return request;
}

BoardAnswer ReadRunAnswer(const HttpAnswer& http)
{
    BoardAnswer answer;
    if (http.status == 0) {
        answer.message = Printable(http.failure);
        return answer;
    }
    const json body = json::parse(http.body, nullptr, false);
    if (http.status == 201) {
        const auto rank = WholeNumber(body, "rank", 1, kMostRanked);
        if (!rank) {
            answer.message = "the board's answer to a stored run names no rank";
            return answer;
        }
        answer.rank = static_cast<int>(*rank);
        // Boards that count the names they rank say so; a count that is nonsense is left out.
        const auto ranked = WholeNumber(body, "ranked", 1, kMostRanked);
        if (ranked && *ranked >= answer.rank)
            answer.ranked = static_cast<int>(*ranked);
    } else {
        answer.message = BoardSentence(body);
        if (answer.message.empty())
            answer.message = "the board answered " + std::to_string(http.status);
    }
    answer.status = http.status;
    answer.retryAfter = RetryAfterSeconds(http.retryAfter);
    return answer;
}

BoardAnswer PostRun(BoardTransport& transport, const std::string& board, const std::string& name,
                    const std::string& key, const std::vector<uint8_t>& replay,
                    const std::atomic<bool>& stop)
{
    return ReadRunAnswer(transport.Exchange(RunPost(board, name, key, replay), stop));
}

bool RefusedForGood(int status)
{
    return status == 400 || status == 403 || status == 409 || status == 413 || status == 422;
}

BoardTop FetchTop(BoardTransport& transport, const std::string& board, int length, int limit,
                  const std::atomic<bool>& stop)
{
    limit = std::clamp(limit, 1, kMostBoardRuns);
    HttpRequest request;
    request.url = WithoutTrailingSlashes(board) + "/api/top?length=" + std::to_string(length) +
                  "&limit=" + std::to_string(limit);
    request.largestAnswer = kLargestTop;
    const HttpAnswer http = transport.Exchange(request, stop);

    BoardTop top;
    if (http.status != 200) {
        top.failure = Unanswered(http);
        return top;
    }
    const json body = json::parse(http.body, nullptr, false);
    const bool listed = WholeNumber(body, "length", length, length) && body.contains("runs") &&
                        body["runs"].is_array();
    if (!listed || body["runs"].size() > static_cast<size_t>(limit)) {
        top.failure = "answered with no ranking of " + std::to_string(length) + "-minute runs";
        return top;
    }
    for (const json& row : body["runs"]) {
        const std::optional<BoardRun> run = ReadRun(row);
        if (!run || (!top.runs.empty() && run->rank < top.runs.back().rank)) {
            top.failure = "answered with a ranking whose rows make no sense";
            top.runs.clear();
            return top;
        }
        top.runs.push_back(*run);
    }
    if (body.contains("ranked")) {
        const auto ranked = WholeNumber(body, "ranked", 0, kMostRanked);
        if (ranked && *ranked >= static_cast<int64_t>(top.runs.size()))
            top.ranked = static_cast<int>(*ranked);
    }
    return top;
}

bool FetchReplayFile(BoardTransport& transport, const std::string& url, std::vector<uint8_t>& bytes,
                     std::string& error, const std::atomic<bool>& stop)
{
    HttpRequest request;
    request.url = url;
    request.largestAnswer = kLargestBoardReplay;
    const HttpAnswer http = transport.Exchange(request, stop);
    if (http.status != 200) {
        error = Printable(url) + ": " + Unanswered(http);
        return false;
    }
    bytes.assign(http.body.begin(), http.body.end());
    return true;
}

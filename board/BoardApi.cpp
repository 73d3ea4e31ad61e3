#include "board/BoardApi.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace {

constexpr uint32_t kLongestWait = 3600;

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

BoardAnswer PostRun(BoardTransport& transport, const std::string& board, const std::string& name,
                    const std::string& key, const std::vector<uint8_t>& replay,
                    const std::atomic<bool>& stop)
{
    std::string url = board;
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    HttpRequest request;
    request.url = url + "/api/runs?name=" + EscapedForQuery(name);
    request.headers = {{"X-Player-Key", key}, {"Content-Type", "application/octet-stream"}};
    request.body = &replay;
    const HttpAnswer http = transport.Exchange(request, stop);

    BoardAnswer answer;
    if (http.status == 0) {
        answer.message = Printable(http.failure);
        return answer;
    }
    const nlohmann::json json = nlohmann::json::parse(http.body, nullptr, false);
    if (http.status == 201) {
        if (!json.is_object() || !json.contains("rank") || !json["rank"].is_number_integer()) {
            answer.message = "the board's answer to a stored run names no rank";
            return answer;
        }
        answer.rank = json["rank"].get<int>();
    } else if (json.is_object() && json.contains("error") && json["error"].is_string()) {
        answer.message = Printable(json["error"].get<std::string>());
    } else {
        answer.message = "the board answered " + std::to_string(http.status);
    }
    answer.status = http.status;
    answer.retryAfter = RetryAfterSeconds(http.retryAfter);
    return answer;
}

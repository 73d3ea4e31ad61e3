#include "board/CurlTransport.h"

#include <curl/curl.h>

#include <cctype>
#include <nlohmann/json.hpp>

namespace {

constexpr uint32_t kLongestWait = 3600;  // a Retry-After beyond an hour is taken as an hour

struct Received {
    std::string body;
    size_t limit = 0;
    bool tooLong = false;
    uint32_t retryAfter = 0;
};

size_t TakeBody(char* data, size_t size, size_t count, void* user)
{
    auto& received = *static_cast<Received*>(user);
    const size_t bytes = size * count;
    if (received.body.size() + bytes > received.limit) {
        received.tooLong = true;
        return 0;  // ends the transfer
    }
    received.body.append(data, bytes);
    return bytes;
}

size_t TakeHeader(char* data, size_t size, size_t count, void* user)
{
    auto& received = *static_cast<Received*>(user);
    const std::string line(data, size * count);
    constexpr char kName[] = "retry-after:";
    if (line.size() > sizeof kName) {
        std::string start = line.substr(0, sizeof kName - 1);
        for (char& c : start)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (start == kName) {
            uint64_t seconds = 0;
            for (size_t i = sizeof kName - 1; i < line.size() && seconds <= kLongestWait; i++) {
                if (std::isdigit(static_cast<unsigned char>(line[i])))
                    seconds = seconds * 10 + (line[i] - '0');
                else if (line[i] != ' ')
                    break;
            }
            received.retryAfter = static_cast<uint32_t>(std::min<uint64_t>(seconds, kLongestWait));
        }
    }
    return size * count;
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

int StopWhenAsked(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
}

}  // namespace

CurlTransport::CurlTransport(const CurlLimits& limits) : limits(limits)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

CurlTransport::~CurlTransport()
{
    curl_global_cleanup();
}

BoardAnswer CurlTransport::PostRun(const std::string& board, const std::string& name,
                                   const std::string& key, const std::vector<uint8_t>& replay,
                                   const std::atomic<bool>& stop)
{
    BoardAnswer answer;
    CURL* curl = curl_easy_init();
    if (!curl) {
        answer.message = "the network library could not start";
        return answer;
    }
    char* escaped = curl_easy_escape(curl, name.c_str(), static_cast<int>(name.size()));
    std::string url = board;
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    url += "/api/runs?name=" + std::string(escaped ? escaped : "");
    curl_free(escaped);

    Received received;
    received.limit = limits.answerBytes;
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, ("X-Player-Key: " + key).c_str());
    headers = curl_slist_append(headers, "Content-Type: application/octet-stream");
    headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.totalSeconds);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, replay.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(replay.size()));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &received);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, StopWhenAsked);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&stop));
    const CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);

    if (received.tooLong) {
        answer.message =
            "the board's answer was longer than " + std::to_string(limits.answerBytes) + " bytes";
        return answer;
    }
    if (result != CURLE_OK) {
        answer.message = Printable(curl_easy_strerror(result));
        return answer;
    }
    const nlohmann::json json = nlohmann::json::parse(received.body, nullptr, false);
    if (status == 201) {
        if (!json.is_object() || !json.contains("rank") || !json["rank"].is_number_integer()) {
            answer.message = "the board's answer to a stored run names no rank";
            return answer;
        }
        answer.rank = json["rank"].get<int>();
    } else if (json.is_object() && json.contains("error") && json["error"].is_string()) {
        answer.message = Printable(json["error"].get<std::string>());
    } else {
        answer.message = "the board answered " + std::to_string(status);
    }
    answer.status = static_cast<int>(status);
    answer.retryAfter = received.retryAfter;
    return answer;
}

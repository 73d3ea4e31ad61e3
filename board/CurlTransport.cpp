#include "board/CurlTransport.h"

#include <curl/curl.h>

#include <cctype>

namespace {

struct Received {
    HttpAnswer answer;
    size_t limit = 0;
    bool tooLong = false;
};

size_t TakeBody(char* data, size_t size, size_t count, void* user)
{
    auto& received = *static_cast<Received*>(user);
    const size_t bytes = size * count;
    if (received.answer.body.size() + bytes > received.limit) {
        received.tooLong = true;
        return 0;  // ends the transfer
    }
    received.answer.body.append(data, bytes);
    return bytes;
}

size_t TakeHeader(char* data, size_t size, size_t count, void* user)
{
    auto& received = *static_cast<Received*>(user);
    const std::string_view line(data, size * count);
    constexpr std::string_view kName = "retry-after:";
    if (line.size() > kName.size()) {
        bool named = true;
        for (size_t i = 0; i < kName.size() && named; i++)
            named = std::tolower(static_cast<unsigned char>(line[i])) == kName[i];
        if (named) {
            std::string_view value = line.substr(kName.size());
            while (!value.empty() && (value.back() == '\r' || value.back() == '\n'))
                value.remove_suffix(1);
            received.answer.retryAfter = value;
        }
    }
    return size * count;
}

int StopWhenAsked(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
}

}  // namespace

CurlTransport::CurlTransport(const ExchangeLimits& limits) : limits(limits)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

CurlTransport::~CurlTransport()
{
    curl_global_cleanup();
}

HttpAnswer CurlTransport::Exchange(const HttpRequest& request, const std::atomic<bool>& stop)
{
    CURL* curl = curl_easy_init();
    if (!curl)
        return HttpAnswer::Failed("the network library could not start");

    Received received;
    received.limit = request.largestAnswer;
    curl_slist* headers = nullptr;
    for (const auto& [name, value] : request.headers)
        headers = curl_slist_append(headers, (name + ": " + value).c_str());
    headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.totalSeconds);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    if (request.body) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body->data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body->size()));
    }
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

    if (received.tooLong)
        return HttpAnswer::Failed("the board's answer was longer than " +
                                  std::to_string(request.largestAnswer) + " bytes");
    if (result != CURLE_OK)
        return HttpAnswer::Failed(curl_easy_strerror(result));
    received.answer.status = static_cast<int>(status);
    return received.answer;
}

#include "board/WinHttpTransport.h"

// clang-format off
#include <windows.h>
#include <winhttp.h>
// clang-format on

#include <chrono>

namespace {

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            length);
    return wide;
}

std::string Narrow(const wchar_t* wide, DWORD characters)
{
    std::string text;
    for (DWORD i = 0; i < characters; i++)
        text += wide[i] < 0x80 ? static_cast<char>(wide[i]) : '?';
    return text;
}

std::string Failure(const char* what, DWORD code)
{
    if (code == ERROR_WINHTTP_TIMEOUT)
        return "the board did not answer in time";
    if (code == ERROR_WINHTTP_CANNOT_CONNECT)
        return "could not connect to the board";
    if (code == ERROR_WINHTTP_NAME_NOT_RESOLVED)
        return "the board's name was not found";
    return std::string(what) + " failed (WinHTTP error " + std::to_string(code) + ")";
}

// A handle closed when its owner goes.
struct Handle {
    HINTERNET handle = nullptr;
    explicit Handle(HINTERNET handle) : handle(handle) {}
    ~Handle()
    {
        if (handle)
            WinHttpCloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    explicit operator bool() const { return handle != nullptr; }
};

// WinHTTP's waiting calls know no stop flag, and a request closed from another thread does not
// end them everywhere: the request runs asynchronously, each step waited for here a little at a
// time, so a stop or the end of the time allowed abandons it at once. What WinHTTP's own
// threads write to (the read buffer, the step's result) belongs to the request and goes with
// its last callback, whenever that comes.
struct Request {
    HINTERNET handle = nullptr;
    HANDLE stepDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    bool succeeded = false;
    DWORD error = 0;
    DWORD bytes = 0;
    char buffer[4096];

    ~Request() { CloseHandle(stepDone); }
};

void CALLBACK StepDone(HINTERNET, DWORD_PTR context, DWORD status, void* information, DWORD length)
{
    auto* request = reinterpret_cast<Request*>(context);
    if (!request)
        return;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        request->succeeded = true;
        SetEvent(request->stepDone);
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        request->succeeded = true;
        request->bytes = length;
        SetEvent(request->stepDone);
        break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        request->succeeded = false;
        request->error = static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError;
        SetEvent(request->stepDone);
        break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING: delete request; break;
    }
}

class Exchanging {
public:
    Exchanging(Request* request, const std::atomic<bool>& stop, std::chrono::seconds limit)
        : request(request), stop(stop), deadline(std::chrono::steady_clock::now() + limit)
    {
    }

    // Waits for the step begun (started: the call that began it succeeded); false, with the
    // reason in failure, when it failed, the player stopped or the time is up.
    bool Step(bool started, const char* what)
    {
        if (!started)
            return Fail(what, GetLastError());
        constexpr DWORD kStopLookMilliseconds = 50;
        while (WaitForSingleObject(request->stepDone, kStopLookMilliseconds) == WAIT_TIMEOUT) {
            if (stop.load()) {
                failure = "stopped";
                return false;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                failure = "the board did not answer in time";
                return false;
            }
        }
        return request->succeeded || Fail(what, request->error);
    }

    std::string failure;

private:
    bool Fail(const char* what, DWORD code)
    {
        failure = Failure(what, code);
        return false;
    }

    Request* request;
    const std::atomic<bool>& stop;
    const std::chrono::steady_clock::time_point deadline;
};

// Sends the request and reads its answer, the body up to asked.largestAnswer bytes.
HttpAnswer Carry(Request& request, Exchanging& exchanging, const HttpRequest& asked)
{
    std::wstring headers;
    for (const auto& [name, value] : asked.headers)
        headers += Wide(name + ": " + value + "\r\n");
    const void* body = asked.body ? asked.body->data() : WINHTTP_NO_REQUEST_DATA;
    const DWORD bodySize = asked.body ? static_cast<DWORD>(asked.body->size()) : 0;
    const HINTERNET handle = request.handle;
    if (!exchanging.Step(
            WinHttpSendRequest(handle,
                               headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                               static_cast<DWORD>(headers.size()), const_cast<void*>(body),
                               bodySize, bodySize, reinterpret_cast<DWORD_PTR>(&request)),
            "sending") ||
        !exchanging.Step(WinHttpReceiveResponse(handle, nullptr), "receiving"))
        return HttpAnswer::Failed(exchanging.failure);
    HttpAnswer answer;
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return HttpAnswer::Failed(Failure("reading the status", GetLastError()));
    wchar_t retryAfter[64];
    size = sizeof retryAfter;
    if (WinHttpQueryHeaders(handle, WINHTTP_QUERY_RETRY_AFTER, WINHTTP_HEADER_NAME_BY_INDEX,
                            retryAfter, &size, WINHTTP_NO_HEADER_INDEX))
        answer.retryAfter = Narrow(retryAfter, size / sizeof(wchar_t));
    for (;;) {
        if (!exchanging.Step(
                WinHttpReadData(handle, request.buffer, sizeof request.buffer, nullptr),
                "reading the answer"))
            return HttpAnswer::Failed(exchanging.failure);
        if (request.bytes == 0)
            break;
        if (answer.body.size() + request.bytes > asked.largestAnswer)
            return HttpAnswer::Failed("the board's answer was longer than " +
                                      std::to_string(asked.largestAnswer) + " bytes");
        answer.body.append(request.buffer, request.bytes);
    }
    answer.status = static_cast<int>(status);
    return answer;
}

}  // namespace

WinHttpTransport::WinHttpTransport(const ExchangeLimits& limits) : limits(limits)
{
}

HttpAnswer WinHttpTransport::Exchange(const HttpRequest& request, const std::atomic<bool>& stop)
{
    const std::wstring url = Wide(request.url);
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
    if (url.empty() || !WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return HttpAnswer::Failed("the board's address is no http or https address");
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return HttpAnswer::Failed("the board's address is no http or https address");
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                              std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);

    Handle session(WinHttpOpen(L"Korimo Shooting", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                               WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
    if (!session)
        return HttpAnswer::Failed(Failure("starting WinHTTP", GetLastError()));
    const int connectMs = static_cast<int>(limits.connectSeconds * 1000);
    const int totalMs = static_cast<int>(limits.totalSeconds * 1000);
    WinHttpSetTimeouts(session.handle, connectMs, connectMs, totalMs, totalMs);
    Handle connection(WinHttpConnect(session.handle, host.c_str(), parts.nPort, 0));
    if (!connection)
        return HttpAnswer::Failed(Failure("connecting", GetLastError()));
    const HINTERNET handle =
        WinHttpOpenRequest(connection.handle, request.body ? L"POST" : L"GET", path.c_str(),
                           nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                           parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    if (!handle)
        return HttpAnswer::Failed(Failure("opening the request", GetLastError()));
    // From here on the request's own callbacks own it: its last one deletes it.
    auto* carried = new Request;
    carried->handle = handle;
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(carried);
    WinHttpSetOption(handle, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
    WinHttpSetStatusCallback(
        handle, StepDone, WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES, 0);
    // A board that sends the run elsewhere is not followed: the answer is its own.
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(handle, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
    DWORD waitForAnswer = static_cast<DWORD>(totalMs);
    WinHttpSetOption(handle, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &waitForAnswer,
                     sizeof waitForAnswer);

    Exchanging exchanging(carried, stop, std::chrono::seconds(limits.totalSeconds));
    HttpAnswer answer = Carry(*carried, exchanging, request);
    WinHttpCloseHandle(handle);
    return answer;
}

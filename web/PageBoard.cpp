#include "web/PageBoard.h"

#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>

#include "board/PlayerKey.h"

namespace {

// The page's fetch keeps the desktop transports' promises (web/page.js): no redirects, the
// answer read up to the request's largest, a time limit on the whole exchange.
constexpr int kExchangeSeconds = ExchangeLimits{}.totalSeconds;

struct PageSending {
    BoardPlace place;
    std::unique_ptr<Outbox> outbox;
    std::string key;
    std::string posting;          // the outbox file on its way; empty while none is
    std::vector<uint8_t> replay;  // its bytes, until the board has answered
    double notBefore = 0;         // the page's clock (ms) before which the board is left alone
    SentRun latest;
    std::string latestFile;  // in the outbox; empty before it is written there and once settled
};

PageSending sending;

// clang-format off
EM_JS(void, ExchangeFromPage, (const char* url, const char* headers, const uint8_t* body,
                               size_t size, size_t largestAnswer, int seconds), {
    Module.korimoExchange(UTF8ToString(url), UTF8ToString(headers),
                          HEAPU8.slice(body, body + size), largestAnswer, seconds);
});
// clang-format on

void Settle(const SentRun& outcome)
{
    if (sending.posting == sending.latestFile) {
        sending.latest = outcome;
        sending.latestFile.clear();
    }
}

// Posts the oldest waiting run, if the board may be asked now.
void PostNext()
{
    if (!sending.outbox || !sending.posting.empty() || emscripten_get_now() < sending.notBefore)
        return;
    for (const std::string& file : sending.outbox->Waiting()) {
        std::vector<uint8_t> replay;
        if (!Outbox::Read(file, replay)) {
            std::fprintf(stderr, "korimo: the board takes no such file; dropped %s\n",
                         file.c_str());
            Outbox::Remove(file);
            continue;
        }
        if (sending.key.empty())
            sending.key = PlayerKeyIn(sending.place.keyFile);
        if (sending.key.empty()) {
            std::fprintf(stderr,
                         "korimo: cannot make the player's key %s; runs wait in the outbox\n",
                         sending.place.keyFile.c_str());
            return;
        }
        sending.posting = file;
        sending.replay = std::move(replay);
        const HttpRequest request =
            RunPost(sending.place.board, sending.place.name, sending.key, sending.replay);
        std::string headers;
        for (const auto& [name, value] : request.headers)
            headers += name + ": " + value + "\n";
        ExchangeFromPage(request.url.c_str(), headers.c_str(), sending.replay.data(),
                         sending.replay.size(), request.largestAnswer, kExchangeSeconds);
        return;
    }
}

}  // namespace

// The answer to the run posted last, from web/page.js: the status (0: no whole answer came,
// and failure says why), the body and the Retry-After header as they came.
extern "C" EMSCRIPTEN_KEEPALIVE void korimo_board_answered(int status, const char* failure,
                                                           const char* body, size_t size,
                                                           const char* retryAfter)
{
    if (sending.posting.empty())
        return;
    HttpAnswer http{status, failure, std::string(body, size), retryAfter};
    const BoardAnswer answer = ReadRunAnswer(http);
    sending.replay.clear();
    if (answer.status == 201) {
        Settle({SentRun::Stage::Placed, answer.rank, answer.ranked});
        Outbox::Remove(sending.posting);
    } else if (RefusedForGood(answer.status)) {
        std::fprintf(stderr, "korimo: the board refused a run (%d): %s\n", answer.status,
                     answer.message.c_str());
        Settle({SentRun::Stage::Refused});
        Outbox::Remove(sending.posting);
    } else {
        std::fprintf(stderr, "korimo: the board %s: %s\n", sending.place.board.c_str(),
                     answer.message.c_str());
        if (!sending.latestFile.empty())
            sending.latest = {SentRun::Stage::Waiting};
        // Not again in this visit before a new run comes, and never before its Retry-After.
        sending.notBefore = emscripten_get_now() + answer.retryAfter * 1000.0;
        sending.posting.clear();
        return;
    }
    sending.posting.clear();
    PostNext();
}

void SendFromPage(const BoardPlace& place)
{
    sending = PageSending{};
    sending.place = place;
    sending.outbox = std::make_unique<Outbox>(place.outboxFolder);
    PostNext();
}

void SendRunFromPage(std::vector<uint8_t> replay)
{
    if (!sending.outbox)
        return;
    sending.latestFile = sending.outbox->Add(replay);
    sending.latest = {sending.latestFile.empty() ? SentRun::Stage::None : SentRun::Stage::Sending};
    PostNext();
    // The board is left alone for now (its Retry-After): the run waits, and says so.
    if (!sending.latestFile.empty() && sending.posting.empty())
        sending.latest = {SentRun::Stage::Waiting};
}

SentRun LatestRunFromPage()
{
    return sending.latest;
}

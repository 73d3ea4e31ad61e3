#include "web/PageBoard.h"

#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>

#include "board/PlayerKey.h"

namespace {

// The answers that settle a run for good without storing it.
bool Refusal(int status)
{
    return status == 400 || status == 403 || status == 409 || status == 413 || status == 422;
}

struct PageSending {
    BoardPlace place;
    std::unique_ptr<Outbox> outbox;
    std::string key;
    std::string posting;   // the outbox file on its way; empty while none is
    double notBefore = 0;  // the page's clock (ms) before which the board is left alone
    SentRun latest;
    std::string latestFile;  // in the outbox; empty before it is written there and once settled
};

PageSending sending;

// clang-format off
EM_JS(void, PostFromPage, (const char* board, const char* name, const char* key,
                           const uint8_t* replay, size_t size), {
    Module.korimoPostRun(UTF8ToString(board), UTF8ToString(name), UTF8ToString(key),
                         HEAPU8.slice(replay, replay + size));
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
        PostFromPage(sending.place.board.c_str(), sending.place.name.c_str(), sending.key.c_str(),
                     replay.data(), replay.size());
        return;
    }
}

}  // namespace

// The board's answer to the run posted last (status 0: none came), from web/page.js.
extern "C" EMSCRIPTEN_KEEPALIVE void korimo_board_answered(int status, int rank, int ranked,
                                                           int retryAfter, const char* message)
{
    if (sending.posting.empty())
        return;
    if (status == 201 && rank > 0) {
        Settle({SentRun::Stage::Placed, rank, ranked >= rank ? ranked : 0});
        Outbox::Remove(sending.posting);
    } else if (Refusal(status)) {
        std::fprintf(stderr, "korimo: the board refused a run (%d): %s\n", status, message);
        Settle({SentRun::Stage::Refused});
        Outbox::Remove(sending.posting);
    } else {
        std::fprintf(stderr, "korimo: the board %s %s\n", sending.place.board.c_str(), message);
        if (!sending.latestFile.empty())
            sending.latest = {SentRun::Stage::Waiting};
        // Not again in this visit before a new run comes, and never before its Retry-After.
        sending.notBefore = emscripten_get_now() + retryAfter * 1000.0;
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

#include "board/BoardSender.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "board/PlayerKey.h"

namespace {

// The answers that settle a run for good without storing it.
bool Refusal(int status)
{
    return status == 400 || status == 403 || status == 409 || status == 413 || status == 422;
}

}  // namespace

BoardSender::BoardSender(BoardTransport& transport, BoardPlace place,
                         std::function<void(const std::string&)> say)
    : transport(transport), place(std::move(place)),
      say(say ? std::move(say)
              : [](const std::string&
                       line) { std::fprintf(stderr, "korimo: %s\n", line.c_str()); }),
      outbox(this->place.outboxFolder), worker([this] { Work(); })
{
}

BoardSender::~BoardSender()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    worker.join();
}

void BoardSender::Send(std::vector<uint8_t> replay)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        handedOver.push_back(std::move(replay));
    }
    wake.notify_all();
}

void BoardSender::Work()
{
    uint32_t wait = 0;
    bool first = true;
    std::unique_lock<std::mutex> lock(mutex);
    while (!stopping) {
        if (!first) {
            auto due = [this] { return stopping.load() || !handedOver.empty(); };
            if (wait == 0)
                wake.wait(lock, due);
            else
                wake.wait_for(lock, std::chrono::seconds(wait), due);
            if (stopping)
                break;
        }
        first = false;
        std::deque<std::vector<uint8_t>> runs;
        runs.swap(handedOver);
        lock.unlock();
        for (const auto& run : runs)
            outbox.Add(run);
        wait = SendWaiting();
        lock.lock();
    }
}

uint32_t BoardSender::SendWaiting()
{
    for (const std::string& file : outbox.Waiting()) {
        if (stopping)
            return 0;
        std::vector<uint8_t> replay;
        if (!Outbox::Read(file, replay)) {
            say("the board takes no such file; dropped " + file);
            Outbox::Remove(file);
            continue;
        }
        if (key.empty())
            key = PlayerKeyIn(place.keyFile);
        if (key.empty()) {
            say("cannot make the player's key " + place.keyFile + "; runs wait in the outbox");
            current = State::Offline;
            return kLongestWaitSeconds;
        }
        current = State::Sending;
        const BoardAnswer answer =
            PostRun(transport, place.board, place.name, key, replay, stopping);
        if (stopping)
            return 0;
        if (answer.status == 201 || Refusal(answer.status)) {
            if (answer.status == 201)
                rank = answer.rank;
            else
                say("the board refused a run (" + std::to_string(answer.status) +
                    "): " + answer.message);
            Outbox::Remove(file);
            settled++;
            unansweredWait = 0;
            continue;
        }
        current = State::Offline;
        if (answer.status == 429 || answer.status == 503)
            return std::max<uint32_t>(answer.retryAfter, 1);
        unansweredWait = unansweredWait == 0 ? kFirstWaitSeconds
                                             : std::min(unansweredWait * 2, kLongestWaitSeconds);
        return unansweredWait;
    }
    current = State::Idle;
    return 0;
}

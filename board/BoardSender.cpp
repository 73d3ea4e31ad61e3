#include "board/BoardSender.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "board/PlayerKey.h"

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
        std::lock_guard<std::mutex> lock(latestMutex);
        latest = {SentRun::Stage::Sending};
        latestFile.clear();
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        handedOver.push_back(std::move(replay));
    }
    wake.notify_all();
}

SentRun BoardSender::latestRun() const
{
    std::lock_guard<std::mutex> lock(latestMutex);
    return latest;
}

void BoardSender::Settle(const std::string& file, const SentRun& outcome)
{
    std::lock_guard<std::mutex> lock(latestMutex);
    if (file.empty() || file != latestFile)
        return;
    latest = outcome;
    latestFile.clear();
}

void BoardSender::LatestWaits()
{
    std::lock_guard<std::mutex> lock(latestMutex);
    if (!latestFile.empty())
        latest = {SentRun::Stage::Waiting};
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
        for (size_t i = 0; i < runs.size(); i++) {
            const std::string file = outbox.Add(runs[i]);
            if (i + 1 == runs.size()) {
                std::lock_guard<std::mutex> latestLock(latestMutex);
                latestFile = file;
                if (file.empty())
                    latest = {};
            }
        }
        wait = SendWaiting();
        if (wait != 0)
            LatestWaits();
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
            Settle(file, {SentRun::Stage::Refused});
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
        if (answer.status == 201 || RefusedForGood(answer.status)) {
            if (answer.status == 201) {
                rank = answer.rank;
                Settle(file, {SentRun::Stage::Placed, answer.rank, answer.ranked});
            } else {
                say("the board refused a run (" + std::to_string(answer.status) +
                    "): " + answer.message);
                Settle(file, {SentRun::Stage::Refused});
            }
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

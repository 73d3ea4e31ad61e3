#pragma once
// Sends finished runs to a board on a thread of its own, so that no frame ever waits on the
// network. A run goes into the outbox first and leaves it once the board has answered for
// good: stored (with its rank), or refused (a bad file, a name of another player, a run
// already there, too large, or one that does not verify: one line, and the run is dropped).
// A board that is busy says when to come back (Retry-After); one that does not answer, or
// answers nonsense, is tried again later, sooner at first and then less often.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "board/BoardApi.h"
#include "board/Outbox.h"

struct BoardPlace {
    std::string board;  // the board's address, http://host:port
    std::string name;   // the player's name there
    std::string keyFile;
    std::string outboxFolder;
};

// What became of the latest run handed over, for the player to see.
struct SentRun {
    enum class Stage {
        None,     // none handed over in this session, or it could not even be kept
        Sending,  // on its way
        Placed,   // stored by the board
        Waiting,  // in the outbox until the board answers
        Refused,  // refused for good
    };
    Stage stage = Stage::None;
    int rank = 0;    // with Placed
    int ranked = 0;  // with Placed: the names ranked at its length; 0 when the board does not say
};

class BoardSender {
public:
    enum class State { Idle, Sending, Offline };
    // How long an unanswered board is left alone: doubled from the first to the last.
    static constexpr uint32_t kFirstWaitSeconds = 15, kLongestWaitSeconds = 600;

    // Starts the thread, which sends whatever the outbox already holds. say gets each line
    // for the player (by default standard error).
    BoardSender(BoardTransport& transport, BoardPlace place,
                std::function<void(const std::string&)> say = {});
    // Stops the thread; a transfer under way is abandoned and its run stays in the outbox.
    ~BoardSender();

    BoardSender(const BoardSender&) = delete;
    BoardSender& operator=(const BoardSender&) = delete;

    // Hands a finished run over; returns at once.
    void Send(std::vector<uint8_t> replay);

    State state() const { return current.load(); }
    // The rank of the last run the board stored, 0 before one.
    int lastRank() const { return rank.load(); }
    // Runs the board has answered for good since the start (stored or refused).
    uint32_t answered() const { return settled.load(); }
    SentRun latestRun() const;

private:
    void Work();
    // Sends the outbox oldest first; the seconds to wait before the next try, 0 when empty.
    uint32_t SendWaiting();
    // Records what became of the file if it holds the latest run handed over.
    void Settle(const std::string& file, const SentRun& outcome);
    // The outbox waits for a later try: so does the latest run, if it is still there.
    void LatestWaits();

    BoardTransport& transport;
    const BoardPlace place;
    std::function<void(const std::string&)> say;
    Outbox outbox;
    std::string key;

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::vector<uint8_t>> handedOver;
    std::atomic<bool> stopping{false};
    std::atomic<State> current{State::Idle};
    std::atomic<int> rank{0};
    std::atomic<uint32_t> settled{0};
    uint32_t unansweredWait = 0;

    mutable std::mutex latestMutex;
    SentRun latest;
    std::string latestFile;  // in the outbox; empty before it is written there and once settled

    std::thread worker;
};

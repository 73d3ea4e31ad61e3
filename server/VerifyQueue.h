#pragma once
// At most `workers` verifications at once and a bounded line of uploads waiting behind them;
// an upload that finds the line full is turned away at once rather than left to wait.

#include <condition_variable>
#include <mutex>
#include <optional>

namespace board {

class VerifyQueue {
public:
    VerifyQueue(int workers, int waiting) : workers(workers), capacity(workers + waiting) {}

    // Held while a verification runs; its end lets the next one in.
    class Turn {
    public:
        explicit Turn(VerifyQueue& queue) : queue(&queue) {}
        Turn(Turn&& other) noexcept : queue(other.queue) { other.queue = nullptr; }
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
        ~Turn()
        {
            if (queue)
                queue->Leave();
        }

    private:
        VerifyQueue* queue;
    };

    // Waits for a free worker, or nothing at once when the line is full.
    std::optional<Turn> Enter();

private:
    void Leave();

    std::mutex mutex;
    std::condition_variable freed;
    const int workers;
    const int capacity;
    int admitted = 0;  // running and waiting
    int running = 0;
};

}  // namespace board

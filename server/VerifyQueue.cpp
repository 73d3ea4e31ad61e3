#include "server/VerifyQueue.h"

namespace board {

std::optional<VerifyQueue::Turn> VerifyQueue::Enter()
{
    std::unique_lock lock(mutex);
    if (admitted >= capacity)
        return std::nullopt;
    ++admitted;
    freed.wait(lock, [this] { return running < workers; });
    ++running;
    return Turn(*this);
}

void VerifyQueue::Leave()
{
    {
        std::lock_guard lock(mutex);
        --running;
        --admitted;
    }
    freed.notify_one();
}

}  // namespace board

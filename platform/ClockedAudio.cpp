#include "platform/ClockedAudio.h"

#include <algorithm>

namespace {

// What one call of the callback may write; the rest follows in further calls.
constexpr size_t kStretch = 4096;

}  // namespace

bool ClockedAudioDevice::Open(const AudioFormat& wanted, Callback fill, void* owner,
                              std::string& error)
{
    format = wanted;
    callback = fill;
    context = owner;
    paused = true;
    start = pausedAt = timeGetTime();
    played = 0;
    return true;
}

void ClockedAudioDevice::Close()
{
    callback = nullptr;
}

void ClockedAudioDevice::Lock()
{
    CatchUp();
}

void ClockedAudioDevice::Pause(bool pause)
{
    CatchUp();
    if (pause == paused)
        return;
    const uint32_t now = timeGetTime();
    if (pause)
        pausedAt = now;
    else
        start += now - pausedAt;  // the time spent paused is not played
    paused = pause;
}

void ClockedAudioDevice::CatchUp()
{
    if (!callback || paused)
        return;
    // A clock set back by a test plays nothing until it passes where it was.
    const int64_t elapsed = static_cast<int32_t>(timeGetTime() - start);
    if (elapsed <= 0)
        return;
    const uint64_t due = uint64_t(elapsed) * format.sampleRate / 1000 * format.channels;
    if (!heard) {
        if (played < due) {
            callback(context, nullptr, static_cast<size_t>(due - played));
            played = due;
        }
        return;
    }
    int16_t out[kStretch];
    while (played < due) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(due - played, kStretch));
        callback(context, out, count);
        played += count;
    }
}

namespace platform {

AudioDevice& NullAudioDevice()
{
    static ClockedAudioDevice device(false);
    return device;
}

}  // namespace platform

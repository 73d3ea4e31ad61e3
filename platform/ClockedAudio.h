#pragma once
// An audio device with no sound card behind it: it takes its output as the clock says it is
// due, whenever it is locked, and lets it go unheard. The null device is one; the tests'
// device is another that also writes down what was played.

#include <cstdint>
#include <string>

#include "platform/Backend.h"

class ClockedAudioDevice : public AudioDevice {
public:
    // heard: the output is asked for as samples; otherwise it is only moved past.
    explicit ClockedAudioDevice(bool heard = true) : heard(heard) {}

    bool Open(const AudioFormat& format, Callback callback, void* context,
              std::string& error) override;
    void Close() override;
    void Lock() override;
    void Unlock() override {}
    void Pause(bool paused) override;

private:
    // Asks the callback for the samples the platform's clock says have played since the
    // last time.
    void CatchUp();

    const bool heard;
    AudioFormat format;
    Callback callback = nullptr;
    void* context = nullptr;
    bool paused = true;
    // The clock when the samples counted in `played` began; moved on by every pause.
    uint32_t start = 0;
    uint64_t played = 0;
    uint32_t pausedAt = 0;
};

namespace platform {
// The device for a player who wants silence: it always opens and plays nothing.
AudioDevice& NullAudioDevice();
}  // namespace platform

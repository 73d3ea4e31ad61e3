#pragma once
// The page's audio device: a Web Audio context at the game's own rate, whose processing node
// asks the mixer for each block of output. Browsers keep a context silent until the player
// has pressed a key or clicked; the page resumes it then (web/page.js).

#include <vector>

#include "platform/Backend.h"

class WebAudioDevice final : public AudioDevice {
public:
    bool Open(const AudioFormat& format, Callback callback, void* context,
              std::string& error) override;
    void Close() override;
    // The page has one thread, and the node's callbacks run between the game's frames: while
    // the game changes what the mixer reads, no callback can run.
    void Lock() override {}
    void Unlock() override {}
    void Pause(bool paused) override { this->paused = paused; }

    // One block of output for the node: count interleaved samples into the device's buffer.
    int16_t* Fill(size_t count);

private:
    Callback callback = nullptr;
    void* context = nullptr;
    bool paused = true;
    std::vector<int16_t> block;
};

#pragma once
// The DirectSound output: one looping buffer that a thread of its own keeps filled a little
// ahead of the play cursor from a callback. Free of Windows' types, like NativeWindow.h.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class NativeSound {
public:
    using Fill = void (*)(void* context, int16_t* out, size_t count);

    ~NativeSound() { Close(); }
    // Opens the device and its buffer, silent and paused. False with error set when there is
    // no device.
    bool Open(uint32_t sampleRate, uint16_t channels, Fill fill, void* context, std::string& error);
    void Close();
    void Lock() { lock.lock(); }
    void Unlock() { lock.unlock(); }
    void Pause(bool paused);

private:
    void Run();
    void FillAhead();

    void* device = nullptr;
    void* buffer = nullptr;
    Fill fill = nullptr;
    void* context = nullptr;
    size_t bufferBytes = 0;
    size_t frameBytes = 0;
    size_t written = 0;  // where the next samples go in the buffer, in bytes
    std::mutex lock;
    std::atomic<bool> stopping{false};
    std::atomic<bool> paused{true};
    std::thread filler;
};

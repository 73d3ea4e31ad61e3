#pragma once
// The SDL backend's audio device.

#include <SDL.h>

#include "platform/Backend.h"

class SdlAudioDevice final : public AudioDevice {
public:
    bool Open(const AudioFormat& format, Callback callback, void* context,
              std::string& error) override;
    void Close() override;
    void Lock() override;
    void Unlock() override;
    void Pause(bool paused) override;

private:
    static void Fill(void* self, Uint8* stream, int bytes);

    SDL_AudioDeviceID device = 0;
    Callback callback = nullptr;
    void* context = nullptr;
};

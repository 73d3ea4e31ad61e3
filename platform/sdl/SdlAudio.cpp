// The audio device on SDL2: one SDL audio device opened at the format asked for (SDL converts
// to whatever the hardware wants), whose callback runs on SDL's audio thread with the device
// lock held.

#include "platform/sdl/SdlAudio.h"

#include <SDL.h>

bool SdlAudioDevice::Open(const AudioFormat& format, Callback fill, void* owner, std::string& error)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return false;
    }
    callback = fill;
    context = owner;

    SDL_AudioSpec wanted = {};
    wanted.freq = static_cast<int>(format.sampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = 512;  // about 23 ms at 22,050 Hz: an effect sounds within a frame or two
    wanted.callback = Fill;
    wanted.userdata = this;
    SDL_AudioSpec obtained;
    // No changes allowed: SDL converts our format to the hardware's, so the callback always
    // writes what was asked for.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void SdlAudioDevice::Close()
{
    if (device == 0)
        return;
    SDL_CloseAudioDevice(device);  // waits for a running callback to finish
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device = 0;
}

void SdlAudioDevice::Lock()
{
    SDL_LockAudioDevice(device);
}

void SdlAudioDevice::Unlock()
{
    SDL_UnlockAudioDevice(device);
}

void SdlAudioDevice::Pause(bool paused)
{
    SDL_PauseAudioDevice(device, paused ? 1 : 0);
}

void SdlAudioDevice::Fill(void* self, Uint8* stream, int bytes)
{
    auto* audio = static_cast<SdlAudioDevice*>(self);
    audio->callback(audio->context, reinterpret_cast<int16_t*>(stream),
                    static_cast<size_t>(bytes) / sizeof(int16_t));
}

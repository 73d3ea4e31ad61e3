// The sound device on SDL2: one audio device opened at 22,050 Hz, mono, 16-bit (SDL converts
// to whatever the hardware wants), and a mixer in its callback that sums the playing buffers.
//
// The callback runs on SDL's audio thread with the device lock held. The game thread takes the
// same lock (SDL_LockAudioDevice) around every change to what the callback reads, and only for
// the few instructions the change takes; the callback itself never allocates or waits.

#include <SDL.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/AudioBuffer.h"

namespace {

std::string lastError;

// Holds the audio device lock for one scope.
class DeviceLock {
public:
    explicit DeviceLock(SDL_AudioDeviceID device) : device(device) { SDL_LockAudioDevice(device); }
    ~DeviceLock() { SDL_UnlockAudioDevice(device); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID device;
};

class SdlSound final : public IDirectSound {
public:
    // Opens the device and starts its callback; false with lastError set when there is none.
    bool Open();

    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                              void* outer) override;
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate) override;
    ULONG Release() override;

    void AddReference() { references++; }
    void Attach(MixVoice* voice);
    void Detach(MixVoice* voice);
    SDL_AudioDeviceID id() const { return device; }

private:
    ~SdlSound() override;
    static void Mix(void* self, Uint8* stream, int bytes);

    SDL_AudioDeviceID device = 0;
    bool audioStarted = false;
    // The game holds one reference and every live buffer another, so that a buffer released
    // after the device still finds it open.
    ULONG references = 1;
    // Every live buffer, playing or not; the callback walks it under the device lock.
    std::vector<MixVoice*> voices;
    MixLimiter limiter;  // the audio thread's alone
};

class SdlSoundBuffer final : public PcmBuffer {
public:
    SdlSoundBuffer(SdlSound& owner, const DSBUFFERDESC& description)
        : PcmBuffer(description), owner(owner)
    {
        owner.AddReference();
        owner.Attach(&voice);
    }
    SdlSoundBuffer(SdlSound& owner, const SdlSoundBuffer& original)
        : PcmBuffer(original), owner(owner)
    {
        owner.AddReference();
        owner.Attach(&voice);
    }

    HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                 DWORD* bytes2, DWORD flags) override
    {
        DeviceLock lock(owner.id());
        return PcmBuffer::Lock(offset, bytes, part1, bytes1, part2, bytes2, flags);
    }
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override
    {
        DeviceLock lock(owner.id());
        return PcmBuffer::Play(reserved, priority, flags);
    }
    HRESULT Stop() override
    {
        DeviceLock lock(owner.id());
        return PcmBuffer::Stop();
    }
    HRESULT SetCurrentPosition(DWORD byteOffset) override
    {
        DeviceLock lock(owner.id());
        return PcmBuffer::SetCurrentPosition(byteOffset);
    }
    HRESULT GetStatus(DWORD* status) override
    {
        DeviceLock lock(owner.id());
        return PcmBuffer::GetStatus(status);
    }
    HRESULT SetVolume(LONG hundredthsOfDecibel) override
    {
        DeviceLock lock(owner.id());
        return PcmBuffer::SetVolume(hundredthsOfDecibel);
    }

private:
    ~SdlSoundBuffer() override
    {
        owner.Detach(&voice);
        owner.Release();
    }

    SdlSound& owner;
};

bool SdlSound::Open()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        lastError = SDL_GetError();
        return false;
    }
    audioStarted = true;

    SDL_AudioSpec wanted = {};
    wanted.freq = kAudioSampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;  // about 23 ms: an effect sounds within a frame or two of its cause
    wanted.callback = Mix;
    wanted.userdata = this;
    SDL_AudioSpec obtained;
    // No changes allowed: SDL converts our format to the hardware's, so the callback always
    // mixes 16-bit mono at 22,050 Hz.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        lastError = SDL_GetError();
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

SdlSound::~SdlSound()
{
    if (device != 0)
        SDL_CloseAudioDevice(device);  // waits for a running callback to finish
    if (audioStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSound::Mix(void* self, Uint8* stream, int bytes)
{
    auto* sound = static_cast<SdlSound*>(self);
    MixVoices(sound->voices, reinterpret_cast<int16_t*>(stream), bytes / sizeof(int16_t),
              sound->limiter);
}

HRESULT SdlSound::SetCooperativeLevel(HWND window, DWORD level)
{
    // The device is shared with other programs whatever the level; it is not tied to a window.
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

HRESULT SdlSound::CreateSoundBuffer(const DSBUFFERDESC* description,
                                    IDirectSoundBuffer** buffer, void* outer)
{
    if (!buffer || outer)
        return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    HRESULT check = CheckBufferDescription(description);
    if (FAILED(check))
        return check;
    *buffer = new SdlSoundBuffer(*this, *description);
    return DS_OK;
}

HRESULT SdlSound::DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                       IDirectSoundBuffer** duplicate)
{
    if (!duplicate)
        return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    auto* ours = dynamic_cast<SdlSoundBuffer*>(original);
    if (!ours)
        return DSERR_INVALIDPARAM;
    *duplicate = new SdlSoundBuffer(*this, *ours);
    return DS_OK;
}

ULONG SdlSound::Release()
{
    ULONG left = --references;
    if (left == 0)
        delete this;
    return left;
}

void SdlSound::Attach(MixVoice* voice)
{
    // Growing the list may allocate; that happens here, on the game thread, never in the
    // callback.
    DeviceLock lock(device);
    voices.push_back(voice);
}

void SdlSound::Detach(MixVoice* voice)
{
    DeviceLock lock(device);
    voices.erase(std::find(voices.begin(), voices.end(), voice));
}

}  // namespace

HRESULT DirectSoundCreate(const void* deviceGuid, IDirectSound** device, void* outer)
{
    if (!device || deviceGuid || outer)
        return DSERR_INVALIDPARAM;
    *device = nullptr;
    auto* sound = new SdlSound;
    if (!sound->Open()) {
        sound->Release();
        return DSERR_NODRIVER;
    }
    *device = sound;
    return DS_OK;
}

const char* AudioError()
{
    return lastError.c_str();
}

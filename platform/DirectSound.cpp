// The sound services over the installed backend's audio device: the device opened at 22,050 Hz,
// mono, 16-bit, and a mixer in its callback that sums the playing buffers.
//
// The callback may run on a thread of the device's own. The game thread takes the device's
// lock around every change to what the callback reads, and only for the few instructions the
// change takes; the callback itself never allocates or waits.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/AudioBuffer.h"
#include "platform/Backend.h"
#include "platform/Windowing.h"

namespace {

class SoundBuffer;

std::string lastError;
// The buffers made since the backend was installed, for the device that reports them, and
// those of them still alive.
int buffersMade = 0;
std::vector<SoundBuffer*> liveBuffers;
// The device object that holds the audio device open: only it closes it.
const void* deviceHolder = nullptr;

// Holds the audio device's lock for one scope.
class DeviceLock {
public:
    explicit DeviceLock(AudioDevice& device) : device(device) { device.Lock(); }
    ~DeviceLock() { device.Unlock(); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    AudioDevice& device;
};

class Sound final : public IDirectSound {
public:
    explicit Sound(AudioDevice& output) : output(output) {}

    // Opens the output and starts its callback; false with lastError set when there is none.
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
    AudioDevice& device() { return output; }

private:
    ~Sound() override;
    static void Mix(void* self, int16_t* out, size_t count);

    AudioDevice& output;
    // The game holds one reference and every live buffer another, so that a buffer released
    // after the device still finds it open.
    ULONG references = 1;
    // Every live buffer, playing or not; the callback walks it under the device lock.
    std::vector<MixVoice*> voices;
    MixLimiter limiter;  // the callback's alone
};

class SoundBuffer final : public PcmBuffer {
public:
    SoundBuffer(Sound& owner, const DSBUFFERDESC& description)
        : PcmBuffer(description), owner(owner)
    {
        Join();
    }
    SoundBuffer(Sound& owner, const SoundBuffer& original) : PcmBuffer(original), owner(owner)
    {
        Join();
    }

    HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                 DWORD* bytes2, DWORD flags) override
    {
        DeviceLock lock(owner.device());
        return PcmBuffer::Lock(offset, bytes, part1, bytes1, part2, bytes2, flags);
    }
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override
    {
        DeviceLock lock(owner.device());
        HRESULT result = PcmBuffer::Play(reserved, priority, flags);
        if (result == DS_OK)
            Report(voice.looping ? AudioDevice::BufferAction::Loop
                                 : AudioDevice::BufferAction::Play);
        return result;
    }
    HRESULT Stop() override
    {
        DeviceLock lock(owner.device());
        Report(AudioDevice::BufferAction::Stop);
        return PcmBuffer::Stop();
    }
    HRESULT SetCurrentPosition(DWORD byteOffset) override
    {
        DeviceLock lock(owner.device());
        return PcmBuffer::SetCurrentPosition(byteOffset);
    }
    HRESULT GetStatus(DWORD* status) override
    {
        DeviceLock lock(owner.device());
        return PcmBuffer::GetStatus(status);
    }
    HRESULT SetVolume(LONG hundredthsOfDecibel) override
    {
        DeviceLock lock(owner.device());
        return PcmBuffer::SetVolume(hundredthsOfDecibel);
    }

private:
    ~SoundBuffer() override
    {
        std::erase(liveBuffers, this);
        owner.Detach(&voice);
        owner.Release();
    }

    void Join()
    {
        owner.AddReference();
        owner.Attach(&voice);
        liveBuffers.push_back(this);
    }
    void Report(AudioDevice::BufferAction action)
    {
        owner.device().OnBufferAction(tag(), number, action, volume());
    }

    Sound& owner;
    const int number = buffersMade++;
};

bool Sound::Open()
{
    const AudioFormat format = {kAudioBufferFormat.nSamplesPerSec, kAudioBufferFormat.nChannels};
    if (!output.Open(format, Mix, this, lastError))
        return false;
    deviceHolder = this;
    output.Pause(false);
    return true;
}

Sound::~Sound()
{
    if (deviceHolder == this) {
        output.Close();
        deviceHolder = nullptr;
    }
}

void Sound::Mix(void* self, int16_t* out, size_t count)
{
    auto* sound = static_cast<Sound*>(self);
    MixVoices(sound->voices, out, count, sound->limiter);
}

HRESULT Sound::SetCooperativeLevel(HWND window, DWORD level)
{
    // The device is shared with other programs whatever the level; it is not tied to a window.
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

HRESULT Sound::CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                                 void* outer)
{
    if (!buffer || outer)
        return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    HRESULT check = CheckBufferDescription(description);
    if (FAILED(check))
        return check;
    *buffer = new SoundBuffer(*this, *description);
    return DS_OK;
}

HRESULT Sound::DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate)
{
    if (!duplicate)
        return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    auto* ours = dynamic_cast<SoundBuffer*>(original);
    if (!ours)
        return DSERR_INVALIDPARAM;
    *duplicate = new SoundBuffer(*this, *ours);
    return DS_OK;
}

ULONG Sound::Release()
{
    ULONG left = --references;
    if (left == 0)
        delete this;
    return left;
}

void Sound::Attach(MixVoice* voice)
{
    // Growing the list may allocate; that happens here, on the game thread, never in the
    // callback.
    DeviceLock lock(output);
    voices.push_back(voice);
}

void Sound::Detach(MixVoice* voice)
{
    DeviceLock lock(output);
    voices.erase(std::find(voices.begin(), voices.end(), voice));
}

}  // namespace

HRESULT DirectSoundCreate(const void* deviceGuid, IDirectSound** device, void* outer)
{
    if (!device || deviceGuid || outer)
        return DSERR_INVALIDPARAM;
    *device = nullptr;
    auto* sound = new Sound(platform::CurrentAudioDevice());
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

namespace platform {

bool IsSoundPlaying(int tag)
{
    return std::any_of(liveBuffers.begin(), liveBuffers.end(), [tag](SoundBuffer* buffer) {
        DWORD status = 0;
        return buffer->tag() == tag && buffer->GetStatus(&status) == DS_OK &&
               (status & DSBSTATUS_PLAYING);
    });
}

void ResetSound()
{
    // Buffers left from before are forgotten, not freed: their owner may still release them.
    buffersMade = 0;
    liveBuffers.clear();
    deviceHolder = nullptr;
    lastError.clear();
}

}  // namespace platform

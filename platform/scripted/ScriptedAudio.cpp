// The sound device as tests see it. Nothing is heard: every play and stop is recorded with the
// scripted clock's time and the buffer's tag, and a playing buffer moves on by the scripted
// clock (22,050 samples a second), so that a test can ask what was playing when.

#include "platform/scripted/ScriptedAudio.h"

#include <algorithm>
#include <vector>

#include "platform/AudioBuffer.h"
#include "platform/scripted/Scripted.h"

namespace {

class ScriptedSoundBuffer;

struct AudioState {
    std::vector<scripted::SoundEvent> events;
    // The live buffers made since the last reset.
    std::vector<ScriptedSoundBuffer*> buffers;
    int buffersMade = 0;
    bool failDevice = false;
};
AudioState state;
const char* lastError = "";

class ScriptedSoundBuffer final : public PcmBuffer {
public:
    explicit ScriptedSoundBuffer(const DSBUFFERDESC& description)
        : PcmBuffer(description), number(state.buffersMade++)
    {
        state.buffers.push_back(this);
    }
    explicit ScriptedSoundBuffer(const ScriptedSoundBuffer& original)
        : PcmBuffer(original), number(state.buffersMade++), volume(original.volume)
    {
        state.buffers.push_back(this);
    }

    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override
    {
        CatchUp();
        HRESULT result = PcmBuffer::Play(reserved, priority, flags);
        if (result == DS_OK) {
            StartClock();
            Record(voice.looping ? scripted::SoundEvent::Loop : scripted::SoundEvent::Play);
        }
        return result;
    }
    HRESULT Stop() override
    {
        CatchUp();
        Record(scripted::SoundEvent::Stop);
        return PcmBuffer::Stop();
    }
    HRESULT SetCurrentPosition(DWORD byteOffset) override
    {
        CatchUp();
        HRESULT result = PcmBuffer::SetCurrentPosition(byteOffset);
        StartClock();
        return result;
    }
    HRESULT GetStatus(DWORD* status) override
    {
        CatchUp();
        return PcmBuffer::GetStatus(status);
    }
    HRESULT SetVolume(LONG hundredthsOfDecibel) override
    {
        HRESULT result = PcmBuffer::SetVolume(hundredthsOfDecibel);
        if (result == DS_OK)
            volume = hundredthsOfDecibel;
        return result;
    }
    HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                 DWORD* bytes2, DWORD flags) override
    {
        CatchUp();
        return PcmBuffer::Lock(offset, bytes, part1, bytes1, part2, bytes2, flags);
    }

    bool IsPlaying()
    {
        CatchUp();
        return voice.playing;
    }

private:
    ~ScriptedSoundBuffer() override
    {
        std::erase(state.buffers, this);
    }

    // Where the buffer is now: the position it had when the clock was last started on it,
    // moved on by the samples of the time since. Counting from that start every time, rather
    // than from the last look, loses no fraction of a sample however often a test looks.
    void CatchUp()
    {
        if (!voice.playing)
            return;
        uint64_t elapsed = timeGetTime() - startTime;
        voice.position = startPosition;
        AdvanceVoice(voice, elapsed * kAudioSampleRate / 1000);
    }
    void StartClock()
    {
        startTime = timeGetTime();
        startPosition = voice.position;
    }
    void Record(scripted::SoundEvent::Kind kind)
    {
        state.events.push_back({timeGetTime(), tag(), kind, number, volume});
    }

    const int number;
    LONG volume = DSBVOLUME_MAX;
    uint32_t startTime = 0;
    uint32_t startPosition = 0;
};

class ScriptedSound final : public IDirectSound {
public:
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override
    {
        if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
            return DSERR_INVALIDPARAM;
        return DS_OK;
    }
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                              void* outer) override
    {
        if (!buffer || outer)
            return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        HRESULT check = CheckBufferDescription(description);
        if (FAILED(check))
            return check;
        *buffer = new ScriptedSoundBuffer(*description);
        return DS_OK;
    }
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate) override
    {
        if (!duplicate)
            return DSERR_INVALIDPARAM;
        *duplicate = nullptr;
        auto* ours = dynamic_cast<ScriptedSoundBuffer*>(original);
        if (!ours)
            return DSERR_INVALIDPARAM;
        *duplicate = new ScriptedSoundBuffer(*ours);
        return DS_OK;
    }
    ULONG Release() override
    {
        delete this;
        return 0;
    }
};

}  // namespace

HRESULT DirectSoundCreate(const void* deviceGuid, IDirectSound** device, void* outer)
{
    if (!device || deviceGuid || outer)
        return DSERR_INVALIDPARAM;
    *device = nullptr;
    if (state.failDevice) {
        lastError = "the test switched the sound device off";
        return DSERR_NODRIVER;
    }
    *device = new ScriptedSound;
    return DS_OK;
}

const char* AudioError()
{
    return lastError;
}

namespace scripted {

const std::vector<SoundEvent>& SoundEvents()
{
    return state.events;
}

void ClearSoundEvents()
{
    state.events.clear();
}

bool IsClipPlaying(int clip)
{
    return std::any_of(state.buffers.begin(), state.buffers.end(),
                       [clip](ScriptedSoundBuffer* buffer) {
                           return buffer->tag() == clip && buffer->IsPlaying();
                       });
}

void FailAudioDevice(bool fail)
{
    state.failDevice = fail;
}

namespace detail {

void ResetAudio()
{
    // Buffers left over from an earlier test are forgotten, not freed: their owner may still
    // release them.
    state = AudioState();
    lastError = "";
}

}  // namespace detail
}  // namespace scripted

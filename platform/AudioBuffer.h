#pragma once
// The checks on a buffer description, and a buffer of PCM with its playback state as the mixer
// reads it. The sound services derive from PcmBuffer and wrap its operations in the audio
// device's lock.

#include <memory>
#include <vector>

#include "platform/Audio.h"
#include "platform/AudioMixer.h"

// DS_OK when a buffer can be made from the description; otherwise the reason.
HRESULT CheckBufferDescription(const DSBUFFERDESC* description);

class PcmBuffer : public IDirectSoundBuffer {
public:
    // The description must have passed CheckBufferDescription.
    explicit PcmBuffer(const DSBUFFERDESC& description);
    // A duplicate: the original's samples, flags, tag and volume; stopped at the start.
    explicit PcmBuffer(const PcmBuffer& original);

    HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                 DWORD* bytes2, DWORD flags) override;
    HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) override;
    HRESULT Restore() override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT Stop() override;
    HRESULT SetCurrentPosition(DWORD byteOffset) override;
    HRESULT GetStatus(DWORD* status) override;
    HRESULT SetVolume(LONG hundredthsOfDecibel) override;
    ULONG Release() override;

    int tag() const { return ownerTag; }
    LONG volume() const { return hundredthsOfDecibel; }

protected:
    ~PcmBuffer() override = default;

    MixVoice voice;

private:
    // Shared by a buffer and its duplicates.
    std::shared_ptr<std::vector<int16_t>> samples;
    DWORD flags;
    int ownerTag;
    LONG hundredthsOfDecibel = DSBVOLUME_MAX;
    bool locked = false;
};

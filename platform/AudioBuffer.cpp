#include "platform/AudioBuffer.h"

#include <algorithm>

HRESULT CheckBufferDescription(const DSBUFFERDESC* description)
{
    if (!description || description->dwSize != sizeof(DSBUFFERDESC))
        return DSERR_INVALIDPARAM;
    const WAVEFORMATEX* format = description->lpwfxFormat;
    if (!format)
        return DSERR_INVALIDPARAM;
    if (format->wFormatTag != kAudioBufferFormat.wFormatTag ||
        format->nChannels != kAudioBufferFormat.nChannels ||
        format->nSamplesPerSec != kAudioBufferFormat.nSamplesPerSec ||
        format->wBitsPerSample != kAudioBufferFormat.wBitsPerSample ||
        format->nBlockAlign != kAudioBufferFormat.nBlockAlign)
        return DSERR_BADFORMAT;
    DWORD bytes = description->dwBufferBytes;
    if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX || bytes % format->nBlockAlign != 0)
        return DSERR_INVALIDPARAM;
    if (description->samples && description->samples->size() * sizeof(int16_t) != bytes)
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

PcmBuffer::PcmBuffer(const DSBUFFERDESC& description)
    : samples(description.samples
                  ? std::make_shared<std::vector<int16_t>>(std::move(*description.samples))
                  : std::make_shared<std::vector<int16_t>>(description.dwBufferBytes /
                                                           sizeof(int16_t))),
      flags(description.dwFlags), ownerTag(description.tag)
{
    voice.samples = samples->data();
    voice.length = static_cast<uint32_t>(samples->size());
}

PcmBuffer::PcmBuffer(const PcmBuffer& original)
    : samples(original.samples), flags(original.flags), ownerTag(original.ownerTag),
      hundredthsOfDecibel(original.hundredthsOfDecibel)
{
    voice.samples = samples->data();
    voice.length = static_cast<uint32_t>(samples->size());
    voice.gain = original.voice.gain;
}

HRESULT PcmBuffer::Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                        DWORD* bytes2, DWORD lockFlags)
{
    DWORD size = voice.length * sizeof(int16_t);
    if (!part1 || !bytes1 || lockFlags != 0 || offset >= size || bytes == 0 || bytes > size)
        return DSERR_INVALIDPARAM;
    // The mixer reads a playing buffer's samples; writing them meanwhile would race with it.
    // A duplicate's play state is its own, so shared samples are never handed out.
    if (locked || voice.playing || samples.use_count() > 1)
        return DSERR_INVALIDCALL;

    auto* base = reinterpret_cast<uint8_t*>(samples->data());
    DWORD first = std::min(bytes, size - offset);
    *part1 = base + offset;
    *bytes1 = first;
    if (part2 && bytes2) {
        DWORD wrapped = bytes - first;
        *part2 = wrapped ? base : nullptr;
        *bytes2 = wrapped;
    }
    locked = true;
    return DS_OK;
}

HRESULT PcmBuffer::Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2)
{
    if (!locked)
        return DSERR_INVALIDCALL;
    locked = false;
    return DS_OK;
}

HRESULT PcmBuffer::Restore()
{
    return DS_OK;
}

HRESULT PcmBuffer::Play(DWORD reserved, DWORD priority, DWORD playFlags)
{
    if (locked)
        return DSERR_INVALIDCALL;
    voice.looping = (playFlags & DSBPLAY_LOOPING) != 0;
    voice.playing = true;
    return DS_OK;
}

HRESULT PcmBuffer::Stop()
{
    voice.playing = false;
    return DS_OK;
}

HRESULT PcmBuffer::SetCurrentPosition(DWORD byteOffset)
{
    DWORD sample = byteOffset / sizeof(int16_t);
    if (sample >= voice.length)
        return DSERR_INVALIDPARAM;
    voice.position = sample;
    return DS_OK;
}

HRESULT PcmBuffer::GetStatus(DWORD* status)
{
    if (!status)
        return DSERR_INVALIDPARAM;
    *status = 0;
    if (voice.playing)
        *status = DSBSTATUS_PLAYING | (voice.looping ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

HRESULT PcmBuffer::SetVolume(LONG hundredthsOfDecibel)
{
    if (!(flags & DSBCAPS_CTRLVOLUME))
        return DSERR_CONTROLUNAVAIL;
    if (hundredthsOfDecibel < DSBVOLUME_MIN || hundredthsOfDecibel > DSBVOLUME_MAX)
        return DSERR_INVALIDPARAM;
    voice.gain = GainFromVolume(hundredthsOfDecibel);
    this->hundredthsOfDecibel = hundredthsOfDecibel;
    return DS_OK;
}

ULONG PcmBuffer::Release()
{
    delete this;
    return 0;
}

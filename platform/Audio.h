#pragma once
// The sound services the game is written against, with the names and values of DirectSound:
// a device opened for the window, and buffers of 16-bit mono PCM at 22,050 samples a second
// that each hold a whole clip and play it once or looping, at a volume given in hundredths of
// a decibel. Provided by the SDL backend for the game and by the scripted one for tests.

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

using HRESULT = int32_t;
using ULONG = uint32_t;

constexpr bool FAILED(HRESULT result)
{
    return result < 0;
}

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000A);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001E);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);

// Cooperation levels.
constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSCL_EXCLUSIVE = 3;
constexpr DWORD DSSCL_WRITEPRIMARY = 4;

// Buffer capabilities. Frequency and pan are accepted and not offered as controls.
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr DWORD DSBCAPS_CTRLPAN = 0x40;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x80;

constexpr DWORD DSBPLAY_LOOPING = 1;

constexpr DWORD DSBSTATUS_PLAYING = 1;
constexpr DWORD DSBSTATUS_BUFFERLOST = 2;
constexpr DWORD DSBSTATUS_LOOPING = 4;

constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

// Hundredths of a decibel: 0 is the buffer as recorded, -10000 silence.
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBVOLUME_MIN = -10000;

constexpr WORD WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;  // bytes of format-specific data after the structure
};

struct DSBUFFERDESC {
    DWORD dwSize;  // sizeof(DSBUFFERDESC)
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    const WAVEFORMATEX* lpwfxFormat;
    // A number of the owner's choosing that travels with the buffer: the sound system puts the
    // clip id here, and the test backend reports it with everything the buffer does.
    int tag;
    // Also ours: when not null, the buffer takes these samples, exactly dwBufferBytes of them,
    // as its bytes instead of starting silent, and the vector is left empty. A clip decoded
    // elsewhere so becomes the buffer without a silent buffer being made and copied into.
    std::vector<int16_t>* samples;
};

// The one format buffers can have: what the device plays.
constexpr DWORD kAudioSampleRate = 22050;
constexpr WAVEFORMATEX kAudioBufferFormat = {
    WAVE_FORMAT_PCM, 1, kAudioSampleRate, kAudioSampleRate * 2, 2, 16, 0};

class IDirectSoundBuffer {
public:
    // Hands out the bytes from offset on for writing: part1 up to the end of the buffer, part2
    // the rest from its start (null and 0 when nothing wraps). Only a stopped buffer can be
    // locked, and it cannot be played until it is unlocked. flags must be 0.
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                         DWORD* bytes2, DWORD flags) = 0;
    virtual HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) = 0;
    // Buffers here are never lost; restoring one always succeeds.
    virtual HRESULT Restore() = 0;
    // Plays from the current position, to the end (and then rewinds to the start) or, with
    // DSBPLAY_LOOPING, round and round. Playing a playing buffer only changes its looping.
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    // Stops where it is; Play goes on from there.
    virtual HRESULT Stop() = 0;
    virtual HRESULT SetCurrentPosition(DWORD byteOffset) = 0;
    virtual HRESULT GetStatus(DWORD* status) = 0;
    virtual HRESULT SetVolume(LONG hundredthsOfDecibel) = 0;
    // Frees the buffer; it must not be used again.
    virtual ULONG Release() = 0;

protected:
    virtual ~IDirectSoundBuffer() = default;
};

class IDirectSound {
public:
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
    // The format must be kAudioBufferFormat's; the size between DSBSIZE_MIN and DSBSIZE_MAX
    // and a whole number of samples. The buffer starts silent (or with the description's
    // samples), stopped, at full volume.
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                                      void* outer) = 0;
    // A second buffer over the very bytes of original (a buffer of this device): no copy is
    // made. It has a position, play state and volume of its own, and starts stopped at the
    // start, at the original's volume. Bytes shared so cannot be locked: one of the sharers may
    // be playing them.
    virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                         IDirectSoundBuffer** duplicate) = 0;
    // Lets go of the device. Buffers still alive keep it open until they are released.
    virtual ULONG Release() = 0;

protected:
    virtual ~IDirectSound() = default;
};

// Opens the default sound device (deviceGuid and outer must be null). On failure *device is
// null and AudioError() says why.
HRESULT DirectSoundCreate(const void* deviceGuid, IDirectSound** device, void* outer);

// Why the last DirectSoundCreate failed, in one line.
const char* AudioError();

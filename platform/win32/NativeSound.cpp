#include "NativeSound.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
// clang-format on

#include <cstring>
#include <vector>

namespace {

// The buffer holds a quarter of a second; the filler keeps about 60 ms written ahead of the
// play cursor, each pass every 5 ms: short enough that a sound starts on the frame it was
// asked for, long enough that a late pass is never heard.
constexpr uint32_t kBufferMilliseconds = 250;
constexpr uint32_t kAheadMilliseconds = 60;
constexpr uint32_t kPassMilliseconds = 5;

IDirectSound* Device(void* device)
{
    return static_cast<IDirectSound*>(device);
}

IDirectSoundBuffer* Buffer(void* buffer)
{
    return static_cast<IDirectSoundBuffer*>(buffer);
}

std::string Hex(HRESULT result)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

}  // namespace

bool NativeSound::Open(uint32_t sampleRate, uint16_t channels, Fill callback, void* callbackContext,
                       std::string& error)
{
    IDirectSound* sound = nullptr;
    HRESULT result = DirectSoundCreate(nullptr, &sound, nullptr);
    if (FAILED(result)) {
        error = "DirectSound found no audio device (" + Hex(result) + ")";
        return false;
    }
    device = sound;
    // The desktop window: the sound keeps playing while the game's window is in the background.
    sound->SetCooperativeLevel(GetDesktopWindow(), DSSCL_NORMAL);

    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = sampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(channels * 2);
    format.nAvgBytesPerSec = sampleRate * format.nBlockAlign;
    frameBytes = format.nBlockAlign;
    bufferBytes = format.nAvgBytesPerSec * kBufferMilliseconds / 1000 / frameBytes * frameBytes;

    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = static_cast<DWORD>(bufferBytes);
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* made = nullptr;
    result = sound->CreateSoundBuffer(&description, &made, nullptr);
    if (FAILED(result)) {
        error = "DirectSound cannot make a sound buffer (" + Hex(result) + ")";
        Close();
        return false;
    }
    buffer = made;
    fill = callback;
    context = callbackContext;
    written = 0;
    stopping = false;
    paused = true;
    // Silence first, then the buffer loops for as long as the device is open.
    void* part = nullptr;
    DWORD partBytes = 0;
    if (SUCCEEDED(made->Lock(0, 0, &part, &partBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        std::memset(part, 0, partBytes);
        made->Unlock(part, partBytes, nullptr, 0);
    }
    made->Play(0, 0, DSBPLAY_LOOPING);
    filler = std::thread(&NativeSound::Run, this);
    return true;
}

void NativeSound::Close()
{
    stopping = true;
    if (filler.joinable())
        filler.join();
    if (buffer) {
        Buffer(buffer)->Stop();
        Buffer(buffer)->Release();
    }
    if (device)
        Device(device)->Release();
    buffer = nullptr;
    device = nullptr;
}

void NativeSound::Pause(bool pause)
{
    paused = pause;
}

void NativeSound::Run()
{
    while (!stopping) {
        FillAhead();
        Sleep(kPassMilliseconds);
    }
}

void NativeSound::FillAhead()
{
    IDirectSoundBuffer* target = Buffer(buffer);
    DWORD playing = 0;
    DWORD writable = 0;
    if (FAILED(target->GetCurrentPosition(&playing, &writable)))
        return;
    const size_t ahead =
        bufferBytes * kAheadMilliseconds / kBufferMilliseconds / frameBytes * frameBytes;
    // Bytes written and not yet played; when the cursor has passed what was written (a pass
    // came late), start again just past it.
    size_t queued = (written + bufferBytes - playing) % bufferBytes;
    const size_t unsafe = (writable + bufferBytes - playing) % bufferBytes;
    if (queued < unsafe) {
        written = writable;
        queued = unsafe;
    }
    if (queued >= ahead)
        return;
    const size_t bytes = ahead - queued;
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (FAILED(target->Lock(static_cast<DWORD>(written), static_cast<DWORD>(bytes), &first,
                            &firstBytes, &second, &secondBytes, 0)))
        return;
    {
        std::lock_guard<std::mutex> held(lock);
        for (auto [part, partBytes] :
             {std::pair{first, firstBytes}, std::pair{second, secondBytes}}) {
            if (!part || partBytes == 0)
                continue;
            if (paused)
                std::memset(part, 0, partBytes);
            else
                fill(context, static_cast<int16_t*>(part), partBytes / sizeof(int16_t));
        }
    }
    target->Unlock(first, firstBytes, second, secondBytes);
    written = (written + firstBytes + secondBytes) % bufferBytes;
}

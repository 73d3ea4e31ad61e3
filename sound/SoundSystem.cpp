#include "sound/SoundSystem.h"

#include <algorithm>
#include <cstdio>

#include "archive/ResourceArchive.h"
#include "sound/ClipDecoder.h"
#include "sound/ClipPreloader.h"
#include "sound/SoundSource.h"

SoundSystem* soundSystem = nullptr;

const char* const kClipNames[9] = {
    "se_select.mp3", "tessani.mp3",  "lumbera.mp3",  "se_chon.mp3", "se_fire.mp3",
    "se_bomb.mp3",   "se_baria.mp3", "se_laser.mp3", "se_myao.mp3",
};

SoundSystem::SoundSystem(HWND window)
{
    if (FAILED(DirectSoundCreate(nullptr, &device, nullptr))) {
        deviceFailure = AudioError();
    } else if (FAILED(device->SetCooperativeLevel(window, DSSCL_NORMAL))) {
        deviceFailure = "the device cannot be shared with this window";
        device->Release();
        device = nullptr;
    }
}

SoundSystem::~SoundSystem()
{
    for (Voice& voice : voices)
        voice.buffer->Release();
    for (SoundClip& clip : clips) {
        if (clip.buffer) {
            clip.buffer->Release();
            clip = SoundClip();
        }
    }
    if (device)
        device->Release();
    voices.clear();
}

uint16_t SoundSystem::Load(ResourceArchive& archive, const char* name)
{
    if (!device)
        return Fail(archive, name, "there is no sound device to play it");
    SoundClip* clip = std::find_if(std::begin(clips), std::end(clips), [](const SoundClip& each) {
        return !each.buffer && !each.pendingArchive;
    });
    if (clip == std::end(clips))
        return Fail(archive, name, "no free clip slot, all 16 are taken");
    int slot = static_cast<int>(clip - clips);

    ClipPreloader* preloaded = ClipPreloader::current;
    if (preloaded && preloaded->Holds(archive, name)) {
        // The game's music takes longer to decode than everything else before the first
        // frame; the title, which plays none, goes up meanwhile.
        clip->pendingArchive = &archive;
        clip->pendingName = name;
        return static_cast<uint16_t>(slot);
    }
    return MakeBuffer(*clip, slot, archive, name) ? static_cast<uint16_t>(slot) : 0xFFFF;
}

bool SoundSystem::MakeBuffer(SoundClip& clip, int slot, ResourceArchive& archive, const char* name)
{
    std::vector<int16_t> pcm;  // the buffer takes it over
    ClipPreloader* preloaded = ClipPreloader::current;
    if (!preloaded || !preloaded->Take(archive, name, pcm)) {
        SoundSource source(archive, name);
        std::string fault;
        if (!DecodeClip(source, pcm, fault)) {
            Fail(archive, name, fault);
            return false;
        }
    }
    clip.buffer = CreateClipBuffer(slot, pcm);
    if (!clip.buffer) {
        Fail(archive, name,
             "no playback buffer can hold its " + std::to_string(pcm.size()) + " samples");
        return false;
    }
    return true;
}

void SoundSystem::Play(int id)
{
    if (!IsLoaded(id))
        return;
    for (Voice& voice : voices) {
        if (voice.id != id)
            continue;
        DWORD status = 0;
        voice.buffer->GetStatus(&status);
        if (!(status & DSBSTATUS_PLAYING)) {
            voice.buffer->Play(0, 0, 0);  // a voice that played to its end starts afresh
            return;
        }
    }
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(device->DuplicateSoundBuffer(clips[id].buffer, &buffer)))
        return;
    buffer->SetVolume(EffectVolume());
    buffer->Play(0, 0, 0);
    voices.push_back({buffer, static_cast<uint16_t>(id)});
}

void SoundSystem::PlayMusic(int id, int loop)
{
    if (IsLoaded(id))
        clips[id].buffer->Play(0, 0, loop == 1 ? DSBPLAY_LOOPING : 0);
}

void SoundSystem::Stop(int id)
{
    if (!IsLoaded(id))
        return;
    clips[id].buffer->Stop();
    clips[id].buffer->SetCurrentPosition(0);
}

const std::string& SoundSystem::error() const
{
    return failure;
}

const std::string& SoundSystem::deviceError() const
{
    return deviceFailure;
}

bool SoundSystem::IsLoaded(int id)
{
    if (id < 0 || id >= kSlotCount)
        return false;
    SoundClip& clip = clips[id];
    if (clip.pendingArchive) {
        ResourceArchive& archive = *clip.pendingArchive;
        const std::string name = std::move(clip.pendingName);
        clip.pendingArchive = nullptr;
        if (MakeBuffer(clip, id, archive, name.c_str()))
            clip.buffer->SetVolume(DSBVOLUME_MAX + musicLevel);  // as SetLevels left the others
        else
            std::fprintf(stderr, "korimo: %s; it stays silent\n", failure.c_str());
    }
    return clip.buffer;
}

IDirectSoundBuffer* SoundSystem::CreateClipBuffer(int slot, std::vector<int16_t>& pcm)
{
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    // A clip too long for a buffer must stay too long, not wrap round to a small size.
    description.dwBufferBytes =
        static_cast<DWORD>(std::min<size_t>(pcm.size() * sizeof(int16_t), DSBSIZE_MAX + 1));
    description.lpwfxFormat = &kAudioBufferFormat;
    description.tag = slot;
    // The buffer takes the decoded samples themselves: no second copy of a clip is made,
    // which at start-up was as slow as decoding, the fresh pages of a silent buffer and the
    // copy into them costing more than the arithmetic.
    description.samples = &pcm;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(device->CreateSoundBuffer(&description, &buffer, nullptr)))
        return nullptr;
    return buffer;
}

uint16_t SoundSystem::Fail(const ResourceArchive& archive, const char* name,
                           const std::string& fault)
{
    failure = std::string(archive.dataPath) + ": sound \"" + name + "\": " + fault;
    return 0xFFFF;
}

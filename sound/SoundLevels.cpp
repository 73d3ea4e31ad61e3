// The player's side of the sound system: pausing every sound with the game, and the music and
// effect levels.

#include <algorithm>

#include "sound/SoundSystem.h"

namespace {

// Effects sound 10 dB below the music, which plays at the buffers' full volume.
constexpr LONG kEffectVolume = -1000;

LONG Attenuate(LONG volume, LONG level)
{
    return std::max(DSBVOLUME_MIN, volume + level);
}

}  // namespace

template <typename Visit>
void SoundSystem::ForEachBuffer(Visit visit)
{
    for (SoundClip& clip : clips) {
        if (clip.buffer)
            visit(clip.buffer, DSBVOLUME_MAX + musicLevel);
    }
    for (Voice& voice : voices)
        visit(voice.buffer, EffectVolume());
}

LONG SoundSystem::EffectVolume() const
{
    return Attenuate(kEffectVolume, effectsLevel);
}

void SoundSystem::PauseAll()
{
    ForEachBuffer([this](IDirectSoundBuffer* buffer, LONG) {
        DWORD status = 0;
        buffer->GetStatus(&status);
        if (!(status & DSBSTATUS_PLAYING))
            return;
        buffer->Stop();
        paused.push_back({buffer, (status & DSBSTATUS_LOOPING) != 0});
    });
}

void SoundSystem::ResumeAll()
{
    for (const PausedBuffer& each : paused)
        each.buffer->Play(0, 0, each.looping ? DSBPLAY_LOOPING : 0);
    paused.clear();
}

void SoundSystem::SetLevels(LONG music, LONG effects)
{
    musicLevel = std::clamp(music, DSBVOLUME_MIN, DSBVOLUME_MAX);
    effectsLevel = std::clamp(effects, DSBVOLUME_MIN, DSBVOLUME_MAX);
    ForEachBuffer(
        [](IDirectSoundBuffer* buffer, LONG volume) { buffer->SetVolume(Attenuate(volume, 0)); });
}

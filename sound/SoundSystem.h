#pragma once
// Every sound of the game: up to 16 decoded clips, each with a playback buffer of its own that
// serves as that clip's music channel, and a growing pool of voices for effects, so that one
// effect can sound several times at once. Callers name a sound by its id, its load position.
// A clip's PCM is held once, in its own buffer: the voices are duplicates that play the same
// bytes.

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Platform.h"

class ResourceArchive;

// The clips in load order; the position is the id every caller passes.
enum SoundId : uint16_t {
    kSoundSelect = 0,       // "se_select.mp3": menu selection
    kSoundGameMusic = 1,    // "tessani.mp3"
    kSoundEndingMusic = 2,  // "lumbera.mp3"
    kSoundShot = 3,         // "se_chon.mp3"
    kSoundExplosion = 4,    // "se_fire.mp3"
    kSoundBomb = 5,         // "se_bomb.mp3"
    kSoundGraze = 6,        // "se_baria.mp3"
    kSoundLockOn = 7,       // "se_laser.mp3"
    kSoundNotes = 8,        // "se_myao.mp3"
};
extern const char* const kClipNames[9];

class SoundSystem {
public:
    // Opens the sound device for the window. When there is none, deviceError() says why, and
    // nothing loads or plays; whether the program goes on is its start-up's choice.
    explicit SoundSystem(HWND window);
    virtual ~SoundSystem();

    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Decodes the named clip into the lowest free slot and returns the slot (the id). On a
    // clip that cannot be loaded, returns 0xFFFF and error() names the resource and the fault.
    // A clip that a ClipPreloader is decoding takes its slot at once and is made playable when
    // its id is first played or stopped, so that start-up need not wait for long music; should
    // it not decode then, the fault is printed on standard error and the id stays silent.
    uint16_t Load(ResourceArchive& archive, const char* name);
    void Play(int id);
    void PlayMusic(int id, int loop);
    void Stop(int id);

    // Stops every sound where it stands; ResumeAll plays them on from there.
    void PauseAll();
    void ResumeAll();
    // Levels in hundredths of a decibel (0 down to -10000, silence) set on top of the music's
    // and the effects' own volumes, for the sounds playing and those to come.
    void SetLevels(LONG music, LONG effects);

    const std::string& error() const;
    // Empty when the sound device opened; otherwise why not, in one line.
    const std::string& deviceError() const;

private:
    static constexpr int kSlotCount = 16;

    struct SoundClip {
        // The clip's own, for music, holding its 16-bit mono PCM at 22,050 Hz; null: slot free
        // unless the clip is pending.
        IDirectSoundBuffer* buffer = nullptr;
        // Where a pending clip comes from: the preloader is still decoding it.
        ResourceArchive* pendingArchive = nullptr;
        std::string pendingName;
    };
    // An extra buffer over one clip's PCM, so that an effect can overlap itself.
    struct Voice {
        IDirectSoundBuffer* buffer;
        uint16_t id;
    };

    // Whether id has a buffer, making it first if the clip is pending.
    bool IsLoaded(int id);
    // Takes the clip from the preloader, or decodes it, into a new buffer in clip; false (and
    // error() says why) when it cannot.
    bool MakeBuffer(SoundClip& clip, int slot, ResourceArchive& archive, const char* name);
    // A stopped, full-volume buffer that takes the PCM over, leaving pcm empty; null (and pcm
    // as it was) when the device cannot make one.
    IDirectSoundBuffer* CreateClipBuffer(int slot, std::vector<int16_t>& pcm);
    uint16_t Fail(const ResourceArchive& archive, const char* name, const std::string& fault);
    LONG EffectVolume() const;
    template <typename Visit>
    void ForEachBuffer(Visit visit);

    IDirectSound* device = nullptr;
    SoundClip clips[kSlotCount];
    std::list<Voice> voices;  // oldest first; they live until the sound system goes
    struct PausedBuffer {
        IDirectSoundBuffer* buffer;
        bool looping;
    };
    std::vector<PausedBuffer> paused;
    LONG musicLevel = 0;
    LONG effectsLevel = 0;
    std::string failure;
    std::string deviceFailure;
};

extern SoundSystem* soundSystem;

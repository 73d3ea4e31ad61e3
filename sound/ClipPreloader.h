#pragma once
// Decodes the game's clips on two threads while the window opens and the title shows, ahead of
// SoundSystem, which takes a finished clip instead of decoding it again. Load still fills the
// slots in the order it is called, so the ids stay the load order; a clip being decoded here
// gets its slot at once and its buffer when it is first used.
//
// The threads only read the archive's mapped bytes, found beforehand on the calling thread,
// and allocate nothing small: the game's small-block pool belongs to the main thread.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

class ResourceArchive;

class ClipPreloader {
public:
    // Starts decoding the named entries; while it lives, Load looks here first.
    ClipPreloader(ResourceArchive& archive, std::span<const char* const> names);
    // Lets the threads finish the clips they are decoding and waits for them; clips nobody
    // took are dropped.
    ~ClipPreloader();
    // Lets the threads finish only the clips they are decoding, and waits for them: for a
    // program about to end, whose archive must not go while they read it.
    void StopAndWait();

    ClipPreloader(const ClipPreloader&) = delete;
    ClipPreloader& operator=(const ClipPreloader&) = delete;

    // Whether name of archive is one of the clips being decoded here, present in the archive
    // and not taken yet.
    bool Holds(const ResourceArchive& archive, const char* name);
    // Moves the PCM decoded for name of archive into pcm, waiting for it if need be. False
    // when it was not preloaded or did not decode: the caller decodes it itself and learns why.
    bool Take(const ResourceArchive& archive, const char* name, std::vector<int16_t>& pcm);

    // The preloader alive now, or null.
    static ClipPreloader* current;

private:
    struct Clip {
        std::string name;
        const uint8_t* bytes = nullptr;  // the archive entry; null when there is none
        uint32_t size = 0;
        std::vector<int16_t> pcm;
        bool done = false;
        bool decoded = false;
        bool taken = false;
    };

    void Work();

    const ResourceArchive* archive;
    std::vector<Clip> clips;
    size_t next = 0;  // the first clip no thread has taken
    std::mutex lock;
    std::condition_variable finished;
    std::thread threads[2];
};

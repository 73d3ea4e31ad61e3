#include "sound/ClipPreloader.h"

#include <cstring>

#include "archive/ResourceArchive.h"
#include "platform/Threads.h"
#include "sound/ClipDecoder.h"
#include "sound/SoundSource.h"

ClipPreloader* ClipPreloader::current = nullptr;

namespace {

constexpr int kDecodingNiceness = 10;

}  // namespace

ClipPreloader::ClipPreloader(ResourceArchive& archive, std::span<const char* const> names)
    : archive(&archive)
{
    if (!kCanStartThreads)
        return;
    // Everything that allocates or moves the archive's cursor happens here, on this thread.
    clips.resize(names.size());
    for (size_t i = 0; i < names.size(); i++) {
        SoundSource source(archive, names[i]);
        clips[i].name = names[i];
        clips[i].bytes = source.start;
        clips[i].size = source.size;
    }
    for (std::thread& thread : threads)
        thread = std::thread(&ClipPreloader::Work, this);
    current = this;
}

ClipPreloader::~ClipPreloader()
{
    current = nullptr;
    StopAndWait();
}

void ClipPreloader::StopAndWait()
{
    {
        // The clips no thread took count as not preloaded: Take decodes nothing of them.
        std::lock_guard<std::mutex> held(lock);
        for (; next < clips.size(); next++)
            clips[next].done = true;
    }
    finished.notify_all();
    for (std::thread& thread : threads) {
        if (thread.joinable())
            thread.join();
    }
}

bool ClipPreloader::Holds(const ResourceArchive& from, const char* name)
{
    std::lock_guard<std::mutex> held(lock);
    for (const Clip& clip : clips) {
        if (&from == archive && clip.name == name && clip.bytes && !clip.taken)
            return true;
    }
    return false;
}

bool ClipPreloader::Take(const ResourceArchive& from, const char* name, std::vector<int16_t>& pcm)
{
    for (Clip& clip : clips) {
        if (&from != archive || clip.name != name)
            continue;
        std::unique_lock<std::mutex> held(lock);
        finished.wait(held, [&] { return clip.done; });
        clip.taken = true;
        if (!clip.decoded)
            return false;
        pcm.swap(clip.pcm);
        clip.decoded = false;  // taken: a second load of the name decodes afresh
        return true;
    }
    return false;
}

void ClipPreloader::Work()
{
    // Below the main thread, which meanwhile opens the window and draws the first frames and
    // waits for a clip only when it needs it: then these are all that is left to run.
    LowerThreadPriority(kDecodingNiceness);
    for (;;) {
        Clip* clip = nullptr;
        {
            std::lock_guard<std::mutex> held(lock);
            if (next == clips.size())
                return;
            clip = &clips[next++];
        }
        std::vector<int16_t> pcm;
        // Never a block small enough for the main thread's pool, however short the clip.
        pcm.reserve(64);
        bool decoded = false;
        if (clip->bytes) {
            SoundSource source(clip->bytes, clip->size);
            std::string fault;
            decoded = DecodeClip(source, pcm, fault);
        }
        {
            std::lock_guard<std::mutex> held(lock);
            clip->pcm.swap(pcm);
            clip->decoded = decoded;
            clip->done = true;
        }
        finished.notify_all();
    }
}

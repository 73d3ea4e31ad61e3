// The sound system's share of start-up, decoding the nine clips of the built archive, against a
// bare libmpg123 loop decoding the same streams and keeping nothing; the memory the decoded
// clips hold and the game's heap at the title; and the mixer against SDL's own
// (SDL_MixAudioFormat) on the same voices.

#include <SDL.h>
#include <malloc.h>
#include <mpg123.h>
#include <sys/resource.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/Globals.h"
#include "app/Program.h"
#include "archive/ResourceArchive.h"
#include "gfx/Surface.h"
#include "platform/AudioMixer.h"
#include "platform/scripted/Scripted.h"
#include "scenes/TitleScene.h"
#include "sound/ClipDecoder.h"
#include "sound/SoundSource.h"
#include "sound/SoundSystem.h"

namespace {

ResourceArchive& Archive()
{
    static ResourceArchive archive(KORIMO_RUN_DIR "/korimo");
    return archive;
}

bool ArchiveUsable(benchmark::State& state)
{
    if (Archive().error().empty())
        return true;
    state.SkipWithError(Archive().error().c_str());
    return false;
}

// Start-up as the game does it: the device, then the nine clips decoded into their slots, each
// with its own playback buffer.
void LoadNineClips(benchmark::State& state)
{
    if (!ArchiveUsable(state))
        return;
    scripted::Install();
    for (auto _ : state) {
        SoundSystem sound(nullptr);
        for (const char* name : kClipNames) {
            if (sound.Load(Archive(), name) == 0xFFFF) {
                state.SkipWithError(sound.error().c_str());
                return;
            }
        }
    }
}

// The reference: the same streams through libmpg123 alone, its output thrown away.
void DecodeNineClipsBare(benchmark::State& state)
{
    if (!ArchiveUsable(state))
        return;
    std::vector<std::vector<uint8_t>> streams;
    for (const char* name : kClipNames) {
        SoundSource source(Archive(), name);
        const char* fault = nullptr;
        std::span<const uint8_t> stream = source.Stream(&fault);
        streams.emplace_back(stream.begin(), stream.end());
    }
    mpg123_init();
    static unsigned char block[1 << 16];
    for (auto _ : state) {
        for (const std::vector<uint8_t>& stream : streams) {
            mpg123_handle* handle = mpg123_new(nullptr, nullptr);
            mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
            mpg123_open_feed(handle);
            mpg123_feed(handle, stream.data(), stream.size());
            size_t bytes = 0;
            int result;
            do {
                result = mpg123_read(handle, block, sizeof block, &bytes);
                benchmark::DoNotOptimize(block);
            } while (result == MPG123_OK || result == MPG123_NEW_FORMAT);
            mpg123_delete(handle);
        }
    }
}

// Eight effects sounding at once, 10 dB down, as the game's busiest moments have them; one
// device period of 512 samples.
constexpr size_t kPeriod = 512;
constexpr int kVoices = 8;

std::vector<int16_t> Noise(size_t samples, uint32_t seed)
{
    std::vector<int16_t> noise(samples);
    for (int16_t& sample : noise) {
        seed = seed * 1664525 + 1013904223;
        sample = static_cast<int16_t>(seed >> 16);
    }
    return noise;
}

void MixEightVoices(benchmark::State& state)
{
    std::vector<std::vector<int16_t>> clips;
    std::vector<MixVoice> voices(kVoices);
    std::vector<MixVoice*> playing;
    for (int i = 0; i < kVoices; i++) {
        clips.push_back(Noise(22050, i + 1));
        voices[i] = {clips[i].data(), 22050, 0, GainFromVolume(-1000), true, true};
        playing.push_back(&voices[i]);
    }
    int16_t out[kPeriod];
    MixLimiter limiter;
    for (auto _ : state) {
        MixVoices(playing, out, kPeriod, limiter);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * kPeriod * kVoices);
}

// The reference: SDL's mixer adding the same voices at the nearest of its 128 volume steps.
void SdlMixEightVoices(benchmark::State& state)
{
    std::vector<std::vector<int16_t>> clips;
    for (int i = 0; i < kVoices; i++)
        clips.push_back(Noise(22050, i + 1));
    int volume = SDL_MIX_MAXVOLUME * GainFromVolume(-1000) / kFullGain;
    size_t position = 0;
    int16_t out[kPeriod];
    for (auto _ : state) {
        SDL_memset(out, 0, sizeof out);
        for (const std::vector<int16_t>& clip : clips) {
            SDL_MixAudioFormat(reinterpret_cast<Uint8*>(out),
                               reinterpret_cast<const Uint8*>(clip.data() + position), AUDIO_S16SYS,
                               sizeof out, volume);
        }
        position = (position + kPeriod) % (22050 - kPeriod);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * kPeriod * kVoices);
}

long PeakResidentKilobytes()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Bytes the heap has handed out and not had back, small blocks and mapped ones alike.
size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// What the decoded clips take: each clip's PCM once, in its own buffer, which its voices play
// too, so ten overlapping plays of every clip cost next to nothing. The peak is measured first
// thing, so that nothing freed earlier hides its growth.
void ReportClipMemory()
{
    if (!Archive().error().empty()) {
        std::printf("clip memory: no archive (%s)\n", Archive().error().c_str());
        return;
    }
    scripted::Install();
    long peakBefore = PeakResidentKilobytes();
    size_t heapBefore = HeapInUse();
    size_t heapLoaded = 0, heapVoices = 0;
    {
        SoundSystem sound(nullptr);
        for (const char* name : kClipNames)
            sound.Load(Archive(), name);
        heapLoaded = HeapInUse() - heapBefore;
        for (int play = 0; play < 10; play++)
            for (int id = 0; id < static_cast<int>(std::size(kClipNames)); id++)
                sound.Play(id);
        heapVoices = HeapInUse() - heapBefore - heapLoaded;
    }
    long peakGrowth = PeakResidentKilobytes() - peakBefore;

    size_t pcmBytes = 0;
    for (const char* name : kClipNames) {
        SoundSource source(Archive(), name);
        std::vector<int16_t> pcm;
        std::string fault;
        if (!DecodeClip(source, pcm, fault)) {
            std::printf("clip memory: %s: %s\n", name, fault.c_str());
            return;
        }
        const char* unused = nullptr;
        std::printf("  %-14s %7.2f s from %7zu bytes of MP3\n", name, pcm.size() / 22050.0,
                    source.Stream(&unused).size());
        pcmBytes += pcm.size() * sizeof(int16_t);
    }
    std::printf("clip memory: %.2f MiB of PCM; the loaded sound system holds %.2f MiB of heap, "
                "and %.2f MiB more with every clip playing ten times over; the peak resident "
                "size grew by %.2f MiB while loading\n",
                pcmBytes / 1048576.0, heapLoaded / 1048576.0, heapVoices / 1048576.0,
                peakGrowth / 1024.0);
}

// The game's own heap once the title is up: the program started as main starts it, on the
// scripted platform, with the title scene. The test platform's copy of the presented frame is
// not the game's and is left out. The ten snapshots, made at start but first used in play,
// are shown as a share.
void ReportTitleHeap()
{
    constexpr double kGoalMiB = 10;
    constexpr double kMiB = 1048576.0;
    scripted::Install();
    size_t before = HeapInUse();
    Program program;
    if (!program.Start([] { return new TitleScene; }, nullptr, nullptr, SW_SHOWNORMAL)) {
        std::printf("heap at the title: the program did not start\n");
        return;
    }
    // The music may still be decoding when the title goes up, and is held a moment later:
    // stopping every id first waits for each clip and makes its buffer.
    for (int id = 0; id < static_cast<int>(std::size(kClipNames)); id++)
        soundSystem->Stop(id);
    size_t handedOut =
        HeapInUse() - before - scripted::LastPresentedFrame().capacity() * sizeof(uint32_t);
    size_t snapshotBytes = 0;
    for (Surface* snapshot : snapshots)
        snapshotBytes += static_cast<size_t>(snapshot->width) * snapshot->height * 4;
    program.Stop(nullptr);
    double mib = handedOut / kMiB;
    std::printf("heap at the title: %.2f MiB, of which the ten snapshots %.2f MiB (goal <= %.0f "
                "MiB: %s)\n",
                mib, snapshotBytes / kMiB, kGoalMiB, mib <= kGoalMiB ? "met" : "MISSED");
}

}  // namespace

BENCHMARK(LoadNineClips)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeNineClipsBare)->Unit(benchmark::kMillisecond);
BENCHMARK(MixEightVoices);
BENCHMARK(SdlMixEightVoices);

int main(int argc, char** argv)
{
    ReportClipMemory();
    ReportTitleHeap();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

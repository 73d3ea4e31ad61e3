#include "platform/AudioMixer.h"

#include <algorithm>
#include <cmath>

int32_t GainFromVolume(int32_t hundredthsOfDecibel)
{
    // The bottom of the range means silence, not merely 100 dB down.
    if (hundredthsOfDecibel <= -10000)
        return 0;
    double factor = std::pow(10.0, std::min(hundredthsOfDecibel, 0) / 2000.0);
    return static_cast<int32_t>(std::lround(factor * kFullGain));
}

void AdvanceVoice(MixVoice& voice, uint64_t count)
{
    uint64_t next = voice.position + count;
    if (next < voice.length) {
        voice.position = static_cast<uint32_t>(next);
    } else if (voice.looping && voice.length > 0) {
        voice.position = static_cast<uint32_t>(next % voice.length);
    } else {
        voice.playing = false;
        voice.position = 0;
    }
}

// Adds count samples of one voice into sum (when there is one), following it round its loop or
// up to its end.
static void AddVoice(MixVoice& voice, int32_t* sum, size_t count)
{
    size_t done = 0;
    while (done < count && voice.playing) {
        if (voice.position >= voice.length) {  // an empty voice has nothing to play
            voice.playing = false;
            voice.position = 0;
            break;
        }
        size_t run = std::min<size_t>(count - done, voice.length - voice.position);
        const int16_t* samples = voice.samples + voice.position;
        // A sample times a gain of at most 1.0 fits in 32 bits; so does the sum of thousands.
        for (size_t i = 0; sum && i < run; i++)
            sum[done + i] += (samples[i] * voice.gain) >> 16;
        done += run;
        AdvanceVoice(voice, run);
    }
}

// The gain's way back to 1 after a loud stretch: about 100 ms at 22,050 samples a second.
constexpr float kLimiterRelease = 1.0f / 2205.0f;

static int16_t Limit(int32_t sum, MixLimiter& limiter)
{
    const float magnitude = std::fabs(static_cast<float>(sum));
    if (magnitude * limiter.gain > MixLimiter::kThreshold)
        limiter.gain = MixLimiter::kThreshold / magnitude;
    else if (limiter.gain < 1.0f)
        limiter.gain += (1.0f - limiter.gain) * kLimiterRelease;
    // Close enough to pass every sample unchanged again.
    if (limiter.gain > 0.99999f)
        limiter.gain = 1.0f;
    return static_cast<int16_t>(std::lround(sum * limiter.gain));
}

void MixVoices(std::span<MixVoice* const> voices, int16_t* out, size_t count, MixLimiter& limiter)
{
    if (!out) {
        for (MixVoice* voice : voices) {
            if (voice->playing)
                AddVoice(*voice, nullptr, count);
        }
        return;
    }
    // Summed a stretch at a time in a fixed block on the stack: the audio thread never
    // allocates.
    constexpr size_t kStretch = 256;
    int32_t sum[kStretch];
    while (count > 0) {
        size_t stretch = std::min(count, kStretch);
        std::fill_n(sum, stretch, 0);
        for (MixVoice* voice : voices) {
            if (voice->playing)
                AddVoice(*voice, sum, stretch);
        }
        for (size_t i = 0; i < stretch; i++)
            out[i] = Limit(sum[i], limiter);
        out += stretch;
        count -= stretch;
    }
}

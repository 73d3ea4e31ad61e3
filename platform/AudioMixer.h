#pragma once
// The software mixer behind the sound buffers: plain functions over plain records, so that the
// arithmetic can be checked without a sound device. The audio thread calls MixVoices; nothing
// here allocates or waits.

#include <cstddef>
#include <cstdint>
#include <span>

// 1.0 in the fixed-point gain of a voice.
constexpr int32_t kFullGain = 1 << 16;

// A buffer as the mixer sees it. The invariant: position < length whenever length > 0.
struct MixVoice {
    const int16_t* samples = nullptr;
    uint32_t length = 0;    // in samples
    uint32_t position = 0;  // the next sample to play
    int32_t gain = kFullGain;
    bool playing = false;
    bool looping = false;
};

// A volume in hundredths of a decibel (0 down to -10000, which is silence) as a gain.
int32_t GainFromVolume(int32_t hundredthsOfDecibel);

// Moves a playing voice on by count samples: a looping voice wraps round to its start, any
// other stops at its end and rewinds, so that the next play starts from the beginning.
void AdvanceVoice(MixVoice& voice, uint64_t count);

// A soft limiter on the mix, so that a pile of voices sounds loud but never clips. A sum that
// stays under the threshold passes unchanged. A louder one turns the gain down at once to
// what keeps it at the threshold, and the gain then comes back up over about a tenth of a
// second, so the waveform keeps its shape instead of being cut flat at full scale.
struct MixLimiter {
    static constexpr int32_t kThreshold = 29491;  // 90% of full scale
    float gain = 1.0f;
};

// Writes count samples of the sum of every playing voice, each scaled by its gain, through the
// limiter (silence when nothing plays), and moves the voices on by what they played. With a
// null out, which nobody hears, the voices only move on.
void MixVoices(std::span<MixVoice* const> voices, int16_t* out, size_t count, MixLimiter& limiter);

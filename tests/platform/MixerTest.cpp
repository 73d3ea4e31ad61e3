#include "platform/AudioMixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Samples = std::vector<int16_t>;

MixVoice Voice(const Samples& samples, int32_t gain = kFullGain, bool looping = false)
{
    return {samples.data(), static_cast<uint32_t>(samples.size()), 0, gain, true, looping};
}

Samples Mix(std::vector<MixVoice*> voices, size_t count)
{
    Samples out(count, 12345);  // whatever was there before
    MixLimiter limiter;
    MixVoices(voices, out.data(), count, limiter);
    return out;
}

TEST(Mixer, SumsThePlayingVoicesEachAtItsVolume)
{
    EXPECT_EQ(GainFromVolume(0), kFullGain);
    EXPECT_NEAR(GainFromVolume(-1000), kFullGain / std::sqrt(10.0), 1.0);  // effects: -10 dB
    EXPECT_NEAR(GainFromVolume(-2000), kFullGain / 10.0, 1.0);
    EXPECT_EQ(GainFromVolume(-10000), 0);

    Samples a = {1000, -2000, 3000, 400}, b = {100, 100, -100, -100};
    Samples quiet = {10000, -10000, 20000, 0};
    MixVoice first = Voice(a), second = Voice(b), third = Voice(quiet, GainFromVolume(-2000));
    MixVoice idle = Voice(a);
    idle.playing = false;
    Samples out = Mix({&first, &idle, &second, &third}, 4);
    Samples expected = {2100, -2900, 4900, 300};
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_NEAR(out[i], expected[i], 1) << i;
    // With nothing playing the output is silence rather than what the buffer held.
    EXPECT_EQ(Mix({&idle}, 3), (Samples{0, 0, 0}));
    EXPECT_EQ(Mix({}, 2), (Samples{0, 0}));
}

TEST(Mixer, PlaysAVoiceOnceOrRoundAndRound)
{
    Samples samples = {1, 2, 3}, tens(6, 10);
    MixVoice once = Voice(samples);
    EXPECT_EQ(Mix({&once}, 5), (Samples{1, 2, 3, 0, 0}));
    // At its end the voice stops and rewinds, ready to play from the start.
    EXPECT_FALSE(once.playing);
    EXPECT_EQ(once.position, 0u);
    // A voice ending within a call leaves the others playing on.
    MixVoice shortOne = Voice(samples), longOne = Voice(tens);
    EXPECT_EQ(Mix({&shortOne, &longOne}, 6), (Samples{11, 12, 13, 10, 10, 10}));

    MixVoice looping = Voice(samples, kFullGain, true);
    looping.position = 1;
    EXPECT_EQ(Mix({&looping}, 7), (Samples{2, 3, 1, 2, 3, 1, 2}));
    EXPECT_EQ(Mix({&looping}, 2), (Samples{3, 1}));
    Samples one = {5};
    MixVoice single = Voice(one, kFullGain, true);
    EXPECT_EQ(Mix({&single}, 3), (Samples{5, 5, 5})) << "a loop of one sample";
    // More samples than the mixer sums at a time, from a loop that does not divide them.
    Samples ramp(97);
    for (size_t i = 0; i < ramp.size(); i++)
        ramp[i] = static_cast<int16_t>(i * 100);
    MixVoice voice = Voice(ramp, kFullGain, true);
    Samples out = Mix({&voice}, 1000);
    for (size_t i = 0; i < out.size(); i++)
        ASSERT_EQ(out[i], ramp[i % ramp.size()]) << i;

    // Moving a voice on without playing it: a looping one wraps even after a very long time.
    Samples hundred(100);
    MixVoice silent = Voice(hundred), circling = Voice(hundred, kFullGain, true);
    AdvanceVoice(silent, 99);
    EXPECT_TRUE(silent.playing);
    AdvanceVoice(silent, 1);
    EXPECT_FALSE(silent.playing);
    EXPECT_EQ(silent.position, 0u);
    AdvanceVoice(circling, 1'000'000'000'123ull);
    EXPECT_TRUE(circling.playing);
    EXPECT_EQ(circling.position, 23u);
}

// Nobody hears the output (no sound wanted): the voices move on exactly as far as when mixed,
// so that which of them still sounds stays the same.
TEST(Mixer, UnheardVoicesMoveOnAsHeardOnes)
{
    Samples three = {1, 2, 3}, empty;
    const struct {
        const char* name;
        MixVoice voice;
        uint32_t startAt;
        size_t count;
    } cases[] = {
        {"within the clip", Voice(three), 0, 2},
        {"to its end", Voice(three), 1, 2},
        {"past its end", Voice(three), 2, 5},
        {"round its loop", Voice(three, kFullGain, true), 2, 7},
        {"a long stretch round the loop", Voice(three, kFullGain, true), 0, 1000},
        {"an empty clip", Voice(empty, kFullGain, true), 0, 4},
        {"not playing", MixVoice{three.data(), 3, 1, kFullGain, false, false}, 1, 4},
    };
    for (const auto& c : cases) {
        MixVoice heard = c.voice, unheard = c.voice;
        heard.position = unheard.position = c.startAt;
        Mix({&heard}, c.count);
        MixLimiter limiter;
        MixVoice* voices[] = {&unheard};
        MixVoices(voices, nullptr, c.count, limiter);
        EXPECT_EQ(unheard.position, heard.position) << c.name;
        EXPECT_EQ(unheard.playing, heard.playing) << c.name;
    }
}

TEST(Mixer, APileOf300VoicesIsLimitedSmoothlyWithinFullScale)
{
    constexpr size_t kLength = 22050;
    Samples tone(kLength);
    for (size_t i = 0; i < kLength; i++)
        tone[i] = static_cast<int16_t>(20000 * std::sin(i * 2 * M_PI * 440 / 22050));
    std::vector<MixVoice> voices(300, Voice(tone, GainFromVolume(-1000)));
    std::vector<MixVoice*> playing;
    for (MixVoice& voice : voices)
        playing.push_back(&voice);
    Samples out(kLength);
    MixLimiter limiter;
    MixVoices(playing, out.data(), out.size(), limiter);

    int peak = 0, flat = 0, wrongSign = 0;
    for (size_t i = 0; i < kLength; i++) {
        peak = std::max(peak, std::abs(int(out[i])));
        flat += out[i] >= 32767 || out[i] <= -32767;
        wrongSign += (tone[i] > 500 && out[i] <= 0) || (tone[i] < -500 && out[i] >= 0);
    }
    EXPECT_GT(peak, 25000) << "loud";
    EXPECT_EQ(flat, 0) << "never cut flat at full scale";
    EXPECT_EQ(wrongSign, 0) << "the wave keeps its shape";
    // A quiet voice after the pile comes back to its own level within a second.
    MixVoice quiet = Voice(tone, GainFromVolume(-2000));
    MixVoice* alone[] = {&quiet};
    MixVoices(alone, out.data(), out.size(), limiter);
    EXPECT_NEAR(out[kLength - 100], tone[kLength - 100] / 10, 2);
}

}  // namespace

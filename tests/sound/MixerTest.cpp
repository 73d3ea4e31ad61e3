#include "platform/AudioMixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

MixVoice Voice(const std::vector<int16_t>& samples, int32_t gain = kFullGain)
{
    MixVoice voice;
    voice.samples = samples.data();
    voice.length = static_cast<uint32_t>(samples.size());
    voice.gain = gain;
    voice.playing = true;
    return voice;
}

std::vector<int16_t> Mix(std::vector<MixVoice*> voices, size_t count)
{
    std::vector<int16_t> out(count, 12345);  // whatever was there before
    MixVoices(voices, out.data(), count);
    return out;
}

}  // namespace

TEST(Mixer, TurnsHundredthsOfADecibelIntoGain)
{
    EXPECT_EQ(GainFromVolume(0), kFullGain);
    // Effects play 10 dB down: a factor of 10^-0.5.
    EXPECT_NEAR(GainFromVolume(-1000), kFullGain / std::sqrt(10.0), 1.0);
    EXPECT_NEAR(GainFromVolume(-2000), kFullGain / 10.0, 1.0);
    EXPECT_NEAR(GainFromVolume(-602), kFullGain / 2.0, 10.0);
    EXPECT_EQ(GainFromVolume(-10000), 0);
}

TEST(Mixer, SumsThePlayingVoicesEachAtItsVolume)
{
    std::vector<int16_t> a = {1000, -2000, 3000, 400};
    std::vector<int16_t> b = {100, 100, -100, -100};
    std::vector<int16_t> quiet = {10000, -10000, 20000, 0};
    MixVoice first = Voice(a), second = Voice(b), third = Voice(quiet, GainFromVolume(-2000));
    MixVoice idle = Voice(a);
    idle.playing = false;

    // The quiet voice at a tenth of its loudness, give or take the last bit.
    std::vector<int16_t> out = Mix({&first, &idle, &second, &third}, 4);
    std::vector<int16_t> expected = {2100, -2900, 4900, 300};
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_NEAR(out[i], expected[i], 1) << i;

    // With nothing playing, the output is silence rather than what the buffer held.
    EXPECT_EQ(Mix({&idle}, 3), (std::vector<int16_t>{0, 0, 0}));
    EXPECT_EQ(Mix({}, 2), (std::vector<int16_t>{0, 0}));
}

TEST(Mixer, SaturatesInsteadOfWrappingRound)
{
    std::vector<int16_t> loud = {30000, -30000, 32767, -32768, 20000};
    MixVoice first = Voice(loud), second = Voice(loud), third = Voice(loud);
    EXPECT_EQ(Mix({&first, &second, &third}, 5),
              (std::vector<int16_t>{32767, -32768, 32767, -32768, 32767}));
}

TEST(Mixer, PlaysAVoiceOnceOrRoundAndRound)
{
    std::vector<int16_t> samples = {1, 2, 3};
    MixVoice once = Voice(samples);
    EXPECT_EQ(Mix({&once}, 5), (std::vector<int16_t>{1, 2, 3, 0, 0}));
    // At its end the voice stops and rewinds, ready to play from the start.
    EXPECT_FALSE(once.playing);
    EXPECT_EQ(once.position, 0u);

    MixVoice looping = Voice(samples);
    looping.looping = true;
    looping.position = 1;
    EXPECT_EQ(Mix({&looping}, 7), (std::vector<int16_t>{2, 3, 1, 2, 3, 1, 2}));
    EXPECT_EQ(Mix({&looping}, 2), (std::vector<int16_t>{3, 1}));
    EXPECT_TRUE(looping.playing);

    // A voice ending within a call leaves the others playing on.
    std::vector<int16_t> tens(6, 10);
    MixVoice shortOne = Voice(samples), longOne = Voice(tens);
    EXPECT_EQ(Mix({&shortOne, &longOne}, 6), (std::vector<int16_t>{11, 12, 13, 10, 10, 10}));
}

TEST(Mixer, KeepsCountAcrossLongRequests)
{
    // More samples than the mixer sums at a time, from a voice whose loop does not divide them.
    std::vector<int16_t> ramp(97);
    for (size_t i = 0; i < ramp.size(); i++)
        ramp[i] = static_cast<int16_t>(i * 100);
    MixVoice voice = Voice(ramp);
    voice.looping = true;
    std::vector<int16_t> out = Mix({&voice}, 1000);
    for (size_t i = 0; i < out.size(); i++)
        ASSERT_EQ(out[i], ramp[i % ramp.size()]) << i;
    EXPECT_EQ(voice.position, 1000u % 97);
}

TEST(Mixer, AdvancesAVoiceAsPlayingItWould)
{
    std::vector<int16_t> samples(100);
    MixVoice once = Voice(samples);
    AdvanceVoice(once, 99);
    EXPECT_TRUE(once.playing);
    EXPECT_EQ(once.position, 99u);
    AdvanceVoice(once, 1);
    EXPECT_FALSE(once.playing);
    EXPECT_EQ(once.position, 0u);

    MixVoice looping = Voice(samples);
    looping.looping = true;
    AdvanceVoice(looping, 1'000'000'000'123ull);
    EXPECT_TRUE(looping.playing);
    EXPECT_EQ(looping.position, 23u);
}

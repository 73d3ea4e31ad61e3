#include "sound/ClipDecoder.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/sound/TestClips.h"

namespace {

// How far below the signal the difference between the two lies, in decibels.
double SignalToNoise(const std::vector<int16_t>& signal, const std::vector<int16_t>& copy)
{
    double power = 0, noise = 0;
    for (size_t i = 0; i < signal.size() && i < copy.size(); i++) {
        power += double(signal[i]) * signal[i];
        noise += double(signal[i] - copy[i]) * (signal[i] - copy[i]);
    }
    return 10 * std::log10(power / std::max(noise, 1.0));
}

bool Decode(const Bytes& entry, std::vector<int16_t>& pcm, std::string& fault)
{
    SoundSource source(entry.data(), static_cast<uint32_t>(entry.size()));
    return DecodeClip(source, pcm, fault);
}

}  // namespace

TEST(ClipDecoder, GivesBackExactlyTheSamplesThatWereEncoded)
{
    for (size_t length : {2205, 22050, 30001}) {
        std::vector<int16_t> input = TwoTones(length, 12000);
        std::vector<int16_t> pcm;
        std::string fault;
        ASSERT_TRUE(Decode(EncodeMp3(input), pcm, fault)) << fault;
        // The encoder's delay and padding are gone, and what is left lines up with the input:
        // a shifted copy of these tones would differ from them by as much as they are loud.
        EXPECT_EQ(pcm.size(), input.size());
        EXPECT_GT(SignalToNoise(input, pcm), 15.0) << length;
    }
}

TEST(ClipDecoder, DecodesAStreamWrappedInARiffFileAsTheBareOne)
{
    Bytes mp3 = EncodeMp3(TwoTones(5000, 9000));
    std::vector<int16_t> bare, wrapped;
    std::string fault;
    ASSERT_TRUE(Decode(mp3, bare, fault)) << fault;
    Bytes riff = Riff({Chunk("fmt ", Bytes(30, 0)), Chunk("LIST", Bytes(5, 'x')), Chunk("data", mp3)});
    ASSERT_TRUE(Decode(riff, wrapped, fault)) << fault;
    EXPECT_EQ(wrapped, bare);
}

TEST(ClipDecoder, RejectsStreamsWithoutSound)
{
    Bytes mp3 = EncodeMp3(TwoTones(5000, 9000));
    std::vector<int16_t> pcm;
    std::string fault;

    // A frame header with hardly anything behind it.
    Bytes cut(mp3.begin(), mp3.begin() + 10);
    EXPECT_FALSE(Decode(cut, pcm, fault));
    EXPECT_FALSE(fault.empty());
    EXPECT_TRUE(pcm.empty());

    // A RIFF file whose data chunk is empty.
    EXPECT_FALSE(Decode(Riff({Chunk("data", Bytes())}), pcm, fault));
    EXPECT_NE(fault.find("frame header"), std::string::npos);
}

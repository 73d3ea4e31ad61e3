// From a stored sound to its samples: the stream's description from its first frame header
// and the decoding of made-up clips.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "sound/ClipDecoder.h"
#include "sound/Mp3Format.h"
#include "tests/sound/TestClips.h"

using namespace testfiles;

namespace {

bool Describe(const Bytes& header, Mp3StreamFormat& format, std::string& fault)
{
    const char* why = "";
    bool described = DescribeMp3Stream(header.data(), header.size(), format, &why);
    fault = why ? why : "";
    return described;
}

bool Decode(const Bytes& entry, std::vector<int16_t>& pcm, std::string& fault)
{
    SoundSource source(entry.data(), static_cast<uint32_t>(entry.size()));
    return DecodeClip(source, pcm, fault);
}

TEST(Mp3Format, DescribesTheStreamAsItsFirstFrameHeaderSays)
{
    struct Case {
        Bytes header;
        int channels;
        uint32_t rate, bytesPerSecond, blockSize;
    } cases[] = {
        // MPEG-2 Layer III, 32 kbit/s, 22,050 Hz, single channel.
        {{0xFF, 0xF3, 0x40, 0xC4}, 1, 22050, 4000, 208},
        // MPEG-1 Layer III, 128 and 112 kbit/s, 44,100 Hz, joint stereo.
        {{0xFF, 0xFB, 0x90, 0x64}, 2, 44100, 16000, 417},
        {{0xFF, 0xFB, 0x80, 0x64}, 2, 44100, 14000, 365},
        // The other channel modes: joint stereo, dual channel, stereo; other rates.
        {{0xFF, 0xF3, 0x40, 0x44}, 2, 22050, 4000, 208},
        {{0xFF, 0xF3, 0x40, 0x84}, 2, 22050, 4000, 208},
        {{0xFF, 0xF3, 0x40, 0x04}, 2, 22050, 4000, 208},
        {{0xFF, 0xF3, 0x48, 0xC4}, 1, 16000, 4000, 288},
        {{0xFF, 0xF3, 0x60, 0xC4}, 1, 22050, 6000, 313},
        {{0xFF, 0xFB, 0x94, 0xC4}, 1, 48000, 16000, 384},
    };
    for (const Case& c : cases) {
        Mp3StreamFormat format = {};
        std::string fault;
        ASSERT_TRUE(Describe(c.header, format, fault)) << fault;
        SCOPED_TRACE(testing::PrintToString(c.header));
        EXPECT_EQ(format.wave.nChannels, c.channels);
        EXPECT_EQ(format.wave.nSamplesPerSec, c.rate);
        EXPECT_EQ(format.wave.nAvgBytesPerSec, c.bytesPerSecond);
        EXPECT_EQ(format.blockSize, c.blockSize);
        EXPECT_EQ(format.framesPerBlock, 1);
    }
    // The reserved rate would divide the block size by zero; a tag or a RIFF header in front
    // of the stream, or too few bytes, is no frame header.
    const std::pair<Bytes, const char*> refused[] = {
        {{0xFF, 0xF3, 0x4C, 0xC4}, "reserved"}, {{0xFF, 0xFB, 0x9C, 0xC4}, "reserved"},
        {{'I', 'D', '3', 4}, "frame header"},   {{'R', 'I', 'F', 'F'}, "frame header"},
        {{0xFF, 0xF3, 0x40}, "frame header"},   {{}, "frame header"},
    };
    for (const auto& [header, says] : refused) {
        Mp3StreamFormat format = {};
        std::string fault;
        EXPECT_FALSE(Describe(header, format, fault));
        EXPECT_NE(fault.find(says), std::string::npos) << fault;
    }
}

TEST(ClipDecoder, GivesBackTheEncodedSamplesBareOrWrappedAndRefusesStreamsWithoutSound)
{
    for (size_t length : {2205, 22050, 30001}) {
        std::vector<int16_t> input = TwoTones(length, 12000), pcm;
        std::string fault;
        ASSERT_TRUE(Decode(EncodeMp3(input), pcm, fault)) << fault;
        // The encoder's delay and padding are gone and the rest lines up with the input: a
        // shifted copy of these tones would differ from them by as much as they are loud.
        ASSERT_EQ(pcm.size(), input.size());
        double power = 0, noise = 0;
        for (size_t i = 0; i < input.size(); i++) {
            power += double(input[i]) * input[i];
            noise += double(input[i] - pcm[i]) * (input[i] - pcm[i]);
        }
        EXPECT_GT(10 * std::log10(power / std::max(noise, 1.0)), 15.0) << length;
    }

    Bytes mp3 = EncodeMp3(TwoTones(5000, 9000));
    std::vector<int16_t> bare, wrapped;
    std::string fault;
    ASSERT_TRUE(Decode(mp3, bare, fault)) << fault;
    Bytes riff = Riff({Chunk("fmt ", Bytes(30)), Chunk("LIST", Bytes(5, 'x')), Chunk("data", mp3)});
    ASSERT_TRUE(Decode(riff, wrapped, fault)) << fault;
    EXPECT_EQ(wrapped, bare);

    std::vector<int16_t> pcm;
    EXPECT_FALSE(Decode(Bytes(mp3.begin(), mp3.begin() + 10), pcm, fault));
    EXPECT_FALSE(fault.empty());
    EXPECT_TRUE(pcm.empty());
    EXPECT_FALSE(Decode(Riff({Chunk("data", Bytes())}), pcm, fault));
    EXPECT_NE(fault.find("frame header"), std::string::npos) << fault;
}

}  // namespace

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
    // Layer III bit rates in kbit/s for indexes 1 to 14, as ISO/IEC 11172-3 (MPEG-1) and
    // ISO/IEC 13818-3 (MPEG-2) list them; index 0 (free format) and 15 (forbidden) give none.
    const uint32_t kbps[2][16] = {
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    };
    // MPEG-2's sampling rates are MPEG-1's halved.
    const uint32_t mpeg1Rates[3] = {44100, 48000, 32000};
    // Every version, rate and bit rate index, and channel mode (the fourth byte's top two
    // bits; 3 is a single channel).
    for (int i = 0; i < 2 * 3 * 16 * 4; i++) {
        int mpeg2 = i / 192, rateIndex = i / 64 % 3, bitrate = i / 4 % 16, mode = i % 4;
        Bytes header = {0xFF, uint8_t(mpeg2 ? 0xF3 : 0xFB), uint8_t(bitrate << 4 | rateIndex << 2),
                        uint8_t(mode << 6)};
        SCOPED_TRACE(testing::PrintToString(header));
        Mp3StreamFormat format = {};
        std::string fault;
        ASSERT_TRUE(Describe(header, format, fault)) << fault;
        uint32_t rate = mpeg1Rates[rateIndex] >> mpeg2;
        EXPECT_EQ(format.wave.nChannels, mode == 3 ? 1 : 2);
        EXPECT_EQ(format.wave.nSamplesPerSec, rate);
        EXPECT_EQ(format.wave.nAvgBytesPerSec, kbps[mpeg2][bitrate] * 1000 / 8);
        EXPECT_EQ(format.blockSize, kbps[mpeg2][bitrate] * 144000 / rate);
    }
    // MPEG-2 at 32 kbit/s and 22,050 Hz, and MPEG-1 at 128 kbit/s and 44,100 Hz; the fields
    // the converters expect whatever the stream.
    Mp3StreamFormat format = {};
    std::string fault;
    ASSERT_TRUE(Describe({0xFF, 0xF3, 0x40, 0xC4}, format, fault));
    EXPECT_EQ(format.blockSize, 208);
    ASSERT_TRUE(Describe({0xFF, 0xFB, 0x90, 0x64}, format, fault));
    EXPECT_EQ(format.blockSize, 417);
    EXPECT_EQ(
        std::vector({format.wave.wFormatTag, format.wave.nBlockAlign, format.wave.wBitsPerSample,
                     format.wave.cbSize, format.id, format.framesPerBlock, format.codecDelay}),
        std::vector<WORD>({0x55, 1, 0, 12, 1, 1, 1393}));
    EXPECT_EQ(format.flags, 2u);

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

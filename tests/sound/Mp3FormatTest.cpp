#include "sound/Mp3Format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Mp3StreamFormat Describe(std::initializer_list<uint8_t> header)
{
    Mp3StreamFormat format = {};
    const char* fault = nullptr;
    std::vector<uint8_t> bytes(header);
    EXPECT_TRUE(DescribeMp3Stream(bytes.data(), bytes.size(), format, &fault)) << fault;
    return format;
}

std::string Rejection(std::initializer_list<uint8_t> header)
{
    Mp3StreamFormat format = {};
    const char* fault = nullptr;
    std::vector<uint8_t> bytes(header);
    EXPECT_FALSE(DescribeMp3Stream(bytes.data(), bytes.size(), format, &fault));
    return fault ? fault : "";
}

}  // namespace

TEST(Mp3Format, DescribesTheStreamAsItsFirstFrameHeaderSays)
{
    // MPEG-2 Layer III, 32 kbit/s, 22,050 Hz, single channel.
    Mp3StreamFormat mpeg2 = Describe({0xFF, 0xF3, 0x40, 0xC4});
    EXPECT_EQ(mpeg2.wave.nChannels, 1);
    EXPECT_EQ(mpeg2.wave.nSamplesPerSec, 22050u);
    EXPECT_EQ(mpeg2.wave.nAvgBytesPerSec, 4000u);
    EXPECT_EQ(mpeg2.blockSize, 208);

    // MPEG-1 Layer III, 128 kbit/s, 44,100 Hz, joint stereo.
    Mp3StreamFormat mpeg1 = Describe({0xFF, 0xFB, 0x90, 0x64});
    EXPECT_EQ(mpeg1.wave.nChannels, 2);
    EXPECT_EQ(mpeg1.wave.nSamplesPerSec, 44100u);
    EXPECT_EQ(mpeg1.wave.nAvgBytesPerSec, 16000u);
    EXPECT_EQ(mpeg1.blockSize, 417);

    // The other sampling rates of each version.
    EXPECT_EQ(Describe({0xFF, 0xF3, 0x44, 0xC4}).wave.nSamplesPerSec, 24000u);
    EXPECT_EQ(Describe({0xFF, 0xF3, 0x48, 0xC4}).wave.nSamplesPerSec, 16000u);
    EXPECT_EQ(Describe({0xFF, 0xFB, 0x94, 0xC4}).wave.nSamplesPerSec, 48000u);
    EXPECT_EQ(Describe({0xFF, 0xFB, 0x98, 0xC4}).wave.nSamplesPerSec, 32000u);

    // What the converter is always told about MPEG Layer III.
    EXPECT_EQ(mpeg2.wave.wFormatTag, 0x55);
    EXPECT_EQ(mpeg2.wave.nBlockAlign, 1);
    EXPECT_EQ(mpeg2.wave.wBitsPerSample, 0);
    EXPECT_EQ(mpeg2.wave.cbSize, 12);
    EXPECT_EQ(mpeg2.id, 1);
    EXPECT_EQ(mpeg2.flags, 2u);
    EXPECT_EQ(mpeg2.framesPerBlock, 1);
    EXPECT_EQ(mpeg2.codecDelay, 1393);
}

TEST(Mp3Format, CountsChannelsFromTheModeBits)
{
    EXPECT_EQ(Describe({0xFF, 0xF3, 0x40, 0xC4}).wave.nChannels, 1);  // single channel
    EXPECT_EQ(Describe({0xFF, 0xF3, 0x40, 0x44}).wave.nChannels, 2);  // joint stereo
    EXPECT_EQ(Describe({0xFF, 0xF3, 0x40, 0x84}).wave.nChannels, 2);  // dual channel
    EXPECT_EQ(Describe({0xFF, 0xF3, 0x40, 0x04}).wave.nChannels, 2);  // stereo
}

TEST(Mp3Format, RefusesWhatIsNoUsableFrameHeader)
{
    // The reserved sampling-rate index would divide the block size by zero.
    EXPECT_NE(Rejection({0xFF, 0xF3, 0x4C, 0xC4}).find("reserved"), std::string::npos);
    EXPECT_NE(Rejection({0xFF, 0xFB, 0x9C, 0xC4}).find("reserved"), std::string::npos);
    // A tag or a RIFF header in front of the stream, and a stream too short for a header.
    EXPECT_NE(Rejection({'I', 'D', '3', 4}).find("frame header"), std::string::npos);
    EXPECT_NE(Rejection({'R', 'I', 'F', 'F'}).find("frame header"), std::string::npos);
    EXPECT_NE(Rejection({0xFF, 0xF3, 0x40}).find("frame header"), std::string::npos);
    EXPECT_NE(Rejection({}).find("frame header"), std::string::npos);
}

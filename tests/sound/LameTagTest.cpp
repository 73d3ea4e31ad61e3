// The encoder's info frame read as a decoder without gapless trimming needs it: the delay and
// padding it names account for every sample around the sound, and cutting by them gives back
// exactly the samples libmpg123 gives.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sound/LameTag.h"
#include "sound/Mp3Decoder.h"
#include "sound/Mp3Format.h"
#include "tests/sound/TestClips.h"

using namespace testfiles;

namespace {

std::vector<int16_t> DecodeGapless(const Bytes& stream)
{
    Mp3StreamFormat format = {};
    const char* why = nullptr;
    EXPECT_TRUE(DescribeMp3Stream(stream.data(), stream.size(), format, &why));
    std::vector<int16_t> pcm;
    std::string fault;
    EXPECT_TRUE(DecodeMp3(stream, format, pcm, fault)) << fault;
    return pcm;
}

// The frames of the stream, counted by their headers: the info frame and the audio after it.
size_t CountFrames(const Bytes& stream)
{
    static const int kbps[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    size_t frames = 0;
    for (size_t at = 0; at + 4 <= stream.size() && stream[at] == 0xFF; frames++) {
        const int bitrate = kbps[stream[at + 2] >> 4];
        const int padding = (stream[at + 2] >> 1) & 1;
        at += static_cast<size_t>(72000 * bitrate / 22050 + padding);  // MPEG-2 Layer III
    }
    return frames;
}

}  // namespace

TEST(LameTag, DelayAndPaddingAccountForEveryFrameAroundTheSound)
{
    // Lengths around a frame's 576 samples and a real clip's.
    for (size_t samples : {1u, 575u, 576u, 577u, 1152u, 4755u, 22050u}) {
        SCOPED_TRACE(samples);
        const Bytes stream = EncodeMp3(TwoTones(samples, 8000));
        EncoderGap gap;
        ASSERT_TRUE(ReadEncoderGap(stream, gap));
        EXPECT_EQ(gap.frameSamples, 576u);
        // The audio frames hold the delay, the sound and the padding, nothing else.
        EXPECT_EQ((CountFrames(stream) - 1) * gap.frameSamples, gap.delay + samples + gap.padding);
        // libmpg123 trims by the same tag.
        EXPECT_EQ(DecodeGapless(stream).size(), samples);
    }
}

TEST(LameTag, TrimmingAnUntrimmedDecodingGivesExactlyTheGaplessSamples)
{
    // What a decoder that trims nothing gives: the info frame's silence, the delay and the
    // filter bank's lag, the sound, then the padding's rest.
    const std::vector<int16_t> sound = TwoTones(4755, 8000);
    const EncoderGap gap = {576, 576, 1005};
    for (size_t channels : {1u, 2u}) {
        SCOPED_TRACE(channels);
        std::vector<int16_t> untrimmed((gap.frameSamples + gap.delay + kMp3DecoderDelay) * channels,
                                       7);
        for (int16_t sample : sound)
            untrimmed.insert(untrimmed.end(), channels, sample);
        untrimmed.insert(untrimmed.end(), (gap.padding - kMp3DecoderDelay) * channels, 7);
        std::vector<int16_t> expected;
        for (int16_t sample : sound)
            expected.insert(expected.end(), channels, sample);

        std::vector<int16_t> pcm = untrimmed;
        TrimToEncoded(pcm, channels, gap);
        EXPECT_EQ(pcm, expected);

        // A padding shorter than the decoder's lag: the sound's end comes out of no frame,
        // and is silence rather than missing.
        const EncoderGap shortPadding = {576, 576, 300};
        const size_t lost = kMp3DecoderDelay - shortPadding.padding;
        pcm.assign(untrimmed.begin(),
                   untrimmed.begin() +
                       static_cast<long>(untrimmed.size() -
                                         (gap.padding - kMp3DecoderDelay + lost) * channels));
        TrimToEncoded(pcm, channels, shortPadding);
        ASSERT_EQ(pcm.size(), expected.size());
        EXPECT_TRUE(std::equal(pcm.begin(), pcm.end() - static_cast<long>(lost * channels),
                               expected.begin()));
        EXPECT_TRUE(std::all_of(pcm.end() - static_cast<long>(lost * channels), pcm.end(),
                                [](int16_t sample) { return sample == 0; }));

        // Less than the gap itself: nothing is left, nothing is read past the end.
        pcm.assign(100 * channels, 7);
        TrimToEncoded(pcm, channels, gap);
        EXPECT_TRUE(pcm.empty());
    }
}

TEST(LameTag, StreamsWithoutAWholeTagAreTakenAsTheyDecode)
{
    const Bytes stream = EncodeMp3(TwoTones(4755, 8000));
    EncoderGap whole;
    ASSERT_TRUE(ReadEncoderGap(stream, whole));
    // Cut anywhere before the delay and padding's last byte, the tag is no tag.
    for (size_t length = 0; length < 200; length++) {
        Bytes cut(stream.begin(), stream.begin() + static_cast<long>(length));
        EncoderGap gap;
        if (ReadEncoderGap(cut, gap)) {
            EXPECT_EQ(gap.delay, whole.delay) << length;
            EXPECT_EQ(gap.padding, whole.padding) << length;
        }
    }
    struct Case {
        const char* what;
        size_t at;
        uint8_t value;
    };
    // The info frame's tag sits after the header and MPEG-2 mono's 9 bytes of side information.
    const Case damaged[] = {
        {"no frame header", 0, 0x00},
        {"Layer I, not Layer III", 1, 0xF7},
        {"no info tag", 13, 'X' + 1},
        {"no encoder's extension", 13 + 8 + 4 + 4 + 100 + 4, 'l'},
    };
    for (const Case& c : damaged) {
        Bytes changed = stream;
        changed[c.at] = c.value;
        EncoderGap gap;
        EXPECT_FALSE(ReadEncoderGap(changed, gap)) << c.what;
    }
}

// The nine clips as the game finds them in the built archive: their stream format, their
// length after gapless decoding, their levels, the game music's loop, and that the same
// sources always give the same bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "archive/ResourceArchive.h"
#include "tools/sounds/Loudness.h"
#include "tools/sounds/Mp3Decoder.h"
#include "tools/sounds/Mp3Encoder.h"
#include "tools/sounds/Renderer.h"
#include "tools/sounds/ScoreReader.h"

namespace {

struct Clip {
    std::string name;
    bool isEffect = false;
    std::vector<uint8_t> stream;  // the archive entry
    std::vector<int16_t> made;    // the sources rendered again here
    std::vector<int16_t> heard;   // the entry decoded
};

// In load order; the game names them by this position.
const char* const kClipNames[] = {"se_select", "tessani", "lumbera",  "se_chon", "se_fire",
                                  "se_bomb",   "se_baria", "se_laser", "se_myao"};

std::vector<Clip> LoadClips()
{
    std::vector<Clip> clips;
    ResourceArchive archive(KORIMO_RUN_DIR "/korimo");
    EXPECT_EQ(archive.error(), "");
    for (const char* name : kClipNames) {
        Clip clip;
        clip.name = name;
        clip.isEffect = clip.name.starts_with("se_");
        std::string entry = clip.name + ".mp3";
        EXPECT_EQ(archive.Open(entry.c_str()), 1) << entry << " is missing from the archive";
        if (archive.isOpen) {
            clip.stream.assign(archive.cursor, archive.cursor + archive.entrySize);
            archive.Close();
        }
        Score score;
        std::string error;
        EXPECT_TRUE(LoadScore(KORIMO_SOURCE_DIR "/assets/sounds/" + clip.name + ".seq", score,
                              error))
            << error;
        clip.made = Render(score);
        EXPECT_TRUE(DecodeMp3(clip.stream, clip.heard, error)) << entry << ": " << error;
        clips.push_back(std::move(clip));
    }
    return clips;
}

const std::vector<Clip>& Clips()
{
    static const std::vector<Clip> clips = LoadClips();
    return clips;
}

const Clip& Find(const char* name)
{
    for (const Clip& clip : Clips())
        if (clip.name == name)
            return clip;
    std::abort();
}

double Seconds(const std::vector<int16_t>& pcm) { return static_cast<double>(pcm.size()) / 22050; }

// Bytes of a frame whose header is at p if it is MPEG-2 Layer III, 64 kbit/s, 22,050 Hz,
// single channel, without CRC; otherwise 0.
size_t GameFrameSize(const uint8_t* p, size_t left)
{
    if (left < 4 || p[0] != 0xFF)
        return 0;
    bool mpeg2LayerThree = (p[1] & 0xFE) == 0xF2;
    bool noCrc = (p[1] & 1) != 0;
    bool rate64k = (p[2] >> 4) == 8;  // index 8 of the MPEG-2 Layer III table
    bool rate22k = ((p[2] >> 2) & 3) == 0;
    bool singleChannel = (p[3] >> 6) == 3;
    if (!mpeg2LayerThree || !noCrc || !rate64k || !rate22k || !singleChannel)
        return 0;
    size_t padding = (p[2] >> 1) & 1;
    return 72 * 64000 / 22050 + padding;  // 576 samples a frame
}

TEST(SoundAssets, EveryClipIsMonoMpeg2At22kHzAnd64kbitFromItsFirstByteToItsLast)
{
    for (const Clip& clip : Clips()) {
        SCOPED_TRACE(clip.name);
        ASSERT_GE(clip.stream.size(), 4u);
        // The encoder's info frame comes first and is itself an ordinary frame.
        EXPECT_EQ(clip.stream[0], 0xFF);
        EXPECT_EQ(clip.stream[1], 0xF3);
        EXPECT_EQ(clip.stream[2] & 0xF0, 0x80);
        EXPECT_EQ(clip.stream[3] >> 6, 3);
        // Every frame that follows is of the same kind, and nothing (no tag) trails the last.
        size_t at = 0;
        int frames = 0;
        while (at < clip.stream.size()) {
            size_t size = GameFrameSize(clip.stream.data() + at, clip.stream.size() - at);
            ASSERT_NE(size, 0u) << "no game frame at byte " << at;
            at += size;
            ++frames;
        }
        EXPECT_EQ(at, clip.stream.size()) << "the last frame is cut short";
        EXPECT_GE(frames, 2);
    }
}

TEST(SoundAssets, EveryClipDecodesToExactlyWhatWasSynthesised)
{
    for (const Clip& clip : Clips()) {
        SCOPED_TRACE(clip.name);
        ASSERT_FALSE(clip.made.empty());
        ASSERT_EQ(clip.heard.size(), clip.made.size());
        // Not only as long: the same sound, in step (a shift by the encoder's delay, another
        // clip or an inverted wave would leave an error as loud as the signal).
        double signal = 0.0, noise = 0.0;
        for (size_t i = 0; i < clip.made.size(); ++i) {
            double difference = static_cast<double>(clip.heard[i]) - clip.made[i];
            signal += static_cast<double>(clip.made[i]) * clip.made[i];
            noise += difference * difference;
        }
        EXPECT_GT(10.0 * std::log10(signal / noise), 6.0);
    }
}

TEST(SoundAssets, NothingClipsAndTheEffectsAreEquallyLoud)
{
    std::vector<double> effectLoudness;
    for (const Clip& clip : Clips()) {
        SCOPED_TRACE(clip.name);
        std::span<const int16_t> heard(clip.heard);
        EXPECT_LT(ToDb(PeakLevel(heard)), -1.0);
        if (clip.isEffect)
            effectLoudness.push_back(ToDb(LoudestRms(heard)));
    }
    ASSERT_EQ(effectLoudness.size(), 7u);
    auto [quietest, loudest] = std::minmax_element(effectLoudness.begin(), effectLoudness.end());
    EXPECT_LT(*loudest - *quietest, 1.5) << "effects differ in loudness";
}

TEST(SoundAssets, ClipsLastAsLongAsTheGameNeeds)
{
    double game = Seconds(Find("tessani").heard);
    EXPECT_GE(game, 60.0);
    EXPECT_LE(game, 90.0);
    double ending = Seconds(Find("lumbera").heard);
    EXPECT_GE(ending, 50.0);
    EXPECT_LE(ending, 70.0);
    // The shot sounds up to thirty times a second: each must be over almost at once.
    EXPECT_LE(Seconds(Find("se_chon").heard), 0.06);
    for (const Clip& clip : Clips()) {
        if (clip.isEffect) {
            EXPECT_LE(Seconds(clip.heard), 2.5) << clip.name;
        }
    }
}

TEST(SoundAssets, GameMusicFlowsFromItsLastSampleIntoItsFirst)
{
    for (const std::vector<int16_t>* pcm : {&Find("tessani").made, &Find("tessani").heard}) {
        ASSERT_GT(pcm->size(), 1u);
        // The step across the loop point must look like any step within the music, not like
        // a click: no larger than 99 in 100 of the steps between neighbouring samples.
        std::vector<int> steps;
        for (size_t i = 1; i < pcm->size(); ++i)
            steps.push_back(std::abs((*pcm)[i] - (*pcm)[i - 1]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        int usualLargeStep = steps[steps.size() * 99 / 100];
        EXPECT_LE(std::abs(pcm->front() - pcm->back()), usualLargeStep);
        // And the loop point is not a silence hiding the seam.
        EXPECT_GT(ToDb(LoudestRms(std::span<const int16_t>(pcm->data(), 4410))), -40.0);
    }
}

TEST(SoundAssets, TheSameSourcesAlwaysGiveTheSameBytes)
{
    for (const Clip& clip : Clips()) {
        SCOPED_TRACE(clip.name);
        std::vector<uint8_t> first, second;
        std::string error;
        ASSERT_TRUE(EncodeMp3(clip.made, first, error)) << error;
        ASSERT_TRUE(EncodeMp3(clip.made, second, error)) << error;
        EXPECT_TRUE(first == second);
        EXPECT_TRUE(first == clip.stream) << "the archive holds something else";
    }
}

}  // namespace

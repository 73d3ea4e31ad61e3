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
    std::string name;              // without ".mp3"
    std::vector<uint8_t> stream;   // the archive entry
    std::vector<int16_t> made;     // the sources rendered again here
    std::vector<int16_t> heard;    // the entry decoded
    bool IsEffect() const { return name.starts_with("se_"); }
    double Seconds() const { return static_cast<double>(heard.size()) / 22050; }
};

// The clips the game loads, in its load order.
const char* const kClipNames[] = {"se_select", "tessani", "lumbera",  "se_chon", "se_fire",
                                  "se_bomb",   "se_baria", "se_laser", "se_myao"};

// Read and rendered once for all tests.
const std::vector<Clip>& Clips()
{
    static const std::vector<Clip> clips = [] {
        std::vector<Clip> loaded;
        ResourceArchive archive(KORIMO_RUN_DIR "/korimo");
        EXPECT_EQ(archive.error(), "");
        for (const char* name : kClipNames) {
            Clip clip;
            clip.name = name;
            std::string entry = clip.name + ".mp3";
            EXPECT_EQ(archive.Open(entry.c_str()), 1) << entry << " is missing from the archive";
            clip.stream.assign(archive.cursor, archive.cursor + archive.entrySize);
            Score score;
            std::string error;
            EXPECT_TRUE(LoadScore(KORIMO_SOURCE_DIR "/assets/sounds/" + clip.name + ".seq",
                                  score, error))
                << error;
            clip.made = Render(score);
            EXPECT_TRUE(DecodeMp3(clip.stream, clip.heard, error)) << entry << ": " << error;
            loaded.push_back(std::move(clip));
        }
        return loaded;
    }();
    return clips;
}

const Clip& Find(const char* name)
{
    for (const Clip& clip : Clips()) {
        if (clip.name == name)
            return clip;
    }
    std::abort();
}

TEST(SoundAssets, EveryClipIsMonoMpeg2At22kHzAnd64kbitFromItsFirstByteToItsLast)
{
    for (const Clip& clip : Clips()) {
        SCOPED_TRACE(clip.name);
        // Frame after frame, the encoder's info frame first, and nothing (no tag) after the
        // last: MPEG-2 Layer III without CRC (FF F3), 64 kbit/s at 22,050 Hz (8x, with the
        // padding bit x), single channel (top bits 11), 576 samples a frame.
        size_t at = 0;
        int frames = 0;
        while (at + 4 <= clip.stream.size()) {
            const uint8_t* p = &clip.stream[at];
            ASSERT_TRUE(p[0] == 0xFF && p[1] == 0xF3 && (p[2] & 0xFC) == 0x80 && p[3] >> 6 == 3)
                << "no game frame at byte " << at;
            at += 72 * 64000 / 22050 + (p[2] >> 1 & 1);
            ++frames;
        }
        EXPECT_EQ(at, clip.stream.size()) << "the last frame is cut short";
        EXPECT_GE(frames, 2);
    }
}

TEST(SoundAssets, EveryClipDecodesToExactlyWhatWasSynthesisedAndIsBuiltTheSameEveryTime)
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

        std::vector<uint8_t> first, second;
        std::string error;
        ASSERT_TRUE(EncodeMp3(clip.made, first, error)) << error;
        ASSERT_TRUE(EncodeMp3(clip.made, second, error)) << error;
        EXPECT_TRUE(first == second);
        EXPECT_TRUE(first == clip.stream) << "the archive holds something else";
    }
}

TEST(SoundAssets, ClipsLastAsLongAsTheGameNeedsWithEqualEffectsAndNoClipping)
{
    std::vector<double> effectLoudness;
    for (const Clip& clip : Clips()) {
        SCOPED_TRACE(clip.name);
        std::span<const int16_t> heard(clip.heard);
        EXPECT_LT(ToDb(PeakLevel(heard)), -1.0);
        if (clip.IsEffect()) {
            effectLoudness.push_back(ToDb(LoudestRms(heard)));
            EXPECT_LE(clip.Seconds(), 2.5);
        }
    }
    auto [quietest, loudest] = std::minmax_element(effectLoudness.begin(), effectLoudness.end());
    EXPECT_LT(*loudest - *quietest, 1.5) << "effects differ in loudness";
    EXPECT_GE(Find("tessani").Seconds(), 60.0);
    EXPECT_LE(Find("tessani").Seconds(), 90.0);
    EXPECT_GE(Find("lumbera").Seconds(), 50.0);
    EXPECT_LE(Find("lumbera").Seconds(), 70.0);
    // The shot sounds up to thirty times a second: each must be over almost at once.
    EXPECT_LE(Find("se_chon").Seconds(), 0.06);
}

TEST(SoundAssets, GameMusicFlowsFromItsLastSampleIntoItsFirst)
{
    for (const std::vector<int16_t>* pcm : {&Find("tessani").made, &Find("tessani").heard}) {
        ASSERT_GT(pcm->size(), 4410u);
        // The step across the loop point must look like any step within the music, not like
        // a click: no larger than 99 in 100 of the steps between neighbouring samples.
        std::vector<int> steps;
        for (size_t i = 1; i < pcm->size(); ++i)
            steps.push_back(std::abs((*pcm)[i] - (*pcm)[i - 1]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        EXPECT_LE(std::abs(pcm->front() - pcm->back()), steps[steps.size() * 99 / 100]);
        // And the loop point is not a silence hiding the seam.
        EXPECT_GT(ToDb(LoudestRms(std::span<const int16_t>(pcm->data(), 4410))), -40.0);
    }
}

}  // namespace

// The note text behind the game's sounds: where notes land in time, and how faults in a
// source are reported.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/sounds/ScoreReader.h"

namespace {

const char* const kHeader =
    "tempo 147\n"
    "instrument beep pulse decay=50ms sustain=50%\n"
    "instrument low triangle\n"
    "instrument tick noise rate=8000Hz decay=20ms sustain=0%\n"
    "channel lead pulse instrument=beep\n"
    "channel bass triangle instrument=low\n"
    "channel drums noise\n"
    "kit drums k=tick\n";

Score Read(const std::string& body)
{
    Score score;
    std::string error;
    EXPECT_TRUE(ReadScore(kHeader + body, "test.seq", score, error)) << error;
    return score;
}

std::vector<int64_t> Starts(const Score& score, int channel)
{
    std::vector<int64_t> starts;
    for (const Note& note : score.notes)
        if (note.channel == channel)
            starts.push_back(note.start);
    return starts;
}

TEST(SoundScore, NotesLandOnTheSampleTheirBeatFallsOn)
{
    // At 147 beats a minute a sixteenth is 2,250 samples.
    Score score = Read("section s\n"
                       "lead: l16 c d8 e8. f32 r32 g4&16 a12 a12 a12 |\n"
                       "lead: [c c]3 r2 r8 | r1 |\n"
                       "drums: k4 k2. | r1 | r1 |\n");
    // d8 after a sixteenth, e8. after an eighth, f32 after a dotted eighth, g after f32 and
    // r32, triplet eighths of 3,000 samples after g4&16, and the repeat from the second bar.
    EXPECT_EQ(Starts(score, 0),
              (std::vector<int64_t>{0, 2250, 6750, 13500, 15750, 27000, 30000, 33000, 36000,
                                    38250, 40500, 42750, 45000, 47250}));
    EXPECT_EQ(Starts(score, 2), (std::vector<int64_t>{0, 9000}));
    EXPECT_EQ(score.length, 3 * 36000);
    // The tied g holds its key for both lengths.
    auto g = std::find_if(score.notes.begin(), score.notes.end(),
                          [](const Note& note) { return note.start == 15750; });
    ASSERT_NE(g, score.notes.end());
    EXPECT_EQ(g->gate, 9000 + 2250);
}

TEST(SoundScore, FaultsInASourceAreReportedWithFileAndLine)
{
    struct Case {
        std::string source;
        std::string says;
    };
    auto withHeader = [](const char* body) { return kHeader + std::string(body); };
    const Case cases[] = {
        {withHeader("section s\nlead: c4 d4 e4 | f4\n"), "test.seq:10: lead: bar line falls 12/16"},
        {withHeader("section s\nlead: c1\nbass: c2\n"), "lasts 8 sixteenths but the longest 16"},
        {withHeader("section s\nlead: @nobody c4\n"), "no instrument named 'nobody'"},
        {withHeader("section s\nlead: @tick c4\n"), "cannot play on this channel"},
        {withHeader("section s\ndrums: c4\n"), "is not a drum"},
        {withHeader("section s\nlead: [c4 d4\n"), "not closed"},
        {withHeader("section s\nlead: c5\n"), "not a whole, half, quarter"},
        {withHeader("section s\nlead: o9 c4\n"), "o0 to o8"},
        {withHeader("section s\nlead: {c e g\n"), "not closed"},
        {withHeader("section s\nsolo: c4\n"), "no channel named 'solo'"},
        {withHeader("lead: c4\n"), "outside any section"},
        {withHeader("section s\nlead: c4\norder s t\n"), "section 't'"},
        {"tempo 120\ninstrument x pulse duty=150%\n", "duty"},
        {"tempo 120\ninstrument y pulse attack=5\n", "needs a number in ms"},
        {"tempo 120\nlevel peak 3dB\n", "below 0dB"},
        {withHeader("wobble\n"), "unknown directive 'wobble'"},
        {withHeader("section s\n"), "has no notes"},
        {"", "no tempo given"},
    };
    for (const Case& fault : cases) {
        Score score;
        std::string error;
        EXPECT_FALSE(ReadScore(fault.source, "test.seq", score, error)) << fault.source;
        EXPECT_NE(error.find(fault.says), std::string::npos) << error;
        EXPECT_EQ(error.rfind("test.seq:", 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    Score score;
    std::string error;
    EXPECT_FALSE(LoadScore("/nonexistent/none.seq", score, error));
    EXPECT_NE(error.find("/nonexistent/none.seq"), std::string::npos);
}

}  // namespace

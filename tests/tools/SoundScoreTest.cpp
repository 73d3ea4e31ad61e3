// The note text behind the game's music: where notes land in time, which nothing but the ear
// would otherwise notice.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/sounds/ScoreReader.h"

namespace {

const char* const kHeader = "tempo 147\n"
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
              (std::vector<int64_t>{0, 2250, 6750, 13500, 15750, 27000, 30000, 33000, 36000, 38250,
                                    40500, 42750, 45000, 47250}));
    EXPECT_EQ(Starts(score, 2), (std::vector<int64_t>{0, 9000}));
    EXPECT_EQ(score.length, 3 * 36000);
    // The tied g holds its key for both lengths.
    auto g = std::find_if(score.notes.begin(), score.notes.end(),
                          [](const Note& note) { return note.start == 15750; });
    ASSERT_NE(g, score.notes.end());
    EXPECT_EQ(g->gate, 9000 + 2250);
}

}  // namespace

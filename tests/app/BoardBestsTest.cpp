// Which runs go to the player's board: the best of each length since that board was chosen,
// whatever the record in the player's folder holds.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "app/BoardBests.h"
#include "tests/archive/TestFiles.h"

namespace {

constexpr const char kBoard[] = "https://board.example";

TEST(BoardBests, OnlyARunBetteringTheBestSentToThisBoardIsTaken)
{
    testfiles::TempFolder folder(true);
    struct Case {
        const char* record;  // board.best before the run; null: none
        uint32_t length;
        int32_t score;
        bool taken;
    };
    const Case cases[] = {
        {nullptr, 0, 0, true},  // the first run since the board was chosen
        {"board = https://board.example\nbest1 = 500\n", 0, 500, false},
        {"board = https://board.example\nbest1 = 500\n", 0, 499, false},
        {"board = https://board.example\nbest1 = 500\n", 0, 501, true},
        {"board = https://board.example\nbest1 = 500\n", 1, 10, true},  // the other length
        {"board = https://board.example\nbest5 = 9\nbest1 = 500\n", 1, 9, false},
        {"board = https://other.example\nbest1 = 500\n", 0, 10, true},  // another board's
        {"board = https://board.example\nbest1 = 5x0\n", 0, 10, true},  // damaged
        {"board = https://board.example\nbest1 = -1\n", 0, 0, true},
        {"board = https://board.example\nbest1 = 99999999999\n", 0, 10, true},
        {"\x7f\x01garbage", 0, 10, true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("board.best");
        if (c.record)
            testfiles::WriteText("board.best", c.record);
        BoardBests bests("board.best", kBoard);
        EXPECT_EQ(bests.TakeIfBest(c.length, c.score), c.taken)
            << (c.record ? c.record : "no record") << " then " << c.score;
        // What was taken stays taken at the next start: the same run again is not.
        EXPECT_FALSE(BoardBests("board.best", kBoard).TakeIfBest(c.length, c.score));
    }
    // Each length keeps its own best in the one record.
    std::filesystem::remove("board.best");
    BoardBests("board.best", kBoard).TakeIfBest(0, 700);
    BoardBests("board.best", kBoard).TakeIfBest(1, 300);
    BoardBests again("board.best", kBoard);
    EXPECT_FALSE(again.TakeIfBest(0, 700));
    EXPECT_FALSE(again.TakeIfBest(1, 300));
    EXPECT_TRUE(again.TakeIfBest(1, 301));
}

}  // namespace

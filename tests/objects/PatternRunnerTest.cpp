#include <initializer_list>

#include <gtest/gtest.h>

#include "objects/PatternRunner.h"
#include "objects/SineGunner.h"
#include "random/Random.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

// The generator's next outputs, in order.
void ScriptRandom(std::initializer_list<uint32_t> outputs)
{
    std::copy(outputs.begin(), outputs.end(), theRandom.output);
    theRandom.index = 0;
}

struct PatternRunnerTest : ::testing::Test {
    PatternRunnerTest() { theRandom.Seed(777); }

    kit::Field field;
    PatternRunner* runner = field.Spawn<PatternRunner>(300, 150, kSheetPatternRunner);
    const uint32_t start = 50000;
};

TEST_F(PatternRunnerTest, SegmentsRunStraightStraightUpDownThenRoundAgain)
{
    // Updates every 300 ms, one draw each (she stays close, so it never fires); a multiple
    // of 30 starts the next segment where the runner stands.
    ScriptRandom({1, 1, 30, 1, 60, 1, 90, 1, 0, 1});
    const int want[][2] = {
        {300, 150}, {252, 150},
        {252, 150}, {204, 150},  // segment 1: straight on
        {204, 150}, {173, 181},  // segment 2: up-left at 0.1067 px/ms
        {173, 181}, {142, 150},  // segment 3: down-left
        {142, 150}, {94, 150},  // and straight again
    };
    for (int i = 0; i < 10; i++) {
        field.heroine->MoveTo(runner->x, runner->y);
        runner->Update(start + 300 * i);
        EXPECT_EQ(runner->x, want[i][0]) << "update " << i;
        EXPECT_EQ(runner->y, want[i][1]) << "update " << i;
    }
}

TEST_F(PatternRunnerTest, ShotsAreAtLeast300MillisecondsApartAndTakeOneDrawEach)
{
    field.heroine->MoveTo(0, 0);
    Random before = theRandom;
    int updates = 0;
    for (uint32_t t = 0; t <= 3000; t += 10, updates++)
        runner->Update(start + t);

    int bolts = field.CountOf<StraightBolt>();
    int arcs = field.CountOf<ArcShot>();
    EXPECT_EQ(bolts + arcs, 9) << "at 310, 620, ... 2790 ms";
    EXPECT_GT(arcs, bolts);
    // One draw per update for the segment, one per shot for its kind.
    for (int i = 0; i < updates + bolts + arcs; i++)
        before.Next();
    EXPECT_EQ(before.Next(), theRandom.Next());
}

TEST(ArcShot, FollowsAParabola)
{
    // Sinking 0.08 px/ms while it drifts left by the square root of 100 times the sinking.
    kit::Field field;
    auto* arc = new ArcShot;
    arc->SetSprite(field.images[kSheetArcShot], field.canvas.get(), 1, kKeyWhite);
    arc->MoveTo(380, 200);
    field.enemies.Append(arc);
    const int want[][3] = {{0, 380, 200}, {250, 335, 180}, {1000, 290, 120}, {2500, 238, 0}};
    for (auto [t, x, y] : want) {
        arc->Update(900 + t);
        EXPECT_EQ(arc->x, x) << t;
        EXPECT_EQ(arc->y, y) << t;
    }
}

}  // namespace

#include <initializer_list>

#include <gtest/gtest.h>

#include "app/Random.h"
#include "objects/PatternRunner.h"
#include "objects/SineGunner.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

// The generator's next outputs, in order.
void ScriptRandom(std::initializer_list<uint32_t> outputs)
{
    int i = 0;
    for (uint32_t value : outputs)
        theRandom.output[i++] = value;
    theRandom.index = 0;
}

struct PatternRunnerTest : ::testing::Test {
    PatternRunnerTest()
    {
        theRandom.Seed(777);
        runner = field.Spawn<PatternRunner>(300, 150, kSheetPatternRunner);
    }

    kit::Field field;
    PatternRunner* runner;
    const uint32_t start = 50000;
};

TEST_F(PatternRunnerTest, SegmentsRunStraightStraightUpDownThenRoundAgain)
{
    field.heroine->MoveTo(runner->x, runner->y);  // close: it never fires, one draw per update
    // Updates at 0, 300, 600, ...; a multiple of 30 starts the next segment.
    ScriptRandom({1, 1, 30, 1, 60, 1, 90, 1, 0, 1});
    auto step = [&](uint32_t t) {
        field.heroine->MoveTo(runner->x, runner->y);
        runner->Update(start + t);
    };
    step(0);
    step(300);
    EXPECT_EQ(runner->x, 300 - 48);
    EXPECT_EQ(runner->y, 150);
    step(600);  // segment 1, straight on from where it is
    EXPECT_EQ(runner->phase, 1);
    step(900);
    EXPECT_EQ(runner->x, 252 - 48);
    step(1200);  // segment 2: up-left
    EXPECT_EQ(runner->phase, 2);
    step(1500);
    EXPECT_EQ(runner->x, 204 - 31);
    EXPECT_EQ(runner->y, 150 + 31);
    step(1800);  // segment 3: down-left
    step(2100);
    EXPECT_EQ(runner->x, 173 - 31);
    EXPECT_EQ(runner->y, 181 - 31);
    step(2400);  // a change in segment 3 comes round to straight at once
    EXPECT_EQ(runner->phase, 0);
    step(2700);
    EXPECT_EQ(runner->x, 142 - 48);
    EXPECT_EQ(runner->y, 150);
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
    // One draw per update for the segment test, one per shot for its kind.
    for (int i = 0; i < updates + bolts + arcs; i++)
        before.Next();
    EXPECT_EQ(before.Next(), theRandom.Next());
}

TEST_F(PatternRunnerTest, OneShotInTenIsABoltAheadOfIt)
{
    field.heroine->MoveTo(0, 0);
    ScriptRandom({1, 1, 20, 1, 1, 7});  // updates at 0 and 301 (bolt), 602 (arc)
    runner->Update(start);
    runner->Update(start + 301);
    runner->Update(start + 602);
    StraightBolt* bolt = nullptr;
    ArcShot* arc = nullptr;
    field.enemies.ForEach([&](GameObject& o) {
        if (!bolt)
            bolt = dynamic_cast<StraightBolt*>(&o);
        if (!arc)
            arc = dynamic_cast<ArcShot*>(&o);
        return true;
    });
    ASSERT_NE(bolt, nullptr);
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(bolt->x, 300 - 48 - 8);
    EXPECT_EQ(bolt->y, 150 + 16);
    EXPECT_EQ(arc->x, 300 - 96);
    EXPECT_EQ(arc->y, 150 + 16);
}

TEST(ArcShot, FollowsAParabola)
{
    kit::Field field;
    auto* arc = new ArcShot;
    arc->SetSprite(field.images[kSheetArcShot], field.canvas.get(), 1, kKeyWhite);
    arc->MoveTo(380, 200);
    field.enemies.Append(arc);
    arc->Update(900);
    arc->Update(1900);
    EXPECT_EQ(arc->x, 290);
    EXPECT_EQ(arc->y, 120);
}

}  // namespace

#include <gtest/gtest.h>

#include "objects/EnemyProjectiles.h"
#include "objects/Sniper.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

constexpr uint32_t kRed = 0x00FF0000;

int RedPixels(const Surface& canvas)
{
    int n = 0;
    for (int i = 0; i < canvas.width * canvas.height; i++)
        n += canvas.pixels[i] == kRed;
    return n;
}

struct SniperTest : ::testing::Test {
    SniperTest()
    {
        sniper = field.Spawn<Sniper>(300, 40, kSheetSniper);
        field.heroine->MoveTo(150, 200);  // far above it all the time
        sniper->Update(start);
    }

    Blast* OnlyBlast()
    {
        Blast* found = nullptr;
        field.enemies.ForEach([&](GameObject& o) {
            if (auto* blast = dynamic_cast<Blast*>(&o))
                found = blast;
            return true;
        });
        return found;
    }

    kit::Field field;
    Sniper* sniper;
    const uint32_t start = 20000;
};

TEST_F(SniperTest, AimsForASecondThenMarksAndCallsABlastOnTheMark)
{
    uint32_t markedAt = 0;
    for (uint32_t t = 10; t <= 1600 && !OnlyBlast(); t += 10) {
        kit::Fill(*field.canvas, kit::kCanvasColour);
        bool marked = sniper->markX != 0;
        sniper->Update(start + t);
        EXPECT_EQ(RedPixels(*field.canvas) > 0, t > 300 && t < 1300) << t;
        if (!marked && sniper->markX != 0)
            markedAt = t;
        if (t == 1400)
            field.heroine->MoveTo(250, 210);  // she leaves the spot after the mark
    }
    EXPECT_EQ(markedAt, 1310u);
    Blast* blast = OnlyBlast();
    ASSERT_NE(blast, nullptr);
    EXPECT_EQ(sniper->markX, 0);
    // Centred on her centre where she was marked: (150 + 16, 200 + 8) minus half of 48x48.
    EXPECT_EQ(blast->x, 150 + 16 - 24);
    EXPECT_EQ(blast->y, 200 + 8 - 24);
    EXPECT_EQ(sniper->lastShot, start + 1510) << "the blast comes about 200 ms after the mark";
}

TEST_F(SniperTest, AMarkAtTheLeftEdgeIsTakenAgainUntilTheBlast)
{
    field.heroine->MoveTo(0, 200);
    sniper->Update(start + 1301);
    EXPECT_EQ(sniper->markX, 0);
    EXPECT_EQ(sniper->markY, 200);
    field.heroine->MoveTo(0, 180);
    sniper->Update(start + 1400);
    EXPECT_EQ(sniper->markY, 180) << "marked again";
    sniper->Update(start + 1501);
    ASSERT_NE(OnlyBlast(), nullptr);
    EXPECT_EQ(OnlyBlast()->y, 180 + 8 - 24);
}

TEST_F(SniperTest, WhenTheHeroineMovesAwayEverythingDueHappensAtOnce)
{
    // Close by for two seconds: no line, no mark, no blast; the cycle's clock runs on.
    for (uint32_t t = 10; t <= 2000; t += 10) {
        field.heroine->MoveTo(sniper->x, sniper->y + 50);
        kit::Fill(*field.canvas, kit::kCanvasColour);
        sniper->Update(start + t);
        ASSERT_EQ(RedPixels(*field.canvas), 0) << t;
    }
    EXPECT_EQ(sniper->markX, 0);
    EXPECT_EQ(OnlyBlast(), nullptr);

    field.heroine->MoveTo(120, 220);
    sniper->Update(start + 2010);
    ASSERT_NE(OnlyBlast(), nullptr) << "mark and blast in the same update";
    EXPECT_EQ(OnlyBlast()->x, 120 + 16 - 24);
    EXPECT_EQ(sniper->lastShot, start + 2010);
}

TEST_F(SniperTest, ItsWaveNeverDipsBelowTheBottomEdge)
{
    // Centre line 5: at the wave's trough the height would be 5 - 19; it flies at 14.
    Sniper* low = field.Spawn<Sniper>(191 + 256, 5, kSheetSniper);
    low->Update(start);
    EXPECT_EQ(low->baseY, 5);
    EXPECT_EQ(low->y, 14);
}

}  // namespace

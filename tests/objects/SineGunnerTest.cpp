#include <vector>

#include <gtest/gtest.h>

#include "gfx/Tables.h"
#include "objects/SineGunner.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

struct SineGunnerTest : ::testing::Test {
    SineGunnerTest()
    {
        gunner = field.Spawn<SineGunner>(300, 120, kSheetSineGunner);
        field.heroine->MoveTo(0, 0);
        gunner->Update(start);
    }

    // Updates the gunner every millisecond up to `until`, noting when a bolt appears.
    std::vector<uint32_t> ShotTimes(uint32_t from, uint32_t until)
    {
        std::vector<uint32_t> times;
        for (uint32_t t = from; t <= until; t++) {
            int before = field.CountOf<StraightBolt>();
            gunner->Update(start + t);
            if (field.CountOf<StraightBolt>() > before)
                times.push_back(t);
        }
        return times;
    }

    kit::Field field;
    SineGunner* gunner;
    const uint32_t start = 40000;
};

TEST_F(SineGunnerTest, FiresInPairs500And1500MillisecondsAfterEachMark)
{
    EXPECT_EQ(ShotTimes(1, 4600), (std::vector<uint32_t>{501, 1501, 2002, 3002, 3503, 4503}));
}

TEST_F(SineGunnerTest, APairWaitsWhileTheHeroineIsNear)
{
    EXPECT_EQ(ShotTimes(1, 600), (std::vector<uint32_t>{501}));
    // Near for two seconds: nothing, and the second shot of the pair is still the one due.
    for (uint32_t t = 601; t <= 2600; t++) {
        field.heroine->MoveTo(gunner->x + 60, gunner->y);
        gunner->Update(start + t);
    }
    EXPECT_EQ(field.CountOf<StraightBolt>(), 1);
    EXPECT_TRUE(gunner->secondPending);
    field.heroine->MoveTo(0, 0);
    EXPECT_EQ(ShotTimes(2601, 2601), (std::vector<uint32_t>{2601}));
    EXPECT_FALSE(gunner->secondPending);
    EXPECT_EQ(gunner->lastShot, start + 2601) << "the second shot sets the next mark";
}

TEST_F(SineGunnerTest, RidesAWave30PixelsHigh)
{
    SineGunner* far = field.Spawn<SineGunner>(380, 50, kSheetSineGunner);
    far->Update(start);
    EXPECT_EQ(far->y, static_cast<int>(SineTable[380 & 255] * 30 + 50));
    far->Update(start + 600);
    EXPECT_EQ(far->x, 317) << "600 * 0.10666... is just below 64";
    far->Update(start + 750);
    EXPECT_EQ(far->x, 300);
    EXPECT_EQ(far->y, static_cast<int>(SineTable[44] * 30 + 50));

    // Created at height 0, it takes the height of its first update as its centre line.
    SineGunner* low = field.Spawn<SineGunner>(330, 0, kSheetSineGunner);
    low->Update(start);
    EXPECT_EQ(low->baseY, 0);
    int first = low->y;
    low->Update(start + 100);
    EXPECT_EQ(low->baseY, first);
}

TEST(StraightBolt, FliesLeftAtAThirdOfAPixelPerMillisecond)
{
    kit::Field field;
    auto* bolt = new StraightBolt;
    bolt->SetSprite(field.images[kSheetBazooka], field.canvas.get(), 1, kKeyBlack);
    bolt->MoveTo(300, 100);
    field.enemies.Append(bolt);
    bolt->Update(500);
    bolt->Update(600);
    EXPECT_EQ(bolt->x, 268);
    EXPECT_EQ(bolt->y, 100);
}

}  // namespace

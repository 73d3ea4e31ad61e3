#include <vector>

#include <gtest/gtest.h>

#include "objects/SineGunner.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

struct SineGunnerTest : ::testing::Test {
    SineGunnerTest()
    {
        field.heroine->MoveTo(0, 0);
        gunner->Update(start);
    }

    // Updates the gunner every millisecond, noting when a bolt appears.
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
    SineGunner* gunner = field.Spawn<SineGunner>(300, 120, kSheetSineGunner);
    const uint32_t start = 40000;
};

TEST_F(SineGunnerTest, FiresInPairs500And1500MillisecondsAfterEachMark)
{
    EXPECT_EQ(ShotTimes(1, 4600), (std::vector<uint32_t>{501, 1501, 2002, 3002, 3503, 4503}));
}

TEST_F(SineGunnerTest, APairWaitsWhileTheHeroineIsNear)
{
    EXPECT_EQ(ShotTimes(1, 600), (std::vector<uint32_t>{501}));
    for (uint32_t t = 601; t <= 2600; t++) {
        field.heroine->MoveTo(gunner->x + 60, gunner->y);
        gunner->Update(start + t);
    }
    EXPECT_EQ(field.CountOf<StraightBolt>(), 1);
    // Still the pair's second shot that is due, and it sets the next mark.
    field.heroine->MoveTo(0, 0);
    EXPECT_EQ(ShotTimes(2601, 3200), (std::vector<uint32_t>{2601, 3102}));
}

}  // namespace

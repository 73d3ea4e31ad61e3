#include <algorithm>

#include <gtest/gtest.h>

#include "objects/EnemyProjectiles.h"
#include "objects/Sniper.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

TEST(Sniper, AimsForASecondThenMarksHerAndCallsABlastOnTheMark)
{
    kit::Field field;
    Sniper* sniper = field.Spawn<Sniper>(300, 40, kSheetSniper);
    field.heroine->MoveTo(150, 200);  // far above it all the time
    const uint32_t start = 20000;
    sniper->Update(start);

    uint32_t markedAt = 0;
    for (uint32_t t = 10; t <= 1600 && field.All<Blast>().empty(); t += 10) {
        kit::Fill(*field.canvas, kit::kCanvasColour);
        bool marked = sniper->markX != 0;
        sniper->Update(start + t);
        bool red = std::count(field.canvas->pixels, field.canvas->pixels + 320 * 240,
                              0x00FF0000u) > 0;
        EXPECT_EQ(red, t > 300 && t < 1300) << "the aiming line at " << t;
        if (!marked && sniper->markX != 0)
            markedAt = t;
        if (t == 1400)
            field.heroine->MoveTo(250, 210);  // she leaves the spot after the mark
    }
    EXPECT_EQ(markedAt, 1310u);
    ASSERT_EQ(field.All<Blast>().size(), 1u);
    Blast* blast = field.All<Blast>()[0];
    // Centred on her centre where she was marked: (150 + 16, 200 + 8) minus half of 48x48.
    EXPECT_EQ(blast->x, 150 + 16 - 24);
    EXPECT_EQ(blast->y, 200 + 8 - 24);
    EXPECT_EQ(sniper->markX, 0);
    EXPECT_EQ(sniper->lastShot, start + 1510) << "the next cycle starts with the blast";
}

}  // namespace

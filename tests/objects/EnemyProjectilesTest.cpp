#include <gtest/gtest.h>

#include "objects/EnemyProjectiles.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

// A bullet at (x, y) aimed at the heroine standing at (px, py), updated at its start and
// `after` milliseconds later.
EnemyBullet* FlyBullet(kit::Field& field, int x, int y, int px, int py, uint32_t after)
{
    auto* bullet = MakeChild<EnemyBullet>(*field.heroine, kSheetBullet, kKeyBlack);
    bullet->MoveTo(x, y);
    bullet->AimAt(px, py);
    field.enemies.Append(bullet);
    bullet->Update(10000);
    bullet->Update(10000 + after);
    return bullet;
}

TEST(EnemyBullet, FliesAlongItsMajorAxisTowardTheHeroinesCentre)
{
    kit::Field field;

    // Level with the target: straight toward smaller x.
    EnemyBullet* level = FlyBullet(field, 100, 100, 44, 92, 1000);
    EXPECT_EQ(level->x, 36);
    EXPECT_EQ(level->y, 100);

    // Straight above: upward, x unchanged.
    EnemyBullet* above = FlyBullet(field, 100, 100, 84, 192, 1000);
    EXPECT_EQ(above->x, 100);
    EXPECT_EQ(above->y, 164);

    // Shallow: x major, slope 0.75, 0.064 px/ms along the path.
    EnemyBullet* shallow = FlyBullet(field, 100, 100, 44, 62, 1000);
    EXPECT_DOUBLE_EQ(shallow->path.slope, 0.75);
    EXPECT_DOUBLE_EQ(shallow->path.norm, 1.25);
    EXPECT_EQ(shallow->x, 48);
    EXPECT_EQ(shallow->y, 61);

    // Steep and rightward: y major, x following the truncated y.
    EnemyBullet* steep = FlyBullet(field, 100, 100, 114, 192, 1000);
    EXPECT_EQ(steep->path.xSign, 0);
    EXPECT_EQ(steep->path.ySign, -1);
    EXPECT_EQ(steep->y, 100 + static_cast<int>(1000 * 0.064 / steep->path.norm));
    EXPECT_EQ(steep->x, static_cast<int>((steep->y - 100) * 0.3 + 100));
    EXPECT_GT(steep->x, 100);

    // A bullet never aimed stays where it is and reports so.
    auto* idle = MakeChild<EnemyBullet>(*field.heroine, kSheetBullet, kKeyBlack);
    idle->MoveTo(50, 50);
    field.enemies.Append(idle);
    EXPECT_EQ(idle->Update(10000), 0);
    EXPECT_EQ(idle->x, 50);
    EXPECT_FALSE(idle->shown);
}

TEST(DriftBullet, DriftsLeft64PixelsASecond)
{
    kit::Field field;
    auto* bullet = MakeChild<DriftBullet>(*field.heroine, kSheetBullet, kKeyBlack);
    bullet->MoveTo(200, 30);
    field.enemies.Append(bullet);
    bullet->Update(500);
    bullet->Update(1500);
    EXPECT_EQ(bullet->x, 136);
    EXPECT_EQ(bullet->y, 30);
}

TEST(Blast, TurnsDangerousOnlyAfterItsFourthStep)
{
    kit::Field field;
    Blast* blast = MakeChild<Blast>(*field.heroine, kSheetBlast, kKeyBlack);
    blast->MoveTo(100, 100);
    field.enemies.Append(blast);

    // Updated every 10 ms, it steps at 70, 140, 210, 280 and 350 ms.
    const uint32_t start = 7000;
    int stepsSeen = 0;
    for (uint32_t t = 0; t <= 350; t += 10) {
        blast->Update(start + t);
        bool dangerous = blast->hitBox.right > blast->hitBox.left;
        if (t < 280) {
            EXPECT_FALSE(dangerous) << t;
            EXPECT_TRUE(blast->collidable) << "its corner point counts from the first clip";
        } else if (t < 350) {
            ASSERT_TRUE(dangerous) << t;
            EXPECT_EQ(blast->hitBox.left, 18);
            EXPECT_EQ(blast->hitBox.right, 30);
        }
        if (t % 70 == 0 && t > 0) {
            EXPECT_EQ(blast->stepCount, ++stepsSeen) << t;
        }
        EXPECT_EQ(blast->HasEnded(), t == 350) << t;
    }
}

TEST(Blast, GrowsMoreOpaqueStepByStep)
{
    kit::Field field;
    Blast* blast = MakeChild<Blast>(*field.heroine, kSheetBlast, kKeyBlack);
    blast->MoveTo(10, 10);
    field.enemies.Append(blast);
    kit::Fill(*field.canvas, 0);
    blast->Update(100);
    // Frame 0 with weight 224 of the black under it: (32 * 0x30) >> 8 in the low byte.
    EXPECT_EQ(kit::At(*field.canvas, 10, 10) & 0xFF, (0x30u * 32) >> 8);
    blast->Update(200);  // the first step draws with the weight it had, then steps
    kit::Fill(*field.canvas, 0);
    blast->Update(210);
    EXPECT_EQ(kit::At(*field.canvas, 10, 10) & 0xFF, (0x31u * 64) >> 8);
}

}  // namespace

#include <vector>

#include <gtest/gtest.h>

#include "objects/BombDropper.h"
#include "objects/EnemyProjectiles.h"
#include "random/Random.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

struct BombDropperTest : ::testing::Test {
    BombDropperTest() { theRandom.Seed(4242); }

    // A bomb as the dropper makes it, at (x, y), updated once.
    DroppedBomb* Bomb(int x, int y)
    {
        auto* bomb = MakeChild<DroppedBomb>(*dropper, kSheetDroppedBomb, kKeyBlack);
        bomb->MoveTo(x, y);
        bomb->ownerList = &field.enemies;
        bomb->images = &field.images;
        bomb->SetHitInset(2);
        field.enemies.Append(bomb);
        bomb->Update(start);
        return bomb;
    }

    kit::Field field;
    BombDropper* dropper = field.Spawn<BombDropper>(300, 200, kSheetBombDropper);
    const uint32_t start = 60000;
};

TEST_F(BombDropperTest, ABombStopsInTheBandOfHerFramesWidthAboveHerWhateverHerDistance)
{
    field.heroine->MoveTo(280, 120);  // far to the right of the bombs
    EXPECT_TRUE(Bomb(10, 150)->exploding) << "120 < 150 < 120 + her width 32";
    EXPECT_FALSE(Bomb(70, 120)->exploding);
    DroppedBomb* above = Bomb(40, 152);
    EXPECT_FALSE(above->exploding);
    // Sinking at 0.064 px/ms, it reaches 151 after 16 ms and stops where it was.
    above->Update(start + 15);
    EXPECT_FALSE(above->exploding);
    above->Update(start + 16);
    EXPECT_TRUE(above->exploding);
    EXPECT_EQ(above->y, 152);
}

TEST_F(BombDropperTest, SixBlastsAHundredMillisecondsApartPlacedByFourDrawsEach)
{
    field.heroine->MoveTo(0, 120);
    DroppedBomb* bomb = Bomb(200, 150);
    ASSERT_TRUE(bomb->exploding);
    // The first blast's draws: height up 19 and down 0, column left 0 and right 9.
    const uint32_t draws[] = {19, 0, 0, 9};
    std::copy(std::begin(draws), std::end(draws), theRandom.output);
    theRandom.index = 0;

    std::vector<uint32_t> times;
    for (uint32_t t = 10; t <= 800 && !bomb->HasEnded(); t += 10) {
        size_t before = field.All<Blast>().size();
        bomb->Update(start + t);
        if (field.All<Blast>().size() > before)
            times.push_back(t);
    }
    EXPECT_EQ(times, (std::vector<uint32_t>{110, 220, 330, 440, 550, 660}));
    EXPECT_TRUE(bomb->HasEnded());
    EXPECT_EQ(bomb->x, 200);
    // Centred on where her centre would be over the bomb, less up to 19 and plus up to 9 on
    // each axis.
    std::vector<Blast*> blasts = field.All<Blast>();
    EXPECT_EQ(blasts[0]->x, 200 + 16 - 24 + 9);
    EXPECT_EQ(blasts[0]->y, 150 + 8 - 24 - 19);
    for (Blast* blast : blasts) {
        EXPECT_GE(blast->x, 173);
        EXPECT_LE(blast->x, 201);
        EXPECT_GE(blast->y, 115);
        EXPECT_LE(blast->y, 143);
        EXPECT_FALSE(blast->collidable) << "harmless until its first update";
    }
}

}  // namespace

#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "app/Random.h"
#include "objects/BombDropper.h"
#include "objects/EnemyProjectiles.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

struct BombDropperTest : ::testing::Test {
    BombDropperTest()
    {
        theRandom.Seed(4242);
        dropper = field.Spawn<BombDropper>(300, 200, kSheetBombDropper);
    }

    // A bomb as the dropper makes it, at (x, y).
    DroppedBomb* Bomb(int x, int y)
    {
        auto* bomb = MakeChild<DroppedBomb>(*dropper, kSheetDroppedBomb, kKeyBlack);
        bomb->MoveTo(x, y);
        bomb->ownerList = &field.enemies;
        bomb->images = &field.images;
        bomb->SetHitInset(2);
        field.enemies.Append(bomb);
        return bomb;
    }

    std::vector<Blast*> Blasts()
    {
        std::vector<Blast*> blasts;
        field.enemies.ForEach([&](GameObject& o) {
            if (auto* blast = dynamic_cast<Blast*>(&o))
                blasts.push_back(blast);
            return true;
        });
        return blasts;
    }

    kit::Field field;
    BombDropper* dropper;
    const uint32_t start = 60000;
};

TEST_F(BombDropperTest, DropsABombEveryHalfSecond)
{
    field.heroine->MoveTo(0, 0);
    std::vector<uint32_t> drops;
    for (uint32_t t = 0; t <= 1600; t += 10) {
        int before = field.CountOf<DroppedBomb>();
        dropper->Update(start + t);
        if (field.CountOf<DroppedBomb>() > before)
            drops.push_back(t);
    }
    EXPECT_EQ(drops, (std::vector<uint32_t>{510, 1020, 1530}));
}

TEST_F(BombDropperTest, ABombBurstsAtTheHeroinesHeightWhateverHerDistance)
{
    field.heroine->MoveTo(280, 120);  // far to the right of the bombs: only heights count
    DroppedBomb* inside = Bomb(10, 150);
    DroppedBomb* atTop = Bomb(40, 152);
    DroppedBomb* atBottom = Bomb(70, 120);
    for (DroppedBomb* bomb : {inside, atTop, atBottom})
        bomb->Update(start);
    EXPECT_TRUE(inside->exploding) << "120 < 150 < 120 + her width 32";
    EXPECT_FALSE(atTop->exploding);
    EXPECT_FALSE(atBottom->exploding);

    // Falling at 0.064 px/ms, the one above reaches 151 after 16 ms and stops there.
    atTop->Update(start + 16);
    EXPECT_TRUE(atTop->exploding);
    EXPECT_EQ(atTop->y, 152);
}

TEST_F(BombDropperTest, SixBlastsAHundredMillisecondsApartAroundTheBomb)
{
    field.heroine->MoveTo(0, 120);
    DroppedBomb* bomb = Bomb(200, 150);
    bomb->Update(start);
    ASSERT_TRUE(bomb->exploding);

    std::vector<uint32_t> times;
    for (uint32_t t = 10; t <= 800 && !bomb->HasEnded(); t += 10) {
        size_t before = Blasts().size();
        bomb->Update(start + t);
        if (Blasts().size() > before)
            times.push_back(t);
    }
    EXPECT_EQ(times, (std::vector<uint32_t>{110, 220, 330, 440, 550, 660}));
    EXPECT_TRUE(bomb->HasEnded());
    EXPECT_EQ(bomb->x, 200) << "it never moved while bursting";
    for (Blast* blast : Blasts()) {
        EXPECT_GE(blast->x, 173);
        EXPECT_LE(blast->x, 201);
        EXPECT_GE(blast->y, 115);
        EXPECT_LE(blast->y, 143);
        EXPECT_FALSE(blast->collidable);
    }
}

TEST_F(BombDropperTest, BlastsArePlacedByFourDrawsHeightFirst)
{
    field.heroine->MoveTo(0, 120);
    DroppedBomb* bomb = Bomb(200, 150);
    bomb->Update(start);
    const uint32_t draws[] = {19, 0, 0, 9};  // lowest height, rightmost column
    for (int i = 0; i < 4; i++)
        theRandom.output[i] = draws[i];
    theRandom.index = 0;
    bomb->Update(start + 101);
    ASSERT_EQ(Blasts().size(), 1u);
    EXPECT_EQ(Blasts()[0]->x, 201);
    EXPECT_EQ(Blasts()[0]->y, 115);
}

}  // namespace

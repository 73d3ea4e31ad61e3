#include <cmath>

#include <gtest/gtest.h>

#include "objects/EnemyProjectiles.h"
#include "objects/NoteSpreader.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

TEST(NoteSpreader, RingsOfSixteenLeanRightAndUpAtMostEvery800Milliseconds)
{
    kit::Field field;
    NoteSpreader* spreader = field.Spawn<NoteSpreader>(250, 120, kSheetNoteSpreader);
    field.heroine->MoveTo(20, 220);
    const uint32_t start = 30000;
    spreader->Update(start);
    spreader->Update(start + 800);
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 0);
    spreader->Update(start + 801);
    std::vector<EnemyBullet*> notes = field.All<EnemyBullet>();
    ASSERT_EQ(notes.size(), 16u);

    // Round a 200x200 square from its upper-left corner, clockwise; each note leaves 16
    // pixels left of the spreader toward its point moved right by 32 and up by 8.
    const int corners[16][2] = {
        {-100, 100},  {-50, 100},  {0, 100},   {50, 100},  {100, 100}, {100, 50},
        {100, 0},     {100, -50},  {100, -100}, {50, -100}, {0, -100},  {-50, -100},
        {-100, -100}, {-100, -50}, {-100, 0},  {-100, 50},
    };
    int fromX = spreader->x - 16, fromY = spreader->y;
    for (int i = 0; i < 16; i++) {
        SCOPED_TRACE(i);
        EnemyBullet& note = *notes[i];
        EXPECT_EQ(note.x, fromX);
        EXPECT_EQ(note.y, fromY);
        note.Update(start + 1000);
        note.Update(start + 3000);  // 128 pixels along the path
        double dx = note.x - fromX, dy = note.y - fromY;
        double angle = std::atan2(dy, dx) - std::atan2(corners[i][1] + 8, corners[i][0] + 32);
        EXPECT_LT(std::abs(std::remainder(angle, 2 * M_PI)), 0.02);
        EXPECT_NEAR(std::hypot(dx, dy), 128, 2);
    }

    spreader->Update(start + 1601);
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 16);
    spreader->Update(start + 1602);
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 32);
}

}  // namespace

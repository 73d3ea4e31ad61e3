#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "objects/EnemyProjectiles.h"
#include "objects/NoteSpreader.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

struct NoteSpreaderTest : ::testing::Test {
    NoteSpreaderTest()
    {
        spreader = field.Spawn<NoteSpreader>(250, 120, kSheetNoteSpreader);
        field.heroine->MoveTo(20, 220);
        spreader->Update(start);
    }

    std::vector<EnemyBullet*> Notes()
    {
        std::vector<EnemyBullet*> notes;
        field.enemies.ForEach([&](GameObject& o) {
            if (auto* note = dynamic_cast<EnemyBullet*>(&o))
                notes.push_back(note);
            return true;
        });
        return notes;
    }

    kit::Field field;
    NoteSpreader* spreader;
    const uint32_t start = 30000;
};

TEST_F(NoteSpreaderTest, ARingOfSixteenLeansRightAndUp)
{
    spreader->Update(start + 800);
    EXPECT_TRUE(Notes().empty());
    spreader->Update(start + 801);
    std::vector<EnemyBullet*> notes = Notes();
    ASSERT_EQ(notes.size(), 16u);

    // The ring walks round a square from its upper-left corner; each note leaves 16 pixels
    // left of the spreader toward its corner point moved right by 32 and up by 8.
    const int corners[16][2] = {
        {-100, 100}, {-50, 100},  {0, 100},     {50, 100},  {100, 100}, {100, 50},
        {100, 0},    {100, -50},  {100, -100},  {50, -100}, {0, -100},  {-50, -100},
        {-100, -100}, {-100, -50}, {-100, 0},   {-100, 50},
    };
    int fromX = spreader->x - 16;
    int fromY = spreader->y;
    for (int i = 0; i < 16; i++) {
        EnemyBullet& note = *notes[i];
        EXPECT_EQ(note.x, fromX);
        EXPECT_EQ(note.y, fromY);
        note.Update(start + 1000);
        note.Update(start + 3000);  // 2 s of flight: 128 pixels along the path
        double dx = note.x - fromX, dy = note.y - fromY;
        double wantX = corners[i][0] + 32, wantY = corners[i][1] + 8;
        double angle = std::atan2(dy, dx) - std::atan2(wantY, wantX);
        angle = std::remainder(angle, 2 * M_PI);
        EXPECT_LT(std::abs(angle), 0.02) << "note " << i;
        EXPECT_NEAR(std::hypot(dx, dy), 128, 2) << "note " << i;
    }
    // The two that fly level: a shallow rise either way.
    EXPECT_DOUBLE_EQ(notes[6]->path.slope, 8.0 / 132);
    EXPECT_DOUBLE_EQ(notes[14]->path.slope, 8.0 / -68);
    EXPECT_EQ(notes[2]->path.xSign, 0) << "the note straight up is steep";
}

TEST_F(NoteSpreaderTest, RingsComeAtMostEvery800Milliseconds)
{
    spreader->Update(start + 801);
    spreader->Update(start + 1601);
    EXPECT_EQ(Notes().size(), 16u);
    spreader->Update(start + 1602);
    EXPECT_EQ(Notes().size(), 32u);
}

TEST_F(NoteSpreaderTest, NoRingWhileTheHeroineIsCloseButOneAsSoonAsSheLeaves)
{
    for (uint32_t t = 10; t <= 2000; t += 10) {
        field.heroine->MoveTo(spreader->x - 60, spreader->y);
        spreader->Update(start + t);
    }
    EXPECT_TRUE(Notes().empty());
    field.heroine->MoveTo(0, 0);
    spreader->Update(start + 2010);
    EXPECT_EQ(Notes().size(), 16u);
}

}  // namespace

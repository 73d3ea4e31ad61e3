#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "app/Random.h"
#include "objects/Shooters.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

struct ShootersTest : ::testing::Test {
    ShootersTest() { theRandom.Seed(12345); }

    kit::Field field;
    uint32_t now = 10000;
};

TEST_F(ShootersTest, AStraightShooterEntersAndWaitsASecondBeforeItsFirstBullet)
{
    auto* shooter = field.Spawn<StraightShooter>(330, 100);
    field.heroine->MoveTo(0, 224);
    shooter->Update(now);
    uint32_t start = now;
    shooter->Update(start + 68);
    EXPECT_EQ(shooter->x, 320);
    EXPECT_FALSE(shooter->shown);
    shooter->Update(start + 69);
    EXPECT_EQ(shooter->x, 319);
    EXPECT_TRUE(shooter->shown);

    shooter->Update(start + 1000);
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 0);
    shooter->Update(start + 1001);
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 1);
    shooter->Update(start + 2001);
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 1) << "at most one a second";
    shooter->Update(start + 2002);
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 2);
}

TEST_F(ShootersTest, NoneFiresWhileTheHeroineIsClose)
{
    auto* straight = field.Spawn<StraightShooter>(310, 100);
    auto* wave = field.Spawn<WaveShooter>(310, 100);
    auto* dive = field.Spawn<DiveShooter>(310, 100);
    dive->path.AimAt(310, 100, 0, 0);
    GameObject* shooters[] = {straight, wave, dive};

    // For 1.3 s she stays 90 pixels behind each of them.
    for (int i = 0; i < 75; i++) {
        now += 17;
        for (GameObject* shooter : shooters) {
            shooter->MoveTo(straight->x, 100);
            field.heroine->MoveTo(straight->x - 90, 100);
            shooter->Update(now);
        }
    }
    EXPECT_EQ(field.CountOf<EnemyBullet>() + field.CountOf<DriftBullet>(), 0);

    // The timer ran on: the straight shooter fires as soon as she moves away.
    field.heroine->MoveTo(0, 230);
    straight->Update(now + 17);
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 1);
}

TEST_F(ShootersTest, AWaveShooterRidesASineWaveAroundItsFirstHeight)
{
    auto* wave = field.Spawn<WaveShooter>(320 + 64 + 160, 100);
    field.heroine->MoveTo(0, 0);
    wave->Update(now);
    EXPECT_EQ(wave->baseY, 100);
    wave->Update(now + 1000);  // 160 pixels on: x = 384, sine index 128
    EXPECT_EQ(wave->x, 384);
    EXPECT_EQ(wave->y, static_cast<int>(std::sin(2 * M_PI * 128 / 255) * 20 + 100));
    wave->Update(now + 2000);  // x = 224, sine index 224
    EXPECT_EQ(wave->y, static_cast<int>(std::sin(2 * M_PI * 224 / 255) * 20 + 100));

    auto* top = field.Spawn<WaveShooter>(64 + 160, 100);
    top->Update(now);
    top->Update(now + 1000);
    EXPECT_EQ(top->x, 64);
    EXPECT_EQ(top->y, 119);
}

TEST_F(ShootersTest, AWaveShooterFiresAimedEveryHalfSecondAndDriftsNowAndThen)
{
    field.heroine->MoveTo(0, 0);
    std::vector<WaveShooter*> shooters;
    for (int i = 0; i < 20; i++)
        shooters.push_back(field.Spawn<WaveShooter>(300, 150));

    // Only the shooters are updated, so every bullet they fire stays in the list.
    int updates = 0;
    for (uint32_t t = 0; t <= 5000; t += 17, updates++)
        for (WaveShooter* shooter : shooters)
            shooter->Update(now + t);

    // Each fires at 510, 1020, ... 4590 ms: nine aimed bullets in 5 s.
    EXPECT_EQ(field.CountOf<EnemyBullet>(), 20 * 9);
    // About one update in a hundred adds a drifting one.
    int expected = 20 * updates / 100;
    EXPECT_GT(field.CountOf<DriftBullet>(), expected / 3);
    EXPECT_LT(field.CountOf<DriftBullet>(), expected * 3);
}

TEST_F(ShootersTest, ADiveShooterFliesAtWhereTheHeroineWas)
{
    field.heroine->MoveTo(100, 20);
    auto* dive = field.Spawn<DiveShooter>(340, 140);
    dive->path.AimAt(340, 140, 100, 20);  // toward (116, 28): dx -224, dy -112
    dive->Update(now);
    field.heroine->MoveTo(200, 200);  // she moves; it keeps its course
    dive->Update(now + 1000);
    // x major at 0.16 px/ms along the path: 160 / sqrt(1.25) pixels of x.
    int x = static_cast<int>(340 - 1000 * 0.16 / std::sqrt(1.25));
    EXPECT_EQ(dive->x, x);
    EXPECT_EQ(dive->y, static_cast<int>((x - 340) * 0.5 + 140));

    // An unaimed one does nothing at all.
    auto* idle = field.Spawn<DiveShooter>(200, 100);
    EXPECT_EQ(idle->Update(now), 0);
    EXPECT_EQ(idle->x, 200);
}

}  // namespace

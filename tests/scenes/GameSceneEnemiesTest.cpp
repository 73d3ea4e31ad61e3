#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objects/BombDropper.h"
#include "objects/EnemyProjectiles.h"
#include "objects/NoteSpreader.h"
#include "objects/PatternRunner.h"
#include "objects/PlayerWeapons.h"
#include "objects/Shooters.h"
#include "objects/SineGunner.h"
#include "objects/Sniper.h"
#include "sound/SoundSystem.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

using Added = std::map<std::string, int>;

TEST(GameSceneEnemies, TheSniperSoundsItsMarkAndItsBlast)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(1));
    run.scene->player->MoveTo(20, 220);  // far above its wave all the way
    run.AddEnemy<Sniper>(310, 40, kSheetSniper);
    scripted::ClearSoundEvents();
    while (run.Enemies<Blast>().empty())
        ASSERT_TRUE(run.QuietFrames(1));
    EXPECT_EQ(run.Plays(kSoundLockOn), 1);
    EXPECT_EQ(run.Plays(kSoundShot), 1) << "the blast is called with the shot's sound";
    Blast* blast = run.Enemies<Blast>()[0];
    EXPECT_EQ(blast->sprite, run.scene->images[kSheetBlast]);
    EXPECT_EQ(blast->x, 20 + 16 - blast->FrameWidth() / 2);
}

TEST(GameSceneEnemies, TheNoteSpreadersRingSoundsOnce)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(1));
    run.scene->player->MoveTo(20, 220);
    run.AddEnemy<NoteSpreader>(300, 60, kSheetNoteSpreader, 30);
    scripted::ClearSoundEvents();
    while (run.Enemies<EnemyBullet>().empty())
        ASSERT_TRUE(run.QuietFrames(1));
    std::vector<EnemyBullet*> notes = run.Enemies<EnemyBullet>();
    EXPECT_EQ(notes.size(), 16u);
    EXPECT_EQ(notes[0]->sprite, run.scene->images[kSheetNote]);
    EXPECT_EQ(notes[0]->colorKey, kKeyWhite);
    EXPECT_EQ(run.Plays(kSoundNotes), 1);
}

TEST(GameSceneEnemies, ADroppedBombBurstsSixTimesWithASoundEach)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(1));
    run.scene->player->MoveTo(20, 20);
    auto* dropper = run.AddEnemy<BombDropper>(300, 200, kSheetBombDropper);
    while (run.Enemies<DroppedBomb>().empty())
        ASSERT_TRUE(run.QuietFrames(1));
    run.scene->enemyList.Remove(dropper);  // one bomb is enough
    scripted::ClearSoundEvents();

    const uint32_t quiet = kit::LcgStateGiving(kit::kQuietDraw);
    int blasts = 0;
    while (!run.Enemies<DroppedBomb>().empty()) {
        bool bursting = run.Enemies<DroppedBomb>()[0]->exploding;
        std::map<std::string, int> added = run.Spawned(quiet);
        ASSERT_TRUE(run.Running());
        blasts += added[kit::Name<Blast>()];
        EXPECT_TRUE(bursting || added[kit::Name<Blast>()] == 0) << "blasts only once it bursts";
    }
    EXPECT_EQ(blasts, DroppedBomb::kBlasts);
    EXPECT_EQ(run.Plays(kSoundExplosion), DroppedBomb::kBlasts);
}

TEST(GameSceneEnemies, HerShotsComeEveryOtherStepWithASound)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(1));
    scripted::ClearSoundEvents();
    scripted::HoldKey(VK_SPACE);
    ASSERT_TRUE(run.QuietFrames(10));
    EXPECT_EQ(run.scene->shotList.Count(), 5);
    EXPECT_EQ(run.Plays(kSoundShot), 5);
}

// How many of her shots are lasers, over a few hundred shots with the gauge held at `gauge`.
std::pair<int, int> LasersAmongShots(int gauge)
{
    kit::GameRun run;
    EXPECT_TRUE(run.QuietFrames(1));
    scripted::HoldKey(VK_SPACE);
    int shots = 0, lasers = 0;
    for (int i = 0; i < 1200; i++) {
        run.scene->gaugeBar->level = gauge;
        EXPECT_TRUE(run.QuietFrames(1));
        // Each shot is counted and taken away, so that she never runs out of shots.
        std::vector<GameObject*> fired = run.Find<GameObject>(run.scene->shotList);
        for (GameObject* shot : fired) {
            shots++;
            lasers += !shot->solid;
            run.scene->shotList.Remove(shot);
        }
    }
    return {shots, lasers};
}

TEST(GameSceneEnemies, TheGaugeIsTheChanceOfALaser)
{
    auto [shots, lasers] = LasersAmongShots(0);
    EXPECT_GT(shots, 300);
    EXPECT_EQ(lasers, 0);
    std::tie(shots, lasers) = LasersAmongShots(96);
    EXPECT_GT(shots, 300);
    EXPECT_GT(lasers, shots * 90 / 100);
    EXPECT_LT(lasers, shots);
}

// The spawn table as the rules give it: what draw r adds, with `gunnerFollows` for the line
// of wave shooters.
Added Pattern(int r, bool gunnerFollows)
{
    switch (r) {
    case 0: return {{kit::Name<StraightShooter>(), 1}};
    case 1: return {{kit::Name<WaveShooter>(), 1}};
    case 2: return {{kit::Name<DiveShooter>(), 1}};
    case 3: return {{kit::Name<Sniper>(), 1}};
    case 10: return {{kit::Name<NoteSpreader>(), 1}};
    case 11: return {{kit::Name<SineGunner>(), 1}};
    case 12: return {{kit::Name<PatternRunner>(), 1}};
    case 13: return {{kit::Name<BombDropper>(), 1}};
    case 20:
        if (gunnerFollows)
            return {{kit::Name<WaveShooter>(), 4}, {kit::Name<SineGunner>(), 1}};
        return {{kit::Name<WaveShooter>(), 4}};
    case 21: return {{kit::Name<NoteSpreader>(), 2}};
    case 23: return {{kit::Name<StraightShooter>(), 4}, {kit::Name<PatternRunner>(), 1}};
    default: return {};
    }
}

bool IsEnemy(GameObject& o)
{
    return dynamic_cast<StraightShooter*>(&o) || dynamic_cast<WaveShooter*>(&o) ||
           dynamic_cast<DiveShooter*>(&o) || dynamic_cast<Sniper*>(&o) ||
           dynamic_cast<NoteSpreader*>(&o) || dynamic_cast<SineGunner*>(&o) ||
           dynamic_cast<PatternRunner*>(&o) || dynamic_cast<BombDropper*>(&o);
}

TEST(GameSceneEnemies, EveryEntryOfTheSpawnTableComesUpInAMinute)
{
    kit::GameRun run;  // the spawner's generator from its start-up state
    std::set<int> seen;
    for (int frame = 0; frame < 3000; frame++) {
        // The rules' own reckoning of this frame's draw, made before the scene makes it.
        int32_t n = run.scene->enemyList.Count();
        uint32_t elapsed = run.NextNow() - run.scene->startTime;
        int d = std::max(300 - static_cast<int>(elapsed >> 11), 50);
        d += n > 100 ? 50 : n < 50 ? -20 : 0;
        LcgRandom draws = theLcgRandom;
        int r = draws.Next() % d;
        if (r == 3 && n > 120)
            r = draws.Next() % d;
        Random peek = theRandom;
        bool gunnerFollows = (peek.Next() & 1) == 0;

        Added added = run.FrameAdding();
        ASSERT_TRUE(run.Running()) << "frame " << frame;
        Added enemies;
        for (auto& [name, count] : added)
            if (name.find("Explosion") == std::string::npos)
                enemies[name] = count;
        for (auto& [name, count] : Pattern(r, gunnerFollows))
            EXPECT_EQ(enemies[name], count) << "draw " << r << " in frame " << frame;
        if (!Pattern(r, gunnerFollows).empty())
            seen.insert(r);

        // Keep her out of harm's way: only enemies stay, and only while far from her.
        std::vector<GameObject*> doomed;
        run.scene->enemyList.ForEach([&](GameObject& o) {
            if (!IsEnemy(o) || o.x < 120)
                doomed.push_back(&o);
            return true;
        });
        for (GameObject* o : doomed)
            run.scene->enemyList.Remove(o);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 23}));
}

}  // namespace

// What the golden run cannot show: a laser flying on through what it hits, a hit ending the
// run and saving at once, and a bomb clearing everything that can collide.

#include <cstdio>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "objects/PlayerWeapons.h"
#include "objects/Shooters.h"
#include "scenes/GameOverScene.h"
#include "sound/SoundSystem.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

PlayerShot* AddShot(kit::GameRun& run, int x, int y, bool laser)
{
    auto* shot = new PlayerShot;
    shot->SetSprite(run.scene->images[laser ? kSheetLaser : kSheetShot], &run.harness.Canvas(), 1,
                    kKeyBlack);
    shot->MoveTo(x, y);
    shot->solid = !laser;
    shot->SetHitInset(2);
    run.scene->shotList.Append(shot);
    return shot;
}

TEST(GameSceneCollisions, ANormalShotIsSpentButALaserFliesOn)
{
    for (bool laser : {false, true}) {
        SCOPED_TRACE(laser ? "laser" : "normal shot");
        kit::GameRun run;
        ASSERT_TRUE(run.QuietFrames(1));
        // Two shooters one on the other, and a shot level with them whose box just touches
        // theirs.
        auto* front = run.AddEnemy<StraightShooter>(200, 60);
        run.AddEnemy<StraightShooter>(200, 60);
        const Surface& sheet = *run.scene->images[laser ? kSheetLaser : kSheetShot];
        AddShot(run, front->WorldHitBox().left - (sheet.width - 2),
                60 + front->FrameHeight() / 2 - sheet.height / 2, laser);
        ASSERT_TRUE(run.QuietFrames(1));
        EXPECT_EQ(run.Enemies<StraightShooter>().size(), 2u) << "touching is not hitting";

        ASSERT_TRUE(run.QuietFrames(1));
        EXPECT_EQ(run.Enemies<StraightShooter>().size(), 1u) << "one enemy per shot and frame";
        EXPECT_EQ(run.Enemies<Explosion>().size(), 1u) << "where the shooter stood";
        EXPECT_EQ(run.scene->shotList.Count(), laser ? 1 : 0);

        ASSERT_TRUE(run.QuietFrames(1));
        EXPECT_EQ(run.Enemies<StraightShooter>().size(), laser ? 0u : 1u);
        EXPECT_EQ(run.scene->score, laser ? 20 : 10);
        EXPECT_EQ(run.scene->shotList.Count(), laser ? 1 : 0);
    }
}

TEST(GameSceneCollisions, AHitEndsTheRunAndSavesItsScoreAtOnce)
{
    std::remove(kSaveFileName);
    std::remove("HighScore1.bmp");
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(1));
    run.scene->score = 1234;
    run.AddStake(30, 128, true);  // a point inside her frame inset by 7
    EXPECT_TRUE(scripted::IsClipPlaying(kSoundGameMusic));
    EXPECT_FALSE(run.QuietFrames(1));

    EXPECT_NE(dynamic_cast<GameOverScene*>(currentScene), nullptr);
    EXPECT_FALSE(scripted::IsClipPlaying(kSoundGameMusic));
    EXPECT_EQ(saveRecord.tables[0].Best(), 1234);
    std::vector<int32_t> saved(25);
    std::ifstream file(kSaveFileName, std::ios::binary);
    ASSERT_TRUE(file.read(reinterpret_cast<char*>(saved.data()), 100))
        << "written when the run ended, not only at exit";
    EXPECT_EQ(saved[1 + 10], 1234);
    EXPECT_FALSE(std::ifstream("HighScore1.bmp")) << "only a run that lasts its time keeps one";
}

TEST(GameSceneCollisions, ABombTurnsEverythingCollidableIntoExplosions)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(1));
    run.scene->gaugeBar->level = 40;
    run.AddStake(200, 50);
    run.AddStake(250, 200);
    run.AddEnemy<StraightShooter>(150, 150);
    // Created but not yet updated: not collidable, so not cleared.
    run.scene->enemyList.Append(
        MakeExplosion(run.scene->images, kSheetExplosion, &run.harness.Canvas(), 100, 20));
    scripted::ClearSoundEvents();
    scripted::HoldKey('B');
    ASSERT_TRUE(run.QuietFrames(1));
    scripted::ReleaseKey('B');

    EXPECT_EQ(run.scene->gaugeBar->level, 10);
    EXPECT_TRUE(run.Enemies<kit::Stake>().empty());
    EXPECT_TRUE(run.Enemies<StraightShooter>().empty());
    std::vector<Explosion*> explosions = run.Enemies<Explosion>();
    ASSERT_EQ(explosions.size(), 4u);
    EXPECT_EQ(explosions[0]->x, 100) << "the one that was there already";
    EXPECT_EQ(explosions[1]->x, 200);
    EXPECT_EQ(explosions[1]->y, 50);
    EXPECT_EQ(explosions[3]->x, 150);
    EXPECT_EQ(run.Enemies<BomberCaption>().size(), 1u);
    EXPECT_EQ(run.Enemies<BomberOverlay>().size(), 1u);
    EXPECT_EQ(run.scene->score, 0) << "a bomb scores nothing";
    std::vector<int> plays;
    for (const scripted::SoundEvent& e : scripted::SoundEvents())
        if (e.kind == scripted::SoundEvent::Play)
            plays.push_back(e.clip);
    EXPECT_EQ(plays, (std::vector<int>{kSoundExplosion, kSoundBomb}));

    scripted::HoldKey('N');
    run.scene->gaugeBar->level = 30;
    ASSERT_TRUE(run.QuietFrames(1));
    EXPECT_EQ(run.scene->gaugeBar->level, 30) << "a bomb needs more than 30";
}

}  // namespace

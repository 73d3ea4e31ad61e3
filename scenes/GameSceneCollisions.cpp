// Who hits whom: the enemy pass with the heroine's graze and hit tests, the shot pass with the
// shots against the enemies, the score and the power gauge, and the end of a run by a hit.

#include "scenes/GameScene.h"

#include "app/SaveRecord.h"
#include "gfx/Surface.h"
#include "objects/Hud.h"
#include "objects/Player.h"
#include "objects/PlayerWeapons.h"
#include "scenes/GameOverScene.h"
#include "sound/SoundSystem.h"

namespace {

// The gauge rises by a graze while below this, by a shot leaving the view below the maximum.
constexpr int32_t kGrazeGaugeCeiling = 92;
constexpr int32_t kGrazeGain = 5;
constexpr int32_t kGrazePoints = 5;
constexpr int32_t kShootDownCost = 5;

// Rectangles that only touch do not overlap. A zero-size rectangle is a point.
bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

bool GameScene::RunEnemyPass(uint32_t now)
{
    bool hit = false;
    enemyList.ForEach([&](GameObject& enemy) {
        enemy.Update(now);
        if (enemy.HasEnded()) {
            enemyList.Remove(&enemy);
            return true;
        }
        if (!player->stepped || !enemy.collidable)
            return true;

        RECT target = enemy.WorldHitBox();
        player->hitBox = player->bounds;
        player->collidable = true;
        RECT frame = player->WorldHitBox();
        bool outer = Overlap(frame, target);
        player->SetHitInset(kHeroineInset);
        bool inner = Overlap(player->WorldHitBox(), target);

        if (outer && !inner) {
            Graze(frame, target);
        } else if (inner) {
            hit = true;
            return false;
        }
        return true;
    });

    if (hit)
        EndRunByHit();
    return !hit;
}

// Flying close past something without touching it scores, charges the gauge and throws a
// spark where the two met.
void GameScene::Graze(const RECT& heroine, const RECT& enemy)
{
    score += kGrazePoints;
    if (gaugeBar->level < kGrazeGaugeCeiling)
        gaugeBar->level += kGrazeGain;

    RECT meet;
    IntersectRect(&meet, &heroine, &enemy);
    const Surface& sheet = *images[kSheetGraze];
    int sparkX = meet.left + (meet.right - meet.left) / 2 - sheet.width / 8;
    int sparkY = meet.bottom - sheet.height / 8;
    enemyList.Append(MakeExplosion(images, kSheetGraze, canvas, sparkX, sparkY));

    soundSystem->Play(kSoundGraze);
}

void GameScene::RunShotPass(uint32_t now)
{
    shotList.ForEach([&](GameObject& shot) {
        shot.Update(now);
        if (shot.HasEnded()) {
            if (gaugeBar->level < GaugeBar::kMaxLevel)
                gaugeBar->level++;
            shotList.Remove(&shot);
            return true;
        }

        // The first solid enemy under the shot, front to back; effects are never hit.
        RECT reach = shot.WorldHitBox();
        GameObject* victim = nullptr;
        enemyList.ForEach([&](GameObject& enemy) {
            if (enemy.solid && Overlap(reach, enemy.WorldHitBox()))
                victim = &enemy;
            return victim == nullptr;
        });
        if (!victim)
            return true;

        ShootDown(*victim);
        // A laser flies on through.
        if (shot.solid)
            shotList.Remove(&shot);
        soundSystem->Play(kSoundExplosion);
        return true;
    });
}

// Points times the gauge's multiplier, 1 to 64 in steps of 16 gauge points; every kill spends
// a little of the gauge.
void GameScene::ShootDown(GameObject& enemy)
{
    score += enemy.scoreValue << (gaugeBar->level >> 4);
    if (gaugeBar->level >= kShootDownCost)
        gaugeBar->level -= kShootDownCost;
    enemyList.Append(MakeExplosion(images, kSheetExplosion, canvas, enemy.x, enemy.y));
    enemyList.Remove(&enemy);
}

void GameScene::EndRunByHit()
{
    journal::EndRun(score);
    soundSystem->Stop(kSoundGameMusic);
    if (saveRecord.gameMode == 0 || saveRecord.gameMode == 1)
        RecordScore();
    SwitchTo(new GameOverScene);
}

// The attacks' sounds and pictures, which the golden run does not hear or keep.

#include <functional>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "objects/BombDropper.h"
#include "objects/EnemyProjectiles.h"
#include "objects/NoteSpreader.h"
#include "objects/Sniper.h"
#include "sound/SoundSystem.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

TEST(GameSceneEnemies, AttacksComeWithTheirSoundsAndPictures)
{
    struct Case {
        const char* name;
        std::function<void(kit::GameRun&)> add;
        std::function<bool(kit::GameRun&)> over;
        std::map<int, int> plays;
        uint32_t step = 17;  // ms between frames
        uint32_t apart = 0;  // ms between the plays of the explosion, when it matters
    };
    const Case cases[] = {
        {"a sniper's mark, and its blast with the shot's sound",
         [](kit::GameRun& run) { run.AddEnemy<Sniper>(310, 40, kSheetSniper); },
         [](kit::GameRun& run) { return !run.Enemies<Blast>().empty(); },
         {{kSoundLockOn, 1}, {kSoundShot, 1}}},
        {"a ring of notes",
         [](kit::GameRun& run) { run.AddEnemy<NoteSpreader>(300, 60, kSheetNoteSpreader); },
         [](kit::GameRun& run) { return !run.Enemies<EnemyBullet>().empty(); },
         {{kSoundNotes, 1}}},
        {"a dropped bomb's six blasts, each in the first millisecond past a tenth of a second",
         [](kit::GameRun& run) {
             auto* bomb = MakeChild<DroppedBomb>(*run.scene->player, kSheetDroppedBomb, kKeyBlack);
             bomb->MoveTo(200, 230);  // at her height already
             bomb->player = run.scene->player;
             bomb->ownerList = &run.scene->enemyList;
             bomb->images = &run.scene->images;
             run.scene->enemyList.Append(bomb);
         },
         [](kit::GameRun& run) { return run.Enemies<DroppedBomb>().empty(); },
         {{kSoundExplosion, DroppedBomb::kBlasts}},
         1,
         101},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kit::GameRun run;
        ASSERT_TRUE(run.QuietFrames(1));
        run.scene->player->MoveTo(20, 220);
        c.add(run);
        scripted::ClearSoundEvents();
        for (int i = 0; i < 1000 && !c.over(run); i++)
            ASSERT_TRUE(run.QuietFrames(1, c.step));
        ASSERT_TRUE(c.over(run));
        std::map<int, int> plays;
        std::vector<uint32_t> explosions;
        for (const scripted::SoundEvent& e : scripted::SoundEvents()) {
            plays[e.clip] += e.kind == scripted::SoundEvent::Play;
            if (e.clip == kSoundExplosion && e.kind == scripted::SoundEvent::Play)
                explosions.push_back(e.time);
        }
        for (size_t i = 1; c.apart && i < explosions.size(); i++)
            EXPECT_EQ(explosions[i] - explosions[i - 1], c.apart);
        plays.erase(kSoundGameMusic);
        EXPECT_EQ(plays, c.plays);

        for (Blast* blast : run.Enemies<Blast>())
            EXPECT_EQ(blast->sprite, run.scene->images[kSheetBlast]);
        for (EnemyBullet* note : run.Enemies<EnemyBullet>()) {
            EXPECT_EQ(note->sprite, run.scene->images[kSheetNote]);
            EXPECT_EQ(note->colorKey, kKeyWhite);
        }
    }
}

}  // namespace

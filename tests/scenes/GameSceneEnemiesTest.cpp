#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objects/BombDropper.h"
#include "objects/EnemyProjectiles.h"
#include "objects/NoteSpreader.h"
#include "objects/PatternRunner.h"
#include "objects/Shooters.h"
#include "objects/SineGunner.h"
#include "objects/Sniper.h"
#include "sound/SoundSystem.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

using Added = std::map<std::string, int>;

TEST(GameSceneEnemies, AttacksComeWithTheirSoundsAndPictures)
{
    struct Case {
        const char* name;
        std::function<void(kit::GameRun&)> add;
        std::function<bool(kit::GameRun&)> over;
        std::map<int, int> plays;
    };
    const Case cases[] = {
        {"her shot", [](kit::GameRun&) { scripted::HoldKey(VK_SPACE); },
         [](kit::GameRun& run) { return run.scene->shotList.Count() > 0; }, {{kSoundShot, 1}}},
        {"a sniper's mark, and its blast with the shot's sound",
         [](kit::GameRun& run) { run.AddEnemy<Sniper>(310, 40, kSheetSniper); },
         [](kit::GameRun& run) { return !run.Enemies<Blast>().empty(); },
         {{kSoundLockOn, 1}, {kSoundShot, 1}}},
        {"a ring of notes",
         [](kit::GameRun& run) { run.AddEnemy<NoteSpreader>(300, 60, kSheetNoteSpreader); },
         [](kit::GameRun& run) { return !run.Enemies<EnemyBullet>().empty(); },
         {{kSoundNotes, 1}}},
        {"a dropped bomb's six blasts",
         [](kit::GameRun& run) {
             auto* bomb =
                 MakeChild<DroppedBomb>(*run.scene->player, kSheetDroppedBomb, kKeyBlack);
             bomb->MoveTo(200, 230);  // at her height already
             bomb->player = run.scene->player;
             bomb->ownerList = &run.scene->enemyList;
             bomb->images = &run.scene->images;
             run.scene->enemyList.Append(bomb);
         },
         [](kit::GameRun& run) { return run.Enemies<DroppedBomb>().empty(); },
         {{kSoundExplosion, DroppedBomb::kBlasts}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kit::GameRun run;
        ASSERT_TRUE(run.QuietFrames(1));
        run.scene->player->MoveTo(20, 220);
        c.add(run);
        scripted::ClearSoundEvents();
        for (int i = 0; i < 300 && !c.over(run); i++)
            ASSERT_TRUE(run.QuietFrames(1));
        ASSERT_TRUE(c.over(run));
        std::map<int, int> plays;
        for (const scripted::SoundEvent& e : scripted::SoundEvents())
            plays[e.clip] += e.kind == scripted::SoundEvent::Play;
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

bool IsEnemy(const std::string& name)
{
    static const std::set<std::string> enemies = {
        kit::Name<StraightShooter>(), kit::Name<WaveShooter>(),   kit::Name<DiveShooter>(),
        kit::Name<Sniper>(),          kit::Name<NoteSpreader>(),  kit::Name<SineGunner>(),
        kit::Name<PatternRunner>(),   kit::Name<BombDropper>()};
    return enemies.count(name) > 0;
}

TEST(GameSceneEnemies, EveryEntryOfTheSpawnTableComesUpInAMinute)
{
    kit::GameRun run;  // the spawner's generator from its start-up state
    std::set<int> seen;
    for (int frame = 0; frame < 3000; frame++) {
        // The rules' own reckoning of this frame's draw, made before the scene makes it.
        int32_t n = run.scene->enemyList.Count();
        uint32_t elapsed = timeGetTime() + 17 - run.scene->startTime;
        int d = std::max(300 - static_cast<int>(elapsed >> 11), 50);
        d += n > 100 ? 50 : n < 50 ? -20 : 0;
        LcgRandom draws = theLcgRandom;
        int r = draws.Next() % d;
        if (r == 3 && n > 120)
            r = draws.Next() % d;
        Random peek = theRandom;
        bool gunnerFollows = (peek.Next() & 1) == 0;

        Added added = run.Spawned(theLcgRandom.state);
        ASSERT_TRUE(run.Running()) << "frame " << frame;
        std::erase_if(added, [](const auto& entry) { return !IsEnemy(entry.first); });
        EXPECT_EQ(added, Pattern(r, gunnerFollows)) << "draw " << r << " in frame " << frame;
        if (!added.empty())
            seen.insert(r);

        // Keep her out of harm's way: only enemies stay, and only while far from her.
        std::vector<GameObject*> doomed;
        run.scene->enemyList.ForEach([&](GameObject& o) {
            if (!IsEnemy(typeid(o).name()) || o.x < 120)
                doomed.push_back(&o);
            return true;
        });
        for (GameObject* o : doomed)
            run.scene->enemyList.Remove(o);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 23}));
}

}  // namespace

#include <algorithm>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "archive/ResourceArchive.h"
#include "objects/PlayerWeapons.h"
#include "scenes/GameOverScene.h"
#include "sound/SoundSystem.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

bool SameSheet(const Surface& loaded, const char* name, HWND window)
{
    Surface reference(window, resourceArchive, name);
    return loaded.width == reference.width && loaded.height == reference.height &&
           std::equal(loaded.pixels, loaded.pixels + loaded.width * loaded.height,
                      reference.pixels);
}

TEST(GameSceneSetup, ARunStartsWithTheHeroineTheHudAndTwentySheets)
{
    kit::GameRun run;
    GameScene& scene = *run.scene;
    EXPECT_EQ(scene.player->x, 20);
    EXPECT_EQ(scene.player->y, 120);
    EXPECT_EQ(scene.scoreDisplay->x, 200);
    EXPECT_EQ(scene.scoreDisplay->y, 220);
    EXPECT_EQ(scene.score, 0);
    EXPECT_EQ(scene.gaugeBar->level, 0);
    EXPECT_EQ(scene.enemyList.Count(), 0);
    EXPECT_EQ(scene.shotList.Count(), 0);
    EXPECT_EQ(scene.player->FrameWidth(), 32) << "four frames of the heroine's sheet";
    EXPECT_EQ(scene.player->FrameHeight(), 16);

    HWND window = run.harness.App().window;
    for (Surface* sheet : scene.images)
        ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(SameSheet(*scene.images[kSheetShot], "shot.bmp", window));
    EXPECT_TRUE(SameSheet(*scene.images[kSheetExplosion], "exp.bmp", window));
    EXPECT_TRUE(SameSheet(*scene.images[kSheetGraze], "kasuri.bmp", window));
    EXPECT_EQ(scene.gaugeBar->sprite, scene.images[kSheetGauge]);

    EXPECT_TRUE(scripted::IsClipPlaying(kSoundGameMusic));
    EXPECT_EQ(scene.startTime, timeGetTime());
}

TEST(GameSceneSetup, EndingARunDeletesEveryObjectOnce)
{
    std::vector<int> deleted;
    {
        kit::GameRun run;
        ASSERT_TRUE(run.QuietFrames(1));

        // A stake that, when updated, adds another; then one in the heroine's middle, which
        // ends the run before the added one is ever updated.
        struct Breeder : kit::Stake {
            using Stake::Stake;
            int Update(uint32_t now) override
            {
                if (!bred) {
                    bred = true;
                    auto* child = new kit::Stake(deletions, 99);
                    child->SetSprite(sprite, target, 1, kKeyBlack);
                    child->MoveTo(300, 10);
                    ownerList->Append(child);
                }
                return Stake::Update(now);
            }
            bool bred = false;
        };
        auto* breeder = new Breeder(&deleted, 1);
        breeder->SetSprite(run.stakeSheet.get(), &run.harness.Canvas(), 1, kKeyBlack);
        breeder->MoveTo(250, 200);
        breeder->ownerList = &run.scene->enemyList;
        run.scene->enemyList.Append(breeder);
        run.AddStake(30, 126, false, &deleted, 2);
        run.AddStake(250, 100, false, &deleted, 3);
        for (int id = 4; id <= 5; id++) {
            auto* shot = new kit::Stake(&deleted, id);
            shot->SetSprite(run.stakeSheet.get(), &run.harness.Canvas(), 1, kKeyBlack);
            shot->MoveTo(100 + id, 50);
            run.scene->shotList.Append(shot);
        }

        EXPECT_FALSE(run.QuietFrames(1));
        EXPECT_NE(dynamic_cast<GameOverScene*>(currentScene), nullptr);
        std::sort(deleted.begin(), deleted.end());
        EXPECT_EQ(deleted, (std::vector<int>{1, 2, 3, 4, 5, 99}));
    }
    EXPECT_EQ(deleted.size(), 6u) << "and nothing twice when the program shuts down";
}

}  // namespace

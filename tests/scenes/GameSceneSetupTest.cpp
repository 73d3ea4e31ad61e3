#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "scenes/GameOverScene.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

TEST(GameSceneSetup, EndingARunDeletesEveryObjectOnce)
{
    std::vector<int> deleted;
    {
        kit::GameRun run;
        ASSERT_TRUE(run.QuietFrames(1));

        // A stake that adds another when updated; then one in the heroine's middle, which
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
        run.AddStake(104, 50, false, &deleted, 4, &run.scene->shotList);
        run.AddStake(105, 50, false, &deleted, 5, &run.scene->shotList);

        EXPECT_FALSE(run.QuietFrames(1));
        EXPECT_NE(dynamic_cast<GameOverScene*>(currentScene), nullptr);
        std::sort(deleted.begin(), deleted.end());
        EXPECT_EQ(deleted, (std::vector<int>{1, 2, 3, 4, 5, 99}));
    }
    EXPECT_EQ(deleted.size(), 6u) << "and nothing twice when the program shuts down";
}

}  // namespace

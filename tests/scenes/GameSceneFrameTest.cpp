#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "objects/PatternRunner.h"
#include "objects/Shooters.h"
#include "objects/Sniper.h"
#include "scenes/EndingScene.h"
#include "sound/SoundSystem.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

using Added = std::map<std::string, int>;

// Brings the run to `elapsed` ms in one frame, with the spawner quiet.
bool JumpTo(kit::GameRun& run, uint32_t elapsed)
{
    return run.QuietFrames(1, run.scene->startTime + elapsed - timeGetTime());
}

TEST(GameSceneFrame, TheRunEndsAfter60000MsAndATieWithTheBestKeepsAPictureOfItsLastFrame)
{
    for (int32_t score : {300, 700}) {  // under the best, and tying it
        SCOPED_TRACE(score);
        std::remove("HighScore1.bmp");
        std::remove(kSaveFileName);
        kit::GameRun run;
        saveRecord.tables[0].Insert(700);
        run.scene->score = score;
        ASSERT_TRUE(JumpTo(run, 60000));
        const uint32_t* canvas = run.harness.Canvas().pixels;
        std::vector<uint32_t> lastFrame(canvas, canvas + 320 * 240);
        EXPECT_FALSE(JumpTo(run, 60001));

        auto* ending = dynamic_cast<EndingScene*>(currentScene);
        ASSERT_NE(ending, nullptr);
        EXPECT_EQ(ending->runScore, score);
        EXPECT_FALSE(scripted::IsClipPlaying(kSoundGameMusic));
        EXPECT_EQ(saveRecord.tables[0].scores[9], score);
        EXPECT_TRUE(std::ifstream(kSaveFileName).good())
            << "the ranking is saved when the run ends";
        std::ifstream picture("HighScore1.bmp", std::ios::binary);
        std::vector<uint32_t> saved(320 * 240);
        picture.seekg(58);
        const bool kept = bool(picture.read(reinterpret_cast<char*>(saved.data()), 320 * 240 * 4));
        ASSERT_EQ(kept, score == 700) << "only a best score keeps a picture";
        EXPECT_TRUE(!kept || saved == lastFrame) << "the canvas as the last frame left it";
    }
}

// Fills the enemy list with n harmless stakes far from the heroine.
void Crowd(kit::GameRun& run, int n)
{
    for (int i = 0; i < n; i++)
        run.AddStake(200 + i % 100, 200 + i % 30);
}

TEST(GameSceneFrame, TheSpawnDrawIsTakenModuloAnElapsedAndCrowdDependentDivisor)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(1));
    Crowd(run, 10);
    // One minute, 10 on screen, just started: d = 300 - 20. A draw of 280 gives entry 0,
    // placed by the next two draws.
    uint32_t state = kit::LcgStateGiving(280);
    LcgRandom next;
    next.state = state;
    next.Next();
    int x = 320 + next.Next() % 60;
    int y = next.Next() % 200;
    EXPECT_EQ(run.Spawned(state), (Added{{typeid(StraightShooter).name(), 1}}));
    StraightShooter* shooter = run.Enemies<StraightShooter>()[0];
    EXPECT_EQ(shooter->x, x);
    EXPECT_EQ(shooter->y, y);
    EXPECT_EQ(shooter->scoreValue, 10);
    EXPECT_EQ(theLcgRandom.state, next.state) << "three draws in all";

    // 280 + 12 is a pattern runner; 25 is past the table and spawns nothing.
    EXPECT_EQ(run.Spawned(kit::LcgStateGiving(292)), (Added{{typeid(PatternRunner).name(), 1}}));
    EXPECT_TRUE(run.Spawned(kit::LcgStateGiving(25)).empty());

    // The five-minute game: d = 150 - 48 at 200 s, but a fixed 80 below 50 on screen and
    // 60 more above 200.
    saveRecord.gameMode = 1;
    ASSERT_TRUE(JumpTo(run, 200000));
    Crowd(run, 30);
    EXPECT_EQ(run.Spawned(kit::LcgStateGiving(160)), (Added{{typeid(StraightShooter).name(), 1}}));
    Crowd(run, 170);
    EXPECT_EQ(run.Spawned(kit::LcgStateGiving(162)), (Added{{typeid(StraightShooter).name(), 1}}));
}

TEST(GameSceneFrame, ACrowdedScreenDrawsAgainForASniper)
{
    // d = 300 + 50 with over 100 on screen; over 120 is crowded.
    auto firstThen = [](int first, int second) {
        return kit::FindLcgState(
            [=](LcgRandom& g) { return g.Next() % 350 == first && g.Next() % 350 == second; });
    };
    const Added sniper = {{typeid(Sniper).name(), 1}};
    {
        kit::GameRun run;
        ASSERT_TRUE(run.QuietFrames(1));
        Crowd(run, 130);
        EXPECT_EQ(run.Spawned(firstThen(3, 1)), (Added{{typeid(WaveShooter).name(), 1}}));
        EXPECT_EQ(run.Spawned(firstThen(3, 3)), sniper) << "the second draw stands";
    }
    kit::GameRun calmer;
    ASSERT_TRUE(calmer.QuietFrames(1));
    Crowd(calmer, 120);
    EXPECT_EQ(calmer.Spawned(firstThen(3, 1)), sniper);
}

}  // namespace

#pragma once
// What the game scene tests share: a game booted on the scripted platform straight into a run,
// frames with the spawner held quiet, objects standing still wherever a test needs them, and
// control of the spawner's generator.

#include <cstdint>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "app/GameApp.h"
#include "app/Random.h"
#include "gfx/Surface.h"
#include "objects/GameObject.h"
#include "objects/Hud.h"
#include "objects/ObjectList.h"
#include "objects/Player.h"
#include "platform/scripted/Scripted.h"
#include "scenes/GameScene.h"
#include "scenes/Scene.h"
#include "tests/support/GameHarness.h"

namespace kit {

template <typename T>
std::string Name()
{
    return typeid(T).name();
}

// The spawner's generator started from a state whose draws satisfy `wanted`.
inline uint32_t FindLcgState(const std::function<bool(LcgRandom&)>& wanted)
{
    for (uint32_t state = 0;; state++) {
        LcgRandom probe;
        probe.state = state;
        if (wanted(probe))
            return state;
    }
}

// A state whose next draw is exactly `draw`.
inline uint32_t LcgStateGiving(int draw)
{
    return FindLcgState([draw](LcgRandom& g) { return g.Next() == draw; });
}

// No spawn table entry lies above 23 and every divisor is above 40: this draw spawns nothing.
constexpr int kQuietDraw = 40;

// Stands where it is put, 4x4 pixels, its whole frame its hit box; notes its deletion.
struct Stake : GameObject {
    explicit Stake(std::vector<int>* deletions = nullptr, int id = 0)
        : deletions(deletions), id(id)
    {
    }
    ~Stake() override
    {
        if (deletions)
            deletions->push_back(id);
    }
    int Update(uint32_t now) override
    {
        GameObject::Update(now);
        ClipToView();
        Draw();
        return 1;
    }

    std::vector<int>* deletions;
    int id;
};

// A run of the one-minute game, booted and ready for its first frame.
struct GameRun {
    GameRun()
    {
        stakeSheet = std::make_unique<Surface>(4, 4);
        for (int i = 0; i < 16; i++)
            stakeSheet->pixels[i] = 0x00C0FFEE;
        EXPECT_TRUE(harness.Boot([] { return new GameScene; }));
        scene = dynamic_cast<GameScene*>(currentScene);
        EXPECT_NE(scene, nullptr);
    }

    // Frames `step` ms apart with the spawner drawing nothing. False once the run has ended.
    bool QuietFrames(int count, uint32_t step = 17)
    {
        for (int i = 0; i < count && Running(); i++) {
            static const uint32_t quiet = LcgStateGiving(kQuietDraw);
            theLcgRandom.state = quiet;
            harness.RunFrames(1, step);
        }
        return Running();
    }

    bool Running() const { return currentScene == scene; }

    // The clock reading that the next frame will see after a step of `step` ms.
    uint32_t NextNow(uint32_t step = 17) const { return timeGetTime() + step; }

    // A stake in the enemy list at (x, y); hitBox zero makes it the single point (x, y).
    Stake* AddStake(int x, int y, bool point = false, std::vector<int>* deletions = nullptr,
                    int id = 0)
    {
        auto* stake = new Stake(deletions, id);
        stake->SetSprite(stakeSheet.get(), &harness.Canvas(), 1, kKeyBlack);
        stake->MoveTo(x, y);
        if (!point)
            stake->hitBox = stake->bounds;
        stake->collidable = true;
        scene->enemyList.Append(stake);
        return stake;
    }

    // An enemy set up as the spawner sets one up.
    template <typename Enemy>
    Enemy* AddEnemy(int x, int y, SpriteSheet sheet = kSheetShooter, int points = 10)
    {
        auto* enemy = new Enemy;
        enemy->scoreValue = points;
        enemy->MoveTo(x, y);
        enemy->SetSprite(scene->images[sheet], &harness.Canvas(), 1, kKeyBlue);
        enemy->collidable = true;
        enemy->solid = true;
        enemy->ownerList = &scene->enemyList;
        enemy->player = scene->player;
        enemy->images = &scene->images;
        enemy->SetHitInset(2);
        scene->enemyList.Append(enemy);
        return enemy;
    }

    template <typename T>
    std::vector<T*> Find(ObjectList& list)
    {
        std::vector<T*> found;
        list.ForEach([&](GameObject& o) {
            if (auto* t = dynamic_cast<T*>(&o))
                found.push_back(t);
            return true;
        });
        return found;
    }

    template <typename T>
    std::vector<T*> Enemies()
    {
        return Find<T>(scene->enemyList);
    }

    // Runs one frame and tells what it added to the enemy list, by class name.
    std::map<std::string, int> FrameAdding(uint32_t step = 17)
    {
        std::vector<GameObject*> before = Find<GameObject>(scene->enemyList);
        harness.RunFrames(1, step);
        std::map<std::string, int> added;
        scene->enemyList.ForEach([&](GameObject& o) {
            if (std::find(before.begin(), before.end(), &o) == before.end())
                added[typeid(o).name()]++;
            return true;
        });
        return added;
    }

    // The same with the spawner's generator set to `lcgState` first.
    std::map<std::string, int> Spawned(uint32_t lcgState)
    {
        theLcgRandom.state = lcgState;
        return FrameAdding();
    }

    int Plays(int clip) const
    {
        int n = 0;
        for (const scripted::SoundEvent& e : scripted::SoundEvents())
            n += e.clip == clip && e.kind == scripted::SoundEvent::Play;
        return n;
    }

    std::unique_ptr<Surface> stakeSheet;  // outlives the run, whose stakes borrow it
    GameHarness harness;
    GameScene* scene = nullptr;
};

}  // namespace kit

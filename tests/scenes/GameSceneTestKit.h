#pragma once
// What the object and game scene tests share: sprite sheets whose every frame has a colour of its
// own, a game booted on the scripted platform straight into a run, frames with the spawner held
// quiet, objects standing still wherever a test needs them, and control of the spawner's
// generator.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "app/GameApp.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "objects/Hud.h"
#include "objects/Player.h"
#include "platform/scripted/Scripted.h"
#include "random/Random.h"
#include "scenes/GameScene.h"
#include "sound/SoundSystem.h"
#include "tests/gfx/GfxTestKit.h"
#include "tests/support/GameHarness.h"

namespace kit {

// Never one of the colour keys.
constexpr uint32_t FrameColour(int i)
{
    return 0x00102030u + static_cast<uint32_t>(i) * 0x00010101u;
}
constexpr uint32_t kCanvasColour = 0x00404040;

// Frame i of the sheet filled with FrameColour(i).
inline Surface* MakeSheet(int width, int height, int frames = 1)
{
    auto* sheet = new Surface(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            sheet->pixels[y * width + x] = FrameColour(x / (width / frames));
    return sheet;
}

// A state of the spawner's generator whose draws satisfy `wanted`.
inline uint32_t FindLcgState(const std::function<bool(LcgRandom&)>& wanted)
{
    for (uint32_t state = 0;; state++) {
        LcgRandom probe{state};
        if (wanted(probe))
            return state;
    }
}

inline uint32_t LcgStateGiving(int draw)
{
    return FindLcgState([draw](LcgRandom& g) { return g.Next() == draw; });
}

// Stands where it is put, 4x4 pixels; notes its deletion.
struct Stake : GameObject {
    Stake(std::vector<int>* deletions, int id) : deletions(deletions), id(id) {}
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
        std::fill_n(stakeSheet->pixels, 16, 0x00C0FFEE);
        EXPECT_TRUE(harness.Boot([] { return new GameScene; }));
        scene = dynamic_cast<GameScene*>(currentScene);
        EXPECT_NE(scene, nullptr);
    }

    // Frames `step` ms apart with the spawner drawing nothing (no table entry lies above 23
    // and every divisor is above 40). False once the run has ended.
    bool QuietFrames(int count, uint32_t step = 17)
    {
        static const uint32_t quiet = LcgStateGiving(40);
        for (int i = 0; i < count && Running(); i++) {
            theLcgRandom.state = quiet;
            harness.RunFrames(1, step);
        }
        return Running();
    }

    bool Running() const { return currentScene == scene; }

    // A stake in a list (the enemies unless told) at (x, y): its whole frame is its hit box,
    // or with `point` the single point (x, y).
    Stake* AddStake(int x, int y, bool point = false, std::vector<int>* deletions = nullptr,
                    int id = 0, ObjectList* list = nullptr)
    {
        auto* stake = new Stake(deletions, id);
        stake->SetSprite(stakeSheet.get(), &harness.Canvas(), 1, kKeyBlack);
        stake->MoveTo(x, y);
        if (!point)
            stake->hitBox = stake->bounds;
        stake->collidable = true;
        stake->ownerList = &scene->enemyList;
        (list ? list : &scene->enemyList)->Append(stake);
        return stake;
    }

    // An enemy set up as the spawner sets one up.
    template <typename Enemy>
    Enemy* AddEnemy(int x, int y, SpriteSheet sheet = kSheetShooter)
    {
        auto* enemy = new Enemy;
        enemy->scoreValue = 10;
        enemy->MoveTo(x, y);
        enemy->SetSprite(scene->images[sheet], &harness.Canvas(), 1, kKeyBlue);
        enemy->solid = true;
        enemy->ownerList = &scene->enemyList;
        enemy->player = scene->player;
        enemy->images = &scene->images;
        enemy->SetHitInset(2);
        scene->enemyList.Append(enemy);
        return enemy;
    }

    template <typename T>
    std::vector<T*> Enemies()
    {
        std::vector<T*> found;
        scene->enemyList.ForEach([&](GameObject& o) {
            if (auto* t = dynamic_cast<T*>(&o))
                found.push_back(t);
            return true;
        });
        return found;
    }

    // Runs one frame with the spawner's generator set to `lcgState` and tells what the frame
    // added to the enemy list, by class name.
    std::map<std::string, int> Spawned(uint32_t lcgState)
    {
        theLcgRandom.state = lcgState;
        std::vector<GameObject*> before = Enemies<GameObject>();
        harness.RunFrames(1, 17);
        std::map<std::string, int> added;
        for (GameObject* o : Enemies<GameObject>())
            if (std::find(before.begin(), before.end(), o) == before.end())
                added[typeid(*o).name()]++;
        return added;
    }

    std::unique_ptr<Surface> stakeSheet = std::make_unique<Surface>(4, 4);  // outlives the run
    GameHarness harness;
    GameScene* scene = nullptr;
};

}  // namespace kit

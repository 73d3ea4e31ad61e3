#pragma once
// What the object tests share: sprite sheets whose every frame has a colour of its own, a
// cleared canvas, a sprite table of such sheets and a heroine to aim at.

#include <cstdint>
#include <memory>

#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "objects/GameObject.h"
#include "objects/ObjectList.h"
#include "objects/Player.h"
#include "platform/scripted/Scripted.h"
#include "sound/SoundSystem.h"

namespace kit {

// The colour of frame i of every test sheet; never one of the colour keys.
constexpr uint32_t FrameColour(int i)
{
    return 0x00102030u + static_cast<uint32_t>(i) * 0x00010101u;
}
constexpr uint32_t kCanvasColour = 0x00404040;

// A sheet of `frames` frames side by side, frame i filled with FrameColour(i).
inline Surface* MakeSheet(int width, int height, int frames = 1)
{
    auto* sheet = new Surface(width, height);
    int frameWidth = width / frames;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            sheet->pixels[y * width + x] = FrameColour(frameWidth ? x / frameWidth : 0);
    return sheet;
}

inline void Fill(Surface& surface, uint32_t colour)
{
    for (int i = 0; i < surface.width * surface.height; i++)
        surface.pixels[i] = colour;
}

inline uint32_t At(const Surface& surface, int x, int y)
{
    return surface.pixels[y * surface.width + x];
}

// A playing field without the scene: canvas, sprite table, lists and a heroine standing
// still, with the scripted platform installed so that she can poll the keyboard, and a sound
// system without clips, so that playing a sound is harmless (the scene tests hear them).
struct Field {
    Field()
    {
        scripted::Install();
        soundSystem = new SoundSystem(nullptr);
        BuildTables();
        canvas = std::make_unique<Surface>(kViewWidth, kViewHeight);
        Fill(*canvas, kCanvasColour);
        // Sizes as the pictures have them: bullets 8x8, blasts 48x48, explosions 32x32.
        const int sizes[kSpriteSheetCount][3] = {
            {16, 8, 1},  {32, 8, 1},   {24, 24, 1},  {24, 24, 1}, {32, 32, 1},
            {32, 32, 1}, {24, 24, 1},  {24, 24, 1},  {32, 8, 4},  {64, 16, 4},
            {12, 12, 1}, {24, 9, 1},   {16, 16, 1},  {24, 10, 1}, {128, 32, 4},
            {240, 48, 5}, {96, 8, 1},  {320, 240, 1}, {120, 40, 1}, {64, 16, 4},
        };
        for (int i = 0; i < kSpriteSheetCount; i++)
            images[i] = MakeSheet(sizes[i][0], sizes[i][1], sizes[i][2]);

        heroine = std::make_unique<Player>();
        heroine->SetSprite(MakeSheet(128, 16, 4), canvas.get(), 4, kKeyBlack);
        heroine->MoveTo(Player::kStartX, Player::kStartY);
        heroine->ownerList = &shots;
        heroine->enemyList = &enemies;
        heroine->images = &images;
    }

    ~Field()
    {
        enemies.Clear();
        shots.Clear();
        for (Surface* sheet : images)
            delete sheet;
        delete soundSystem;
        soundSystem = nullptr;
    }

    // The spawner's protocol for an enemy of the test's choosing.
    template <typename Enemy>
    Enemy* Spawn(int x, int y, SpriteSheet sheet = kSheetShooter)
    {
        auto* enemy = new Enemy;
        enemy->MoveTo(x, y);
        enemy->SetSprite(images[sheet], canvas.get(), 1, kKeyBlue);
        enemy->collidable = true;
        enemy->solid = true;
        enemy->ownerList = &enemies;
        enemy->player = heroine.get();
        enemy->images = &images;
        enemy->SetHitInset(2);
        enemies.Append(enemy);
        return enemy;
    }

    // Runs every entry's update once, removing those that have ended, as the scene does.
    void UpdateEnemies(uint32_t now)
    {
        enemies.ForEach([&](GameObject& e) {
            e.Update(now);
            if (e.HasEnded())
                enemies.Remove(&e);
            return true;
        });
    }

    template <typename T>
    int CountOf()
    {
        int n = 0;
        enemies.ForEach([&](GameObject& e) {
            n += dynamic_cast<T*>(&e) != nullptr;
            return true;
        });
        return n;
    }

    std::unique_ptr<Surface> canvas;
    SpriteTable images = {};
    ObjectList enemies;
    ObjectList shots;
    std::unique_ptr<Player> heroine;
};

}  // namespace kit

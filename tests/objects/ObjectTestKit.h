#pragma once
// What the object tests share: sprite sheets whose every frame has a colour of its own, a
// cleared canvas, and a playing field with a sprite table of such sheets and a heroine.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "objects/GameObject.h"
#include "objects/ObjectList.h"
#include "objects/Player.h"
#include "platform/scripted/Scripted.h"
#include "sound/SoundSystem.h"

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

inline void Fill(Surface& surface, uint32_t colour)
{
    std::fill_n(surface.pixels, surface.width * surface.height, colour);
}

inline uint32_t At(const Surface& surface, int x, int y)
{
    return surface.pixels[y * surface.width + x];
}

// The playing field without the scene. The sound system has no clips, so that playing a
// sound is harmless; the scene tests hear them.
struct Field {
    Field()
    {
        scripted::Install();
        soundSystem = new SoundSystem(nullptr);
        BuildTables();
        canvas = std::make_unique<Surface>(kViewWidth, kViewHeight);
        Fill(*canvas, kCanvasColour);
        // Sizes as the pictures have them: bullets 8x8, blasts 48x48, explosions 32x32.
        const int sizes[kSpriteSheetCount][2] = {
            {16, 8},   {32, 8},  {24, 24}, {24, 24},  {32, 32},  {32, 32}, {24, 24},
            {24, 24},  {32, 8},  {64, 16}, {12, 12},  {24, 9},   {16, 16}, {24, 10},
            {128, 32}, {240, 48}, {96, 8}, {320, 240}, {120, 40}, {64, 16},
        };
        for (int i = 0; i < kSpriteSheetCount; i++)
            images[i] = MakeSheet(sizes[i][0], sizes[i][1], kSheetFrames[i]);

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

    // An enemy set up as the spawner sets one up.
    template <typename Enemy>
    Enemy* Spawn(int x, int y, SpriteSheet sheet = kSheetShooter)
    {
        auto* enemy = new Enemy;
        enemy->MoveTo(x, y);
        enemy->SetSprite(images[sheet], canvas.get(), 1, kKeyBlue);
        enemy->solid = true;
        enemy->ownerList = &enemies;
        enemy->player = heroine.get();
        enemy->images = &images;
        enemy->SetHitInset(2);
        enemies.Append(enemy);
        return enemy;
    }

    // The entries of the enemy list of type T, front to back.
    template <typename T>
    std::vector<T*> All()
    {
        std::vector<T*> found;
        enemies.ForEach([&](GameObject& o) {
            if (auto* t = dynamic_cast<T*>(&o))
                found.push_back(t);
            return true;
        });
        return found;
    }

    template <typename T>
    int CountOf()
    {
        return static_cast<int>(All<T>().size());
    }

    std::unique_ptr<Surface> canvas;
    SpriteTable images = {};
    ObjectList enemies;
    ObjectList shots;
    std::unique_ptr<Player> heroine;
};

}  // namespace kit

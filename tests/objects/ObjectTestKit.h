#pragma once
// What the object tests share: sprite sheets whose every frame has a colour of its own, and a
// playing field with a cleared canvas and a heroine.

#include <algorithm>
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

// The playing field without the scene: a cleared canvas and a heroine on it. The sound system
// has no clips, so that playing a sound is harmless; the scene tests hear them.
struct Field {
    Field()
    {
        scripted::Install();
        soundSystem = new SoundSystem(nullptr);
        BuildTables();
        canvas = std::make_unique<Surface>(kViewWidth, kViewHeight);
        Fill(*canvas, kCanvasColour);
        heroine = std::make_unique<Player>();
        heroine->SetSprite(MakeSheet(128, 16, 4), canvas.get(), 4, kKeyBlack);
        heroine->MoveTo(Player::kStartX, Player::kStartY);
        heroine->ownerList = &shots;
        heroine->enemyList = &enemies;
    }

    ~Field()
    {
        enemies.Clear();
        shots.Clear();
        delete soundSystem;
        soundSystem = nullptr;
    }

    std::unique_ptr<Surface> canvas;
    ObjectList enemies;
    ObjectList shots;
    std::unique_ptr<Player> heroine;
};

}  // namespace kit

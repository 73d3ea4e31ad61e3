#pragma once
// What the heroine's actions put on screen: her shots, the explosions (and graze sparks) left
// where things are destroyed, and the two pictures a bomb shows.

#include <cstdint>
#include <vector>

#include "objects/GameObject.h"

// Flies right at 0.32 pixels per millisecond. A solid shot is spent on its first hit; a laser
// (not solid) passes through.
class PlayerShot : public GameObject {
public:
    int Update(uint32_t now) override;
};

// Four frames of at least 67 ms each, fading as they play; ends after the fourth step.
class Explosion : public GameObject {
public:
    int Update(uint32_t now) override;
    int Draw() override;

    int32_t stepCount = 0;
};

// What the bomb's picture changed in a frame: the picture just before and just after it was
// blended in, so that the shown picture can soften the flash without the game's own picture
// (and so any run) changing at all.
struct BombChange {
    std::vector<uint32_t> before;
    std::vector<uint32_t> after;
    bool drawn = false;  // this frame; the scene clears it as each frame begins
};

// The full-screen bomb picture: opaque for 100 ms, then fading out over 512 ms.
class BomberOverlay : public GameObject {
public:
    int Update(uint32_t now) override;
    int Draw() override;

    int32_t fade = 0;              // blend weight of what lies under it
    BombChange* change = nullptr;  // noted only when someone wants it shown calmer
};

// The bomb's caption, crossing the screen leftward in 300 ms.
class BomberCaption : public GameObject {
public:
    int Update(uint32_t now) override;
};

// An explosion (or a spark) from the given sheet at (x, y), harmless and not clearable until
// its first clip.
Explosion* MakeExplosion(SpriteTable& images, SpriteSheet sheet, Surface* target, int x, int y);

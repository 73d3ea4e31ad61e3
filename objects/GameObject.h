#pragma once
// Everything that moves or is drawn on the playing screen. Positions are whole pixels on the
// 320x240 back buffer with y counting upward from the bottom row; an object's position is the
// lower-left corner of its current animation frame. Times are the millisecond clock, passed in
// by the game scene; speeds are pixels per millisecond.

#include <array>
#include <cstdint>

#include "platform/Platform.h"

class ObjectList;
class Player;
class Surface;

// The game scene's sprite sheets, by the index every object class finds its pictures under.
enum SpriteSheet : int {
    kSheetShot,
    kSheetLaser,
    kSheetShooter,
    kSheetSniper,
    kSheetPatternRunner,
    kSheetNoteSpreader,
    kSheetSineGunner,
    kSheetBombDropper,
    kSheetBullet,
    kSheetDroppedBomb,
    kSheetArcShot,
    kSheetBeam,
    kSheetNote,
    kSheetBazooka,
    kSheetExplosion,
    kSheetBlast,
    kSheetGauge,
    kSheetBomber,
    kSheetBomberCaption,
    kSheetGraze,
    kSpriteSheetCount
};
using SpriteTable = std::array<Surface*, kSpriteSheetCount>;

// How many frames lie side by side in each sheet.
constexpr int kSheetFrames[kSpriteSheetCount] = {
    1, 1, 1, 1, 1, 1, 1, 1, 4, 4, 1, 1, 1, 1, 4, 5, 1, 1, 1, 4,
};

// Colour keys in the blitters' 0x00BBGGRR layout.
constexpr uint32_t kKeyBlack = 0x000000;
constexpr uint32_t kKeyWhite = 0xFFFFFF;
constexpr uint32_t kKeyBlue = 0xFF0000;
constexpr uint32_t kKeyRed = 0x0000FF;

constexpr int kViewWidth = 320;
constexpr int kViewHeight = 240;

class GameObject {
public:
    // One animation frame: its rectangle in the sprite sheet, linked in a closed ring.
    struct Frame {
        RECT rect;
        Frame* next;
    };

    GameObject() = default;
    virtual ~GameObject();

    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    // The per-frame step: move, clip to the view, draw. The base only stamps the start time.
    virtual int Update(uint32_t now);
    // Draws the clipped part of the current frame with the colour key. 0 when skipped.
    virtual int Draw();

    // The creation protocol's picture half: the sheet, the surface drawn into, the frame size
    // from the sheet cut into frameCount frames, and the colour key.
    void SetSprite(Surface* sheet, Surface* drawTarget, int frames, uint32_t key);
    // Cuts the sheet into n frames side by side. 0 (and no frames) for an empty sheet.
    int BuildFrames(int n);
    void MoveTo(int newX, int newY);
    // Works out srcRect, the part of the current frame inside the view, and the flags.
    void ClipToView();
    void SetHitInset(int d);
    void AdvanceFrame();

    int FrameWidth() const { return bounds.right - bounds.left; }
    int FrameHeight() const { return bounds.bottom - bounds.top; }
    // The hit box shifted to the object's position.
    RECT WorldHitBox() const
    {
        return {hitBox.left + x, hitBox.top + y, hitBox.right + x, hitBox.bottom + y};
    }
    // Whether the list owner should remove the object: it was in view once and is gone now.
    bool HasEnded() const { return offscreen && shown; }

    bool offscreen = false;
    bool collidable = false;  // takes part in graze and hit tests; a bomb clears it
    bool solid = false;       // enemies: shots destroy it; shots: spent on the first hit
    bool shown = false;       // has been inside the view at least once
    int32_t x = 0;
    int32_t y = 0;
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t scoreValue = 0;
    Surface* sprite = nullptr;
    Surface* target = nullptr;
    RECT bounds = {};  // {0, 0, frameWidth, frameHeight}
    RECT hitBox = {};  // relative to (x, y); all zero is the single point (x, y)
    RECT srcRect = {};
    bool firstMove = true;
    uint32_t colorKey = kKeyBlack;
    int32_t frameCount = 0;
    Frame* frames = nullptr;
    Frame* currentFrame = nullptr;
    uint32_t lastStep = 0;  // 0: not started

    ObjectList* ownerList = nullptr;  // where what this object spawns goes
    Player* player = nullptr;
    SpriteTable* images = nullptr;

protected:
    // Enemies hold their fire while the heroine is within 100 pixels of their position before
    // this update's move.
    bool PlayerIsFar() const;
    // Draws srcRect blended with weight 0..256 (of the destination) and the colour key.
    void DrawBlendedKeyed(int weight);
};

// Distance travelled at a speed in pixels per millisecond, truncated toward zero as every
// mover computes it.
inline int32_t Travel(uint32_t elapsed, double speed)
{
    return static_cast<int32_t>(elapsed * speed);
}

// A new object with a sheet of the maker's sprite table cut into its frames, drawn into the
// maker's target and linked to the same heroine: the start of everything an enemy (or the
// heroine) fires or drops. The caller places it, gives it its hit box and lists it.
template <typename Child>
Child* MakeChild(const GameObject& maker, SpriteSheet sheet, uint32_t key)
{
    auto* child = new Child;
    child->SetSprite((*maker.images)[sheet], maker.target, kSheetFrames[sheet], key);
    child->player = maker.player;
    return child;
}

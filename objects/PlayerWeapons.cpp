#include "objects/PlayerWeapons.h"

#include "gfx/Draw.h"
#include "gfx/Surface.h"

namespace {
constexpr uint32_t kExplosionStep = 67;
}

int PlayerShot::Update(uint32_t now)
{
    if (lastStep == 0)
        lastStep = now;
    MoveTo(startX + Travel(now - lastStep, 0.32), startY);
    ClipToView();
    Draw();
    return 1;
}

int Explosion::Update(uint32_t now)
{
    if (lastStep == 0) {
        lastStep = now;
        ClipToView();
    }
    if (now - lastStep < kExplosionStep) {
        ClipToView();
        Draw();
    } else {
        ClipToView();
        if (!offscreen && stepCount < 4)
            Draw();
        AdvanceFrame();
        stepCount++;
        lastStep = now;
    }
    if (stepCount > 3) {
        shown = true;
        offscreen = true;
    }
    return 1;
}

int Explosion::Draw()
{
    DrawBlendedKeyed((stepCount + 1) * 32);
    return 1;
}

int BomberOverlay::Update(uint32_t now)
{
    constexpr uint32_t kOpaqueTime = 100;
    constexpr int kFadeEnd = 256;

    if (lastStep == 0) {
        lastStep = now;
        ClipToView();
    }
    uint32_t t = now - lastStep;
    if (t > kOpaqueTime) {
        fade = static_cast<int32_t>((t - kOpaqueTime) / 2);
        if (fade > kFadeEnd) {
            offscreen = true;
            return 1;
        }
    }
    Draw();
    return 1;
}

int BomberOverlay::Draw()
{
    if (srcRect.left >= srcRect.right || srcRect.top >= srcRect.bottom)
        return 1;
    const size_t count = size_t(target->width) * target->height;
    if (change)
        change->before.assign(target->pixels, target->pixels + count);
    BlitBlend(*sprite, srcRect, *target, 0, 0, fade);
    if (change) {
        change->after.assign(target->pixels, target->pixels + count);
        change->drawn = true;
    }
    return 1;
}

int BomberCaption::Update(uint32_t now)
{
    if (lastStep == 0)
        lastStep = now;
    MoveTo(startX - Travel(now - lastStep, 1.0666666666666667), startY);
    ClipToView();
    Draw();
    return 1;
}

Explosion* MakeExplosion(SpriteTable& images, SpriteSheet sheet, Surface* target, int x, int y)
{
    auto* explosion = new Explosion;
    explosion->SetSprite(images[sheet], target, kSheetFrames[sheet], kKeyBlack);
    explosion->MoveTo(x, y);
    return explosion;
}

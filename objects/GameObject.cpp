#include "objects/GameObject.h"

#include <algorithm>

#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "objects/Player.h"

GameObject::~GameObject()
{
    delete[] frames;
}

int GameObject::Update(uint32_t now)
{
    if (lastStep == 0)
        lastStep = now;
    return 1;
}

int GameObject::Draw()
{
    if (offscreen || !shown)
        return 0;
    BlitKeyed(*sprite, srcRect, *target, std::max(x, 0), std::max(y, 0), colorKey);
    return 1;
}

void GameObject::SetSprite(Surface* sheet, Surface* drawTarget, int frames, uint32_t key)
{
    sprite = sheet;
    target = drawTarget;
    bounds = {0, 0, sheet->width, sheet->height};
    BuildFrames(frames);
    colorKey = key;
}

int GameObject::BuildFrames(int n)
{
    frameCount = n;
    if (sprite->width == 0)
        return 0;

    int frameWidth = sprite->width / n;
    bounds.right = bounds.left + frameWidth;
    delete[] frames;
    frames = new Frame[n];
    for (int i = 0; i < n; i++) {
        frames[i].rect = {i * frameWidth, 0, (i + 1) * frameWidth, FrameHeight()};
        frames[i].next = &frames[(i + 1) % n];
    }
    currentFrame = &frames[0];
    return 1;
}

void GameObject::MoveTo(int newX, int newY)
{
    x = newX;
    y = newY;
    if (firstMove) {
        startX = newX;
        startY = newY;
        firstMove = false;
    }
}

void GameObject::ClipToView()
{
    collidable = true;

    // The visible part of the frame in view coordinates, then relative to the frame. Taking
    // both edges of each axis from the intersection also limits a frame larger than the view
    // that sticks out on both sides.
    RECT visible = {std::max(x, 0), std::max(y, 0), std::min(x + FrameWidth(), kViewWidth),
                    std::min(y + FrameHeight(), kViewHeight)};
    if (visible.left >= visible.right || visible.top >= visible.bottom) {
        srcRect = {};
        offscreen = true;
        return;
    }

    int sheetLeft = currentFrame ? currentFrame->rect.left : 0;
    srcRect = {visible.left - x + sheetLeft, visible.top - y, visible.right - x + sheetLeft,
               visible.bottom - y};
    offscreen = false;
    shown = true;
}

void GameObject::SetHitInset(int d)
{
    hitBox = {bounds.left + d, bounds.top + d, bounds.right - d, bounds.bottom - d};
    collidable = true;
}

void GameObject::AdvanceFrame()
{
    if (currentFrame)
        currentFrame = currentFrame->next;
}

bool GameObject::PlayerIsFar() const
{
    int64_t dx = player->x - x;
    int64_t dy = player->y - y;
    return dx * dx + dy * dy > 100 * 100;
}

void GameObject::DrawBlendedKeyed(int weight)
{
    if (srcRect.left >= srcRect.right || srcRect.top >= srcRect.bottom)
        return;
    BlitBlendKeyed(*sprite, srcRect, *target, std::max(x, 0), std::max(y, 0), weight, colorKey);
}

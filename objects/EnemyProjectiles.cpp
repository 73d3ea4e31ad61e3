#include "objects/EnemyProjectiles.h"

#include <cmath>

#include "objects/ObjectList.h"
#include "objects/Player.h"

void AimedPath::AimAt(int fromX, int fromY, int px, int py)
{
    int dx = px + 16 - fromX;
    int dy = py + 8 - fromY;
    ySign = dy < 0 ? 1 : -1;
    xSign = dx < 0 ? 1 : -1;
    if (dy == 0) {
        slope = 0;
        norm = 1;
        ySign = 0;
    } else if (dx == 0) {
        slope = 0;
        norm = 1;
        xSign = 0;
    } else {
        double r = static_cast<double>(dy) / dx;
        if (r >= 1 || r <= -1) {
            xSign = 0;
            slope = 1 / r;
        } else {
            ySign = 0;
            slope = r;
        }
        norm = std::sqrt(slope * slope + 1);
    }
    originX = fromX;
    originY = fromY;
}

void AimedPath::PositionAt(uint32_t t, double speed, int32_t& x, int32_t& y) const
{
    double elapsed = t;
    if (xSign == 0) {
        y = static_cast<int32_t>(originY - elapsed * ySign * speed / norm);
        x = static_cast<int32_t>((y - originY) * slope + originX);
    } else {
        x = static_cast<int32_t>(originX - elapsed * speed / norm * xSign);
        y = static_cast<int32_t>((x - originX) * slope + originY);
    }
}

int EnemyBullet::Update(uint32_t now)
{
    if (!path.IsAimed())
        return 0;
    if (lastStep == 0)
        lastStep = now;
    int32_t nx, ny;
    path.PositionAt(now - lastStep, kSpeed, nx, ny);
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    AdvanceFrame();
    return 1;
}

int DriftBullet::Update(uint32_t now)
{
    if (lastStep == 0)
        lastStep = now;
    MoveTo(startX - Travel(now - lastStep, 0.064), startY);
    ClipToView();
    Draw();
    AdvanceFrame();
    return 1;
}

int Blast::Update(uint32_t now)
{
    constexpr uint32_t kStep = 67;
    constexpr int kSteps = 5;

    if (lastStep == 0) {
        lastStep = now;
        ClipToView();
    }
    if (now - lastStep < kStep) {
        Draw();
    } else {
        ClipToView();
        if (!offscreen && stepCount < kSteps)
            Draw();
        stepCount++;
        AdvanceFrame();
        if (stepCount > 3)
            SetHitInset(50 - 8 * stepCount);
        lastStep = now;
    }
    if (stepCount >= kSteps) {
        offscreen = true;
        shown = true;
    }
    return 1;
}

int Blast::Draw()
{
    DrawBlendedKeyed(224 - 32 * stepCount);
    return 1;
}

void FireAimedBullet(GameObject& shooter, int fromX, int fromY)
{
    auto* bullet = MakeChild<EnemyBullet>(shooter, kSheetBullet, kKeyBlack);
    bullet->MoveTo(fromX, fromY);
    bullet->AimAt(shooter.player->x, shooter.player->y);
    bullet->SetHitInset(2);
    shooter.ownerList->Append(bullet);
}

void FireDriftBullet(GameObject& shooter, int fromX, int fromY)
{
    auto* bullet = MakeChild<DriftBullet>(shooter, kSheetBullet, kKeyBlack);
    bullet->MoveTo(fromX, fromY);
    bullet->SetHitInset(2);
    shooter.ownerList->Append(bullet);
}

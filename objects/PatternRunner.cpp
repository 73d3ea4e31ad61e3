#include "objects/PatternRunner.h"

#include <cmath>

#include "objects/ObjectList.h"
#include "objects/SineGunner.h"
#include "random/Random.h"

namespace {
constexpr double kStraightSpeed = 0.16;
constexpr double kDiagonalSpeed = 0.10666666666666666;
constexpr uint32_t kShotInterval = 300;
}  // namespace

int PatternRunner::Update(uint32_t now)
{
    if (lastStep == 0) {
        lastStep = now;
        lastShot = now;
    }
    // One update in 30, on average, starts the next segment where the runner stands.
    if (theRandom.Next() % 30 == 0) {
        startX = x;
        startY = y;
        phase++;
        lastStep = now;
    }
    if (phase > 3)
        phase = 0;

    uint32_t t = now - lastStep;
    int nx, ny;
    switch (phase) {
    case 2:  // up-left
        nx = startX - Travel(t, kDiagonalSpeed);
        ny = startY + Travel(t, kDiagonalSpeed);
        break;
    case 3:  // down-left
        nx = startX - Travel(t, kDiagonalSpeed);
        ny = startY - Travel(t, kDiagonalSpeed);
        break;
    default:  // straight left
        nx = startX - Travel(t, kStraightSpeed);
        ny = startY;
        break;
    }
    if (PlayerIsFar() && now - lastShot > kShotInterval && shown) {
        Fire(nx, ny);
        lastShot = now;
    }
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    return 1;
}

// Nine times in ten an arc shot from the runner's top edge, else a bolt a little ahead of it.
void PatternRunner::Fire(int fromX, int fromY)
{
    GameObject* shot;
    if (theRandom.Next() % 10 == 0) {
        shot = MakeChild<StraightBolt>(*this, kSheetBeam, kKeyBlack);
        shot->MoveTo(fromX - 8, fromY + 16);
        shot->SetHitInset(3);
    } else {
        shot = MakeChild<ArcShot>(*this, kSheetArcShot, kKeyWhite);
        shot->MoveTo(fromX, fromY + 16);
        shot->SetHitInset(2);
    }
    ownerList->Append(shot);
}

int ArcShot::Update(uint32_t now)
{
    if (lastStep == 0)
        lastStep = now;
    double d = (now - lastStep) * 0.08;
    MoveTo(static_cast<int32_t>(startX - std::sqrt(d * 100.0)), startY - static_cast<int32_t>(d));
    ClipToView();
    Draw();
    AdvanceFrame();
    return 1;
}

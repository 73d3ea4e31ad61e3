#include "objects/SineGunner.h"

#include "objects/ObjectList.h"
#include "objects/Shooters.h"

namespace {
constexpr double kGunnerSpeed = 0.10666666666666666;
constexpr uint32_t kFirstShotAfter = 500;
constexpr uint32_t kSecondShotAfter = 1500;
}  // namespace

int SineGunner::Update(uint32_t now)
{
    if (lastStep == 0) {
        lastStep = now;
        lastShot = now;
    }
    if (baseY == 0)
        baseY = y;
    int nx = startX - Travel(now - lastStep, kGunnerSpeed);
    int ny = WaveHeight(nx, 30.0, baseY);

    uint32_t e = now - lastShot;
    bool due = secondPending ? e > kSecondShotAfter : e > kFirstShotAfter;
    if (PlayerIsFar() && shown && due) {
        auto* bolt = MakeChild<StraightBolt>(*this, kSheetBazooka, kKeyBlack);
        bolt->MoveTo(nx, ny);
        bolt->SetHitInset(4);
        ownerList->Append(bolt);
        if (secondPending)
            lastShot = now;
        secondPending = !secondPending;
    }
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    return 1;
}

int StraightBolt::Update(uint32_t now)
{
    if (lastStep == 0)
        lastStep = now;
    MoveTo(startX - Travel(now - lastStep, 0.32), startY);
    ClipToView();
    Draw();
    AdvanceFrame();
    return 1;
}

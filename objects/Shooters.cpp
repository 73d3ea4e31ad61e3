#include "objects/Shooters.h"

#include "gfx/Tables.h"
#include "random/Random.h"

namespace {
constexpr double kShooterSpeed = 0.16;
}

int32_t WaveHeight(int32_t x, double amplitude, int32_t baseY)
{
    return static_cast<int32_t>(SineTable[x & 255] * amplitude + baseY);
}

int StraightShooter::Update(uint32_t now)
{
    if (lastStep == 0) {
        lastStep = now;
        lastShot = now;
    }
    int nx = startX - Travel(now - lastStep, kShooterSpeed);
    int ny = startY;
    if (PlayerIsFar() && now - lastShot > 1000 && shown) {
        FireAimedBullet(*this, nx, ny);
        lastShot = now;
    }
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    return 1;
}

int WaveShooter::Update(uint32_t now)
{
    if (lastStep == 0) {
        lastStep = now;
        lastShot = now;
    }
    if (baseY == 0)
        baseY = y;
    int nx = startX - Travel(now - lastStep, kShooterSpeed);
    int ny = WaveHeight(nx, 20.0, baseY);
    if (PlayerIsFar() && shown) {
        if (now - lastShot > 500) {
            FireAimedBullet(*this, nx, ny);
            lastShot = now;
        }
        if (theRandom.Next() % 100 == 0)
            FireDriftBullet(*this, nx, ny);
    }
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    return 1;
}

int DiveShooter::Update(uint32_t now)
{
    if (!path.IsAimed())
        return 0;
    if (lastStep == 0)
        lastStep = now;
    int32_t nx, ny;
    path.PositionAt(now - lastStep, kSpeed, nx, ny);
    if (PlayerIsFar()) {
        // The draw is taken whether or not it may fire, which keeps the generator's sequence.
        bool fire = theRandom.Next() % 50 == 0;
        if (fire && shown)
            FireAimedBullet(*this, nx, ny);
    }
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    AdvanceFrame();
    return 1;
}

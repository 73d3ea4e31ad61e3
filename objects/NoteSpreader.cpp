#include "objects/NoteSpreader.h"

#include "objects/EnemyProjectiles.h"
#include "objects/ObjectList.h"
#include "sound/SoundSystem.h"

namespace {

constexpr uint32_t kRingInterval = 800;

// The points the notes are aimed at, round the border of a 200x200 square centred on the
// spreader, from its upper-left corner clockwise. Each note starts 16 pixels left of the
// spreader and aiming adds (16, 8), so the ring leans a little right and up.
constexpr int kRing[16][2] = {
    {-100, 100},  {-50, 100},  {0, 100},    {50, 100},  {100, 100}, {100, 50},
    {100, 0},     {100, -50},  {100, -100}, {50, -100}, {0, -100},  {-50, -100},
    {-100, -100}, {-100, -50}, {-100, 0},   {-100, 50},
};

}  // namespace

int NoteSpreader::Update(uint32_t now)
{
    if (lastStep == 0) {
        lastStep = now;
        lastShot = now;
    }
    int nx = startX - Travel(now - lastStep, 0.16);
    int ny = startY;
    if (PlayerIsFar() && now - lastShot > kRingInterval && shown) {
        ReleaseRing(nx, ny);
        lastShot = now;
    }
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    return 1;
}

void NoteSpreader::ReleaseRing(int fromX, int fromY)
{
    for (const auto& [ox, oy] : kRing) {
        auto* note = MakeChild<EnemyBullet>(*this, kSheetNote, kKeyWhite);
        note->MoveTo(fromX - 16, fromY);
        note->AimAt(fromX + ox, fromY + oy);
        note->SetHitInset(3);
        ownerList->Append(note);
    }
    soundSystem->Play(kSoundNotes);
}

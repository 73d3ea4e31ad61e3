#include "objects/BombDropper.h"

#include "objects/EnemyProjectiles.h"
#include "objects/ObjectList.h"
#include "objects/Player.h"
#include "random/Random.h"
#include "sound/SoundSystem.h"

namespace {
constexpr uint32_t kDropInterval = 500;
constexpr uint32_t kBurstInterval = 100;
}  // namespace

int BombDropper::Update(uint32_t now)
{
    if (lastStep == 0) {
        lastStep = now;
        lastShot = now;
    }
    int nx = startX - Travel(now - lastStep, 0.16);
    int ny = startY;
    if (PlayerIsFar() && now - lastShot > kDropInterval && shown) {
        auto* bomb = MakeChild<DroppedBomb>(*this, kSheetDroppedBomb, kKeyBlack);
        bomb->MoveTo(nx, ny);
        bomb->ownerList = ownerList;
        bomb->images = images;
        bomb->SetHitInset(2);
        ownerList->Append(bomb);
        lastShot = now;
    }
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    return 1;
}

int DroppedBomb::Update(uint32_t now)
{
    if (lastStep == 0)
        lastStep = now;
    uint32_t t = now - lastStep;
    if (!exploding) {
        int ny = startY - Travel(t, 0.064);
        if (AtHeroinesHeight(ny)) {
            // It stops where it is, without taking the new height.
            exploding = true;
            lastStep = now;
        } else {
            MoveTo(startX, ny);
        }
        ClipToView();
    } else if (t > kBurstInterval) {
        Burst();
        lastStep = now;
    }
    Draw();
    return 1;
}

// Only the height counts, compared with her frame's width (not its height): a band 32 pixels
// tall above her lower edge.
bool DroppedBomb::AtHeroinesHeight(int atY) const
{
    return player->y < atY && atY < player->y + player->bounds.right;
}

void DroppedBomb::Burst()
{
    Blast* blast = MakeChild<Blast>(*this, kSheetBlast, kKeyBlack);
    int r1 = static_cast<int>(theRandom.Next() % 20);
    int r2 = static_cast<int>(theRandom.Next() % 10);
    int r3 = static_cast<int>(theRandom.Next() % 20);
    int r4 = static_cast<int>(theRandom.Next() % 10);
    blast->MoveTo(x + (player->FrameWidth() >> 1) - (blast->FrameWidth() >> 1) - r3 + r4,
                  y + (player->FrameHeight() >> 1) - (blast->FrameHeight() >> 1) - r1 + r2);
    ownerList->Append(blast);

    blastCount++;
    if (blastCount >= kBlasts) {
        shown = true;
        offscreen = true;
    }
    soundSystem->Play(kSoundExplosion);
}

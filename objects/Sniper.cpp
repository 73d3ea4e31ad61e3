#include "objects/Sniper.h"

#include <cstdlib>

#include "gfx/Surface.h"
#include "objects/EnemyProjectiles.h"
#include "objects/ObjectList.h"
#include "objects/Player.h"
#include "objects/Shooters.h"
#include "sound/SoundSystem.h"

namespace {

// The cycle, from its start: quiet, then the aiming line, the mark, and the blast.
constexpr uint32_t kLineFrom = 300;
constexpr uint32_t kMarkAfter = 1300;
constexpr uint32_t kBlastAfter = 1500;
constexpr uint32_t kLineColour = 0x00FF0000;  // pure red as a pixel

}  // namespace

int Sniper::Update(uint32_t now)
{
    if (lastStep == 0) {
        lastStep = now;
        lastShot = now;
    }
    if (baseY == 0)
        baseY = y;
    int nx = startX - Travel(now - lastStep, 0.16);
    int ny = std::abs(WaveHeight(nx, 20.0, baseY));
    if (PlayerIsFar() && shown)
        RunAimingCycle(now);
    MoveTo(nx, ny);
    ClipToView();
    Draw();
    return 1;
}

// Everything that is due happens in one update, so when the heroine moves away after a while
// close by, the mark and the blast may come together.
void Sniper::RunAimingCycle(uint32_t now)
{
    uint32_t e = now - lastShot;
    if (e > kLineFrom && e < kMarkAfter) {
        target->DrawLine(x + (FrameWidth() >> 1), y + (FrameHeight() >> 1),
                         player->x + (player->FrameWidth() >> 1),
                         player->y + (player->FrameHeight() >> 1), kLineColour);
    }
    if (e > kMarkAfter && markX == 0) {
        soundSystem->Play(kSoundLockOn);
        markX = player->x;
        markY = player->y;
    }
    if (e > kBlastAfter) {
        Blast* blast = MakeChild<Blast>(*this, kSheetBlast, kKeyBlack);
        blast->MoveTo(markX + (player->FrameWidth() >> 1) - (blast->FrameWidth() >> 1),
                      markY + (player->FrameHeight() >> 1) - (blast->FrameHeight() >> 1));
        ownerList->Append(blast);
        markX = 0;
        lastShot = now;
        soundSystem->Play(kSoundShot);
    }
}

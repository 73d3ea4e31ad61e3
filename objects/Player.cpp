#include "objects/Player.h"

#include <algorithm>

#include "gfx/Surface.h"
#include "objects/KeyBindings.h"
#include "objects/ObjectList.h"
#include "objects/PlayerWeapons.h"
#include "platform/JoystickInfo.h"
#include "random/Random.h"
#include "sound/SoundSystem.h"

namespace {

// The joystick as one mask: the stick's four directions, then its first four buttons.
constexpr uint32_t kStickUp = 1 << 0;
constexpr uint32_t kStickDown = 1 << 1;
constexpr uint32_t kStickLeft = 1 << 2;
constexpr uint32_t kStickRight = 1 << 3;
constexpr uint32_t kButtonShoot = 1 << 4;
constexpr uint32_t kButtonBomb = 1 << 5;
constexpr uint32_t kButtonsSlow = 3 << 6;

constexpr uint32_t kStepInterval = 16;  // a step needs more than this many milliseconds
constexpr int32_t kShotInterval = 33;

}  // namespace

Player::~Player()
{
    delete sprite;
}

int Player::Update(uint32_t now)
{
    stepped = false;
    if (lastStep == 0)
        lastStep = now;

    uint32_t elapsed = now - lastStep;
    if (elapsed > kStepInterval) {
        shotCooldown = std::max<int64_t>(0, int64_t(shotCooldown) - elapsed);
        stepped = true;
        lastStep = now;

        uint32_t joystick = ReadJoystick();
        Move(joystick);
        if (shotCooldown == 0 && ownerList->Count() < kMaxShots &&
            (keys.Held(*reads, Action::Shoot) || (joystick & kButtonShoot)))
            Fire();
        if (gauge > kBombCost && (keys.Held(*reads, Action::Bomb) || (joystick & kButtonBomb)))
            ReleaseBomb();
    }

    ClipToView();
    Draw();
    AdvanceFrame();
    return 1;
}

uint32_t Player::ReadJoystick() const
{
    // A pad pulled out reads as nothing held, never as a stick pushed to its minimum.
    JOYINFO info = {};
    if (!input || reads->readPad(info) != JOYERR_NOERROR)
        return 0;
    // A pad plugged in after start is taken up here, in flight too.
    if (!input->available)
        input->Refresh(*reads);
    if (!input->available)
        return 0;

    const JOYCAPSA& caps = input->caps;
    const UINT zone = JoystickInfo::kDeadZone;
    uint32_t mask = 0;
    if (info.wYpos < caps.wYmin + zone)
        mask |= kStickUp;
    if (info.wYpos > caps.wYmax - zone)
        mask |= kStickDown;
    if (info.wXpos < caps.wXmin + zone)
        mask |= kStickLeft;
    if (info.wXpos > caps.wXmax - zone)
        mask |= kStickRight;
    mask |= (info.wButtons & 0xF) << 4;
    return mask;
}

void Player::Move(uint32_t joystick)
{
    int s = (keys.Held(*reads, Action::Slow) || (joystick & kButtonsSlow)) ? 1 : 4;
    int nx = x;
    int ny = y;

    // A diagonal key overrides everything else; the first one held wins.
    if (reads->keyHeld(VK_NUMPAD1)) {
        nx -= s;
        ny -= s;
    } else if (reads->keyHeld(VK_NUMPAD7)) {
        nx -= s;
        ny += s;
    } else if (reads->keyHeld(VK_NUMPAD9)) {
        nx += s;
        ny += s;
    } else if (reads->keyHeld(VK_NUMPAD3)) {
        nx += s;
        ny -= s;
    } else {
        // y grows upward; opposite directions cancel.
        if (keys.Held(*reads, Action::Up) || (joystick & kStickUp))
            ny += s;
        if (keys.Held(*reads, Action::Down) || (joystick & kStickDown))
            ny -= s;
        if (keys.Held(*reads, Action::Right) || (joystick & kStickRight))
            nx += s;
        if (keys.Held(*reads, Action::Left) || (joystick & kStickLeft))
            nx -= s;
    }
    MoveTo(std::clamp(nx, 0, kMaxX), std::clamp(ny, 0, kMaxY));
}

void Player::Fire()
{
    // The gauge is the chance in a hundred that the shot is a laser, which passes through.
    bool laser = static_cast<int32_t>(theRandom.Next() % 100) < gauge;
    auto* shot = MakeChild<PlayerShot>(*this, laser ? kSheetLaser : kSheetShot, kKeyBlack);
    shot->MoveTo(x + 30, y + 4);
    shot->solid = !laser;
    shot->SetHitInset(2);
    ownerList->Append(shot);

    shotCooldown = kShotInterval;
    soundSystem->Play(kSoundShot);
}

void Player::ReleaseBomb()
{
    gauge -= kBombCost;

    // Everything collidable turns into an explosion. The explosions are created not
    // collidable, so the pass never clears what it has just added.
    enemyList->ForEach([this](GameObject& object) {
        if (object.collidable) {
            enemyList->Append(MakeExplosion(*images, kSheetExplosion, target, object.x, object.y));
            enemyList->Remove(&object);
        }
        return true;
    });

    auto* caption = MakeChild<BomberCaption>(*this, kSheetBomberCaption, kKeyBlack);
    caption->MoveTo(320, 180);
    enemyList->Append(caption);

    auto* overlay = MakeChild<BomberOverlay>(*this, kSheetBomber, kKeyBlack);
    overlay->MoveTo(0, 0);
    overlay->change = bombChange;
    enemyList->Append(overlay);

    soundSystem->Play(kSoundExplosion);
    soundSystem->Play(kSoundBomb);
}

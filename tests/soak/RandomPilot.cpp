#include "tests/soak/RandomPilot.h"

#include "platform/Platform.h"
#include "platform/scripted/Scripted.h"

namespace {

// Every key the heroine reads: the arrows, the keypad's eight directions, fire, both bomb
// keys and both slow keys.
constexpr int kKeys[] = {
    VK_UP,      VK_DOWN,    VK_LEFT,    VK_RIGHT,   VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3,
    VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9, VK_SPACE,   'B',
    'N',        'C',        'V',
};

constexpr unsigned kStickLow = 0;
constexpr unsigned kStickCentre = 32768;
constexpr unsigned kStickHigh = 65535;

void Hold(int vk, bool held)
{
    if (held)
        scripted::HoldKey(vk);
    else
        scripted::ReleaseKey(vk);
}

}  // namespace

void RandomPilot::Steer()
{
    if (framesLeft-- <= 0)
        ChooseHands();
}

void RandomPilot::ChooseHands()
{
    // Mostly short bursts, now and then a long hold.
    framesLeft = Chance(10) ? static_cast<int>(Below(300)) : static_cast<int>(Below(20));

    if (Chance(5)) {
        LetGo();
        return;
    }
    for (int vk : kKeys) {
        int percent = 12;
        if (vk == VK_SPACE)
            percent = 80;
        else if (vk == 'B' || vk == 'N')
            percent = 4;
        else if (vk >= VK_NUMPAD1 && vk <= VK_NUMPAD9)
            percent = 5;
        Hold(vk, Chance(percent));
    }

    static constexpr unsigned kStick[3] = {kStickLow, kStickCentre, kStickHigh};
    if (Chance(30)) {
        unsigned buttons = 0;
        for (unsigned bit = 0; bit < 4; ++bit)
            if (Chance(bit == 0 ? 60 : 10))
                buttons |= 1u << bit;
        scripted::SetJoystick(kStick[Below(3)], kStick[Below(3)], buttons);
    } else {
        scripted::SetJoystick(kStickCentre, kStickCentre, 0);
    }
}

void RandomPilot::LetGo()
{
    scripted::ReleaseAllKeys();
    scripted::SetJoystick(kStickCentre, kStickCentre, 0);
    framesLeft = 0;
}

#include "objects/KeyBindings.h"

#include <algorithm>
#include <iterator>

#include "platform/ControlReads.h"

const char* const kActionNames[kActionCount] = {"up",    "down", "left", "right",
                                                "shoot", "bomb", "slow", "pause"};

KeyBindings KeyBindings::Defaults()
{
    return {{
        {VK_UP, VK_NUMPAD8},
        {VK_DOWN, VK_NUMPAD2},
        {VK_LEFT, VK_NUMPAD4},
        {VK_RIGHT, VK_NUMPAD6},
        {VK_SPACE, 0},
        {'B', 'N'},
        {'C', 'V'},
        {'P', VK_ESCAPE},
    }};
}

bool KeyBindings::Bound(Action action, int vk) const
{
    const int* own = keys[static_cast<int>(action)];
    return vk != 0 && std::find(own, own + kKeysPerAction, vk) != own + kKeysPerAction;
}

bool KeyBindings::Held(const ControlReads& reads, Action action) const
{
    for (int vk : keys[static_cast<int>(action)]) {
        if (vk != 0 && reads.keyHeld(vk))
            return true;
    }
    return false;
}

Action KeyBindings::ActionOf(int vk) const
{
    for (int a = 0; a < kActionCount; a++) {
        if (Bound(static_cast<Action>(a), vk))
            return static_cast<Action>(a);
    }
    return Action::Count;
}

bool KeyBindings::operator==(const KeyBindings& other) const
{
    return std::equal(&keys[0][0], &keys[0][0] + kActionCount * kKeysPerAction, &other.keys[0][0]);
}

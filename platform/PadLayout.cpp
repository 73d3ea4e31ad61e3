#include "platform/PadLayout.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/Windowing.h"

const char* const kPadActionNames[kPadActionCount] = {"shoot", "bomb", "slow", "pause"};

namespace {

constexpr UINT kButtonBits[kPadButtonCount] = {JOY_BUTTON1, JOY_BUTTON2, JOY_BUTTON3, JOY_BUTTON4,
                                               JOY_BUTTONSTART};
constexpr const char* kButtonNames[kPadButtonCount] = {"1", "2", "3", "4", "start"};
// Where the game reads each action: buttons 1 and 2 shoot and bomb, 3 (and 4) move slowly,
// Start pauses. The button no action holds takes the place of button 4, a second slow one.
constexpr UINT kActionBits[kPadActionCount] = {JOY_BUTTON1, JOY_BUTTON2, JOY_BUTTON3,
                                               JOY_BUTTONSTART};
constexpr UINT kSpareBit = JOY_BUTTON4;

PadLayout layout = PadLayout::Defaults();
bool unarranged = false;

}  // namespace

PadLayout PadLayout::Defaults()
{
    return {{0, 1, 2, 4}};
}

void PadLayout::Assign(PadAction action, int button)
{
    int* own = &buttons[static_cast<int>(action)];
    int* holder = std::find(std::begin(buttons), std::end(buttons), button);
    if (holder != std::end(buttons))
        *holder = *own;
    *own = button;
}

int PadLayout::Spare() const
{
    for (int b = 0; b < kPadButtonCount; b++) {
        if (std::find(std::begin(buttons), std::end(buttons), b) == std::end(buttons))
            return b;
    }
    return -1;
}

bool PadLayout::operator==(const PadLayout& other) const
{
    return std::equal(std::begin(buttons), std::end(buttons), std::begin(other.buttons));
}

const char* PadButtonName(int button)
{
    return button >= 0 && button < kPadButtonCount ? kButtonNames[button] : "?";
}

int PadButtonFromName(const char* name)
{
    for (int b = 0; b < kPadButtonCount; b++) {
        if (strcasecmp(name, kButtonNames[b]) == 0)
            return b;
    }
    return -1;
}

UINT PadButtonBit(int button)
{
    return button >= 0 && button < kPadButtonCount ? kButtonBits[button] : 0;
}

int PadButtonOf(UINT buttons)
{
    for (int b = 0; b < kPadButtonCount; b++) {
        if (buttons & kButtonBits[b])
            return b;
    }
    return -1;
}

namespace platform {

void SetPadLayout(const PadLayout& chosen)
{
    layout = chosen;
}

UINT ArrangePadButtons(UINT buttons)
{
    if (unarranged)
        return buttons;
    UINT arranged = 0;
    bool held[kPadButtonCount] = {};
    for (int a = 0; a < kPadActionCount; a++) {
        const int button = layout.buttons[a];
        if (button < 0 || button >= kPadButtonCount)
            continue;
        held[button] = true;
        if (buttons & kButtonBits[button])
            arranged |= kActionBits[a];
    }
    for (int b = 0; b < kPadButtonCount; b++) {
        if (!held[b] && (buttons & kButtonBits[b]))
            arranged |= kSpareBit;
    }
    return arranged;
}

void ReadPadUnarranged(bool on)
{
    unarranged = on;
}

void ResetPadLayout()
{
    layout = PadLayout::Defaults();
    unarranged = false;
}

}  // namespace platform

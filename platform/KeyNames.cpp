// Keys by name, spelled as SDL spells them, so that a player can look the names up in SDL's
// key list. Only keys the platform reports have names.

#include <cctype>
#include <cstring>
#include <string>

#include "platform/Platform.h"

namespace {

struct NamedKey {
    int vk;
    const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {VK_BACK, "Backspace"},    {VK_TAB, "Tab"},
    {VK_RETURN, "Return"},     {VK_SHIFT, "Left Shift"},
    {VK_CONTROL, "Left Ctrl"}, {VK_MENU, "Left Alt"},
    {VK_ESCAPE, "Escape"},     {VK_SPACE, "Space"},
    {VK_LEFT, "Left"},         {VK_UP, "Up"},
    {VK_RIGHT, "Right"},       {VK_DOWN, "Down"},
    {VK_MULTIPLY, "Keypad *"}, {VK_ADD, "Keypad +"},
    {VK_SUBTRACT, "Keypad -"}, {VK_DIVIDE, "Keypad /"},
    {VK_OEM_PLUS, "="},        {VK_OEM_COMMA, ","},
    {VK_OEM_MINUS, "-"},       {VK_OEM_PERIOD, "."},
};

// Letters, digits, the keypad's digits and the function keys are named by rule.
std::string NameByRule(int vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return std::string(1, static_cast<char>(vk));
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return "Keypad " + std::to_string(vk - VK_NUMPAD0);
    if (vk >= VK_F1 && vk < VK_F1 + 12)
        return "F" + std::to_string(vk - VK_F1 + 1);
    return "";
}

bool SameName(const char* a, const std::string& b)
{
    if (std::strlen(a) != b.size())
        return false;
    for (size_t i = 0; i < b.size(); i++) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

const char* KeyNameFromVirtualKey(int vk)
{
    for (const NamedKey& key : kNamedKeys) {
        if (key.vk == vk)
            return key.name;
    }
    // Built once per key and kept: callers hold the pointer like a literal's.
    static std::string ruled[256];
    if (vk <= 0 || vk >= 256)
        return "";
    if (ruled[vk].empty())
        ruled[vk] = NameByRule(vk);
    return ruled[vk].c_str();
}

int VirtualKeyFromName(const char* name)
{
    if (!name || !*name)
        return 0;
    for (const NamedKey& key : kNamedKeys) {
        if (SameName(name, key.name))
            return key.vk;
    }
    for (int vk = 1; vk < 256; vk++) {
        const std::string ruled = NameByRule(vk);
        if (!ruled.empty() && SameName(name, ruled))
            return vk;
    }
    return 0;
}

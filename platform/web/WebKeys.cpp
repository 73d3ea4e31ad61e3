#include "platform/web/WebKeys.h"

#include <cstdlib>
#include <cstring>

#include "platform/Platform.h"

namespace {

struct NamedKey {
    const char* code;
    int vk;
};

// The keys outside the runs of letters, digits and function keys that VirtualKeyFromCode
// reads from the code's own text.
constexpr NamedKey kNamedKeys[] = {
    {"Space", VK_SPACE},
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"Escape", VK_ESCAPE},
    {"Tab", VK_TAB},
    {"Backspace", VK_BACK},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"ShiftLeft", VK_SHIFT},
    {"ShiftRight", VK_SHIFT},
    {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL},
    {"AltLeft", VK_MENU},
    {"AltRight", VK_MENU},
    {"Minus", VK_OEM_MINUS},
    {"Equal", VK_OEM_PLUS},
    {"Comma", VK_OEM_COMMA},
    {"Period", VK_OEM_PERIOD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadAdd", VK_ADD},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadDivide", VK_DIVIDE},
};

bool StartsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

int VirtualKeyFromCode(const char* code)
{
    // "KeyA".."KeyZ", "Digit0".."Digit9", "Numpad0".."Numpad9", "F1".."F12".
    if (StartsWith(code, "Key") && code[3] >= 'A' && code[3] <= 'Z' && !code[4])
        return code[3];
    if (StartsWith(code, "Digit") && code[5] >= '0' && code[5] <= '9' && !code[6])
        return code[5];
    if (StartsWith(code, "Numpad") && code[6] >= '0' && code[6] <= '9' && !code[7])
        return VK_NUMPAD0 + (code[6] - '0');
    if (code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        char* end = nullptr;
        const long number = std::strtol(code + 1, &end, 10);
        if (!*end && number >= 1 && number <= 12)
            return VK_F1 + static_cast<int>(number - 1);
    }
    for (const NamedKey& key : kNamedKeys) {
        if (std::strcmp(code, key.code) == 0)
            return key.vk;
    }
    return 0;
}

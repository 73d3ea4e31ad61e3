// Key names as the settings file spells them: SDL's names, read back in any case.

#include <cctype>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

TEST(KeyNames, KeysHaveSdlsNamesWhichReadBackInAnyCase)
{
    // The ends of every range named by rule (0x7B is F12), and keys named one by one.
    const std::pair<int, const char*> named[] = {
        {'A', "A"},           {'Z', "Z"},           {'0', "0"},
        {'9', "9"},           {VK_NUMPAD0, "Keypad 0"}, {VK_NUMPAD9, "Keypad 9"},
        {VK_F1, "F1"},        {0x7B, "F12"},        {VK_MULTIPLY, "Keypad *"},
        {VK_DIVIDE, "Keypad /"}, {VK_SPACE, "Space"}, {VK_RETURN, "Return"},
        {VK_SHIFT, "Left Shift"}, {VK_OEM_MINUS, "-"},
    };
    for (auto [vk, name] : named) {
        EXPECT_STREQ(KeyNameFromVirtualKey(vk), name) << vk;
        EXPECT_EQ(VirtualKeyFromName(name), vk) << name;
    }
    for (int vk = 1; vk < 256; vk++) {
        std::string name = KeyNameFromVirtualKey(vk);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(name.empty() || VirtualKeyFromName(name.c_str()) == vk) << name;
    }
    // Just outside the ranges (0x5F and 0x7C lie next to the keypad and F12) and outside the
    // table, keys have no name.
    for (int vk : {0, -1, 256, '0' - 1, '9' + 1, 'A' - 1, 'Z' + 1, 0x5F, 0x7C})
        EXPECT_STREQ(KeyNameFromVirtualKey(vk), "") << vk;
    for (const char* name : {"", "Keypad 10", "F13", "F0", "Hyper Up", "AA", "Spac"})
        EXPECT_EQ(VirtualKeyFromName(name), 0) << name;
    EXPECT_EQ(VirtualKeyFromName(nullptr), 0);
}

}  // namespace

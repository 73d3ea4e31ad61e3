#include <cctype>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/Internal.h"
#include "platform/WindowPlacement.h"
#include "platform/scripted/Scripted.h"
#include "tests/gfx/GfxTestKit.h"

namespace {

std::vector<UINT> received;

LRESULT Recording(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST(PlatformServices, DestroyedWindowsDropTheirMessagesAndRefuseTheirHandles)
{
    scripted::Install();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Recording;
    windowClass.lpszClassName = "plain";
    ASSERT_TRUE(RegisterClassA(&windowClass));
    HWND window = CreateWindowExA(0, "plain", "plain", 0, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    // A new scale asks for a paint at once, so the picture shows at its new size.
    ValidateRect(window, nullptr);
    MSG paint;
    ASSERT_TRUE(SetWindowScale(window, 1));
    EXPECT_TRUE(PeekMessageA(&paint, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    // So does a switch to full screen, or back.
    ValidateRect(window, nullptr);
    SetWindowLongA(window, GWL_STYLE, WS_POPUP);
    EXPECT_TRUE(PeekMessageA(&paint, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    // A filter on the window passes over messages for no window; a range holds its ends.
    ValidateRect(window, nullptr);
    PostMessageA(nullptr, WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(PeekMessageA(&paint, window, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageA(&paint, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(paint.wParam, WPARAM('A'));
    EXPECT_EQ(DispatchMessageA(&paint), 0) << "no window to dispatch to";
    // The client area takes any size of at least a pixel each way, and keeps its size else.
    RECT client, placed;
    for (auto [width, height, kept] : {std::tuple{1, 1, 1}, {1, 4, 4}, {0, 5, 4}, {5, 0, 4}}) {
        MoveWindow(window, 7, 9, width, height, FALSE);
        ASSERT_TRUE(GetClientRect(window, &client) && GetWindowRect(window, &placed));
        EXPECT_EQ(testfiles::Edges(client), testfiles::Edges({0, 0, 1, kept})) << width;
        EXPECT_EQ(testfiles::Edges(placed), testfiles::Edges({7, 9, 8, 9 + kept})) << width;
    }
    // Properties by name: set again, a name keeps one value, the latest.
    int values[3];
    for (auto [name, value] : {std::pair{"a", &values[0]}, {"b", &values[1]}, {"a", &values[2]}})
        SetPropA(window, name, value);
    EXPECT_TRUE(GetPropA(window, "a") == &values[2] && GetPropA(window, "b") == &values[1]);
    EXPECT_EQ(GetPropA(reinterpret_cast<HWND>(&values[0]), "a"), nullptr) << "not our window";
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(DestroyWindow(window));

    received.clear();
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(WindowFrame(window), nullptr);
    EXPECT_EQ(GetLargestWindowScale(window), 0);
    EXPECT_TRUE(received.empty());
    // Nothing can arrive any more: waiting reports failure, and why, instead of hanging.
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), -1);
    EXPECT_NE(std::string(PlatformError()).find("never arrive"), std::string::npos);
    // A platform installed afresh knows no class of the one before.
    scripted::Install();
    EXPECT_EQ(
        CreateWindowExA(0, "plain", "plain", 0, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr),
        nullptr);
}

TEST(PlatformServices, FullScreenPictureIsScaledByWholeFactorsAndCentred)
{
    const RECT rows[][2] = {
        {{0, 0, 1024, 768}, {192, 144, 832, 624}},
        {{0, 0, 1920, 1080}, {320, 60, 1600, 1020}},
        {{0, 0, 1280, 1024}, {0, 32, 1280, 992}},
        // Smaller than the picture: shrunk to fit, proportions kept.
        {{0, 0, 600, 400}, {33, 0, 566, 400}},
        {{0, 0, 320, 480}, {0, 120, 320, 360}},
    };
    for (const auto& [output, expected] : rows) {
        EXPECT_EQ(testfiles::Edges(PlacePicture(output.right, output.bottom, 640, 480)),
                  testfiles::Edges(expected))
            << "on " << output.right << "x" << output.bottom;
    }
}

// Spelled as SDL spells them, so that a player can look them up in SDL's key list.
TEST(KeyNames, KeysHaveSdlsNamesWhichReadBackInAnyCase)
{
    // The ends of every range named by rule (0x7B is F12), and keys named one by one.
    const std::pair<int, const char*> named[] = {
        {'A', "A"},
        {'Z', "Z"},
        {'0', "0"},
        {'9', "9"},
        {VK_NUMPAD0, "Keypad 0"},
        {VK_NUMPAD9, "Keypad 9"},
        {VK_F1, "F1"},
        {0x7B, "F12"},
        {VK_MULTIPLY, "Keypad *"},
        {VK_DIVIDE, "Keypad /"},
        {VK_SPACE, "Space"},
        {VK_RETURN, "Return"},
        {VK_SHIFT, "Left Shift"},
        {VK_OEM_MINUS, "-"},
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

TEST(Files, AReplacedFileMapsBackWholeAtAnySize)
{
    testfiles::TempFolder folder(true);
    for (size_t size : {0, 1, 2, 70000}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; i++)
            bytes[i] = static_cast<char>(i * 7 + 1);
        ASSERT_TRUE(ReplaceFile("file", bytes.data(), size, Durability::Quick)) << size;
        MappedFile mapped("file");
        EXPECT_TRUE(mapped.isOpen()) << size;
        EXPECT_EQ(std::string(mapped.data(), mapped.data() + mapped.size()), bytes) << size;
    }
    EXPECT_FALSE(ReplaceFile("missing/file", "x", 1));
    EXPECT_TRUE(CreateNewFile("new") && !CreateNewFile("new") && !CreateNewFile("file"));
    for (const char* path : {"missing", "."}) {
        MappedFile refused(path);
        EXPECT_FALSE(refused.isOpen() || refused.data() || refused.size());
        EXPECT_EQ(refused.error().rfind(path, 0), 0u) << refused.error();
    }
}

#include <vector>

#include <gtest/gtest.h>

#include "platform/Internal.h"
#include "platform/WindowPlacement.h"
#include "platform/scripted/Scripted.h"

namespace {

std::vector<UINT> received;

LRESULT Recording(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND OpenPlainWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Recording;
    windowClass.lpszClassName = "plain";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "plain", "plain", 0, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                                  nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOW);
    return window;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(PlatformServices, PostedMessagesComeFirstThenQuitThenPaint)
{
    scripted::Install();
    HWND window = OpenPlainWindow();
    ASSERT_NE(window, nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);  // the paint that showing the window asked for

    InvalidateRect(window, nullptr, FALSE);
    PostQuitMessage(7);
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(window, WM_KEYUP, VK_SPACE, 0);

    std::vector<UINT> order;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) && order.size() < 6) {
        order.push_back(message.message);
        if (message.message == WM_QUIT) {
            EXPECT_EQ(message.wParam, 7u);
        }
        DispatchMessageA(&message);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_QUIT, WM_PAINT}));

    // Looking without removing leaves the message where it is.
    PostMessageA(window, WM_COMMAND, 1, 0);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_COMMAND);
}

TEST(PlatformServices, DestroyedWindowsDropTheirMessagesAndRefuseTheirHandles)
{
    scripted::Install();
    HWND window = OpenPlainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(DestroyWindow(window));

    received.clear();
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(WindowFrame(window), nullptr);
    EXPECT_TRUE(received.empty());

    // Nothing can arrive any more: waiting reports failure instead of hanging.
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), -1);
}

TEST(PlatformServices, FullScreenPictureIsScaledByWholeFactorsAndCentred)
{
    EXPECT_TRUE(SameRect(PlacePicture(640, 480, 640, 480), {0, 0, 640, 480}));
    EXPECT_TRUE(SameRect(PlacePicture(1024, 768, 640, 480), {192, 144, 832, 624}));
    EXPECT_TRUE(SameRect(PlacePicture(1920, 1080, 640, 480), {320, 60, 1600, 1020}));
    EXPECT_TRUE(SameRect(PlacePicture(1280, 1024, 640, 480), {0, 32, 1280, 992}));
    EXPECT_TRUE(SameRect(PlacePicture(3840, 2160, 640, 480), {640, 120, 3200, 2040}));
    // Smaller than the picture: shrunk to fit, proportions kept.
    EXPECT_TRUE(SameRect(PlacePicture(600, 400, 640, 480), {33, 0, 566, 400}));
    EXPECT_TRUE(SameRect(PlacePicture(320, 480, 640, 480), {0, 120, 320, 360}));
}

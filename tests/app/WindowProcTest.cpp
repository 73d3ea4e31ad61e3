#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/GameApp.h"
#include "platform/scripted/Scripted.h"

namespace {

// Notes every handler a message reached and answers all of them with `answer`.
class NotingApp : public Application {
public:
    std::vector<std::string> seen;
    int answer = 1;

#define NOTE(handler)                                                                          \
    int handler(HWND, WPARAM, LPARAM) override                                                 \
    {                                                                                          \
        seen.push_back(#handler);                                                              \
        return answer;                                                                         \
    }
    NOTE(OnCreate) NOTE(OnDestroy) NOTE(OnClose) NOTE(OnPaint) NOTE(OnMove) NOTE(OnSize)
    NOTE(OnNotify) NOTE(OnCommand) NOTE(OnMoving) NOTE(OnKeyDown) NOTE(OnSysKeyDown)
    NOTE(OnMouseMove) NOTE(OnMouseButtonDown) NOTE(OnMouseButtonUp) NOTE(OnMouseWheel)
    NOTE(OnJoy1Move) NOTE(OnJoy2Move) NOTE(OnJoy1ButtonDown) NOTE(OnJoy2ButtonDown)
    NOTE(OnJoy1ButtonUp) NOTE(OnJoy2ButtonUp)
#undef NOTE

    bool Open()
    {
        return CreateMainWindow(nullptr, "test window", kWindowWidth, kWindowHeight,
                                SW_SHOWNORMAL, kWindowedStyle, nullptr) == 1;
    }
    std::string Last() const { return seen.empty() ? "" : seen.back(); }
};

constexpr LPARAM kAltHeld = LPARAM(1) << 29;

}  // namespace

TEST(WindowProc, EveryMessageOfTheTableReachesItsHandler)
{
    scripted::Install();
    NotingApp app;
    ASSERT_TRUE(app.Open());
    ASSERT_FALSE(app.seen.empty());
    EXPECT_EQ(app.seen.front(), "OnCreate") << "sent before the window knows its application";
    EXPECT_EQ(creatingApp, nullptr);
    RECT client;
    ASSERT_TRUE(GetClientRect(app.window, &client));
    EXPECT_TRUE(client.right - client.left == kWindowWidth &&
                client.bottom - client.top == kWindowHeight);

    const std::pair<UINT, const char*> table[] = {
        {WM_MOVE, "OnMove"}, {WM_SIZE, "OnSize"}, {WM_PAINT, "OnPaint"},
        {WM_NOTIFY, "OnNotify"}, {WM_COMMAND, "OnCommand"}, {WM_MOVING, "OnMoving"},
        {WM_KEYDOWN, "OnKeyDown"}, {WM_SYSKEYDOWN, "OnSysKeyDown"},
        {WM_MOUSEMOVE, "OnMouseMove"}, {WM_MOUSEWHEEL, "OnMouseWheel"},
        {WM_LBUTTONDOWN, "OnMouseButtonDown"}, {WM_LBUTTONUP, "OnMouseButtonUp"},
        {WM_RBUTTONDOWN, "OnMouseButtonDown"}, {WM_RBUTTONUP, "OnMouseButtonUp"},
        {WM_MBUTTONDOWN, "OnMouseButtonDown"}, {WM_MBUTTONUP, "OnMouseButtonUp"},
        {MM_JOY1MOVE, "OnJoy1Move"}, {MM_JOY2MOVE, "OnJoy2Move"},
        {MM_JOY1BUTTONDOWN, "OnJoy1ButtonDown"}, {MM_JOY1BUTTONUP, "OnJoy1ButtonUp"},
        {MM_JOY2BUTTONDOWN, "OnJoy2ButtonDown"}, {MM_JOY2BUTTONUP, "OnJoy2ButtonUp"},
        {WM_KEYUP, ""},  // outside the table: straight to the default procedure
    };
    for (const auto& [message, handler] : table) {
        app.seen.clear();
        SendMessageA(app.window, message, 0, 0);
        EXPECT_EQ(app.Last(), handler) << "message 0x" << std::hex << message;
    }
}

TEST(WindowProc, ZeroMeansHandledMinusOneRefusesTheCreationAnythingElseAsksForTheDefault)
{
    scripted::Install();
    {
        NotingApp refusing;
        refusing.answer = -1;
        EXPECT_FALSE(refusing.Open());
        EXPECT_EQ(refusing.window, nullptr);
        EXPECT_EQ(scripted::TheWindow(), nullptr);
        EXPECT_EQ(creatingApp, nullptr) << "no dangling creator after a failure";
    }
    // The class went with that application: a new one of the same name registers and opens.
    NotingApp app;
    ASSERT_TRUE(app.Open());

    // Handled: the close box does nothing more.
    app.answer = 0;
    SendMessageA(app.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.Last(), "OnClose");
    EXPECT_NE(scripted::TheWindow(), nullptr);

    // Not handled: the default procedure shows an unhandled paint and closes on Alt+F4, but
    // not on F4 alone.
    app.answer = 1;
    const int presents = scripted::PresentCount();
    SendMessageA(app.window, WM_PAINT, 0, 0);
    EXPECT_EQ(scripted::PresentCount(), presents + 1);
    SendMessageA(app.window, WM_SYSKEYDOWN, VK_F4, 0);
    EXPECT_NE(scripted::TheWindow(), nullptr);
    SendMessageA(app.window, WM_SYSKEYDOWN, VK_F4, kAltHeld);
    EXPECT_EQ(scripted::TheWindow(), nullptr);
    EXPECT_EQ(app.Last(), "OnDestroy");
}

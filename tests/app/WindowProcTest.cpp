#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "app/GameApp.h"
#include "platform/scripted/Scripted.h"

namespace {

// Notes the handler each message reached and answers with a chosen result.
class NotingApp : public Application {
public:
    std::string last;
    int answer = 1;
    int createAnswer = 0;
    bool creatingAppWasThis = false;

    int OnCreate(HWND, WPARAM, LPARAM) override
    {
        creatingAppWasThis = creatingApp == this;
        last = "OnCreate";
        return createAnswer;
    }
    int OnJoy1ButtonDown(HWND, WPARAM, LPARAM) override { return Note("OnJoy1ButtonDown"); }
    int OnJoy1ButtonUp(HWND, WPARAM, LPARAM) override { return Note("OnJoy1ButtonUp"); }
    int OnJoy1Move(HWND, WPARAM, LPARAM) override { return Note("OnJoy1Move"); }
    int OnJoy2ButtonDown(HWND, WPARAM, LPARAM) override { return Note("OnJoy2ButtonDown"); }
    int OnJoy2ButtonUp(HWND, WPARAM, LPARAM) override { return Note("OnJoy2ButtonUp"); }
    int OnJoy2Move(HWND, WPARAM, LPARAM) override { return Note("OnJoy2Move"); }
    int OnMouseButtonDown(HWND, WPARAM, LPARAM) override { return Note("OnMouseButtonDown"); }
    int OnMouseButtonUp(HWND, WPARAM, LPARAM) override { return Note("OnMouseButtonUp"); }
    int OnMouseMove(HWND, WPARAM, LPARAM) override { return Note("OnMouseMove"); }
    int OnMouseWheel(HWND, WPARAM, LPARAM) override { return Note("OnMouseWheel"); }
    int OnNotify(HWND, WPARAM, LPARAM) override { return Note("OnNotify"); }
    int OnCommand(HWND, WPARAM, LPARAM) override { return Note("OnCommand"); }
    int OnPaint(HWND, WPARAM, LPARAM) override { return Note("OnPaint"); }
    int OnMoving(HWND, WPARAM, LPARAM) override { return Note("OnMoving"); }
    int OnKeyDown(HWND, WPARAM, LPARAM) override { return Note("OnKeyDown"); }
    int OnSysKeyDown(HWND, WPARAM, LPARAM) override { return Note("OnSysKeyDown"); }
    int OnMove(HWND, WPARAM, LPARAM) override { return Note("OnMove"); }
    int OnSize(HWND, WPARAM, LPARAM) override { return Note("OnSize"); }
    int OnClose(HWND window, WPARAM wParam, LPARAM lParam) override
    {
        Note("OnClose");
        return answer == 0 ? 0 : Application::OnClose(window, wParam, lParam);
    }
    int OnDestroy(HWND, WPARAM, LPARAM) override { return Note("OnDestroy"); }

private:
    int Note(const char* handler)
    {
        last = handler;
        return answer;
    }
};

bool Open(NotingApp& app)
{
    return app.CreateMainWindow(nullptr, "test window", kWindowWidth, kWindowHeight,
                                SW_SHOWNORMAL, kWindowedStyle, nullptr) == 1;
}

constexpr LPARAM kAltHeld = LPARAM(1) << 29;

}  // namespace

TEST(WindowProc, EveryMessageOfTheTableReachesItsHandler)
{
    scripted::Install();
    NotingApp app;
    ASSERT_TRUE(Open(app));
    EXPECT_TRUE(app.creatingAppWasThis);
    EXPECT_EQ(creatingApp, nullptr);

    const std::pair<UINT, const char*> table[] = {
        {WM_MOVE, "OnMove"},
        {WM_SIZE, "OnSize"},
        {WM_PAINT, "OnPaint"},
        {WM_NOTIFY, "OnNotify"},
        {WM_KEYDOWN, "OnKeyDown"},
        {WM_SYSKEYDOWN, "OnSysKeyDown"},
        {WM_COMMAND, "OnCommand"},
        {WM_MOUSEMOVE, "OnMouseMove"},
        {WM_LBUTTONDOWN, "OnMouseButtonDown"},
        {WM_RBUTTONDOWN, "OnMouseButtonDown"},
        {WM_MBUTTONDOWN, "OnMouseButtonDown"},
        {WM_LBUTTONUP, "OnMouseButtonUp"},
        {WM_RBUTTONUP, "OnMouseButtonUp"},
        {WM_MBUTTONUP, "OnMouseButtonUp"},
        {WM_MOUSEWHEEL, "OnMouseWheel"},
        {WM_MOVING, "OnMoving"},
        {MM_JOY1MOVE, "OnJoy1Move"},
        {MM_JOY2MOVE, "OnJoy2Move"},
        {MM_JOY1BUTTONDOWN, "OnJoy1ButtonDown"},
        {MM_JOY2BUTTONDOWN, "OnJoy2ButtonDown"},
        {MM_JOY1BUTTONUP, "OnJoy1ButtonUp"},
        {MM_JOY2BUTTONUP, "OnJoy2ButtonUp"},
    };
    for (const auto& [message, handler] : table) {
        app.last.clear();
        SendMessageA(app.window, message, 0, 0);
        EXPECT_EQ(app.last, handler) << "message 0x" << std::hex << message;
    }
    app.last.clear();
    SendMessageA(app.window, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(app.last, "") << "a message outside the table goes to the default procedure";

    RECT client;
    ASSERT_TRUE(GetClientRect(app.window, &client));
    EXPECT_EQ(client.right - client.left, kWindowWidth);
    EXPECT_EQ(client.bottom - client.top, kWindowHeight);
}

TEST(WindowProc, ZeroMeansHandledAnythingElseAsksForTheDefault)
{
    scripted::Install();
    NotingApp app;
    ASSERT_TRUE(Open(app));

    // Handled: the close box does nothing more.
    app.answer = 0;
    SendMessageA(app.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.last, "OnClose");
    EXPECT_NE(scripted::TheWindow(), nullptr);

    // Not handled: the default procedure closes on Alt+F4, but not on F4 alone.
    app.answer = 1;
    SendMessageA(app.window, WM_SYSKEYDOWN, VK_F4, 0);
    EXPECT_NE(scripted::TheWindow(), nullptr);
    const int presents = scripted::PresentCount();
    SendMessageA(app.window, WM_PAINT, 0, 0);
    EXPECT_EQ(scripted::PresentCount(), presents + 1) << "an unhandled paint still shows";
    SendMessageA(app.window, WM_SYSKEYDOWN, VK_F4, kAltHeld);
    EXPECT_EQ(scripted::TheWindow(), nullptr);
    EXPECT_EQ(app.last, "OnDestroy");

    // The window is gone; the stale handle is refused rather than followed.
    app.last.clear();
    EXPECT_EQ(SendMessageA(app.window, WM_KEYDOWN, VK_SPACE, 0), 0);
    EXPECT_EQ(app.last, "");
    EXPECT_FALSE(DestroyWindow(app.window));
}

TEST(WindowProc, CreationRefusedByItsHandlerFailsAndCleansUp)
{
    scripted::Install();
    {
        NotingApp app;
        app.createAnswer = -1;
        EXPECT_FALSE(Open(app));
        EXPECT_EQ(app.window, nullptr);
        EXPECT_EQ(scripted::TheWindow(), nullptr);
        EXPECT_EQ(creatingApp, nullptr) << "no dangling creator after a failure";
    }
    // The class went with the application: a new one of that name registers and opens.
    NotingApp again;
    EXPECT_TRUE(Open(again));
}

TEST(WindowProc, AWindowWithoutApplicationGetsTheDefaultProcedure)
{
    scripted::Install();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.lpszClassName = "bare";
    ASSERT_TRUE(RegisterClassA(&windowClass));
    HWND window = CreateWindowExA(0, "bare", "bare", kWindowedStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 640, 480, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetPropA(window, "lib"), nullptr);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(scripted::TheWindow(), nullptr);
}

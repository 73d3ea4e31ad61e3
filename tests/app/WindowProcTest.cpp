#include <string>
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

// clang-format off
#define NOTE(handler)                                                                          \
    int handler(HWND, WPARAM, LPARAM) override                                                 \
    {                                                                                          \
        seen.push_back(#handler);                                                              \
        return answer;                                                                         \
    }
    NOTE(OnCreate)
    NOTE(OnDestroy)
    NOTE(OnClose)
    NOTE(OnPaint)
    NOTE(OnSysKeyDown)
#undef NOTE
    // clang-format on

    bool Open()
    {
        return CreateMainWindow(nullptr, "test window", kWindowWidth, kWindowHeight, SW_SHOWNORMAL,
                                kWindowedStyle, nullptr) == 1;
    }
    std::string Last() const
    {
        return seen.empty() ? "" : seen.back();
    }
};

constexpr LPARAM kAltHeld = LPARAM(1) << 29;

}  // namespace

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

#include <vector>

#include <gtest/gtest.h>

#include "app/GameApp.h"
#include "objects/Player.h"
#include "platform/scripted/Scripted.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

// The heroine alone on a canvas, her frame i in kit::FrameColour(i); the sound system has no
// clips, so that playing a sound is harmless.
struct PlayerTest : ::testing::Test {
    PlayerTest()
    {
        scripted::Install();
        scripted::AttachJoystick();
        BuildTables();
        soundSystem = new SoundSystem(nullptr);
        heroine.SetSprite(kit::MakeSheet(128, 16, 4), &canvas, 4, kKeyBlack);  // hers to delete
        heroine.MoveTo(Player::kStartX, Player::kStartY);
        heroine.ownerList = &shots;
        heroine.enemyList = &enemies;
        joystick.available = 1;
        joystick.caps.wXmax = joystick.caps.wYmax = 65535;
        heroine.input = &joystick;
        heroine.Update(now);
    }

    void Step(uint32_t ms = 17)
    {
        now += ms;
        heroine.Update(now);
    }

    ~PlayerTest() override
    {
        delete soundSystem;
        soundSystem = nullptr;
    }

    Surface canvas{kViewWidth, kViewHeight};
    ObjectList shots, enemies;
    Player heroine;
    JoystickInfo joystick;
    uint32_t now = 1000;
};

TEST_F(PlayerTest, StepsAreMoreThan16MillisecondsApart)
{
    EXPECT_FALSE(heroine.stepped) << "the first update only starts her clock";
    scripted::HoldKey(VK_UP);
    Step(16);
    EXPECT_FALSE(heroine.stepped);
    Step(1);
    EXPECT_TRUE(heroine.stepped);
    EXPECT_EQ(heroine.y, 124);

    // No step 10 ms later, but she is still drawn and animated.
    GameObject::Frame* frame = heroine.currentFrame;
    Step(10);
    EXPECT_FALSE(heroine.stepped);
    EXPECT_EQ(heroine.y, 124);
    EXPECT_EQ(heroine.currentFrame, frame->next);
    EXPECT_EQ(testfiles::At(canvas, 20, 124), kit::FrameColour(frame->rect.left / 32));
}

TEST_F(PlayerTest, KeysAndStickMoveHerFourPixelsAStepOrOneSlowlyInsideTheField)
{
    constexpr unsigned kMid = 32767;
    struct Case {
        std::vector<int> keys;
        unsigned stickX, stickY, buttons;
        int fromX, fromY, toX, toY;
    };
    const Case cases[] = {
        {{VK_UP, VK_DOWN, VK_RIGHT}, kMid, kMid, 0, 100, 100, 104, 100},  // opposites cancel
        {{VK_NUMPAD8, VK_NUMPAD4}, kMid, kMid, 0, 100, 100, 96, 104},
        {{VK_NUMPAD2, VK_NUMPAD6, 'V'}, kMid, kMid, 0, 100, 100, 101, 99},
        {{VK_NUMPAD9, VK_LEFT}, kMid, kMid, 0, 100, 100, 104, 104},   // a diagonal key wins
        {{VK_NUMPAD9, VK_NUMPAD1}, kMid, kMid, 0, 100, 100, 96, 96},  // in the order 1, 7, 9, 3
        {{VK_NUMPAD3, VK_NUMPAD7}, kMid, kMid, 0, 100, 100, 96, 104},
        {{VK_NUMPAD3, 'C'}, kMid, kMid, 0, 100, 100, 101, 99},
        {{VK_RIGHT, VK_UP}, kMid, kMid, 0, 286, 222, Player::kMaxX, Player::kMaxY},
        {{VK_NUMPAD1}, kMid, kMid, 0, 2, 1, 0, 0},
        // The stick counts within 1000 of its ends (y upward toward its minimum).
        {{}, 65535 - 999, 0, 0, 100, 100, 104, 104},
        {{}, 1000, 64535, JOY_BUTTON3, 100, 100, 100, 100},
        {{}, 0, 65535, JOY_BUTTON4, 100, 100, 99, 99},  // buttons 3 and 4 slow her down
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "keys " << testing::PrintToString(c.keys) << " stick "
                                        << c.stickX << ", " << c.stickY);
        scripted::ReleaseAllKeys();
        for (int vk : c.keys)
            scripted::HoldKey(vk);
        scripted::SetJoystick(c.stickX, c.stickY, c.buttons);
        heroine.MoveTo(c.fromX, c.fromY);
        Step();
        EXPECT_EQ(heroine.x, c.toX);
        EXPECT_EQ(heroine.y, c.toY);
    }

    scripted::DetachJoystick();
    Step();
    EXPECT_EQ(heroine.x, 99) << "a pad pulled out steers no more";
}

}  // namespace

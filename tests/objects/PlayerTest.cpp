#include <gtest/gtest.h>

#include "app/GameApp.h"
#include "objects/Player.h"
#include "platform/scripted/Scripted.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

struct PlayerTest : ::testing::Test {
    // One update more than 16 ms after the last step: one movement step.
    void Step()
    {
        now += 17;
        heroine.Update(now);
    }

    kit::Field field;
    Player& heroine = *field.heroine;
    uint32_t now = 1000;
};

TEST_F(PlayerTest, StepsAreAtLeast17MillisecondsApart)
{
    scripted::HoldKey(VK_UP);
    heroine.Update(now);  // the first update only starts her clock
    EXPECT_FALSE(heroine.stepped);
    EXPECT_EQ(heroine.y, 120);

    heroine.Update(now + 16);
    EXPECT_FALSE(heroine.stepped);
    heroine.Update(now + 17);
    EXPECT_TRUE(heroine.stepped);
    EXPECT_EQ(heroine.y, 124);

    // 10 ms later: no step, but she is still drawn and animated.
    GameObject::Frame* frame = heroine.currentFrame;
    kit::Fill(*field.canvas, kit::kCanvasColour);
    heroine.Update(now + 27);
    EXPECT_FALSE(heroine.stepped);
    EXPECT_EQ(heroine.y, 124);
    EXPECT_EQ(heroine.currentFrame, frame->next);
    EXPECT_EQ(kit::At(*field.canvas, 20, 124), kit::FrameColour(frame->rect.left / 32));
}

TEST_F(PlayerTest, DirectionsCombineCancelAndYieldToDiagonals)
{
    heroine.Update(now);
    scripted::HoldKey(VK_UP);
    scripted::HoldKey(VK_DOWN);
    scripted::HoldKey(VK_RIGHT);
    Step();
    EXPECT_EQ(heroine.x, 24);
    EXPECT_EQ(heroine.y, 120) << "up and down cancel";

    scripted::HoldKey(VK_NUMPAD9);
    scripted::HoldKey(VK_LEFT);
    Step();
    EXPECT_EQ(heroine.x, 28) << "a diagonal key overrides the others";
    EXPECT_EQ(heroine.y, 124);

    scripted::HoldKey(VK_NUMPAD1);  // keypad 1 comes before 9
    Step();
    EXPECT_EQ(heroine.x, 24);
    EXPECT_EQ(heroine.y, 120);

    scripted::HoldKey('C');
    Step();
    EXPECT_EQ(heroine.x, 23) << "slow on the diagonals too";
    EXPECT_EQ(heroine.y, 119);
}

TEST_F(PlayerTest, SheStaysInsideTheField)
{
    heroine.Update(now);
    heroine.MoveTo(286, 222);
    scripted::HoldKey(VK_RIGHT);
    scripted::HoldKey(VK_UP);
    Step();
    EXPECT_EQ(heroine.x, Player::kMaxX);
    EXPECT_EQ(heroine.y, Player::kMaxY);

    scripted::ReleaseAllKeys();
    heroine.MoveTo(2, 1);
    scripted::HoldKey(VK_NUMPAD1);
    Step();
    EXPECT_EQ(heroine.x, 0);
    EXPECT_EQ(heroine.y, 0);
}

TEST_F(PlayerTest, TheJoystickSteersNearTheEndsOfItsAxes)
{
    scripted::AttachJoystick();
    JoystickInfo joystick;
    joystick.available = 1;
    joystick.caps.wXmax = joystick.caps.wYmax = 65535;
    heroine.input = &joystick;
    heroine.Update(now);

    scripted::SetJoystick(65535 - 999, 0, 0);  // right, and up (y toward its minimum)
    Step();
    EXPECT_EQ(heroine.x, 24);
    EXPECT_EQ(heroine.y, 124);

    scripted::SetJoystick(1000, 64535, JOY_BUTTON3);  // inside the dead zone; slow button
    Step();
    EXPECT_EQ(heroine.x, 24);
    EXPECT_EQ(heroine.y, 124);

    scripted::SetJoystick(0, 65535, JOY_BUTTON4);  // left and down, slowly
    Step();
    EXPECT_EQ(heroine.x, 23);
    EXPECT_EQ(heroine.y, 123);

    // Without a joystick the record says so and nothing is read.
    joystick.available = 0;
    Step();
    EXPECT_EQ(heroine.x, 23);
}

TEST_F(PlayerTest, NoShotWhileSixAreInFlight)
{
    heroine.Update(now);
    for (int i = 0; i < Player::kMaxShots; i++)
        field.shots.Append(new GameObject);
    scripted::HoldKey(VK_SPACE);
    Step();
    EXPECT_EQ(field.shots.Count(), Player::kMaxShots);
}

TEST_F(PlayerTest, NoBombWithoutMoreThanThirtyInTheGauge)
{
    heroine.Update(now);
    field.Spawn<GameObject>(100, 100);
    heroine.gauge = 30;
    scripted::HoldKey('B');
    Step();
    EXPECT_EQ(heroine.gauge, 30);
    EXPECT_EQ(field.enemies.Count(), 1);
}

}  // namespace

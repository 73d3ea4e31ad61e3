#include <gtest/gtest.h>

#include "objects/GameObject.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

using kit::At;
using kit::FrameColour;
using kit::kCanvasColour;

struct Sprite : GameObject {};

TEST(GameObject, FramesAreCutSideBySideAndCycle)
{
    kit::Field field;
    std::unique_ptr<Surface> sheet(kit::MakeSheet(64, 16, 4));
    Sprite object;
    object.SetSprite(sheet.get(), field.canvas.get(), 4, kKeyBlack);
    EXPECT_EQ(object.FrameWidth(), 16);
    EXPECT_EQ(object.FrameHeight(), 16);

    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(object.currentFrame->rect.left, 16 * i);
        EXPECT_EQ(object.currentFrame->rect.right, 16 * i + 16);
        object.AdvanceFrame();
    }
    EXPECT_EQ(object.currentFrame->rect.left, 0) << "four advances come back to frame 0";
    EXPECT_EQ(object.currentFrame->prev->rect.left, 48);

    object.SetHitInset(2);
    EXPECT_EQ(object.hitBox.left, 2);
    EXPECT_EQ(object.hitBox.top, 2);
    EXPECT_EQ(object.hitBox.right, 14);
    EXPECT_EQ(object.hitBox.bottom, 14);
}

TEST(GameObject, AFrameCutAtTheLeftEdgeDrawsItsVisiblePartAtTheEdge)
{
    kit::Field field;
    std::unique_ptr<Surface> sheet(kit::MakeSheet(32, 16, 2));
    Sprite object;
    object.SetSprite(sheet.get(), field.canvas.get(), 2, kKeyBlack);
    object.MoveTo(-5, 10);
    object.ClipToView();
    EXPECT_EQ(object.srcRect.left, 5);
    EXPECT_EQ(object.srcRect.top, 0);
    EXPECT_EQ(object.srcRect.right, 16);
    EXPECT_EQ(object.srcRect.bottom, 16);
    EXPECT_EQ(object.Draw(), 1);
    EXPECT_EQ(At(*field.canvas, 0, 10), FrameColour(0));
    EXPECT_EQ(At(*field.canvas, 10, 25), FrameColour(0));
    EXPECT_EQ(At(*field.canvas, 11, 10), kCanvasColour) << "11 columns are visible";
    EXPECT_EQ(At(*field.canvas, 0, 26), kCanvasColour);

    object.AdvanceFrame();
    object.ClipToView();
    EXPECT_EQ(object.srcRect.left, 21);
    EXPECT_EQ(object.srcRect.right, 32);
}

TEST(GameObject, AFrameWiderAndTallerThanTheViewIsLimitedToIt)
{
    kit::Field field;
    std::unique_ptr<Surface> sheet(kit::MakeSheet(400, 300));
    Sprite object;
    object.SetSprite(sheet.get(), field.canvas.get(), 1, kKeyBlack);
    object.MoveTo(-40, -30);
    object.ClipToView();
    EXPECT_EQ(object.srcRect.left, 40);
    EXPECT_EQ(object.srcRect.right, 360);
    EXPECT_EQ(object.srcRect.top, 30);
    EXPECT_EQ(object.srcRect.bottom, 270);
    object.Draw();
    EXPECT_EQ(At(*field.canvas, 0, 0), FrameColour(0));
    EXPECT_EQ(At(*field.canvas, 319, 239), FrameColour(0));

    // Cut at the right and top edges only.
    object.MoveTo(100, 100);
    object.ClipToView();
    EXPECT_EQ(object.srcRect.left, 0);
    EXPECT_EQ(object.srcRect.right, 220);
    EXPECT_EQ(object.srcRect.bottom, 140);
}

TEST(GameObject, AnObjectEndsOnlyByLeavingTheViewAfterBeingSeen)
{
    kit::Field field;
    std::unique_ptr<Surface> sheet(kit::MakeSheet(16, 16));
    Sprite object;
    object.SetSprite(sheet.get(), field.canvas.get(), 1, kKeyBlack);

    object.MoveTo(330, 50);  // waiting beyond the right edge
    object.ClipToView();
    EXPECT_TRUE(object.offscreen);
    EXPECT_TRUE(object.collidable);
    EXPECT_FALSE(object.HasEnded());
    EXPECT_EQ(object.Draw(), 0);
    EXPECT_EQ(At(*field.canvas, 319, 50), kCanvasColour);

    object.MoveTo(319, 50);  // one column in view
    object.ClipToView();
    EXPECT_FALSE(object.offscreen);
    EXPECT_TRUE(object.shown);
    EXPECT_EQ(object.Draw(), 1);
    EXPECT_EQ(At(*field.canvas, 319, 50), FrameColour(0));

    object.MoveTo(-16, 50);  // just gone at the left
    object.ClipToView();
    EXPECT_TRUE(object.HasEnded());
    EXPECT_EQ(object.startX, 330) << "the start is the first position";
}

}  // namespace

#include <array>

#include <gtest/gtest.h>

#include "tests/scenes/GameSceneTestKit.h"

namespace {

using kit::FrameColour;
using kit::kCanvasColour;
using testfiles::At;
using testfiles::Edges;

struct Sprite : GameObject {};

TEST(GameObject, DrawsOnlyThePartOfItsCurrentFrameInsideTheView)
{
    struct Case {
        int width, height, frames, advances, x, y;
        std::array<LONG, 4> source;
    };
    const Case cases[] = {
        {32, 16, 2, 0, -5, 10, {5, 0, 16, 16}},          // cut at the left edge
        {32, 16, 2, 1, -5, 10, {21, 0, 32, 16}},         // the same on the second frame
        {64, 16, 4, 5, 10, 10, {16, 0, 32, 16}},         // the frames go round
        {400, 300, 1, 0, -40, -30, {40, 30, 360, 270}},  // larger than the view both ways
        {400, 300, 1, 0, 100, 100, {0, 0, 220, 140}},    // cut at the right and the top
    };
    BuildTables();
    Surface canvas(kViewWidth, kViewHeight);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.x);
        std::unique_ptr<Surface> sheet(kit::MakeSheet(c.width, c.height, c.frames));
        Sprite object;
        object.SetSprite(sheet.get(), &canvas, c.frames, kKeyBlack);
        for (int i = 0; i < c.advances; i++)
            object.AdvanceFrame();
        object.MoveTo(c.x, c.y);
        object.ClipToView();
        EXPECT_EQ(Edges(object.srcRect), c.source);

        testfiles::Fill(canvas, kCanvasColour);
        EXPECT_EQ(object.Draw(), 1);
        int left = std::max(c.x, 0), bottom = std::max(c.y, 0);
        int right = left + c.source[2] - c.source[0], top = bottom + c.source[3] - c.source[1];
        uint32_t colour = FrameColour(c.advances % c.frames);
        EXPECT_EQ(At(canvas, left, bottom), colour);
        EXPECT_EQ(At(canvas, right - 1, top - 1), colour);
        if (right < kViewWidth) {
            EXPECT_EQ(At(canvas, right, bottom), kCanvasColour);
        }
        if (top < kViewHeight) {
            EXPECT_EQ(At(canvas, left, top), kCanvasColour);
        }
    }
}

}  // namespace

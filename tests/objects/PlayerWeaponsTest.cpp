#include <gtest/gtest.h>

#include "objects/PlayerWeapons.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

using kit::At;
using kit::FrameColour;
using kit::kCanvasColour;

TEST(PlayerShot, FliesRightAtAThirdOfAPixelPerMillisecond)
{
    kit::Field field;
    PlayerShot shot;
    shot.SetSprite(field.images[kSheetShot], field.canvas.get(), 1, kKeyBlack);
    shot.MoveTo(50, 100);
    shot.Update(5000);
    EXPECT_EQ(shot.x, 50);
    shot.Update(5100);
    EXPECT_EQ(shot.x, 82);
    EXPECT_EQ(shot.y, 100);
    EXPECT_EQ(At(*field.canvas, 82, 100), FrameColour(0));
    shot.Update(5950);  // 50 + 304: past the right edge
    EXPECT_TRUE(shot.HasEnded());
}

// Blend of a frame colour over the canvas colour, weight w of the canvas, per byte.
uint32_t Blend(uint32_t under, uint32_t over, int w)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t d = (under >> shift) & 0xFF, s = (over >> shift) & 0xFF;
        out |= ((d * w + s * (256 - w)) >> 8) << shift;
    }
    return out;
}

TEST(Explosion, FourFadingFramesOfAtLeast67Milliseconds)
{
    kit::Field field;
    Explosion* explosion =
        MakeExplosion(field.images, kSheetExplosion, field.canvas.get(), 100, 100);
    field.enemies.Append(explosion);
    EXPECT_FALSE(explosion->collidable);

    // Updated every 16 ms: frame 0 (weight 32) until 67 ms have passed.
    uint32_t start = 2000;
    for (uint32_t t = 0; t < 67; t += 16) {
        kit::Fill(*field.canvas, kCanvasColour);
        explosion->Update(start + t);
        EXPECT_EQ(At(*field.canvas, 100, 100), Blend(kCanvasColour, FrameColour(0), 32));
        EXPECT_EQ(explosion->stepCount, 0);
    }
    explosion->Update(start + 80);  // the first step: frame 1 from now on
    EXPECT_EQ(explosion->stepCount, 1);
    kit::Fill(*field.canvas, kCanvasColour);
    explosion->Update(start + 96);
    EXPECT_EQ(At(*field.canvas, 100, 100), Blend(kCanvasColour, FrameColour(1), 64));
    EXPECT_TRUE(explosion->collidable) << "a clipped explosion is a point the heroine meets";

    explosion->Update(start + 150);
    explosion->Update(start + 220);
    EXPECT_FALSE(explosion->HasEnded());
    explosion->Update(start + 290);
    EXPECT_EQ(explosion->stepCount, 4);
    EXPECT_TRUE(explosion->HasEnded());
}

TEST(BomberOverlay, OpaqueFor100MillisecondsThenFadesOut)
{
    kit::Field field;
    BomberOverlay overlay;
    overlay.SetSprite(field.images[kSheetBomber], field.canvas.get(), 1, kKeyBlack);
    overlay.MoveTo(0, 0);
    overlay.Update(3000);
    EXPECT_EQ(At(*field.canvas, 319, 239), FrameColour(0));

    kit::Fill(*field.canvas, kCanvasColour);
    overlay.Update(3050);
    EXPECT_EQ(overlay.fade, 0);
    EXPECT_EQ(At(*field.canvas, 0, 0), FrameColour(0));

    kit::Fill(*field.canvas, kCanvasColour);
    overlay.Update(3300);
    EXPECT_EQ(overlay.fade, 100);
    EXPECT_EQ(At(*field.canvas, 160, 120), Blend(kCanvasColour, FrameColour(0), 100));

    overlay.Update(3612);
    EXPECT_FALSE(overlay.HasEnded()) << "weight 256 is still drawn";
    overlay.Update(3700);
    EXPECT_TRUE(overlay.HasEnded());
}

TEST(BomberCaption, CrossesTheScreenLeftwardIn300Milliseconds)
{
    kit::Field field;
    BomberCaption caption;
    caption.SetSprite(field.images[kSheetBomberCaption], field.canvas.get(), 1, kKeyBlack);
    caption.MoveTo(320, 180);
    caption.Update(4000);
    EXPECT_FALSE(caption.shown);
    caption.Update(4100);
    EXPECT_EQ(caption.x, 214);
    EXPECT_EQ(caption.y, 180);
    EXPECT_EQ(At(*field.canvas, 214, 180), FrameColour(0));
    caption.Update(4000 + 413);  // 320 - 440 = -120: the whole caption is gone
    EXPECT_TRUE(caption.HasEnded());
}

}  // namespace

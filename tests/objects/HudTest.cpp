#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "objects/Hud.h"
#include "tests/objects/ObjectTestKit.h"

namespace {

using kit::At;
using kit::kCanvasColour;

// A digit strip whose glyph d is a solid block of colour GlyphColour(d).
uint32_t GlyphColour(int d)
{
    return 0x00100000u + static_cast<uint32_t>(d);
}

Surface* MakeDigitStrip()
{
    auto* strip = new Surface(80, 16);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 80; x++)
            strip->pixels[y * 80 + x] = GlyphColour(x / 8);
    return strip;
}

// Reads back the ten digits drawn at (x, y) by their colours; '?' for anything else.
std::string ReadDigits(const Surface& canvas, int x, int y)
{
    std::string digits;
    for (int i = 0; i < 10; i++) {
        uint32_t left = At(canvas, x + 8 * i, y);
        uint32_t right = At(canvas, x + 8 * i + 7, y + 15);
        int d = static_cast<int>(left - GlyphColour(0));
        digits += (left == right && d >= 0 && d <= 9) ? char('0' + d) : '?';
    }
    return digits;
}

struct HudTest : ::testing::Test {
    HudTest()
    {
        display.sprite = MakeDigitStrip();  // owned by the display
        display.target = field.canvas.get();
        display.bounds = {0, 0, 80, 16};
        display.MoveTo(200, 220);
    }

    kit::Field field;
    ScoreDisplay display;
};

TEST_F(HudTest, TheScoreShowsAsTenDigitsWithLeadingZeros)
{
    display.Update(1234);
    EXPECT_EQ(ReadDigits(*field.canvas, 200, 220), "0000001234");
    EXPECT_EQ(At(*field.canvas, 199, 220), kCanvasColour);
    EXPECT_EQ(At(*field.canvas, 280, 220), kCanvasColour);

    display.MoveTo(238, 5);
    display.Update(INT_MAX);
    EXPECT_EQ(ReadDigits(*field.canvas, 238, 5), "2147483647");
}

TEST_F(HudTest, ANegativeBestScoreFromADamagedSaveShowsAsZeros)
{
    display.Update(static_cast<uint32_t>(-1234));
    EXPECT_EQ(ReadDigits(*field.canvas, 200, 220), "0000000000");
    display.Update(static_cast<uint32_t>(INT_MIN));
    EXPECT_EQ(ReadDigits(*field.canvas, 200, 220), "0000000000");
    EXPECT_EQ(At(*field.canvas, 280, 220), kCanvasColour) << "nothing past the ten digits";
}

TEST_F(HudTest, TheGaugeIsOnePixelPerPointBlendedNearTheTopLeft)
{
    GaugeBar gauge;
    gauge.sprite = field.images[kSheetGauge];
    gauge.target = field.canvas.get();
    kit::Fill(*gauge.sprite, 0x00FFFFFF);
    kit::Fill(*field.canvas, 0);

    gauge.level = 40;
    gauge.Update(12345);
    // White blended over black with 96/256 of the black kept: 255 * 160 / 256.
    const uint32_t blended = 0x009F9F9F;
    EXPECT_EQ(At(*field.canvas, 20, 224), blended);
    EXPECT_EQ(At(*field.canvas, 59, 231), blended);
    EXPECT_EQ(At(*field.canvas, 60, 224), 0u);
    EXPECT_EQ(At(*field.canvas, 19, 224), 0u);
    EXPECT_EQ(At(*field.canvas, 20, 232), 0u);
    EXPECT_EQ(At(*field.canvas, 20, 223), 0u);
}

}  // namespace

#include "objects/Hud.h"

#include <cstdio>

#include "gfx/Draw.h"
#include "gfx/Surface.h"

ScoreDisplay::~ScoreDisplay()
{
    delete sprite;
}

int ScoreDisplay::Update(uint32_t number)
{
    value = static_cast<int32_t>(number);
    return Draw();
}

int ScoreDisplay::Draw()
{
    // Scores only grow from 0, but a damaged save file can hand us any best score. The strip
    // has no minus sign, so a negative number shows as zeros; every other int32 fits the ten
    // digits.
    char digits[kDigits + 1];
    snprintf(digits, sizeof digits, "%010d", value < 0 ? 0 : value);
    for (int i = 0; i < kDigits; i++) {
        int d = digits[i] - '0';
        RECT glyph = {d * kGlyphWidth, 0, (d + 1) * kGlyphWidth, kGlyphHeight};
        BlitKeyed(*sprite, glyph, *target, x + i * kGlyphWidth, y, colorKey);
    }
    return 1;
}

int GaugeBar::Update(uint32_t now)
{
    constexpr int kLeft = 20;
    constexpr int kBottom = 224;
    constexpr int kHeight = 8;
    constexpr int kUnderWeight = 96;

    RECT bar = {0, 0, level, kHeight};
    BlitBlend(*sprite, bar, *target, kLeft, kBottom, kUnderWeight);
    return 1;
}

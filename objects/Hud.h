#pragma once
// The two head-up display objects the game scene keeps outside its lists: the ten-digit
// number it shows the score and the best score with, and the power gauge.

#include <cstdint>

#include "objects/GameObject.h"

// Draws a number as ten digits from a strip of glyphs 0 to 9, each 8x16. Owns its strip.
class ScoreDisplay : public GameObject {
public:
    static constexpr int kDigits = 10;
    static constexpr int kGlyphWidth = 8;
    static constexpr int kGlyphHeight = 16;

    ~ScoreDisplay() override;

    // Shows the number (read as signed) instead of following a clock.
    int Update(uint32_t number) override;
    int Draw() override;

    int32_t value = 0;
};

// The power gauge, 0 to 96: one pixel of the bar per point, blended near the top-left corner.
class GaugeBar : public GameObject {
public:
    static constexpr int kMaxLevel = 96;

    int Update(uint32_t now) override;

    int32_t level = 0;
};

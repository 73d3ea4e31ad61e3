#include "gfx/Tables.h"

#include <cmath>

double SineTable[320];
uint16_t ProductTable[257][257];

void BuildTables()
{
    // A full turn is 255 steps, not 256; the two constants are 1/255 and 2*pi as the game has
    // always used them, since the rotation depends on SineTable[64] landing just below 1.
    for (int i = 0; i < 320; i++)
        SineTable[i] = std::sin((i * 0.00392156862745098) * 6.283185307179586);

    // Kept to 16 bits: only [256][256] overflows, and the blends never read it.
    for (int i = 0; i <= 256; i++) {
        for (int j = 0; j <= 256; j++)
            ProductTable[i][j] = static_cast<uint16_t>(i * j);
    }
}

#include <cmath>

#include <gtest/gtest.h>

#include "gfx/Tables.h"

// The rotation and the wave motions depend on the exact values: a full turn of 255 steps, and
// a cosine at step 0 just below 1, so that the fixed-point factor is 65534 rather than 65536.
TEST(Tables, SineTableTurnsOnceIn255Steps)
{
    BuildTables();
    EXPECT_EQ(SineTable[0], 0.0);
    EXPECT_NEAR(SineTable[1], 0.0246374, 1e-7);
    EXPECT_NEAR(SineTable[64], 0.99998102, 1e-8);
    EXPECT_EQ(static_cast<int>(SineTable[64] * 65536), 65534);
    EXPECT_NEAR(SineTable[128], -0.0123196, 1e-7);
    EXPECT_NEAR(SineTable[191], -0.99998102, 1e-8);
    EXPECT_NEAR(SineTable[255], 0.0, 1e-15);
    EXPECT_NEAR(SineTable[319], SineTable[64], 1e-15);
    for (double value : SineTable)
        EXPECT_LE(value, SineTable[64]);
}

TEST(Tables, ProductTableHoldsEveryProductOfBytesAndWeights)
{
    BuildTables();
    EXPECT_EQ(ProductTable[255][128], 32640);
    EXPECT_EQ(ProductTable[256][255], 65280);
    EXPECT_EQ(ProductTable[128][255], 32640);
    for (int j = 0; j <= 256; j++)
        EXPECT_EQ(ProductTable[0][j], 0);
    // Building again gives the same tables.
    double before = SineTable[77];
    BuildTables();
    EXPECT_EQ(SineTable[77], before);
    EXPECT_EQ(ProductTable[17][200], 3400);
}

// The rotated copy copies whole runs of each row without testing pixels; it must give the
// bytes of the loop that tests every pixel, at every angle, for pictures smaller and larger
// than the destination, and odd sizes.

#include <gtest/gtest.h>

#include "gfx/Draw.h"
#include "gfx/DrawReference.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "tests/gfx/GfxTestKit.h"

using namespace testfiles;

namespace {

TEST(BlitRotated, EveryAngleGivesTheReferenceLoopsBytes)
{
    BuildTables();
    struct Sizes {
        int srcW, srcH, dstW, dstH;
    };
    const Sizes table[] = {
        {320, 240, 320, 240},  // the title's logo on the title's frame
        {32, 32, 320, 240},  {33, 17, 40, 41},  {1, 1, 8, 8},     {2, 3, 5, 4},
        {200, 90, 64, 48},   {7, 300, 90, 30},
    };
    for (const Sizes& size : table) {
        Surface source(size.srcW, size.srcH), fast(size.dstW, size.dstH),
            expected(size.dstW, size.dstH);
        FillDistinct(source);
        for (int angle = -3; angle < 259; angle++) {
            FillDistinct(fast, 0x0BADF00D);
            FillDistinct(expected, 0x0BADF00D);
            BlitRotated(fast.pixels, fast.width, fast.height, source.pixels, size.srcW,
                        size.srcH, angle);
            BlitRotatedReference(expected.pixels, expected.width, expected.height,
                                 source.pixels, size.srcW, size.srcH, angle);
            ASSERT_EQ(PixelsOf(fast), PixelsOf(expected))
                << size.srcW << "x" << size.srcH << " into " << size.dstW << "x" << size.dstH
                << " at angle " << angle;
        }
    }
}

}  // namespace

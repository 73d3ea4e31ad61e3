#pragma once
// The pieces of a BMP file as the game reads and writes them: a 14-byte file header, the
// 40-byte info header, then the pixels.

#include <cstdint>

constexpr int kBmpFileHeaderSize = 14;
constexpr int kBmpInfoHeaderSize = 40;
// Where the loader expects the pixels: right behind the two headers.
constexpr int kBmpHeadersSize = kBmpFileHeaderSize + kBmpInfoHeaderSize;
// The writer puts the 4 zero bytes that follow a surface's header in front of the pixels.
constexpr int kBmpWrittenPixelOffset = kBmpHeadersSize + 4;
// The widest and tallest picture the loader accepts; far beyond any the game has.
constexpr int kBmpMaxSide = 16384;
// A damaged picture leaves a blank of the size its header gives only up to this many pixels
// (4 MB); a header that claims more is not trusted with the memory, and the blank is 1x1.
constexpr int64_t kBmpMaxBlankPixels = 1 << 20;

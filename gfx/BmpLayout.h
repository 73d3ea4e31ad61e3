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

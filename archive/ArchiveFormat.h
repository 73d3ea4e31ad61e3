#pragma once
// The layout of the archive's index file, shared by the reader and the packer.

#include <cstdint>

constexpr int kArchiveNameSize = 256;    // the name, NUL-terminated inside these bytes
constexpr int kArchiveRecordSize = 260;  // the name, then the entry's offset (u32, little-endian)

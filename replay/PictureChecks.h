#pragma once
// Pictures waiting to be compared with their recorded checksums. One picture's checksum is a
// chain of dependent multiplications, so the processor works out several side by side in the
// time of one: verifying keeps a few pictures and checks them together, and a difference found
// that way still counts from its own frame.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace journal {

class PictureChecks {
public:
    static constexpr size_t kBatch = 4;

    // Keeps a copy of the picture of frame, to be compared with the low 32 bits recorded.
    void Add(uint32_t frame, uint32_t recorded, const uint32_t* pixels, size_t count);
    bool Full() const { return waiting == kBatch; }
    // Compares every waiting picture and forgets them: the earliest frame whose picture differs
    // from its recorded checksum, or 0 when all are as recorded.
    uint32_t FirstDiffering();
    void Clear() { waiting = 0; }

private:
    struct Waiting {
        uint32_t frame = 0;
        uint32_t recorded = 0;
        std::vector<uint32_t> pixels;
    };
    Waiting pictures[kBatch];
    size_t waiting = 0;
};

}  // namespace journal

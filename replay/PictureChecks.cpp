#include "replay/PictureChecks.h"

#include "replay/JournalCodec.h"

namespace journal {

void PictureChecks::Add(uint32_t frame, uint32_t recorded, const uint32_t* pixels, size_t count)
{
    Waiting& picture = pictures[waiting++];
    picture.frame = frame;
    picture.recorded = recorded;
    picture.pixels.assign(pixels, pixels + count);
}

uint32_t PictureChecks::FirstDiffering()
{
    const uint32_t* inputs[kBatch];
    uint64_t checksums[kBatch];
    const size_t count = waiting ? pictures[0].pixels.size() : 0;
    bool sameSize = true;
    for (size_t i = 0; i < waiting; i++) {
        inputs[i] = pictures[i].pixels.data();
        sameSize = sameSize && pictures[i].pixels.size() == count;
    }
    if (sameSize) {
        PictureChecksums({inputs, waiting}, count, checksums);
    } else {
        for (size_t i = 0; i < waiting; i++)
            checksums[i] = PictureChecksum(inputs[i], pictures[i].pixels.size());
    }
    const size_t compared = waiting;
    waiting = 0;
    for (size_t i = 0; i < compared; i++) {
        if (static_cast<uint32_t>(checksums[i]) != pictures[i].recorded)
            return pictures[i].frame;
    }
    return 0;
}

}  // namespace journal

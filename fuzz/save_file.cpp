// Arbitrary save file bytes: loading, inserting scores into whichever table the mode field
// names, and loading what saving would write must neither crash nor lose anything.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/SaveRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    SaveRecord record;
    record.Load({input, size});
    for (int32_t score : {0, 1, -1, 0x7FFFFFFF, -2147483647 - 1, 5000})
        record.CurrentTable().Insert(score);
    for (int i = 1; i < 10; ++i) {
        const int32_t* scores = record.CurrentTable().scores;
        if (scores[i] > scores[i + 1])
            std::abort();  // the kept ten must be in order
    }

    // Save writes the record exactly as it lies in memory: those bytes must load back the same.
    SaveRecord reloaded;
    reloaded.Load({reinterpret_cast<const uint8_t*>(&record), sizeof record});
    if (std::memcmp(&reloaded, &record, sizeof record) != 0)
        std::abort();
    return 0;
}

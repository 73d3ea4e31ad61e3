// Arbitrary save file bytes: loading, inserting scores into whichever table the mode field
// names, saving and loading again must neither crash nor lose what was saved.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/SaveRecord.h"
#include "fuzz/ScratchFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    static const ScratchFolder folder;
    const std::string path = folder.Write("korimo.sav", input, size);

    SaveRecord record;
    record.Load(path.c_str());
    for (int32_t score : {0, 1, -1, 0x7FFFFFFF, -2147483647 - 1, 5000})
        record.CurrentTable().Insert(score);
    for (int i = 1; i < 10; ++i) {
        const int32_t* scores = record.CurrentTable().scores;
        if (scores[i] > scores[i + 1]) std::abort();  // the kept ten must be in order
    }

    if (!record.Save(path.c_str())) std::abort();
    SaveRecord reloaded;
    reloaded.Load(path.c_str());
    if (std::memcmp(&reloaded, &record, sizeof record) != 0) std::abort();
    return 0;
}

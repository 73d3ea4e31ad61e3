// Arbitrary save file bytes: loading, inserting scores into whichever table the mode field
// names, saving and loading again must neither crash nor lose what was saved.

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "app/SaveRecord.h"

namespace {

const std::string& FolderPath()
{
    static const std::string folder = [] {
        char path[] = "/tmp/korimo-fuzz-save-XXXXXX";
        if (!mkdtemp(path)) std::abort();
        return std::string(path);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    const std::string path = FolderPath() + "/korimo.sav";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0) std::fwrite(input, 1, size, file);
    std::fclose(file);

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

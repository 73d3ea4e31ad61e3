// Arbitrary save file bytes: loading, inserting scores into whichever table the mode field
// names, saving and loading again must neither crash nor lose what was saved.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/SaveRecord.h"

namespace {

// A folder of its own for the save file, removed again when the fuzzer exits.
struct TemporaryFolder {
    TemporaryFolder()
    {
        char pattern[] = "/tmp/korimo-fuzz-save-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        path = pattern;
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    static const TemporaryFolder folder;
    static const std::string path = folder.path + "/korimo.sav";
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

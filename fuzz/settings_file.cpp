// Arbitrary settings file text: reading must neither crash nor read out of bounds, keep every
// value within its range and every key with one action, and what it gives must write out and
// read back whole and the same.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/Settings.h"

namespace {

bool InRange(const Settings& s)
{
    for (int level : {s.volume, s.musicVolume, s.effectsVolume}) {
        if (level < 0 || level > kVolumeSteps)
            return false;
    }
    if (s.windowScale < 1)
        return false;
    for (int a = 0; a < kActionCount; a++) {
        for (int vk : s.keys.keys[a]) {
            if (vk != 0 && s.keys.ActionOf(vk) != static_cast<Action>(a))
                return false;  // a key with two actions
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(input), size);
    Settings read;
    std::vector<std::string> problems;
    ReadSettings(text, read, problems);
    if (!InRange(read))
        std::abort();

    Settings again;
    problems.clear();
    if (!ReadSettings(WriteSettings(read), again, problems) || !(again == read))
        std::abort();
    return 0;
}

#include "server/ScratchVerify.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace board {

namespace {

// A folder only this process can enter, made by mkdtemp and removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/korimo-board-XXXXXX";
        if (mkdtemp(pattern.data()))
            path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path;  // empty when none could be made
};

}  // namespace

Verdict VerifyInScratch(const std::string& game, std::string_view replay,
                        const VerifierLimits& limits)
{
    ScratchFolder scratch;
    if (scratch.path.empty())
        return {.reason = "the board could not make room to verify it"};
    const std::string file = scratch.path + "/upload.krp";
    {
        std::ofstream out(file, std::ios::binary);
        out.write(replay.data(), static_cast<std::streamsize>(replay.size()));
        if (!out.flush())
            return {.reason = "the board could not make room to verify it"};
    }
    return RunVerifier(game, file, scratch.path, limits);
}

}  // namespace board

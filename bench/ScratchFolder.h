#pragma once
// A benchmark's own folder for whatever the game writes as it runs (the save file, replays,
// best-run pictures, settings): a fresh temporary folder, the current folder while the object
// lives, then removed with all it holds. The game writes into the current folder unless told
// otherwise, so a benchmark started anywhere leaves every other folder, the build's run folder
// among them, as it found it.

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class ScratchFolder {
public:
    ScratchFolder() : started(std::filesystem::current_path())
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korimo-bench.XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror(pattern.c_str());
            std::exit(1);
        }
        folder = pattern;
        std::filesystem::current_path(folder);
    }

    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(started, ignored);
        std::filesystem::remove_all(folder, ignored);
    }

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path started;
    std::filesystem::path folder;
};

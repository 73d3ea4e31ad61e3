#pragma once
// A folder of the fuzzer's own for the files a target hands to a reader, rewritten with each
// input and removed, with the folder, when the fuzzer exits. Any failure to write is the
// machine's, not the reader's: it aborts.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korimo-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }

    // Replaces the named file with the bytes; returns its path.
    std::string Write(const char* name, const void* bytes, size_t size) const
    {
        const std::string file = (path / name).string();
        FILE* out = std::fopen(file.c_str(), "wb");
        if (!out || (size && std::fwrite(bytes, size, 1, out) != 1) || std::fclose(out) != 0)
            std::abort();
        return file;
    }

    std::filesystem::path path;
};

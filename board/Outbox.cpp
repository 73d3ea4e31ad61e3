#include "board/Outbox.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

Outbox::Outbox(std::string folder) : folder(std::move(folder))
{
}

std::string Outbox::Add(const std::vector<uint8_t>& replay)
{
    std::error_code error;
    fs::create_directories(folder, error);
    std::vector<std::string> waiting = Waiting();
    for (size_t i = 0; i + kMostFiles <= waiting.size(); i++)
        Remove(waiting[i]);
    // Named by the time, so that the names sort oldest first.
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    char name[64];
    std::snprintf(name, sizeof name, "%015lld-%04u.krp", static_cast<long long>(now),
                  added++ % 10000);
    const fs::path path = fs::path(folder) / name;
    const fs::path temporary = fs::path(folder) / (std::string(name) + ".part");
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    bool written = file && std::fwrite(replay.data(), 1, replay.size(), file) == replay.size();
    written = file && std::fclose(file) == 0 && written;
    if (written)
        fs::rename(temporary, path, error);
    if (!written || error) {
        fs::remove(temporary, error);
        std::fprintf(stderr, "korimo: cannot keep the run for the board in %s\n", folder.c_str());
        return "";
    }
    return path.string();
}

std::vector<std::string> Outbox::Waiting() const
{
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".krp" && it->is_regular_file(error))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool Outbox::Read(const std::string& path, std::vector<uint8_t>& replay)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    replay.resize(kLargestFile + 1);
    const size_t read = std::fread(replay.data(), 1, replay.size(), file);
    std::fclose(file);
    replay.resize(read);
    return read > 0 && read <= kLargestFile;
}

void Outbox::Remove(const std::string& path)
{
    std::error_code error;
    fs::remove(path, error);
}

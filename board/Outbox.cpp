#include "board/Outbox.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "board/Utf8Path.h"

namespace fs = std::filesystem;

Outbox::Outbox(std::string folder) : folder(std::move(folder))
{
}

std::string Outbox::Add(const std::vector<uint8_t>& replay)
{
    std::error_code error;
    fs::create_directories(Utf8Path(folder), error);
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
    const fs::path path = Utf8Path(folder) / name;
    const fs::path temporary = Utf8Path(folder) / (std::string(name) + ".part");
    std::ofstream file(temporary, std::ios::binary);
    file.write(reinterpret_cast<const char*>(replay.data()),
               static_cast<std::streamsize>(replay.size()));
    file.close();
    const bool written = !file.fail();
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
    for (fs::directory_iterator it(Utf8Path(folder), error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".krp" && it->is_regular_file(error))
            files.push_back(Utf8Of(it->path()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool Outbox::Read(const std::string& path, std::vector<uint8_t>& replay)
{
    std::ifstream file(Utf8Path(path), std::ios::binary);
    if (!file)
        return false;
    replay.resize(kLargestFile + 1);
    file.read(reinterpret_cast<char*>(replay.data()), static_cast<std::streamsize>(replay.size()));
    const size_t read = static_cast<size_t>(file.gcount());
    replay.resize(read);
    return read > 0 && read <= kLargestFile;
}

void Outbox::Remove(const std::string& path)
{
    std::error_code error;
    fs::remove(Utf8Path(path), error);
}

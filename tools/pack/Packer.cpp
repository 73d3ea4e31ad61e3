#include "tools/pack/Packer.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"

namespace fs = std::filesystem;

namespace {

struct Source {
    std::string name;
    fs::path path;
};

// The two halves of an archive are written beside their final names and renamed into place
// only when both are complete; until then, dropping this removes whatever was written.
class PartialPair {
public:
    explicit PartialPair(const std::string& base)
        : indexPath(base + ".set"), dataPath(base + ".dat"), indexPartial(indexPath + ".partial"),
          dataPartial(dataPath + ".partial")
    {
    }
    ~PartialPair()
    {
        if (committed)
            return;
        std::error_code ignored;
        fs::remove(indexPartial, ignored);
        fs::remove(dataPartial, ignored);
    }

    bool Commit(std::string& error)
    {
        std::error_code failed;
        fs::rename(dataPartial, dataPath, failed);
        if (!failed)
            fs::rename(indexPartial, indexPath, failed);
        if (failed) {
            error = base() + ": cannot put the archive in place: " + failed.message();
            return false;
        }
        committed = true;
        return true;
    }

    std::string base() const { return indexPath.substr(0, indexPath.size() - 4); }

    const std::string indexPath, dataPath, indexPartial, dataPartial;

private:
    bool committed = false;
};

bool CollectSources(const std::vector<std::string>& folders, std::vector<Source>& sources,
                    std::string& error)
{
    for (const std::string& folder : folders) {
        std::error_code failed;
        fs::directory_iterator entry(folder, failed);
        for (; !failed && entry != fs::directory_iterator(); entry.increment(failed)) {
            std::error_code unreadable;
            if (!entry->is_regular_file(unreadable))
                continue;
            sources.push_back({entry->path().filename().string(), entry->path()});
        }
        if (failed) {
            error = folder + ": " + failed.message();
            return false;
        }
    }
    if (sources.empty()) {
        error = "no files to pack";
        return false;
    }
    std::sort(sources.begin(), sources.end(),
              [](const Source& a, const Source& b) { return a.name < b.name; });
    for (size_t i = 0; i < sources.size(); ++i) {
        if (sources[i].name.size() >= kArchiveNameSize) {
            error = sources[i].path.string() + ": the name is longer than the index holds (" +
                    std::to_string(kArchiveNameSize - 1) + " bytes at most)";
            return false;
        }
        if (i > 0 && sources[i].name == sources[i - 1].name) {
            error = "'" + sources[i].name + "' is in two folders: " + sources[i - 1].path.string() +
                    " and " + sources[i].path.string();
            return false;
        }
    }
    return true;
}

// Copies the whole file to the end of out; copied receives its size.
bool AppendFile(const fs::path& path, std::FILE* out, uint64_t& copied, std::string& error)
{
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    copied = 0;
    unsigned char chunk[1 << 16];
    size_t got;
    bool written = true;
    while (written && (got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        written = std::fwrite(chunk, 1, got, out) == got;
        copied += got;
    }
    bool unreadable = std::ferror(in);
    std::fclose(in);
    if (unreadable)
        error = path.string() + ": read failed";
    else if (!written)
        error = "cannot write the archive's data: " + std::string(std::strerror(errno));
    return !unreadable && written;
}

void PutRecord(unsigned char* record, const std::string& name, uint32_t offset)
{
    std::memcpy(record, name.data(), name.size());  // the rest of the 256 bytes stays zero
    unsigned char* at = record + kArchiveNameSize;
    at[0] = offset & 0xFF;
    at[1] = offset >> 8 & 0xFF;
    at[2] = offset >> 16 & 0xFF;
    at[3] = offset >> 24;
}

bool WriteData(const std::vector<Source>& sources, const std::string& path,
               std::vector<unsigned char>& index, std::string& error)
{
    std::FILE* data = std::fopen(path.c_str(), "wb");
    if (!data) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    uint64_t offset = 0;
    bool sound = true;
    for (size_t i = 0; sound && i < sources.size(); ++i) {
        PutRecord(&index[i * kArchiveRecordSize], sources[i].name, static_cast<uint32_t>(offset));
        uint64_t size = 0;
        sound = AppendFile(sources[i].path, data, size, error);
        offset += size;
        if (sound && offset > UINT32_MAX) {
            error = "the files add up to more than 4 GiB, beyond 32-bit offsets";
            sound = false;
        }
    }
    if (std::fclose(data) != 0 && sound) {
        error = path + ": " + std::strerror(errno);
        sound = false;
    }
    return sound;
}

bool WriteIndex(const std::vector<unsigned char>& index, const std::string& path,
                std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool sound = file && std::fwrite(index.data(), 1, index.size(), file) == index.size();
    if (file && std::fclose(file) != 0)
        sound = false;
    if (!sound)
        error = path + ": " + std::strerror(errno);
    return sound;
}

bool OpenArchive(const std::string& base, const ResourceArchive& archive, std::string& error)
{
    if (base.size() + 4 >= sizeof archive.indexPath) {
        error = base + ": the path is too long";
        return false;
    }
    error = archive.error();
    return error.empty();
}

uint32_t OffsetOfRecord(const unsigned char* record)
{
    const unsigned char* at = record + kArchiveNameSize;
    return at[0] | at[1] << 8 | at[2] << 16 | uint32_t{at[3]} << 24;
}

// A name from someone else's archive must not lead outside the folder it is unpacked into.
bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool ExtractOpenEntry(ResourceArchive& archive, const std::string& folder, std::string& error)
{
    std::string name = reinterpret_cast<const char*>(archive.record);
    if (!IsPlainFileName(name)) {
        error = std::string(archive.indexPath) + ": '" + name + "' is not a plain file name";
        return false;
    }
    std::vector<unsigned char> bytes(archive.entrySize);
    archive.Read(bytes.data(), archive.entrySize);
    archive.Close();
    // Written in place: a temporary name beside it could outgrow the longest file name that an
    // entry's name may already use.
    std::string path = (fs::path(folder) / name).string();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    // An empty entry has no buffer, and fwrite may not be handed a null one even for 0 bytes.
    bool written =
        out && (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
    if (out && std::fclose(out) != 0)
        written = false;
    if (!written)
        error = path + ": " + std::strerror(errno);
    return written;
}

}  // namespace

bool PackFolders(const std::vector<std::string>& folders, const std::string& base,
                 std::string& error)
{
    std::vector<Source> sources;
    if (!CollectSources(folders, sources, error))
        return false;
    PartialPair pair(base);
    std::vector<unsigned char> index(sources.size() * kArchiveRecordSize, 0);
    return WriteData(sources, pair.dataPartial, index, error) &&
           WriteIndex(index, pair.indexPartial, error) && pair.Commit(error);
}

bool ListArchive(const std::string& base, std::FILE* out, std::string& error)
{
    ResourceArchive archive(base.c_str());
    if (!OpenArchive(base, archive, error))
        return false;
    for (uint32_t i = 0; i < archive.EntryCount(); ++i) {
        archive.OpenEntry(i);
        std::fprintf(out, "%-32s %10u %10u\n", reinterpret_cast<const char*>(archive.record),
                     OffsetOfRecord(archive.record), archive.entrySize);
        archive.Close();
    }
    return true;
}

bool ExtractArchive(const std::string& base, const std::string& folder, const std::string& name,
                    std::string& error)
{
    ResourceArchive archive(base.c_str());
    if (!OpenArchive(base, archive, error))
        return false;
    std::error_code failed;
    fs::create_directories(folder, failed);
    if (failed) {
        error = folder + ": " + failed.message();
        return false;
    }
    if (!name.empty()) {
        if (!archive.Open(name.c_str())) {
            error = std::string(archive.indexPath) + ": no entry named '" + name + "'";
            return false;
        }
        return ExtractOpenEntry(archive, folder, error);
    }
    for (uint32_t i = 0; i < archive.EntryCount(); ++i) {
        archive.OpenEntry(i);
        if (!ExtractOpenEntry(archive, folder, error))
            return false;
    }
    return true;
}

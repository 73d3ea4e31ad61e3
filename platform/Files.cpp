#include "platform/Files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

std::string Describe(const std::string& path, int error)
{
    return path + ": " + std::strerror(error);
}

// The folder that holds path, for syncing the rename that replaced a file in it.
std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const unsigned char* bytes, size_t size)
{
    while (size > 0) {
        ssize_t written = write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

MappedFile::MappedFile(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        failure = Describe(path, errno);
        return;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        failure = Describe(path, errno);
    } else if (!S_ISREG(info.st_mode)) {
        failure = path + ": not a regular file";
    } else if (info.st_size == 0) {
        // mmap refuses a zero length; an empty file is simply an empty mapping.
        opened = true;
    } else {
        void* view =
            mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (view == MAP_FAILED) {
            failure = Describe(path, errno);
        } else {
            start = static_cast<const unsigned char*>(view);
            length = static_cast<size_t>(info.st_size);
            opened = true;
        }
    }
    close(fd);  // the mapping keeps the file's pages reachable on its own
}

MappedFile::~MappedFile()
{
    if (start)
        munmap(const_cast<unsigned char*>(start), length);
}

bool CreateNewFile(const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

bool ReplaceFile(const std::string& path, const void* data, size_t size, Durability durability)
{
    const bool durable = durability == Durability::Durable;
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return false;

    bool written = fchmod(fd, 0644) == 0 &&
                   WriteAll(fd, static_cast<const unsigned char*>(data), size) &&
                   (!durable || fsync(fd) == 0);
    written = close(fd) == 0 && written;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }

    // Make the rename itself durable; the new contents are complete either way.
    if (!durable)
        return true;
    int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

std::string WindowsAppDataFolder()
{
    return {};
}

std::string ExecutableFolder()
{
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    return FolderOf(std::string(path, static_cast<size_t>(length)));
}

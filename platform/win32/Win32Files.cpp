// The file services on Windows' own calls. Paths are UTF-8 here and wide strings to Windows, so
// a player's folder with any name works.

// clang-format off
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "WideText.h"

// platform/Files.h names Windows' ReplaceFile macro's function: this file implements the
// game's own, which must not be renamed to ReplaceFileW.
#undef ReplaceFile
#include "platform/Files.h"

namespace {

// "path: reason" on one line. The commonest reasons read as the C library words them, so a
// player (and a test) sees the same line on every system; the rest in Windows' own words.
std::string Describe(const std::string& path, DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return path + ": " + std::strerror(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return path + ": " + std::strerror(EACCES);
    default: break;
    }
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason =
        length ? Utf8(std::wstring(text, length)) : "error " + std::to_string(error);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return path + ": " + reason;
}

struct Handle {
    HANDLE value;
    explicit Handle(HANDLE handle) : value(handle) {}
    ~Handle()
    {
        if (value && value != INVALID_HANDLE_VALUE)
            CloseHandle(value);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return value && value != INVALID_HANDLE_VALUE; }
};

}  // namespace

MappedFile::MappedFile(const std::string& path)
{
    Handle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        failure = Describe(path, GetLastError());
        return;
    }
    BY_HANDLE_FILE_INFORMATION info;
    LARGE_INTEGER size;
    if (!GetFileInformationByHandle(file.value, &info) || !GetFileSizeEx(file.value, &size)) {
        failure = Describe(path, GetLastError());
        return;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        failure = path + ": not a regular file";
        return;
    }
    if (size.QuadPart == 0) {
        // A mapping of nothing cannot be made; an empty file is simply an empty mapping.
        opened = true;
        return;
    }
    Handle mapping(CreateFileMappingW(file.value, nullptr, PAGE_READONLY, 0, 0, nullptr));
    void* view = mapping.ok() ? MapViewOfFile(mapping.value, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (!view) {
        failure = Describe(path, GetLastError());
        return;
    }
    // The view keeps the file's pages reachable after both handles are closed.
    start = static_cast<const unsigned char*>(view);
    length = static_cast<size_t>(size.QuadPart);
    opened = true;
}

MappedFile::~MappedFile()
{
    if (start)
        UnmapViewOfFile(start);
}

bool CreateNewFile(const std::string& path)
{
    Handle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.ok();
}

bool ReplaceFile(const std::string& path, const void* data, size_t size, Durability durability)
{
    const std::wstring target = Wide(path);
    // One temporary name per process and call is enough: the folder is the player's own.
    static LONG counter = 0;
    const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(InterlockedIncrement(&counter)) + L".tmp";
    bool written = false;
    {
        Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.ok())
            return false;
        written = true;
        const auto* bytes = static_cast<const unsigned char*>(data);
        while (written && size > 0) {
            const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
            DWORD done = 0;
            written = WriteFile(file.value, bytes, chunk, &done, nullptr) && done > 0;
            bytes += done;
            size -= done;
        }
        if (written && durability == Durability::Durable)
            written = FlushFileBuffers(file.value);
    }
    // MOVEFILE_WRITE_THROUGH returns only once the rename is on the disk.
    const DWORD flags = MOVEFILE_REPLACE_EXISTING |
                        (durability == Durability::Durable ? MOVEFILE_WRITE_THROUGH : 0);
    if (!written || !MoveFileExW(temporary.c_str(), target.c_str(), flags)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

std::string ExecutableFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::string() : Utf8(path.substr(0, separator));
}

std::string WindowsAppDataFolder()
{
    wchar_t* path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &path) == S_OK)
        folder = Utf8(path);
    CoTaskMemFree(path);
    return folder;
}

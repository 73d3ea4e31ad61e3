#include "board/SystemSecrets.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include "board/Utf8Path.h"

bool SystemRandomBytes(unsigned char* bytes, size_t count)
{
    return BCryptGenRandom(nullptr, bytes, static_cast<ULONG>(count),
                           BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

bool CreatePrivateFile(const std::string& path, const std::string& text)
{
    const std::filesystem::path name = Utf8Path(path);
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    if (!CloseHandle(file) || !whole) {
        DeleteFileW(name.c_str());
        return false;
    }
    return true;
}

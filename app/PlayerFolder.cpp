#include "app/PlayerFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "archive/GameArchive.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

PlayerFolder playerFolder;

std::string DefaultPlayerFolder(const char* xdgDataHome, const char* home)
{
    // A relative XDG_DATA_HOME is invalid by the XDG rules and is ignored like an empty one.
    if (xdgDataHome && xdgDataHome[0] == '/')
        return (fs::path(xdgDataHome) / kGameFolderName).string();
    if (home && home[0])
        return (fs::path(home) / ".local" / "share" / kGameFolderName).string();
    return {};
}

namespace {

// Writes and removes a probe file: the only sure test, as permissions say nothing of a
// read-only mount and everything is permitted to root.
bool CanWriteIn(const std::string& folder)
{
    const std::string probe = (folder.empty() ? std::string(".") : folder) + "/.write-test";
    const char byte = 0;
    if (!ReplaceFile(probe, &byte, 1))
        return false;
    std::remove(probe.c_str());
    return true;
}

}  // namespace

void PlayerFolder::Settle(const char* chosen)
{
    byDefault = !chosen;
    const std::string appData = WindowsAppDataFolder();
    if (chosen)
        folder = chosen;
    else if (!appData.empty())
        folder = (fs::path(appData) / kWindowsGameFolderName).string();
    else
        folder = DefaultPlayerFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (folder.empty())
        std::fprintf(stderr, "korimo: neither XDG_DATA_HOME nor HOME is set; the scores and "
                             "pictures are kept in the current folder\n");

    std::error_code failed;
    if (!folder.empty())
        fs::create_directories(folder, failed);
    canWrite = !failed && CanWriteIn(folder);
    if (!canWrite)
        std::fprintf(stderr,
                     "korimo: cannot write in %s; this session's scores are kept in "
                     "memory only\n",
                     folder.empty() ? "the current folder" : folder.c_str());
}

std::string PlayerFolder::PathOf(const char* name) const
{
    // Normal form, so that "--data-dir ." names the files as plainly as the current folder.
    return (fs::path(folder) / name).lexically_normal().string();
}

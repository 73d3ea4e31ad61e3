#include "archive/GameArchive.h"

#include <filesystem>
#include <system_error>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

bool HoldsEitherFile(const fs::path& base)
{
    std::error_code ignored;
    return fs::exists(base.string() + ".set", ignored) ||
           fs::exists(base.string() + ".dat", ignored);
}

}  // namespace

GameArchiveLocation LocateGameArchive()
{
    std::string places;
    const std::string programFolder = ExecutableFolder();
    if (!programFolder.empty()) {
        const fs::path beside = fs::path(programFolder) / "korimo";
        if (HoldsEitherFile(beside))
            return {beside.string(), {}};
        const fs::path installed =
            (fs::path(programFolder) / ".." / "share" / kGameFolderName).lexically_normal();
        if (HoldsEitherFile(installed / "korimo"))
            return {(installed / "korimo").string(), {}};
        places = programFolder + ", " + installed.string() + ", ";
    }
    if (HoldsEitherFile("korimo"))
        return {"korimo", {}};

    std::error_code failed;
    const fs::path current = fs::current_path(failed);
    places +=
        failed ? std::string("the current folder") : current.string() + " (the current folder)";
    return {"korimo", "no korimo.set / korimo.dat in any of " + places};
}

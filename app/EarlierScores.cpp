#include "app/EarlierScores.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "app/PlayerFolder.h"
#include "app/SaveRecord.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

void CopyEarlierScores(const PlayerFolder& folder)
{
    if (!folder.isDefault() || !folder.writable())
        return;
    const std::string target = folder.PathOf(kSaveFileName);
    std::error_code ignored;
    if (fs::exists(target, ignored))
        return;

    const std::string programFolder = ExecutableFolder();
    for (const fs::path& earlier :
         {fs::path(programFolder) / kSaveFileName, fs::path(kSaveFileName)}) {
        if (programFolder.empty() && earlier.has_parent_path())
            continue;
        if (!fs::is_regular_file(earlier, ignored))
            continue;

        std::ifstream file(earlier, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
        const std::string from = fs::absolute(earlier, ignored).string();
        if (file.bad() || !ReplaceFile(target, bytes.data(), bytes.size()))
            std::fprintf(stderr,
                         "korimo: could not copy the scores of %s to %s; %s is left "
                         "untouched\n",
                         from.c_str(), target.c_str(), from.c_str());
        else
            std::fprintf(stderr, "korimo: copied the scores of %s to %s (the old file stays)\n",
                         from.c_str(), target.c_str());
        return;
    }
}

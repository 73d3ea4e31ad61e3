#include "app/ReplayList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/PlayerFolder.h"

namespace {

namespace fs = std::filesystem;

// The game's own files first, the one-minute game's before the five-minute one's.
std::vector<std::string> KeptNames()
{
    return {BestReplayName(0), LastReplayName(0), BestReplayName(1), LastReplayName(1)};
}

// Every other replay file's name, sorted; folders (the board's outbox) are left out.
std::vector<std::string> DroppedNames(const fs::path& folder)
{
    const std::vector<std::string> kept = KeptNames();
    std::vector<std::string> names;
    std::error_code failed;
    for (fs::directory_iterator it(folder, failed), end; !failed && it != end;
         it.increment(failed)) {
        const fs::path& path = it->path();
        if (path.extension() != ".krp" || !it->is_regular_file(failed))
            continue;
        std::string name = path.filename().string();
        if (std::find(kept.begin(), kept.end(), name) == kept.end())
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

ReplayEntry Read(const fs::path& folder, const std::string& name)
{
    ReplayEntry entry;
    entry.name = name;
    entry.path = (folder / name).string();
    journal::Recording recording;
    entry.check = CheckReplayFile(entry.path, recording, entry.fault);
    if (entry.check == ReplayCheck::Playable) {
        entry.fault.clear();
        entry.gameLength = recording.header.setup.gameLength;
        entry.score = recording.header.finalScore;
        entry.date = recording.header.date;
    }
    return entry;
}

}  // namespace

ReplayList ListReplays(const PlayerFolder& folder, size_t most)
{
    const fs::path replays = fs::path(folder.PathOf(kReplayFolder));
    std::vector<std::string> names;
    std::error_code failed;
    for (const std::string& name : KeptNames()) {
        if (fs::is_regular_file(replays / name, failed))
            names.push_back(name);
    }
    const std::vector<std::string> dropped = DroppedNames(replays);
    names.insert(names.end(), dropped.begin(), dropped.end());

    ReplayList list;
    list.cut = names.size() > most;
    names.resize(std::min(names.size(), most));
    for (const std::string& name : names)
        list.entries.push_back(Read(replays, name));
    return list;
}

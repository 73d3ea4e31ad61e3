#pragma once
// The replays a player can choose to watch: the best and the last run of each length, then any
// other replay file put in the replays/ folder, in the order of their names. Each comes with
// what its header says (length, score, date) or, when it cannot be played here, why not.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Replays.h"

class PlayerFolder;

struct ReplayEntry {
    std::string name;  // the file's name inside replays/
    std::string path;
    ReplayCheck check = ReplayCheck::Playable;
    std::string fault;  // empty when playable, else the whole reason in one line
    uint32_t gameLength = 0;
    int32_t score = 0;
    uint64_t date = 0;  // seconds since 1970, UTC; 0 when the run was never stamped
};

struct ReplayList {
    std::vector<ReplayEntry> entries;
    // More replay files lay in the folder than were read.
    bool cut = false;
};

// A folder of thousands of files must not hold up the screen: only the first `most` are read.
constexpr size_t kMostReplaysListed = 200;

ReplayList ListReplays(const PlayerFolder& folder, size_t most = kMostReplaysListed);

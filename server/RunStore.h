#pragma once
// The board's runs and the names that own them, over either database. The schema is made and
// upgraded when the store opens, from the version it records.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/Sql.h"

namespace board {

// What the verifier said about a run, and what came with it.
struct NewRun {
    std::string name;
    std::string keyHash;  // the SHA-256 of the player key, never the key
    int length = 1;       // minutes: 1 or 5
    int64_t score = 0;
    int64_t frames = 0;
    int64_t recorded = 0;  // seconds since 1970, from the recording
    int64_t received = 0;  // seconds since 1970, when it arrived
    std::string sha256;    // of the replay file
    std::string replay;    // the file as uploaded
};

struct StoredRun {
    int64_t id = 0;
    std::string name;
    int length = 1;
    int64_t score = 0;
    int64_t frames = 0;
    int64_t recorded = 0;
    int64_t received = 0;
};

struct RankedRun {
    int rank = 0;
    StoredRun run;
};

class RunStore {
public:
    explicit RunStore(std::unique_ptr<SqlDatabase> database);

    enum class Outcome { Stored, SameFile, NameTaken };
    struct Insertion {
        Outcome outcome = Outcome::Stored;
        int64_t id = 0;  // of the run stored, or of the same file already on the board
    };
    // Binds the name to the key if it is free and stores the run, in one committed
    // transaction; nothing is stored when the name is another key's or the file is there.
    Insertion Insert(const NewRun& run);

    // Before the verifier runs, to refuse early what Insert would refuse.
    std::optional<int64_t> FindFile(const std::string& sha256);
    bool NameTakenByOther(const std::string& name, const std::string& keyHash);

    // Each name once, with its best run (the earlier of two equal scores), best first.
    std::vector<RankedRun> Top(int length, int limit);
    // Where a run of this score stands among the other names' best runs.
    int RankOf(int length, const std::string& name, int64_t score);
    // How many names have a run of this length: the places a rank is out of.
    int RankedNames(int length);

    std::optional<StoredRun> Find(int64_t id);
    std::optional<std::string> ReplayFile(int64_t id);
    bool Remove(int64_t id);
    int64_t CountRuns();

private:
    void Upgrade();

    std::unique_ptr<SqlDatabase> database;
};

}  // namespace board

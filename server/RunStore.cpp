#include "server/RunStore.h"

namespace board {

namespace {

// Each version's statements, in order; a store at version N runs those after it. The two
// databases differ only in how a growing key and a byte string are spelt.
std::vector<std::vector<std::string>> Migrations(SqlDatabase::Dialect dialect)
{
    const bool sqlite = dialect == SqlDatabase::Dialect::Sqlite;
    const std::string id = sqlite ? "INTEGER PRIMARY KEY AUTOINCREMENT" : "BIGSERIAL PRIMARY KEY";
    const std::string blob = sqlite ? "BLOB" : "BYTEA";
    return {{
        "CREATE TABLE names (name TEXT PRIMARY KEY, key_sha256 TEXT NOT NULL)",
        "CREATE TABLE runs (id " + id +
            ", name TEXT NOT NULL REFERENCES names(name), "
            "length INTEGER NOT NULL, score BIGINT NOT NULL, frames BIGINT NOT NULL, "
            "recorded BIGINT NOT NULL, received BIGINT NOT NULL, "
            "sha256 TEXT NOT NULL UNIQUE, replay " +
            blob + " NOT NULL)",
        "CREATE INDEX runs_by_name ON runs (length, name, score DESC)",
        "CREATE INDEX runs_by_score ON runs (length, score DESC)",
    }};
}

constexpr const char* kRunColumns = "id, name, length, score, frames, recorded, received";

StoredRun ReadRun(const SqlRow& row, size_t at = 0)
{
    return {
        AsInteger(row[at]),     AsText(row[at + 1]),    static_cast<int>(AsInteger(row[at + 2])),
        AsInteger(row[at + 3]), AsInteger(row[at + 4]), AsInteger(row[at + 5]),
        AsInteger(row[at + 6])};
}

}  // namespace

RunStore::RunStore(std::unique_ptr<SqlDatabase> database) : database(std::move(database))
{
    Upgrade();
}

void RunStore::Upgrade()
{
    const auto migrations = Migrations(database->dialect());
    database->Transaction([&](SqlQuery& query) {
        // Two servers starting on one PostgreSQL database upgrade it one after the other;
        // SQLite's BEGIN IMMEDIATE already holds the whole file.
        if (database->dialect() == SqlDatabase::Dialect::Postgres)
            query.Run("SELECT pg_advisory_xact_lock(80180001)");
        query.Run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        const auto rows = query.Run("SELECT version FROM schema_version");
        int64_t version = rows.empty() ? 0 : AsInteger(rows[0][0]);
        if (version > static_cast<int64_t>(migrations.size()))
            throw SqlError("the database is of a newer board (schema version " +
                           std::to_string(version) + ")");
        for (; version < static_cast<int64_t>(migrations.size()); ++version)
            for (const std::string& statement : migrations[version])
                query.Run(statement);
        query.Run("DELETE FROM schema_version");
        query.Run("INSERT INTO schema_version (version) VALUES (?)", {version});
    });
}

RunStore::Insertion RunStore::Insert(const NewRun& run)
{
    Insertion insertion;
    database->Transaction([&](SqlQuery& query) {
        query.Run("INSERT INTO names (name, key_sha256) VALUES (?, ?) ON CONFLICT DO NOTHING",
                  {run.name, run.keyHash});
        if (AsText(query.Run("SELECT key_sha256 FROM names WHERE name = ?", {run.name})[0][0]) !=
            run.keyHash) {
            insertion.outcome = Outcome::NameTaken;
            return;
        }
        const auto stored = query.Run(
            "INSERT INTO runs (name, length, score, frames, recorded, received, sha256, replay) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING RETURNING id",
            {run.name, int64_t{run.length}, run.score, run.frames, run.recorded, run.received,
             run.sha256, Bytes{run.replay}});
        if (!stored.empty()) {
            insertion.id = AsInteger(stored[0][0]);
            return;
        }
        insertion.outcome = Outcome::SameFile;
        insertion.id =
            AsInteger(query.Run("SELECT id FROM runs WHERE sha256 = ?", {run.sha256})[0][0]);
    });
    return insertion;
}

std::optional<int64_t> RunStore::FindFile(const std::string& sha256)
{
    std::optional<int64_t> id;
    database->Transaction([&](SqlQuery& query) {
        const auto rows = query.Run("SELECT id FROM runs WHERE sha256 = ?", {sha256});
        if (!rows.empty())
            id = AsInteger(rows[0][0]);
    });
    return id;
}

bool RunStore::NameTakenByOther(const std::string& name, const std::string& keyHash)
{
    bool taken = false;
    database->Transaction([&](SqlQuery& query) {
        const auto rows = query.Run("SELECT key_sha256 FROM names WHERE name = ?", {name});
        taken = !rows.empty() && AsText(rows[0][0]) != keyHash;
    });
    return taken;
}

std::vector<RankedRun> RunStore::Top(int length, int limit)
{
    std::vector<RankedRun> top;
    database->Transaction([&](SqlQuery& query) {
        const auto rows = query.Run(
            std::string("SELECT ") + kRunColumns +
                " FROM runs AS r WHERE length = ? AND id = "
                "(SELECT b.id FROM runs AS b WHERE b.length = r.length AND b.name = r.name "
                "ORDER BY b.score DESC, b.id ASC LIMIT 1) ORDER BY score DESC, id ASC LIMIT ?",
            {int64_t{length}, int64_t{limit}});
        for (const SqlRow& row : rows)
            top.push_back({static_cast<int>(top.size()) + 1, ReadRun(row)});
    });
    return top;
}

int RunStore::RankOf(int length, const std::string& name, int64_t score)
{
    int64_t ahead = 0;
    database->Transaction([&](SqlQuery& query) {
        ahead = AsInteger(query.Run("SELECT COUNT(DISTINCT name) FROM runs WHERE length = ? AND "
                                    "name <> ? AND score >= ?",
                                    {int64_t{length}, name, score})[0][0]);
    });
    return static_cast<int>(ahead) + 1;
}

int RunStore::RankedNames(int length)
{
    int64_t names = 0;
    database->Transaction([&](SqlQuery& query) {
        names = AsInteger(query.Run("SELECT COUNT(DISTINCT name) FROM runs WHERE length = ?",
                                    {int64_t{length}})[0][0]);
    });
    return static_cast<int>(names);
}

std::optional<StoredRun> RunStore::Find(int64_t id)
{
    std::optional<StoredRun> run;
    database->Transaction([&](SqlQuery& query) {
        const auto rows =
            query.Run(std::string("SELECT ") + kRunColumns + " FROM runs WHERE id = ?", {id});
        if (!rows.empty())
            run = ReadRun(rows[0]);
    });
    return run;
}

std::optional<std::string> RunStore::ReplayFile(int64_t id)
{
    std::optional<std::string> file;
    database->Transaction([&](SqlQuery& query) {
        const auto rows = query.Run("SELECT replay FROM runs WHERE id = ?", {id});
        if (!rows.empty())
            file = AsText(rows[0][0]);
    });
    return file;
}

bool RunStore::Remove(int64_t id)
{
    bool removed = false;
    database->Transaction([&](SqlQuery& query) {
        removed = !query.Run("DELETE FROM runs WHERE id = ? RETURNING id", {id}).empty();
    });
    return removed;
}

int64_t RunStore::CountRuns()
{
    int64_t count = 0;
    database->Transaction(
        [&](SqlQuery& query) { count = AsInteger(query.Run("SELECT COUNT(*) FROM runs")[0][0]); });
    return count;
}

}  // namespace board

// SQLite: one connection in WAL mode, shared by the server's threads one transaction at a time.
// Writes are durable once COMMIT returns (synchronous=FULL), so a run is on disk before its 201.
#include <sqlite3.h>

#include <mutex>

#include "server/SqlDatabases.h"

namespace board {

namespace {

class SqliteQuery : public SqlQuery {
public:
    explicit SqliteQuery(sqlite3* db) : db(db) {}

    std::vector<SqlRow> Run(const std::string& sql, const std::vector<SqlValue>& params) override
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement,
                               nullptr) != SQLITE_OK)
            throw SqlError(sqlite3_errmsg(db));
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owner(statement, sqlite3_finalize);
        for (size_t i = 0; i < params.size(); ++i)
            Bind(statement, static_cast<int>(i + 1), params[i]);
        std::vector<SqlRow> rows;
        for (;;) {
            const int step = sqlite3_step(statement);
            if (step == SQLITE_DONE)
                return rows;
            if (step != SQLITE_ROW)
                throw SqlError(sqlite3_errmsg(db));
            SqlRow& row = rows.emplace_back();
            for (int column = 0; column < sqlite3_column_count(statement); ++column)
                row.push_back(Column(statement, column));
        }
    }

private:
    static void Bind(sqlite3_stmt* statement, int index, const SqlValue& value)
    {
        if (auto* integer = std::get_if<int64_t>(&value))
            sqlite3_bind_int64(statement, index, *integer);
        else if (auto* text = std::get_if<std::string>(&value))
            sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT);
        else if (auto* bytes = std::get_if<Bytes>(&value))
            sqlite3_bind_blob(statement, index, bytes->data.data(),
                              static_cast<int>(bytes->data.size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(statement, index);
    }

    static SqlValue Column(sqlite3_stmt* statement, int column)
    {
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER: return sqlite3_column_int64(statement, column);
        case SQLITE_TEXT:
            return std::string(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                sqlite3_column_bytes(statement, column));
        case SQLITE_BLOB: {
            const char* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
            return Bytes{std::string(data, data + sqlite3_column_bytes(statement, column))};
        }
        default: return nullptr;
        }
    }

    sqlite3* db;
};

class SqliteDatabase : public SqlDatabase {
public:
    explicit SqliteDatabase(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                            nullptr) != SQLITE_OK) {
            std::string message = db ? sqlite3_errmsg(db) : "out of memory";
            sqlite3_close(db);
            throw SqlError(path + ": " + message);
        }
        sqlite3_busy_timeout(db, 5000);
        SqliteQuery query(db);
        query.Run("PRAGMA journal_mode=WAL", {});
        query.Run("PRAGMA synchronous=FULL", {});
    }
    ~SqliteDatabase() override { sqlite3_close(db); }

    Dialect dialect() const override { return Dialect::Sqlite; }

    void Transaction(const std::function<void(SqlQuery&)>& work) override
    {
        std::lock_guard lock(mutex);
        SqliteQuery query(db);
        query.Run("BEGIN IMMEDIATE", {});
        try {
            work(query);
            query.Run("COMMIT", {});
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

private:
    sqlite3* db = nullptr;
    std::mutex mutex;
};

}  // namespace

std::unique_ptr<SqlDatabase> OpenSqlite(const std::string& path)
{
    return std::make_unique<SqliteDatabase>(path);
}

}  // namespace board

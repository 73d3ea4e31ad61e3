#pragma once
// The few things the board asks of a database, the same over SQLite and PostgreSQL: statements
// with numbered parameters written "?", rows of integers, texts and byte strings, and
// transactions. Everything else (the schema, the queries) is written once, in RunStore.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace board {

struct Bytes {
    std::string data;
};
using SqlValue = std::variant<std::nullptr_t, int64_t, std::string, Bytes>;
using SqlRow = std::vector<SqlValue>;

// A database that failed or refused a statement; the message is the database's own.
struct SqlError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Statements inside one transaction.
class SqlQuery {
public:
    virtual ~SqlQuery() = default;
    virtual std::vector<SqlRow> Run(const std::string& sql,
                                    const std::vector<SqlValue>& params = {}) = 0;
};

class SqlDatabase {
public:
    enum class Dialect { Sqlite, Postgres };

    virtual ~SqlDatabase() = default;
    virtual Dialect dialect() const = 0;
    // Runs work in one transaction, committed when it returns and rolled back when it throws.
    // Transactions of one database object run one at a time.
    virtual void Transaction(const std::function<void(SqlQuery&)>& work) = 0;
};

// "sqlite:PATH" or "postgresql://..." (also "postgres://..."); throws SqlError when the
// database cannot be opened or the address is of neither kind.
std::unique_ptr<SqlDatabase> OpenSqlDatabase(const std::string& url);

// The value's integer or text, throwing SqlError when it is of another kind.
int64_t AsInteger(const SqlValue& value);
const std::string& AsText(const SqlValue& value);

}  // namespace board

// PostgreSQL through libpqxx: one connection per server, one transaction at a time. Several
// servers share the database; the unique keys settle races between them.
#include <pqxx/pqxx>

#include <mutex>

#include "server/SqlDatabases.h"

namespace board {

namespace {

constexpr pqxx::oid kBigint = 20, kInteger = 23, kBytea = 17;

// "?" placeholders as PostgreSQL's "$1", "$2" ... (the board's statements hold no "?" else).
std::string NumberPlaceholders(const std::string& sql)
{
    std::string out;
    int number = 0;
    for (char c : sql)
        c == '?' ? out += "$" + std::to_string(++number) : out += c;
    return out;
}

// Parameters are passed as text; a byte string in bytea's hexadecimal form.
std::string AsParameter(const SqlValue& value)
{
    if (auto* integer = std::get_if<int64_t>(&value))
        return std::to_string(*integer);
    if (auto* text = std::get_if<std::string>(&value))
        return *text;
    if (auto* bytes = std::get_if<Bytes>(&value)) {
        static constexpr char kHex[] = "0123456789abcdef";
        std::string hex = "\\x";
        for (unsigned char c : bytes->data) {
            hex += kHex[c >> 4];
            hex += kHex[c & 15];
        }
        return hex;
    }
    throw SqlError("a null parameter");
}

SqlValue ReadField(const pqxx::field& field, pqxx::oid type)
{
    if (field.is_null())
        return SqlValue(nullptr);
    if (type == kBigint || type == kInteger)
        return SqlValue(std::in_place_type<int64_t>, field.as<int64_t>());
    if (type == kBytea)
        return SqlValue(std::in_place_type<Bytes>, Bytes{pqxx::binarystring(field).str()});
    return SqlValue(std::in_place_type<std::string>, field.c_str(), field.size());
}

class PostgresQuery : public SqlQuery {
public:
    explicit PostgresQuery(pqxx::work& work) : work(work) {}

    std::vector<SqlRow> Run(const std::string& sql, const std::vector<SqlValue>& params) override
    {
        std::vector<std::string> texts;
        for (const SqlValue& param : params)
            texts.push_back(AsParameter(param));
        const pqxx::result result =
            work.exec_params(NumberPlaceholders(sql), pqxx::prepare::make_dynamic_params(texts));
        std::vector<SqlRow> rows;
        for (const pqxx::row& source : result) {
            SqlRow& row = rows.emplace_back();
            for (pqxx::row::size_type column = 0; column < source.size(); ++column)
                row.push_back(ReadField(source[column], result.column_type(column)));
        }
        return rows;
    }

private:
    pqxx::work& work;
};

class PostgresDatabase : public SqlDatabase {
public:
    explicit PostgresDatabase(const std::string& url)
    try : connection(url) {
    } catch (const std::exception& e) {
        throw SqlError(e.what());
    }

    Dialect dialect() const override { return Dialect::Postgres; }

    void Transaction(const std::function<void(SqlQuery&)>& work) override
    {
        std::lock_guard lock(mutex);
        try {
            pqxx::work transaction(connection);
            PostgresQuery query(transaction);
            work(query);
            transaction.commit();
        } catch (const pqxx::failure& e) {
            throw SqlError(e.what());
        }
    }

private:
    pqxx::connection connection;
    std::mutex mutex;
};

}  // namespace

std::unique_ptr<SqlDatabase> OpenPostgres(const std::string& url)
{
    return std::make_unique<PostgresDatabase>(url);
}

}  // namespace board

#include "server/Sql.h"

#include "server/SqlDatabases.h"

namespace board {

std::unique_ptr<SqlDatabase> OpenSqlDatabase(const std::string& url)
{
    if (url.starts_with("sqlite:"))
        return OpenSqlite(url.substr(7));
    if (url.starts_with("postgresql://") || url.starts_with("postgres://"))
        return OpenPostgres(url);
    throw SqlError("the database \"" + url + "\" is neither sqlite:PATH nor postgresql://...");
}

int64_t AsInteger(const SqlValue& value)
{
    if (auto* integer = std::get_if<int64_t>(&value))
        return *integer;
    throw SqlError("the database answered a number with something else");
}

const std::string& AsText(const SqlValue& value)
{
    if (auto* text = std::get_if<std::string>(&value))
        return *text;
    if (auto* bytes = std::get_if<Bytes>(&value))
        return bytes->data;
    throw SqlError("the database answered a text with something else");
}

}  // namespace board

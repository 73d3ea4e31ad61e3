#pragma once
// The two kinds of database behind SqlDatabase.

#include "server/Sql.h"

namespace board {

std::unique_ptr<SqlDatabase> OpenSqlite(const std::string& path);
// A libpq connection string or URL.
std::unique_ptr<SqlDatabase> OpenPostgres(const std::string& url);

}  // namespace board

#include "market/SqliteStatement.h"

#include <sqlite3.h>

#include <stdexcept>

namespace market {

namespace {

void check(sqlite3* db, int code)
{
    if (code != SQLITE_OK)
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db));
}

}

SqliteStatement::SqliteStatement(sqlite3* db, const std::string& sql) : db_(db)
{
    check(db_, sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement_, nullptr));
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(statement_);
}

SqliteStatement& SqliteStatement::bind(int index, int64_t value)
{
    check(db_, sqlite3_bind_int64(statement_, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const std::string& value)
{
    check(db_, sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()),
                                 SQLITE_TRANSIENT));
    return *this;
}

bool SqliteStatement::step()
{
    int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE)
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db_));
    return false;
}

void SqliteStatement::execute()
{
    while (step()) {
    }
    sqlite3_reset(statement_);
}

int64_t SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::text(int column) const
{
    const unsigned char* value = sqlite3_column_text(statement_, column);
    return value ? std::string(reinterpret_cast<const char*>(value),
                               static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                 : std::string();
}

}

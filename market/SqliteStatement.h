#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace market {

// One prepared SQLite statement; binds by position (1-based) and steps rows.
// Errors throw std::runtime_error with SQLite's message.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const std::string& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, int64_t value);
    SqliteStatement& bind(int index, const std::string& value);

    bool step();        // true while a row is available
    void execute();     // steps to the end and resets for the next use

    int64_t integer(int column) const;
    std::string text(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

}

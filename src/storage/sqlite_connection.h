#pragma once

#include "storage/database.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kerbina {

// The text the error messages give for an SQLite result code (5 "The database file is locked").
std::string sqliteCodeText(int code);

// An open connection to one database file, created when absent. Closing rolls back a
// transaction left open. Every failure raises DatabaseError.
class TSQLiteDatabase {
public:
    explicit TSQLiteDatabase(const std::filesystem::path& file);
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    // How long a statement waits for another connection's lock before it fails. While it waits
    // it looks again every millisecond: SQLite's own wait backs off to 100 ms between looks, and a
    // workstation saving one quotation after another then holds the lock nearly all the time,
    // so the other one would hardly ever find it free.
    void setBusyTimeout(std::chrono::milliseconds timeout);

    // Runs one statement that must finish without returning a row.
    void ExecSQL(std::string_view sql, const SqlParams& params = {});
    // Runs one query to its end and returns every row.
    SqlRows GetTable(std::string_view sql, const SqlParams& params = {});

private:
    struct BusyWait {
        std::chrono::milliseconds timeout{0};
        std::chrono::steady_clock::time_point started;
    };
    static int waitWhileBusy(void* wait, int attempts);

    sqlite3* db_ = nullptr;
    BusyWait busyWait_;
};

// One prepared statement of a connection, finalized when it leaves scope. The SQL must hold
// exactly one statement (a trailing ";" is accepted) and exactly one value per "?".
class SqliteStatement {
public:
    // `failureText` opens the message of a failure to prepare or bind.
    SqliteStatement(sqlite3* db, std::string_view sql, const SqlParams& params,
                    const char* failureText);

    // Steps once; returns true on a row and false when done. Any other result raises
    // DatabaseError opening with `failureText`.
    bool step(const char* failureText);

    sqlite3_stmt* handle() const { return stmt_.get(); }

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const;
    };

    sqlite3* db_;
    std::string sql_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

} // namespace kerbina

#pragma once

#include "storage/database.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kerbina {

// The text the error messages give for an SQLite result code (5 "The database file is locked").
std::string sqliteCodeText(int code);

// The library's short text for a result code ("database is locked").
std::string sqliteErrorText(int code);

// What a result code (extended or not) of a failed statement says went wrong.
enum class SqliteFault {
    Busy,         // another connection holds the lock
    Damaged,      // damaged pages
    NotADatabase, // the file is no database
    CannotWrite,  // the disk is full or failed
    NoAccess,     // the file cannot be opened or written (permissions, read-only)
    Other,
};
SqliteFault sqliteFault(int code);

class SqliteStatement;

// How a connection opens its file.
enum class SqliteOpenMode {
    Create,    // reading and writing; an absent file is created
    ReadWrite, // reading and writing; an absent file fails
    ReadOnly,  // reading only; an absent file fails
};

// Gives the tokens of a text for a full-text table: calls `emit` once per token with the token
// and its byte offset in `text`. `query` is true for the text of a query, false for a stored
// text. A token may be a view into a copy of the text made by the tokenizer (letters folded, say)
// as long as the copy has the text's length and lives until the call returns.
using TokenEmitter = std::function<void(std::string_view token, std::size_t offset)>;
using Tokenizer = void (*)(std::string_view text, bool query, const TokenEmitter& emit);

// An open connection to one database file. Closing rolls back a transaction left open. Every
// failure raises DatabaseError. This file and its source are the only ones that speak to the
// SQLite library.
class SqliteConnection {
public:
    explicit SqliteConnection(const std::filesystem::path& file,
                              SqliteOpenMode mode = SqliteOpenMode::Create);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // How long a statement waits for another connection's lock before it fails. While it waits
    // it looks again every millisecond: SQLite's own wait backs off to 100 ms between looks, and a
    // workstation saving one quotation after another then holds the lock nearly all the time,
    // so the other one would hardly ever find it free.
    void setBusyTimeout(std::chrono::milliseconds timeout);
    // Stops every statement still running at `deadline`; it then fails with SQLITE_INTERRUPT.
    void interruptAt(std::chrono::steady_clock::time_point deadline);

    // Runs one statement that must finish without returning a row.
    void execute(std::string_view sql, const SqlParams& params = {});
    // Runs one query to its end and returns every row.
    SqlRows queryRows(std::string_view sql, const SqlParams& params = {});
    // Prepares one statement to be run many times with new values.
    SqliteStatement prepare(std::string_view sql);

    // Raises DatabaseError when the file could only be opened for reading (the library then
    // opens it so without a word, and every write would fail).
    void requireWritable() const;

    // The row id given by the last insert of this connection.
    long long lastInsertId() const;
    // The rows changed by the last insert, update or delete of this connection.
    long long changedRows() const;

    // The library's own text for the last failure on this connection ("database disk image is
    // malformed").
    std::string lastErrorMessage() const;

    // Makes `tokenizer` usable as `tokenize='name'` of full-text (fts5) tables on this connection.
    void addTokenizer(const char* name, Tokenizer tokenizer);

private:
    friend class SqliteTransaction;
    // Rolls back a transaction left open; never fails (a connection that cannot roll back has
    // nothing left to keep).
    void rollbackOpenTransaction() noexcept;

    struct BusyWait {
        std::chrono::milliseconds timeout{0};
        std::chrono::steady_clock::time_point started;
    };
    static int waitWhileBusy(void* wait, int attempts);
    static int stopAtDeadline(void* deadline);

    sqlite3* db_ = nullptr;
    BusyWait busyWait_;
    std::chrono::steady_clock::time_point deadline_;
};

// One prepared statement of a connection, finalized when it leaves scope. The SQL must hold
// exactly one statement (a trailing ";" is accepted) and exactly one value per "?".
class SqliteStatement {
public:
    // What the message of a failure opens with: one text for preparing and binding, one for
    // stepping.
    struct FailureTexts {
        const char* prepare;
        const char* step;
    };

    // Resets the statement and binds new values for its next run.
    void bind(const SqlParams& params);
    // Steps once; returns true on a row and false when done. Any other result raises
    // DatabaseError.
    bool step();
    // Binds `params` and runs the statement to its end.
    void run(const SqlParams& params);

    // Column `column` (from 0) of the row stepped to as a whole number; NULL gives 0.
    long long integer(int column) const;

private:
    friend class SqliteConnection;
    // Binds `params` at once; without them the statement waits for `bind`.
    SqliteStatement(sqlite3* db, std::string_view sql, const SqlParams* params,
                    FailureTexts failureTexts);

    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const;
    };

    sqlite3* db_;
    std::string sql_;
    FailureTexts failureTexts_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

// A write transaction of a connection: begun at once (BEGIN IMMEDIATE, so that the write lock is
// waited for at the start), committed by `commit`, rolled back when it leaves scope without.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteConnection& connection);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit();

private:
    SqliteConnection& connection_;
    bool open_ = true;
};

} // namespace kerbina

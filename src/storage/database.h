#pragma once

#include "base/user_error.h"
#include "base/user_prompt.h"
#include "money/currency.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace kerbina {

// The one error type of the database layer. Its message is the database's own detailed text
// (statement and code); `code` is the SQLite result code, 0 when none applies. What the user is
// shown comes from databaseFaultMessage.
class DatabaseError : public UserError {
public:
    explicit DatabaseError(const std::string& message, int code = 0)
        : UserError(message), code_(code) {}
    int code() const { return code_; }
    // The database the statement ran on (a file path), set by the Database that ran it.
    const std::string& location() const { return location_; }
    void setLocation(std::string location) { location_ = std::move(location); }

private:
    int code_;
    std::string location_;
};

// What the user is told about a failed statement: what happened in plain Japanese, the
// database's location, and what to do; SQL text never shows.
std::string databaseFaultMessage(const DatabaseError& error);

// One bound parameter of a statement. Values are never written into the SQL text.
// Money goes in as its plain decimal text; the declared column type (integer, NUMERIC) makes the
// database store it as a number, exactly as a quoted literal would have been stored.
class SqlValue {
public:
    SqlValue() = default; // NULL
    SqlValue(std::nullptr_t) {}
    SqlValue(std::string text) : value_(std::move(text)) {}
    SqlValue(std::string_view text) : value_(std::string(text)) {}
    SqlValue(const char* text) : value_(std::string(text)) {}
    template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool> &&
                                               !std::is_same_v<T, char>,
                                           int> = 0>
    SqlValue(T number) : value_(static_cast<std::int64_t>(number)) {}
    SqlValue(Currency money) : value_(money.toString()) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    const std::int64_t* integer() const { return std::get_if<std::int64_t>(&value_); }
    const std::string* text() const { return std::get_if<std::string>(&value_); }

private:
    std::variant<std::monostate, std::int64_t, std::string> value_;
};

using SqlParams = std::vector<SqlValue>;

// One result row: the text of each column in column order. A column's text follows its declared
// type: NULL is the empty text; "BOOLEAN" gives decimal digits; "NUMERIC", "FLOAT", "DOUBLE" and
// "REAL" give the shortest plain decimal of the stored value (1500, 12.5); any other type gives
// the stored text. That includes "integer": the totals and rounding levels of a quotation are
// money texts in columns declared so, and 0.5 must come back as "0.5", not 0. SQLite reports
// "integer" and "INTEGER" alike, so "INTEGER" gives the stored text too; the program only ever
// stores whole numbers there, which read as their digits either way. A column without a declared
// type (an expression) takes the kind of its value on the first row.
struct SqlRow {
    std::vector<std::string> columns;

    // Field n counted from 1; a row with fewer fields gives the empty text.
    const std::string& field(std::size_t n) const;

    friend bool operator==(const SqlRow&, const SqlRow&) = default;
};

using SqlRows = std::vector<SqlRow>;

// Field 1 of every row, in row order.
std::vector<std::string> firstFields(const SqlRows& rows);

// The text of the box that reports a failed statement.
inline constexpr std::string_view kSqlErrorText = "ERROR";

// One database, reached one statement at a time. Callers only write portable SQL with "?"
// placeholders, so another kind of database (a server shared by several workstations) can stand
// behind the same two operations.
class Database {
public:
    explicit Database(UserPrompt& reporter) : reporter_(reporter) {}
    virtual ~Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs one query and returns its rows. Errors raise DatabaseError.
    virtual SqlRows queryRows(std::string_view sql, const SqlParams& params = {}) = 0;
    // Runs one statement that returns no rows. Errors raise DatabaseError.
    virtual void execute(std::string_view sql, const SqlParams& params = {}) = 0;

    // Runs one statement that returns no rows. On any error it reports the fault (report) and
    // returns false; the statement then has had no effect.
    bool executeOrReport(std::string_view sql, const SqlParams& params = {});
    // Tells the user of a failed statement: "ERROR" with the user's message for the fault
    // (databaseFaultMessage). Also for the faults of what is kept beside the database (the
    // search index of its quotation list).
    void report(const DatabaseError& error);

    // What tells the state of the database without reading its rows: "<writes>:<size>", where
    // `writes` counts the write transactions the database has taken, or the empty text when the
    // database keeps no such count. A text that did not change means nothing was written.
    virtual std::string changeStamp() const { return {}; }

    // Where the database is, for messages: a file path, or a server's name. Errors raised by
    // queryRows and execute carry it.
    virtual std::string location() const = 0;

private:
    UserPrompt& reporter_;
};

// A database file. Every statement opens the file, runs and closes it again, so no connection
// stays open between statements and several workstations can share one database folder. A
// statement that meets another workstation's lock waits up to `busyTimeout`, then fails.
class SqliteFileDatabase final : public Database {
public:
    static constexpr std::chrono::milliseconds kBusyTimeout{3000};

    SqliteFileDatabase(std::filesystem::path file, UserPrompt& reporter,
                       std::chrono::milliseconds busyTimeout = kBusyTimeout)
        : Database(reporter), file_(std::move(file)), busyTimeout_(busyTimeout) {}

    const std::filesystem::path& file() const { return file_; }
    std::string location() const override;

    SqlRows queryRows(std::string_view sql, const SqlParams& params = {}) override;
    void execute(std::string_view sql, const SqlParams& params = {}) override;

    // The file's change counter (advanced by every write transaction) and its size. Empty in
    // WAL mode, whose writes do not advance the counter, and for a file that cannot be read.
    std::string changeStamp() const override;

private:
    // Runs `statement` on a connection opened for it, the faults carrying the file's location.
    template <typename Statement> auto onConnection(Statement statement);

    std::filesystem::path file_;
    std::chrono::milliseconds busyTimeout_;
};

} // namespace kerbina

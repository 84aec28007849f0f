#include "storage/sqlite_connection.h"

#include "base/path_text.h"

#include <array>
#include <charconv>
#include <new>
#include <sqlite3.h>
#include <thread>

namespace kerbina {
namespace {

// The texts of the error messages, indexed by result code 0 to 26.
constexpr std::array<const char*, 27> kCodeTexts = {
    "Successful result",
    "SQL error or missing database",
    "An internal logic error in SQLite",
    "Access permission denied",
    "Callback routine requested an abort",
    "The database file is locked",
    "A table in the database is locked",
    "A malloc() failed",
    "Attempt to write a readonly database",
    "Operation terminated by sqlite3_interrupt()",
    "Some kind of disk I/O error occurred",
    "The database disk image is malformed",
    "(Internal Only) Table or record not found",
    "Insertion failed because database is full",
    "Unable to open the database file",
    "Database lock protocol error",
    "Database is empty",
    "The database schema changed",
    "Too much data for one row of a table",
    "Abort due to contraint violation",
    "Data type mismatch",
    "Library used incorrectly",
    "Uses OS features not supported on host",
    "Authorization denied",
    "Auxiliary database format error",
    "2nd parameter to sqlite3_bind out of range",
    "File opened that is not a database file",
};

[[noreturn]] void raiseSqlError(const char* text, int code, std::string_view sql,
                                std::string_view sqliteMessage) {
    std::string message = text;
    message += ".\rError [" + std::to_string(code) + "]: " + sqliteCodeText(code) + ".\r\"";
    message += sql;
    message += "\": ";
    message += sqliteMessage;
    throw DatabaseError(message, code);
}

enum class ColumnKind { Integer, Float, Blob, Text };

// Fixed once per query, from the first row: the declared type decides, compared exactly (see
// SqlRow for why INTEGER is not among them); a column without one goes by its first value.
ColumnKind columnKind(sqlite3_stmt* stmt, int column) {
    const char* declared = sqlite3_column_decltype(stmt, column);
    if (declared == nullptr || *declared == '\0') {
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return ColumnKind::Integer;
        case SQLITE_FLOAT:
            return ColumnKind::Float;
        case SQLITE_BLOB:
            return ColumnKind::Blob;
        default:
            return ColumnKind::Text;
        }
    }
    const std::string_view type = declared;
    if (type == "BOOLEAN") {
        return ColumnKind::Integer;
    }
    if (type == "NUMERIC" || type == "FLOAT" || type == "DOUBLE" || type == "REAL") {
        return ColumnKind::Float;
    }
    if (type == "BLOB") {
        return ColumnKind::Blob;
    }
    return ColumnKind::Text;
}

// The shortest plain decimal that reads back as the same value: 1500, 12.5, 0.1 (no exponent,
// so the number parsers of the program accept it).
std::string shortestDecimal(double value) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

std::string columnText(sqlite3_stmt* stmt, int column, ColumnKind kind) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL) {
        return {};
    }
    switch (kind) {
    case ColumnKind::Integer:
        return std::to_string(sqlite3_column_int64(stmt, column));
    case ColumnKind::Float:
        return shortestDecimal(sqlite3_column_double(stmt, column));
    case ColumnKind::Blob: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        return std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
    }
    case ColumnKind::Text:
        break;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
}

constexpr SqliteStatement::FailureTexts kExecTexts = {"Error executing SQL",
                                                      "Error executing SQL statement"};
constexpr SqliteStatement::FailureTexts kQueryTexts = {"Could not prepare SQL statement",
                                                       "Could not retrieve data"};

bool onlySeparatorsLeft(const char* tail) {
    for (; *tail != '\0'; ++tail) {
        if (*tail != ';' && *tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n') {
            return false;
        }
    }
    return true;
}

} // namespace

std::string sqliteCodeText(int code) {
    if (code >= 0 && code < static_cast<int>(kCodeTexts.size())) {
        return kCodeTexts[static_cast<std::size_t>(code)];
    }
    if (code == SQLITE_ROW) {
        return "sqlite3_step() has another row ready";
    }
    if (code == SQLITE_DONE) {
        return "sqlite3_step() has finished executing";
    }
    return "Unknown SQLite Error Code \"" + std::to_string(code) + "\"";
}

std::string sqliteErrorText(int code) {
    return sqlite3_errstr(code);
}

SqliteFault sqliteFault(int code) {
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return SqliteFault::Busy;
    case SQLITE_CORRUPT:
        return SqliteFault::Damaged;
    case SQLITE_NOTADB:
        return SqliteFault::NotADatabase;
    case SQLITE_FULL:
    case SQLITE_IOERR:
        return SqliteFault::CannotWrite;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
        return SqliteFault::NoAccess;
    default:
        return SqliteFault::Other;
    }
}

SqliteConnection::SqliteConnection(const std::filesystem::path& file, SqliteOpenMode mode) {
    const std::string name = pathText(file);
    const int flags = mode == SqliteOpenMode::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                      : mode == SqliteOpenMode::ReadWrite ? SQLITE_OPEN_READWRITE
                                                          : SQLITE_OPEN_READONLY;
    const int rc = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string reason = db_ != nullptr ? sqlite3_errmsg(db_) : "unknown error";
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw DatabaseError("Failed to open database \"" + name + "\" : " + reason, rc);
    }
}

SqliteConnection::~SqliteConnection() {
    rollbackOpenTransaction();
    sqlite3_close_v2(db_);
}

void SqliteConnection::rollbackOpenTransaction() noexcept {
    if (sqlite3_get_autocommit(db_) == 0) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void SqliteConnection::setBusyTimeout(std::chrono::milliseconds timeout) {
    busyWait_.timeout = timeout;
    sqlite3_busy_handler(db_, timeout.count() > 0 ? &SqliteConnection::waitWhileBusy : nullptr,
                         &busyWait_);
}

int SqliteConnection::waitWhileBusy(void* data, int attempts) {
    auto& wait = *static_cast<BusyWait*>(data);
    const auto now = std::chrono::steady_clock::now();
    if (attempts == 0) {
        wait.started = now;
    }
    if (now - wait.started >= wait.timeout) {
        return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

void SqliteConnection::interruptAt(std::chrono::steady_clock::time_point deadline) {
    deadline_ = deadline;
    sqlite3_progress_handler(db_, 1000, &SqliteConnection::stopAtDeadline, &deadline_);
}

int SqliteConnection::stopAtDeadline(void* deadline) {
    return std::chrono::steady_clock::now() >=
                   *static_cast<std::chrono::steady_clock::time_point*>(deadline)
               ? 1
               : 0;
}

void SqliteConnection::execute(std::string_view sql, const SqlParams& params) {
    SqliteStatement statement(db_, sql, &params, kExecTexts);
    if (statement.step()) {
        raiseSqlError(kExecTexts.step, SQLITE_ROW, sql, sqlite3_errstr(SQLITE_ROW));
    }
}

SqlRows SqliteConnection::queryRows(std::string_view sql, const SqlParams& params) {
    SqliteStatement statement(db_, sql, &params, kQueryTexts);
    sqlite3_stmt* stmt = statement.stmt_.get();
    SqlRows rows;
    std::vector<ColumnKind> kinds;
    while (statement.step()) {
        const int count = sqlite3_column_count(stmt);
        if (kinds.empty()) {
            for (int column = 0; column < count; ++column) {
                kinds.push_back(columnKind(stmt, column));
            }
        }
        SqlRow& row = rows.emplace_back();
        row.columns.reserve(static_cast<std::size_t>(count));
        for (int column = 0; column < count; ++column) {
            row.columns.push_back(
                columnText(stmt, column, kinds[static_cast<std::size_t>(column)]));
        }
    }
    return rows;
}

SqliteStatement SqliteConnection::prepare(std::string_view sql) {
    return SqliteStatement(db_, sql, nullptr, kQueryTexts);
}

void SqliteConnection::requireWritable() const {
    if (sqlite3_db_readonly(db_, "main") == 1) {
        throw DatabaseError("The database file can only be read", SQLITE_READONLY);
    }
}

long long SqliteConnection::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

long long SqliteConnection::changedRows() const {
    return sqlite3_changes64(db_);
}

std::string SqliteConnection::lastErrorMessage() const {
    return sqlite3_errmsg(db_);
}

namespace {

// The full-text module's side of a tokenizer: one instance per table, each holding the function.
struct TokenizerInstance {
    Tokenizer tokenizer;
};

int createTokenizer(void* tokenizer, const char**, int, Fts5Tokenizer** out) {
    *out = reinterpret_cast<Fts5Tokenizer*>(
        new (std::nothrow) TokenizerInstance{*static_cast<const Tokenizer*>(tokenizer)});
    return *out != nullptr ? SQLITE_OK : SQLITE_NOMEM;
}

void deleteTokenizer(Fts5Tokenizer* instance) {
    delete reinterpret_cast<TokenizerInstance*>(instance);
}

void deleteTokenizerFunction(void* tokenizer) {
    delete static_cast<Tokenizer*>(tokenizer);
}

int tokenize(Fts5Tokenizer* instance, void* context, int flags, const char* text, int length,
             int (*emit)(void*, int, const char*, int, int, int)) {
    if (length <= 0) {
        return SQLITE_OK;
    }
    int rc = SQLITE_OK;
    const TokenEmitter emitToken = [&](std::string_view token, std::size_t offset) {
        if (rc == SQLITE_OK) {
            const int start = static_cast<int>(offset);
            rc = emit(context, 0, token.data(), static_cast<int>(token.size()), start,
                      start + static_cast<int>(token.size()));
        }
    };
    // Nothing may be thrown back into the library.
    try {
        reinterpret_cast<TokenizerInstance*>(instance)->tokenizer(
            std::string_view(text, static_cast<std::size_t>(length)),
            (flags & FTS5_TOKENIZE_QUERY) != 0, emitToken);
    } catch (const std::exception&) {
        return SQLITE_NOMEM;
    }
    return rc;
}

} // namespace

void SqliteConnection::addTokenizer(const char* name, Tokenizer tokenizer) {
    fts5_api* api = nullptr;
    {
        SqliteStatement lookup(db_, "SELECT fts5(?1)", nullptr, kQueryTexts);
        sqlite3_bind_pointer(lookup.stmt_.get(), 1, static_cast<void*>(&api), "fts5_api_ptr",
                             nullptr);
        lookup.step();
    }
    static fts5_tokenizer functions = {createTokenizer, deleteTokenizer, tokenize};
    if (api == nullptr) {
        throw DatabaseError("The full-text module is not available", SQLITE_ERROR);
    }
    auto function = std::make_unique<Tokenizer>(tokenizer);
    const int rc =
        api->xCreateTokenizer(api, name, function.get(), &functions, deleteTokenizerFunction);
    if (rc != SQLITE_OK) {
        throw DatabaseError(std::string("Could not register the tokenizer ") + name, rc);
    }
    function.release(); // the module deletes it with the connection
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql, const SqlParams* params,
                                 FailureTexts failureTexts)
    : db_(db), sql_(sql), failureTexts_(failureTexts) {
    sqlite3_stmt* prepared = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql_.c_str(), -1, &prepared, &tail);
    stmt_.reset(prepared);
    if (rc != SQLITE_OK) {
        raiseSqlError(failureTexts_.prepare, rc, sql_, sqlite3_errmsg(db_));
    }
    // An empty text, or a second statement that would silently be skipped, is a caller's fault.
    if (!stmt_ || !onlySeparatorsLeft(tail)) {
        raiseSqlError(failureTexts_.prepare, SQLITE_MISUSE, sql_, "one statement expected");
    }
    if (params != nullptr) {
        bind(*params);
    }
}

void SqliteStatement::bind(const SqlParams& params) {
    sqlite3_stmt* stmt = stmt_.get();
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (sqlite3_bind_parameter_count(stmt) != static_cast<int>(params.size())) {
        raiseSqlError(failureTexts_.prepare, SQLITE_RANGE, sql_, sqlite3_errstr(SQLITE_RANGE));
    }
    for (std::size_t index = 0; index < params.size(); ++index) {
        const SqlValue& value = params[index];
        const int position = static_cast<int>(index) + 1;
        int bound = SQLITE_OK;
        if (const std::int64_t* number = value.integer()) {
            bound = sqlite3_bind_int64(stmt, position, *number);
        } else if (const std::string* text = value.text()) {
            bound = sqlite3_bind_text64(stmt, position, text->data(), text->size(),
                                        SQLITE_TRANSIENT, SQLITE_UTF8);
        } else {
            bound = sqlite3_bind_null(stmt, position);
        }
        if (bound != SQLITE_OK) {
            raiseSqlError(failureTexts_.prepare, bound, sql_, sqlite3_errmsg(db_));
        }
    }
}

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    raiseSqlError(failureTexts_.step, rc, sql_, sqlite3_errmsg(db_));
}

void SqliteStatement::run(const SqlParams& params) {
    bind(params);
    while (step()) {
    }
}

long long SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_.get(), column);
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : connection_(connection) {
    connection_.execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (open_) {
        connection_.rollbackOpenTransaction();
    }
}

void SqliteTransaction::commit() {
    connection_.execute("COMMIT");
    open_ = false;
}

} // namespace kerbina

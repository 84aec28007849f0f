#include "storage/search_index.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "storage/quotation_list.h"
#include "storage/sqlite_connection.h"

#include <cstdint>
#include <map>
#include <sqlite3.h>
#include <string>
#include <unordered_set>
#include <utility>

namespace kerbina {
namespace {

constexpr const char* kTokenizerName = "kerbina_grams";

// ---- The tokenizer: every character and every pair of neighbouring characters ----

// Bytes of the UTF-8 character that starts with `lead` (a stray byte counts as one character).
std::size_t characterLength(unsigned char lead) {
    if (lead < 0xC0) {
        return 1;
    }
    if (lead < 0xE0) {
        return 2;
    }
    return lead < 0xF0 ? 3 : 4;
}

// ASCII letters in lower case, as LIKE compares them; every other byte unchanged.
std::string folded(const char* text, std::size_t length) {
    std::string out(text, length);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// The characters of a text as views into it.
std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> result;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length =
            std::min(characterLength(static_cast<unsigned char>(text[at])), text.size() - at);
        result.push_back(text.substr(at, length));
        at += length;
    }
    return result;
}

struct GramTokenizer {};

int createTokenizer(void*, const char**, int, Fts5Tokenizer** out) {
    *out = reinterpret_cast<Fts5Tokenizer*>(new GramTokenizer);
    return SQLITE_OK;
}

void deleteTokenizer(Fts5Tokenizer* tokenizer) {
    delete reinterpret_cast<GramTokenizer*>(tokenizer);
}

// A document gives each of its distinct characters and character pairs once (the table keeps no
// positions, so repeats would only cost time). A query string is one token as it stands: the
// search builds its queries from single characters and pairs.
int tokenize(Fts5Tokenizer*, void* context, int flags, const char* text, int length,
             int (*emit)(void*, int, const char*, int, int, int)) {
    if (length <= 0) {
        return SQLITE_OK;
    }
    const std::string folding = folded(text, static_cast<std::size_t>(length));
    if ((flags & FTS5_TOKENIZE_QUERY) != 0) {
        return emit(context, 0, folding.data(), length, 0, length);
    }
    const std::vector<std::string_view> chars = characters(folding);
    std::unordered_set<std::string_view> seen;
    seen.reserve(chars.size() * 2);
    auto emitOnce = [&](std::string_view token) {
        if (!seen.insert(token).second) {
            return SQLITE_OK;
        }
        const int start = static_cast<int>(token.data() - folding.data());
        return emit(context, 0, token.data(), static_cast<int>(token.size()), start,
                    start + static_cast<int>(token.size()));
    };
    for (std::size_t i = 0; i < chars.size(); ++i) {
        int rc = emitOnce(chars[i]);
        if (rc == SQLITE_OK && i + 1 < chars.size()) {
            rc = emitOnce(std::string_view(chars[i].data(), chars[i].size() + chars[i + 1].size()));
        }
        if (rc != SQLITE_OK) {
            return rc;
        }
    }
    return SQLITE_OK;
}

void registerTokenizer(sqlite3* db) {
    fts5_api* api = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_pointer(stmt, 1, static_cast<void*>(&api), "fts5_api_ptr", nullptr);
        sqlite3_step(stmt);
    }
    sqlite3_finalize(stmt);
    static fts5_tokenizer tokenizer = {createTokenizer, deleteTokenizer, tokenize};
    if (api == nullptr ||
        api->xCreateTokenizer(api, kTokenizerName, nullptr, &tokenizer, nullptr) != SQLITE_OK) {
        throw DatabaseError("The full-text module is not available", SQLITE_ERROR);
    }
}

// A token of a query string: in double quotes, a double quote written twice.
std::string quotedToken(std::string_view token) {
    std::string out = "\"";
    for (const char c : token) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
    return out;
}

// ---- Connections and statements ----

void raise(sqlite3* db, int rc, std::string_view what) {
    throw DatabaseError(std::string(what) + ": " + (db != nullptr ? sqlite3_errmsg(db) : ""), rc);
}

class Connection {
public:
    Connection(const std::filesystem::path& file, int flags) {
        const std::string name = pathText(file);
        const int rc = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
        if (rc != SQLITE_OK) {
            const std::string reason = db_ != nullptr ? sqlite3_errmsg(db_) : "unknown error";
            sqlite3_close_v2(db_);
            db_ = nullptr;
            throw DatabaseError("Failed to open database \"" + name + "\" : " + reason, rc);
        }
        sqlite3_busy_timeout(db_, static_cast<int>(SqliteFileDatabase::kBusyTimeout.count()));
    }
    ~Connection() { sqlite3_close_v2(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    sqlite3* handle() const { return db_; }
    sqlite3* release() { return std::exchange(db_, nullptr); }

private:
    sqlite3* db_ = nullptr;
};

// A prepared statement run many times with new values.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
        if (rc != SQLITE_OK) {
            raise(db, rc, sql);
        }
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bindText(int position, std::string_view text) {
        sqlite3_bind_text64(stmt_, position, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8);
        return *this;
    }
    Statement& bindInteger(int position, long long value) {
        sqlite3_bind_int64(stmt_, position, value);
        return *this;
    }
    Statement& bindValue(int position, sqlite3_value* value) {
        sqlite3_bind_value(stmt_, position, value);
        return *this;
    }
    // True on a row; false when done (the statement is then reset for the next run).
    bool step() {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) {
            return true;
        }
        sqlite3_reset(stmt_);
        if (rc != SQLITE_DONE) {
            raise(db_, rc, sqlite3_sql(stmt_));
        }
        return false;
    }
    void run() {
        while (step()) {
        }
        sqlite3_clear_bindings(stmt_);
    }
    void reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    std::string text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return text != nullptr
                   ? std::string(text,
                                 static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                   : std::string();
    }
    // The values of columns [first, end) with their kinds (NULL and the empty text differ, so do
    // 5 and "5"), as one text.
    std::string typedTexts(int first, int end) const {
        std::string out;
        for (int column = first; column < end; ++column) {
            out += std::to_string(sqlite3_column_type(stmt_, column));
            out += ':';
            out += text(column);
            out += '\x1f';
        }
        return out;
    }
    long long integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    sqlite3_value* value(int column) const { return sqlite3_column_value(stmt_, column); }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

void executeOn(sqlite3* db, const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string text = message != nullptr ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw DatabaseError(std::string(sql) + ": " + text, rc);
    }
}

constexpr const char* kIndexSchema =
    "CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT);"
    "CREATE TABLE IF NOT EXISTS list(id INTEGER PRIMARY KEY, krbnumber VARCHAR(12) NOT NULL "
    "UNIQUE, status VARCHAR (10), ATESAKI_1 VARCHAR (50), NWHERE VARCHAR (50), CONSTRACT_1 "
    "VARCHAR (50), ALLGTOTAL integer, OUTTANTO VARCHAR (20), created date, tag1str VARCHAR (80), "
    "modified date);"
    "CREATE INDEX IF NOT EXISTS list_addressee ON list(ATESAKI_1,krbnumber);"
    "CREATE INDEX IF NOT EXISTS list_work ON list(NWHERE,krbnumber);"
    "CREATE INDEX IF NOT EXISTS list_site ON list(CONSTRACT_1,krbnumber);"
    "CREATE INDEX IF NOT EXISTS list_amount ON list(ALLGTOTAL,krbnumber);"
    "CREATE INDEX IF NOT EXISTS list_requester ON list(OUTTANTO,krbnumber);"
    "CREATE INDEX IF NOT EXISTS list_created ON list(created,krbnumber);"
    "CREATE INDEX IF NOT EXISTS list_status ON list(status,krbnumber);"
    "CREATE TABLE IF NOT EXISTS bodies(id INTEGER PRIMARY KEY, body text);"
    "CREATE VIRTUAL TABLE IF NOT EXISTS grams USING fts5(body, content='bodies', "
    "content_rowid='id', detail=none, tokenize='kerbina_grams');";

// The columns copied from the quotation table, in the order of the list table after its id.
constexpr const char* kSourceRow =
    "SELECT krbnumber,status,ATESAKI_1,NWHERE,CONSTRACT_1,ALLGTOTAL,OUTTANTO,created,tag1str,"
    "modified,data FROM kerbina WHERE krbnumber=?";
constexpr int kSourceListColumns = 10;

// What identifies the state of the quotation database file without reading its rows: its
// change counter (bytes 24 to 27 of the header, advanced by every write transaction) and size.
// Empty when there is no such counter (WAL mode, an unreadable file).
std::string fileChangeStamp(const std::filesystem::path& file) {
    std::string head;
    try {
        head = readFileHead(file, 100);
    } catch (const std::exception&) {
        return {};
    }
    std::error_code error;
    if (head.size() < 100 || head[18] == 2 || head[19] == 2 ||
        std::filesystem::exists(pathFromText(pathText(file) + "-wal"), error)) {
        return {};
    }
    std::uint32_t counter = 0;
    for (int i = 24; i < 28; ++i) {
        counter = (counter << 8) | static_cast<unsigned char>(head[static_cast<std::size_t>(i)]);
    }
    const auto size = std::filesystem::file_size(file, error);
    return std::to_string(counter) + ":" + std::to_string(error ? 0 : size);
}

// Index files that are damaged are only an index: they are set up again from nothing.
sqlite3* openIndex(const std::filesystem::path& file) {
    for (int attempt = 0;; ++attempt) {
        try {
            Connection connection(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            registerTokenizer(connection.handle());
            executeOn(connection.handle(), kIndexSchema);
            return connection.release();
        } catch (const DatabaseError& error) {
            const int code = error.code() & 0xFF;
            if (attempt > 0 || (code != SQLITE_NOTADB && code != SQLITE_CORRUPT)) {
                throw;
            }
        }
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
}

} // namespace

SearchIndex::SearchIndex(std::filesystem::path quotationFile, std::filesystem::path indexFile)
    : quotationFile_(std::move(quotationFile)), indexFile_(std::move(indexFile)),
      db_(openIndex(indexFile_)) {
    try {
        execute("CREATE TEMP TABLE IF NOT EXISTS hits(id INTEGER PRIMARY KEY)");
    } catch (...) {
        sqlite3_close_v2(db_);
        throw;
    }
}

SearchIndex::~SearchIndex() {
    sqlite3_close_v2(db_);
}

std::filesystem::path SearchIndex::indexFileFor(const std::filesystem::path& quotationFile) {
    std::filesystem::path index = quotationFile;
    index.replace_extension(".search");
    return index;
}

void SearchIndex::execute(const char* sql) {
    executeOn(db_, sql);
}

namespace {

// The rows holding every character pair of a text of three or more characters, confirmed with
// LIKE on their stored text.
std::string confirmedRows(std::string_view text, const std::vector<std::string_view>& chars,
                          SqlParams& params) {
    std::string expression;
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 0; i + 1 < chars.size(); ++i) {
        const std::string_view pair(chars[i].data(), chars[i].size() + chars[i + 1].size());
        if (seen.insert(pair).second) {
            expression += expression.empty() ? "" : " AND ";
            expression += quotedToken(pair);
        }
    }
    params.emplace_back(expression);
    params.emplace_back(containsPattern(text));
    return "SELECT b.id FROM bodies b WHERE b.id IN (SELECT rowid FROM grams WHERE grams MATCH ?) "
           "AND b.body LIKE ? ESCAPE '\\'";
}

} // namespace

std::optional<long long> SearchIndex::textMatchCount(std::string_view text) {
    const std::string folding = folded(text.data(), text.size());
    const std::vector<std::string_view> chars = characters(folding);
    if (chars.empty()) {
        return std::nullopt;
    }
    try {
        if (chars.size() <= 2) {
            const SqlRows rows =
                queryRows("SELECT count(*) FROM grams WHERE grams MATCH ?", {quotedToken(folding)});
            return rows.empty() ? 0 : std::stoll(rows.front().field(1));
        }
        // Confirming candidates reads their stored texts: done once here, and the confirmed set
        // answers the count and the page that follow.
        confirmedText_.clear();
        execute("DELETE FROM temp.hits");
        SqlParams params;
        const std::string rows = confirmedRows(text, chars, params);
        SqliteStatement fill(db_, "INSERT INTO temp.hits " + rows, params,
                             "Could not prepare SQL statement");
        fill.step("Error executing SQL statement");
        confirmedText_ = std::string(text);
        return static_cast<long long>(sqlite3_changes64(db_));
    } catch (const DatabaseError&) {
        return std::nullopt;
    }
}

std::string SearchIndex::containsCondition(std::string_view text, SqlParams& params,
                                           bool asTest) const {
    // "+id" keeps the condition from choosing how the rows are read: they are then read in the
    // order of the sort column's index and each is tested against the matching set.
    const std::string column = asTest ? "+id" : "id";
    const std::string folding = folded(text.data(), text.size());
    const std::vector<std::string_view> chars = characters(folding);
    if (chars.size() <= 2) {
        params.emplace_back(quotedToken(folding));
        return column + " IN (SELECT rowid FROM grams WHERE grams MATCH ?)";
    }
    if (!confirmedText_.empty() && confirmedText_ == text) {
        return column + " IN (SELECT id FROM temp.hits)";
    }
    return column + " IN (" + confirmedRows(text, chars, params) + ")";
}

SqlRows SearchIndex::queryRows(std::string_view sql, const SqlParams& params) {
    SqliteStatement statement(db_, sql, params, "Could not prepare SQL statement");
    SqlRows rows;
    while (statement.step("Could not retrieve data")) {
        const int count = sqlite3_column_count(statement.handle());
        SqlRow& row = rows.emplace_back();
        for (int column = 0; column < count; ++column) {
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), column));
            row.columns.emplace_back(text != nullptr ? text : "");
        }
    }
    return rows;
}

void SearchIndex::reindex(const std::vector<std::string>& numbers,
                          const std::vector<long long>& staleIds) {
    confirmedText_.clear();
    Statement dropGrams(db_,
                        "INSERT INTO grams(grams,rowid,body) SELECT 'delete',id,body FROM bodies "
                        "WHERE id=?");
    Statement dropBody(db_, "DELETE FROM bodies WHERE id=?");
    Statement dropRow(db_, "DELETE FROM list WHERE id=?");
    auto drop = [&](long long id) {
        dropGrams.bindInteger(1, id).run();
        dropBody.bindInteger(1, id).run();
        dropRow.bindInteger(1, id).run();
    };
    for (const long long id : staleIds) {
        drop(id);
    }
    if (numbers.empty()) {
        return;
    }
    Connection source(quotationFile_, SQLITE_OPEN_READONLY);
    Statement read(source.handle(), kSourceRow);
    Statement findId(db_, "SELECT id FROM list WHERE krbnumber=?");
    Statement addRow(db_,
                     "INSERT INTO list(krbnumber,status,ATESAKI_1,NWHERE,CONSTRACT_1,"
                     "ALLGTOTAL,OUTTANTO,created,tag1str,modified) VALUES(?,?,?,?,?,?,?,?,?,?)");
    Statement addBody(db_, "INSERT INTO bodies(id,body) VALUES(?,?)");
    Statement addGrams(db_, "INSERT INTO grams(rowid,body) VALUES(?,?)");
    for (const std::string& number : numbers) {
        if (findId.bindText(1, number).step()) {
            const long long id = findId.integer(0);
            findId.reset();
            drop(id);
        }
        if (!read.bindText(1, number).step()) {
            continue;
        }
        for (int column = 0; column < kSourceListColumns; ++column) {
            addRow.bindValue(column + 1, read.value(column));
        }
        addRow.run();
        const long long id = sqlite3_last_insert_rowid(db_);
        addBody.bindInteger(1, id).bindValue(2, read.value(kSourceListColumns)).run();
        addGrams.bindInteger(1, id).bindValue(2, read.value(kSourceListColumns)).run();
        read.reset();
    }
}

bool SearchIndex::refresh() {
    lastRefreshCount_ = 0;
    lastRefreshCompared_ = false;
    try {
        const std::string stamp = fileChangeStamp(quotationFile_);
        Statement storedStamp(db_, "SELECT value FROM meta WHERE key='stamp'");
        if (!stamp.empty() && storedStamp.step() && storedStamp.text(0) == stamp) {
            storedStamp.reset();
            return true;
        }
        storedStamp.reset();

        // Every list column is compared, not only `modified`: a program that changes a status
        // without touching the stamp would otherwise leave the index filtering by the old one.
        lastRefreshCompared_ = true;
        std::map<std::string, std::string> source; // number -> list columns
        {
            Connection connection(quotationFile_, SQLITE_OPEN_READONLY);
            Statement rows(connection.handle(),
                           "SELECT krbnumber,status,ATESAKI_1,NWHERE,CONSTRACT_1,ALLGTOTAL,"
                           "OUTTANTO,created,tag1str,modified FROM kerbina WHERE krbnumber IS NOT "
                           "NULL");
            while (rows.step()) {
                source.emplace(rows.text(0), rows.typedTexts(1, kSourceListColumns));
            }
        }
        std::vector<long long> stale;
        std::vector<std::string> changed;
        {
            Statement rows(db_, "SELECT id,krbnumber,status,ATESAKI_1,NWHERE,CONSTRACT_1,"
                                "ALLGTOTAL,OUTTANTO,created,tag1str,modified FROM list");
            while (rows.step()) {
                const auto found = source.find(rows.text(1));
                if (found == source.end()) {
                    stale.push_back(rows.integer(0));
                } else {
                    if (found->second != rows.typedTexts(2, kSourceListColumns + 1)) {
                        changed.push_back(found->first);
                    }
                    source.erase(found);
                }
            }
        }
        for (auto& entry : source) {
            changed.push_back(entry.first);
        }
        execute("BEGIN IMMEDIATE");
        try {
            reindex(changed, stale);
            Statement store(db_, "INSERT OR REPLACE INTO meta(key,value) VALUES('stamp',?)");
            store.bindText(1, stamp).run();
            if (changed.size() + stale.size() >= 1000) {
                execute("INSERT INTO grams(grams) VALUES('optimize')");
            }
            execute("COMMIT");
        } catch (...) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        lastRefreshCount_ = static_cast<long long>(changed.size() + stale.size());
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

namespace {

// The change counter of a stamp; nothing for an empty one.
std::optional<unsigned long long> stampCounter(const std::string& stamp) {
    const std::size_t colon = stamp.find(':');
    if (stamp.empty() || colon == std::string::npos) {
        return std::nullopt;
    }
    return static_cast<unsigned long long>(std::stoull(stamp.substr(0, colon)));
}

} // namespace

std::string SearchIndex::stampBeforeWrite() const {
    return fileChangeStamp(quotationFile_);
}

bool SearchIndex::noteChanged(const std::string& number, const std::string& stampBefore) {
    try {
        execute("BEGIN IMMEDIATE");
        try {
            reindex({number}, {});
            // The index was in step before this write, and the file counts exactly one write
            // transaction since: ours. The index is then in step again without comparing rows.
            const std::string now = fileChangeStamp(quotationFile_);
            const auto before = stampCounter(stampBefore);
            const auto after = stampCounter(now);
            if (before && after && *after == *before + 1) {
                Statement stored(db_, "SELECT value FROM meta WHERE key='stamp'");
                const bool inStep = stored.step() && stored.text(0) == stampBefore;
                stored.reset();
                if (inStep) {
                    Statement store(db_, "UPDATE meta SET value=? WHERE key='stamp'");
                    store.bindText(1, now).run();
                }
            }
            execute("COMMIT");
        } catch (...) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        return true;
    } catch (const DatabaseError&) {
        sqlite3_exec(db_, "DELETE FROM meta WHERE key='stamp'", nullptr, nullptr, nullptr);
        return false;
    }
}

bool SearchIndex::noteDeleted(const std::string& number, const std::string& stampBefore) {
    return noteChanged(number, stampBefore);
}

} // namespace kerbina

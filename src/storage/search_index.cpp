#include "storage/search_index.h"

#include "base/path_text.h"
#include "storage/quotation_list.h"
#include "storage/sqlite_connection.h"

#include <algorithm>
#include <map>
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
std::string folded(std::string_view text) {
    std::string out(text);
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

// The pair of a character and the one after it, as one view.
std::string_view pairAt(const std::vector<std::string_view>& chars, std::size_t i) {
    return {chars[i].data(), chars[i].size() + chars[i + 1].size()};
}

// A stored text gives each of its distinct characters and character pairs once (the table keeps
// no positions, so repeats would only cost time). A query string is one token as it stands: the
// search builds its queries from single characters and pairs.
void gramTokens(std::string_view text, bool query, const TokenEmitter& emit) {
    const std::string folding = folded(text);
    if (query) {
        emit(folding, 0);
        return;
    }
    const std::vector<std::string_view> chars = characters(folding);
    std::unordered_set<std::string_view> seen;
    seen.reserve(chars.size() * 2);
    auto emitOnce = [&](std::string_view token) {
        if (seen.insert(token).second) {
            emit(token, static_cast<std::size_t>(token.data() - folding.data()));
        }
    };
    for (std::size_t i = 0; i < chars.size(); ++i) {
        emitOnce(chars[i]);
        if (i + 1 < chars.size()) {
            emitOnce(pairAt(chars, i));
        }
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

// ---- The index file ----

// A fault of the index file carries the file as its location, as the faults of a database do;
// a fault of the quotation database keeps its own.
template <typename Step> auto onIndexFile(const std::filesystem::path& file, Step step) {
    try {
        return step();
    } catch (DatabaseError& error) {
        if (error.location().empty()) {
            error.setLocation(pathText(file));
        }
        throw;
    }
}

constexpr const char* kIndexSchema[] = {
    "CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT)",
    "CREATE TABLE IF NOT EXISTS list(id INTEGER PRIMARY KEY, krbnumber VARCHAR(12) NOT NULL "
    "UNIQUE, status VARCHAR (10), ATESAKI_1 VARCHAR (50), NWHERE VARCHAR (50), CONSTRACT_1 "
    "VARCHAR (50), ALLGTOTAL integer, OUTTANTO VARCHAR (20), created date, tag1str VARCHAR (80), "
    "modified date)",
    "CREATE INDEX IF NOT EXISTS list_addressee ON list(ATESAKI_1,krbnumber)",
    "CREATE INDEX IF NOT EXISTS list_work ON list(NWHERE,krbnumber)",
    "CREATE INDEX IF NOT EXISTS list_site ON list(CONSTRACT_1,krbnumber)",
    "CREATE INDEX IF NOT EXISTS list_amount ON list(ALLGTOTAL,krbnumber)",
    "CREATE INDEX IF NOT EXISTS list_requester ON list(OUTTANTO,krbnumber)",
    "CREATE INDEX IF NOT EXISTS list_created ON list(created,krbnumber)",
    "CREATE INDEX IF NOT EXISTS list_status ON list(status,krbnumber)",
    "CREATE TABLE IF NOT EXISTS bodies(id INTEGER PRIMARY KEY, body text)",
    ("CREATE VIRTUAL TABLE IF NOT EXISTS grams USING fts5(body, content='bodies', "
     "content_rowid='id', detail=none, tokenize='kerbina_grams')"),
    "CREATE TEMP TABLE IF NOT EXISTS hits(id INTEGER PRIMARY KEY)",
};

// The columns copied from the quotation table, in the order of the list table after its id. The
// list table declares them as the quotation table does, so a value copied as its text is stored
// as the same value, and both tables give the same text for it.
constexpr std::string_view kListColumns[] = {"krbnumber",   "status",    "ATESAKI_1", "NWHERE",
                                             "CONSTRACT_1", "ALLGTOTAL", "OUTTANTO",  "created",
                                             "tag1str",     "modified"};

// The list columns to read, each after the number followed by whether it is NULL (which its text
// does not tell, and NULL and the empty text sort and group apart). The same on both tables.
std::string listColumnsRead() {
    std::string columns(kListColumns[0]);
    for (std::size_t i = 1; i < std::size(kListColumns); ++i) {
        const std::string name(kListColumns[i]);
        columns += "," + name + ",CASE WHEN " + name + " IS NULL THEN 1 ELSE 0 END";
    }
    return columns;
}

// The list values of a row read with listColumnsRead, NULL where they were.
SqlParams listValues(const std::vector<std::string>& columns) {
    SqlParams values{columns.front()};
    for (std::size_t at = 1; at + 1 < columns.size(); at += 2) {
        values.push_back(columns[at + 1] == "1" ? SqlValue() : SqlValue(columns[at]));
    }
    return values;
}

// How many quotations one read of the quotation table fetches with their stored texts.
constexpr std::size_t kQuotationsPerRead = 100;

// Index files that are damaged are only an index: they are set up again from nothing.
std::unique_ptr<SqliteConnection> openIndex(const std::filesystem::path& file) {
    for (int attempt = 0;; ++attempt) {
        try {
            auto connection = std::make_unique<SqliteConnection>(file);
            connection->requireWritable();
            connection->setBusyTimeout(SqliteFileDatabase::kBusyTimeout);
            connection->addTokenizer(kTokenizerName, gramTokens);
            for (const char* statement : kIndexSchema) {
                connection->execute(statement);
            }
            return connection;
        } catch (const DatabaseError& error) {
            const SqliteFault fault = sqliteFault(error.code());
            if (attempt > 0 ||
                (fault != SqliteFault::NotADatabase && fault != SqliteFault::Damaged)) {
                throw;
            }
        }
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
}

// The change counter of a stamp; nothing for an empty one.
std::optional<unsigned long long> stampCounter(const std::string& stamp) {
    const std::size_t colon = stamp.find(':');
    if (stamp.empty() || colon == std::string::npos) {
        return std::nullopt;
    }
    return static_cast<unsigned long long>(std::stoull(stamp.substr(0, colon)));
}

// The rows holding every character pair of a text of three or more characters, confirmed with
// LIKE on their stored text.
std::string confirmedRows(std::string_view text, const std::vector<std::string_view>& chars,
                          SqlParams& params) {
    std::string expression;
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 0; i + 1 < chars.size(); ++i) {
        const std::string_view pair = pairAt(chars, i);
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

SearchIndex::SearchIndex(Database& quotations, std::filesystem::path indexFile)
    : quotations_(quotations), indexFile_(std::move(indexFile)),
      index_(onIndexFile(indexFile_, [this] { return openIndex(indexFile_); })) {}

SearchIndex::~SearchIndex() = default;

std::filesystem::path SearchIndex::indexFileFor(const std::filesystem::path& quotationFile) {
    std::filesystem::path index = quotationFile;
    index.replace_extension(".search");
    return index;
}

std::unique_ptr<SearchIndex> openSearchIndex(Database& quotations,
                                             const std::filesystem::path& indexFile) {
    try {
        return std::make_unique<SearchIndex>(quotations, indexFile);
    } catch (const DatabaseError&) {
        return nullptr;
    }
}

std::optional<long long> SearchIndex::textMatchCount(std::string_view text) {
    const std::string folding = folded(text);
    const std::vector<std::string_view> chars = characters(folding);
    if (chars.empty()) {
        return std::nullopt;
    }
    return onIndexFile(indexFile_, [&]() -> long long {
        if (chars.size() <= 2) {
            const SqlRows rows = index_->queryRows("SELECT count(*) FROM grams WHERE grams MATCH ?",
                                                   {quotedToken(folding)});
            return rows.empty() ? 0 : std::stoll(rows.front().field(1));
        }
        // Confirming candidates reads their stored texts: done once here, and the confirmed set
        // answers the count and the page that follow.
        confirmedText_.clear();
        index_->execute("DELETE FROM temp.hits");
        SqlParams params;
        const std::string rows = confirmedRows(text, chars, params);
        index_->execute("INSERT INTO temp.hits " + rows, params);
        confirmedText_ = std::string(text);
        return index_->changedRows();
    });
}

std::string SearchIndex::containsCondition(std::string_view text, SqlParams& params,
                                           bool asTest) const {
    // "+id" keeps the condition from choosing how the rows are read: they are then read in the
    // order of the sort column's index and each is tested against the matching set.
    const std::string column = asTest ? "+id" : "id";
    const std::string folding = folded(text);
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
    return onIndexFile(indexFile_, [&] { return index_->queryRows(sql, params); });
}

std::string SearchIndex::storedStamp() const {
    const SqlRows rows = index_->queryRows("SELECT value FROM meta WHERE key='stamp'");
    return rows.empty() ? std::string() : rows.front().field(1);
}

void SearchIndex::reindex(const std::vector<std::string>& numbers,
                          const std::vector<long long>& staleIds) {
    confirmedText_.clear();
    SqliteStatement dropGrams = index_->prepare(
        "INSERT INTO grams(grams,rowid,body) SELECT 'delete',id,body FROM bodies WHERE id=?");
    SqliteStatement dropBody = index_->prepare("DELETE FROM bodies WHERE id=?");
    SqliteStatement dropRow = index_->prepare("DELETE FROM list WHERE id=?");
    auto drop = [&](long long id) {
        dropGrams.run({id});
        dropBody.run({id});
        dropRow.run({id});
    };
    std::vector<long long> dropped = staleIds;
    {
        SqliteStatement findId = index_->prepare("SELECT id FROM list WHERE krbnumber=?");
        for (const std::string& number : numbers) {
            findId.bind({number});
            if (findId.step()) {
                dropped.push_back(findId.integer(0));
            }
        }
    }
    for (const long long id : dropped) {
        drop(id);
    }
    if (numbers.empty()) {
        return;
    }

    std::string columns;
    std::string places;
    for (const std::string_view name : kListColumns) {
        columns += (columns.empty() ? "" : ",") + std::string(name);
        places += places.empty() ? "?" : ",?";
    }
    SqliteStatement addRow =
        index_->prepare("INSERT INTO list(" + columns + ") VALUES(" + places + ")");
    SqliteStatement addBody = index_->prepare("INSERT INTO bodies(id,body) VALUES(?,?)");
    SqliteStatement addGrams = index_->prepare("INSERT INTO grams(rowid,body) VALUES(?,?)");
    const std::string read =
        "SELECT " + listColumnsRead() + ",data FROM kerbina WHERE krbnumber IN (";
    for (std::size_t first = 0; first < numbers.size(); first += kQuotationsPerRead) {
        const std::size_t count = std::min(kQuotationsPerRead, numbers.size() - first);
        SqlParams wanted(numbers.begin() + static_cast<std::ptrdiff_t>(first),
                         numbers.begin() + static_cast<std::ptrdiff_t>(first + count));
        std::string sql = read;
        for (std::size_t i = 0; i < count; ++i) {
            sql += i == 0 ? "?" : ",?";
        }
        for (SqlRow& row : quotations_.queryRows(sql + ")", wanted)) {
            std::string body = std::move(row.columns.back());
            row.columns.pop_back();
            addRow.run(listValues(row.columns));
            const long long id = index_->lastInsertId();
            addBody.run({id, body});
            addGrams.run({id, std::move(body)});
        }
    }
}

void SearchIndex::refresh() {
    lastRefreshCount_ = 0;
    lastRefreshCompared_ = false;
    onIndexFile(indexFile_, [&] {
        const std::string stamp = quotations_.changeStamp();
        if (!stamp.empty() && storedStamp() == stamp) {
            return;
        }

        // Every list column is compared, not only `modified`: a program that changes a status
        // without touching the stamp would otherwise leave the index filtering by the old one.
        lastRefreshCompared_ = true;
        std::map<std::string, std::vector<std::string>> source; // number -> list columns
        for (SqlRow& row : quotations_.queryRows("SELECT " + listColumnsRead() +
                                                 " FROM kerbina WHERE krbnumber IS NOT NULL")) {
            std::string number = row.columns.front();
            source.emplace(std::move(number), std::move(row.columns));
        }
        std::vector<long long> stale;
        std::vector<std::string> changed;
        for (SqlRow& row : index_->queryRows("SELECT id," + listColumnsRead() + " FROM list")) {
            const long long id = std::stoll(row.field(1));
            row.columns.erase(row.columns.begin());
            const auto found = source.find(row.columns.front());
            if (found == source.end()) {
                stale.push_back(id);
                continue;
            }
            if (found->second != row.columns) {
                changed.push_back(found->first);
            }
            source.erase(found);
        }
        for (auto& entry : source) {
            changed.push_back(entry.first);
        }
        SqliteTransaction transaction(*index_);
        reindex(changed, stale);
        index_->execute("INSERT OR REPLACE INTO meta(key,value) VALUES('stamp',?)", {stamp});
        if (changed.size() + stale.size() >= 1000) {
            index_->execute("INSERT INTO grams(grams) VALUES('optimize')");
        }
        transaction.commit();
        lastRefreshCount_ = static_cast<long long>(changed.size() + stale.size());
    });
}

std::string SearchIndex::stampBeforeWrite() const {
    return quotations_.changeStamp();
}

bool SearchIndex::noteChanged(const std::string& number, const std::string& stampBefore) {
    try {
        onIndexFile(indexFile_, [&] {
            SqliteTransaction transaction(*index_);
            reindex({number}, {});
            // The index was in step before this write, and the database counts exactly one
            // write transaction since: ours. The index is then in step again without comparing
            // rows.
            const std::string now = quotations_.changeStamp();
            const auto before = stampCounter(stampBefore);
            const auto after = stampCounter(now);
            if (before && after && *after == *before + 1 && storedStamp() == stampBefore) {
                index_->execute("UPDATE meta SET value=? WHERE key='stamp'", {now});
            }
            transaction.commit();
        });
        return true;
    } catch (const DatabaseError& error) {
        // Rolled back, the index keeps the stamp it had before the write, which the database
        // has no longer: the next refresh compares the table.
        quotations_.report(error);
        return false;
    }
}

bool SearchIndex::noteDeleted(const std::string& number, const std::string& stampBefore) {
    return noteChanged(number, stampBefore);
}

bool IndexedWrites::write(const std::string& number, std::string_view sql,
                          const SqlParams& params) {
    const std::string stamp = index_ != nullptr ? index_->stampBeforeWrite() : std::string();
    if (!quotations_.executeOrReport(sql, params)) {
        return false;
    }
    if (index_ != nullptr && !index_->noteChanged(number, stamp)) {
        index_ = nullptr;
    }
    return true;
}

} // namespace kerbina

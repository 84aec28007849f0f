#pragma once

#include "storage/database.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

class SqliteConnection;

// The search index of the quotation list: answers "which quotations contain this text" without
// reading every stored quotation.
//
// It lives in its own SQLite file beside the quotation database, so that the quotation
// database keeps only plain tables: another program writing quotations there needs nothing of
// ours. The index file holds
//   list    one row per quotation with the columns the list shows and filters by, and `modified`;
//   bodies  the stored quotation text of each row;
//   grams   a full-text table over `bodies` whose tokens are every single character and every
//           pair of neighbouring characters of the text, ASCII letters in lower case (LIKE treats
//           them alike; every other character is matched exactly, as LIKE does).
// A search text of one or two characters is one token, so the index answers it exactly. A longer
// text asks for all of its character pairs and then confirms each candidate with LIKE on its
// stored text, so the answer is always exactly the rows LIKE would find.
//
// It reads the quotation table only through the quotation database's `Database`, so any database
// that holds the table can stand behind it.
//
// Keeping in step: the program reports its own saves, copies and deletes (noteChanged,
// noteDeleted). Rows written by anyone else are found by `refresh`: whenever the quotation
// database's change stamp (Database::changeStamp) differs from the one the index last saw, the
// row numbers, `modified` stamps and the other list columns of the quotation table are compared
// with the index, and every row added, changed or removed is indexed again. A database without a
// stamp (a SQLite file in WAL mode) is compared on every refresh.
//
// Faults: a fault of the index file raises DatabaseError located at the index file, like the
// faults of every database; one of the quotation database keeps its own location.
class SearchIndex {
public:
    // Opens (creating when absent) the index of the quotation table of `quotations` at
    // `indexFile`; a damaged index file is set up again from nothing. Raises DatabaseError when
    // the index file cannot be opened or set up. `quotations` must outlive the index.
    SearchIndex(Database& quotations, std::filesystem::path indexFile);
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // The index file of a quotation database: beside it, "kerbinaXe5.db3" -> "kerbinaXe5.search".
    static std::filesystem::path indexFileFor(const std::filesystem::path& quotationFile);

    // Brings the index in step with the quotation table. Raises DatabaseError when that cannot
    // be done (the quotation database or the index locked, unreadable or not writable).
    void refresh();

    // Indexes the row `number` again as it now stands in the quotation table (after a save, a
    // copy or a status change), or drops it when the row is gone. On failure it reports the
    // fault through the quotation database (Database::report) and returns false; the index then
    // stays as it was, and the next refresh compares the whole table. With `stampBefore`, taken
    // by stampBeforeWrite just before a write of one transaction, and no other write since, the
    // index counts as in step and the next refresh compares nothing.
    bool noteChanged(const std::string& number, const std::string& stampBefore = {});
    bool noteDeleted(const std::string& number, const std::string& stampBefore = {});
    // The quotation database's change stamp now, for noteChanged.
    std::string stampBeforeWrite() const;

    // How many rows were indexed again by the last refresh (0 when nothing had changed).
    long long lastRefreshCount() const { return lastRefreshCount_; }
    // Whether the last refresh had to compare the rows of the table.
    bool lastRefreshCompared() const { return lastRefreshCompared_; }

    // A condition on `list.id` selecting the rows whose text contains `text` (not empty); appends
    // its parameters to `params`. `asTest` makes it a test of each row read (for reading in list
    // order) instead of the set of rows to look up.
    std::string containsCondition(std::string_view text, SqlParams& params, bool asTest) const;

    // How many rows contain `text`; nothing for an empty text. A text of three or more
    // characters has its candidates confirmed here once; the confirmed rows then answer
    // containsCondition for the same text until the index changes. Raises DatabaseError.
    std::optional<long long> textMatchCount(std::string_view text);

    // Runs a query on the index file. Raises DatabaseError.
    SqlRows queryRows(std::string_view sql, const SqlParams& params);

private:
    void reindex(const std::vector<std::string>& numbers, const std::vector<long long>& staleIds);
    // The quotation database's stamp the index was last brought in step with.
    std::string storedStamp() const;

    Database& quotations_;
    std::filesystem::path indexFile_;
    std::unique_ptr<SqliteConnection> index_;
    long long lastRefreshCount_ = 0;
    bool lastRefreshCompared_ = false;
    std::string confirmedText_; // the text whose rows are in the temporary table `hits`
};

// Writes of the quotation table, one row each, that the search index (when there is one) takes at
// once.
class IndexedWrites {
public:
    IndexedWrites(Database& quotations, SearchIndex* index)
        : quotations_(quotations), index_(index) {}

    // Runs one statement that writes the row `number` (Database::executeOrReport) and has the
    // index take the row as it now stands. False when the statement failed. Once the index has
    // failed (reported), the writes that follow leave it behind: its next refresh compares the
    // table, so one fault is not told again for every row.
    bool write(const std::string& number, std::string_view sql, const SqlParams& params);

private:
    Database& quotations_;
    SearchIndex* index_;
};

// The index of the quotation list of `quotations` at `indexFile`, or none when the index file
// cannot be opened or set up (a database folder this user may only read). That is a decision, not
// a fault: the list then searches the quotation table itself, with the same rows, only slower.
// Every later fault of the index is raised or reported.
std::unique_ptr<SearchIndex> openSearchIndex(Database& quotations,
                                             const std::filesystem::path& indexFile);

} // namespace kerbina

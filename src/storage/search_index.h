#pragma once

#include "storage/database.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace kerbina {

// The search index of the quotation list: answers "which quotations contain this text" without
// reading every stored quotation.
//
// It lives in its own database file beside the quotation database, so that the quotation
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
// Keeping in step: the program reports its own saves, copies and deletes (noteChanged,
// noteDeleted). Rows written by anyone else are found by `refresh`: whenever the quotation
// database's file change counter differs from the one the index last saw, the row numbers,
// `modified` stamps and the other list columns of the quotation table are compared with the
// index, and every row added, changed or removed is indexed again. A database in WAL mode has no
// reliable change counter and is compared on every refresh.
class SearchIndex {
public:
    // Opens (creating when absent) the index of `quotationFile` at `indexFile`. Raises
    // DatabaseError when the index file cannot be opened or set up.
    SearchIndex(std::filesystem::path quotationFile, std::filesystem::path indexFile);
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // The index file of a quotation database: beside it, "kerbinaXe5.db3" -> "kerbinaXe5.search".
    static std::filesystem::path indexFileFor(const std::filesystem::path& quotationFile);

    // Brings the index in step with the quotation table. False when that could not be done
    // (the quotation database or the index locked or unreadable); the index must then not answer.
    bool refresh();

    // Indexes the row `number` again as it now stands in the quotation table (after a save, a
    // copy or a status change), or drops it when the row is gone. False on failure; the next
    // refresh then compares the whole table. With `stampBefore`, taken by stampBeforeWrite just
    // before a write of one transaction, and no other write since, the index counts as in step
    // and the next refresh compares nothing.
    bool noteChanged(const std::string& number, const std::string& stampBefore = {});
    bool noteDeleted(const std::string& number, const std::string& stampBefore = {});
    // The state of the quotation database file now, for noteChanged.
    std::string stampBeforeWrite() const;

    // How many rows were indexed again by the last refresh (0 when nothing had changed).
    long long lastRefreshCount() const { return lastRefreshCount_; }
    // Whether the last refresh had to compare the rows of the table.
    bool lastRefreshCompared() const { return lastRefreshCompared_; }

    // A condition on `list.id` selecting the rows whose text contains `text` (not empty); appends
    // its parameters to `params`. `asTest` makes it a test of each row read (for reading in list
    // order) instead of the set of rows to look up.
    std::string containsCondition(std::string_view text, SqlParams& params, bool asTest) const;

    // How many rows contain `text`; nothing on failure. A text of three or more characters has
    // its candidates confirmed here once; the confirmed rows then answer containsCondition for
    // the same text until the index changes.
    std::optional<long long> textMatchCount(std::string_view text);

    // Runs a query on the index file. Raises DatabaseError.
    SqlRows queryRows(std::string_view sql, const SqlParams& params);

private:
    void reindex(const std::vector<std::string>& numbers, const std::vector<long long>& staleIds);
    void execute(const char* sql);

    std::filesystem::path quotationFile_;
    std::filesystem::path indexFile_;
    sqlite3* db_ = nullptr;
    long long lastRefreshCount_ = 0;
    bool lastRefreshCompared_ = false;
    std::string confirmedText_; // the text whose rows are in the temporary table `hits`
};

} // namespace kerbina

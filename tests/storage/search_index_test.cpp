#include "base/file_io.h"
#include "base/path_text.h"
#include "storage/quotation_actions.h"
#include "storage/quotation_list.h"
#include "storage/search_index.h"
#include "storage/sqlite_connection.h"
#include "storage_fixture.h"
#include "stored_quotations.h"

#include <fstream>
#include <functional>
#include <memory>
#include <random>

namespace kerbina {
namespace {

class SearchIndexTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        owned = std::make_unique<SqliteFileDatabase>(file(), reporter);
        createQuotationTables(database());
    }

    std::filesystem::path file() const { return folder() / "kerbinaXe5.db3"; }
    Database& database() { return *owned; }

    // The numbers found, from the whole list (the longer texts confirmed within the query) and
    // from the list page (confirmed first, its count checked).
    std::vector<std::string> found(const std::string& text, SearchIndex* index) {
        std::vector<std::string> all;
        for (const auto& row : readAllQuotationRows(database(), {.searchText = text}, 1, index)) {
            all.push_back(row.number);
        }
        const QuotationListPage page =
            readQuotationList(database(), {.filter = {.searchText = text}, .sortCode = 1}, index);
        std::vector<std::string> numbers;
        for (const auto& row : page.rows) {
            numbers.push_back(row.number);
        }
        EXPECT_EQ(page.count, static_cast<long long>(numbers.size())) << text;
        EXPECT_EQ(all, numbers) << text;
        return numbers;
    }

private:
    std::unique_ptr<SqliteFileDatabase> owned;
};

// Random quotation texts over a small alphabet (kana, kanji, ASCII in both cases, "%", "_",
// full-width letters, line breaks), so that most searched texts occur somewhere and many only
// as separate pieces.
TEST_F(SearchIndexTest, IndexedSearchEqualsTheTableScan) {
    const std::vector<std::string> alphabet = {"配", "管", "保", "温", "ダ", "ク", "ト", "a",
                                               "A",  "b",  "B",  "%",  "_",  "Ａ", "ａ", "\r\n",
                                               ";",  "1",  "鋼", "'",  "\\", "㎡"};
    std::mt19937 random(20240401);
    const auto randomText = [&](int length) {
        std::string text;
        for (int i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        return text;
    };
    {
        SqliteConnection connection(file()); // one transaction for all rows
        connection.execute("BEGIN");
        for (int i = 0; i < 3000; ++i) {
            // List columns with many ties, so that sorting and paging are put to the test too.
            connection.execute(
                "INSERT INTO kerbina(krbnumber,data,status,ATESAKI_1,ALLGTOTAL,created) "
                "VALUES(?,?,?,?,?,?)",
                {"Q" + std::to_string(i), randomText(static_cast<int>(5 + random() % 60)),
                 std::to_string(random() % 7),
                 i % 5 == 0 ? "" : "宛先" + std::to_string(random() % 4),
                 std::to_string(random() % 50 * 1000) + (i % 3 == 0 ? ".5" : ""),
                 "2024-0" + std::to_string(1 + random() % 9) + "-1" +
                     std::to_string(random() % 10) + " 00:00:00"});
        }
        connection.execute("COMMIT");
    }
    SearchIndex index(database(), SearchIndex::indexFileFor(file()));
    ASSERT_NO_THROW(index.refresh());
    EXPECT_EQ(index.lastRefreshCount(), 3000);

    std::vector<std::string> searches = {"a",    "A",    "Ａ", "%",     "_",     "\\",
                                         "'",    "配管", "aB", "%_",    "保温a", "配管保温ダクト",
                                         "\r\n", "㎡1",  "zz", "鋼鋼鋼"};
    for (int i = 0; i < 200; ++i) {
        searches.push_back(randomText(static_cast<int>(1 + random() % 5)));
    }
    int nonEmpty = 0;
    for (const std::string& text : searches) {
        const auto expected = found(text, nullptr);
        nonEmpty += expected.empty() ? 0 : 1;
        ASSERT_EQ(found(text, &index), expected) << "search text: " << text;
    }
    EXPECT_GT(nonEmpty, 100);
    EXPECT_EQ(index.lastRefreshCount(), 0); // nothing changed: no row indexed again

    // Pages of every sort order, with and without other filters: the index gives the table's.
    const int sortCodes[] = {0, 1, 2, 3, 8, 9, 12, 13, 20, 21};
    for (int round = 0; round < 120; ++round) {
        QuotationListRequest request;
        request.filter.searchText = round % 4 == 0 ? "" : searches[random() % searches.size()];
        if (round % 3 == 0) {
            request.filter.status = static_cast<int>(random() % 7);
        }
        if (round % 5 == 0) {
            request.filter.minAmount = Currency::fromWhole(20000);
            request.filter.createdTo = "2024-05-15";
        }
        request.sortCode = sortCodes[random() % std::size(sortCodes)];
        request.rowsPerPage = 7;
        request.page = 1 + static_cast<int>(random() % 4);
        const QuotationListPage table = readQuotationList(database(), request);
        const QuotationListPage indexed = readQuotationList(database(), request, &index);
        ASSERT_EQ(indexed.rows, table.rows) << "round " << round;
        ASSERT_EQ(indexed.countText, table.countText) << "round " << round;
        ASSERT_EQ(indexed.pageTotal, table.pageTotal) << "round " << round;
    }
}

// Another program writes the quotation table directly: added, changed and removed rows are
// noticed before the next answer. The quotation database gets nothing but its own tables.
TEST_F(SearchIndexTest, RowsWrittenBehindItsBackAreNoticed) {
    insertQuotation(database(), {.number = "N1", .data = quotationText("N1", "1;空調機;\r\n")});
    insertQuotation(database(), {.number = "N2", .data = quotationText("N2", "1;送風機;\r\n")});
    SearchIndex index(database(), SearchIndex::indexFileFor(file()));
    EXPECT_EQ(found("風機", &index), (std::vector<std::string>{"N2"}));

    insertQuotation(database(), {.number = "N3", .data = quotationText("N3", "1;排風機;\r\n")});
    database().execute("UPDATE kerbina SET data=?, modified='2024-05-01 09:00:00' WHERE "
                       "krbnumber='N1'",
                       {quotationText("N1", "1;換気扇;\r\n")});
    database().execute("DELETE FROM kerbina WHERE krbnumber='N2'");
    ASSERT_NO_THROW(index.refresh());
    EXPECT_EQ(index.lastRefreshCount(), 3);
    EXPECT_EQ(found("風機", &index), (std::vector<std::string>{"N3"}));
    EXPECT_EQ(found("換気", &index), (std::vector<std::string>{"N1"}));
    EXPECT_EQ(found("空調機", &index), (std::vector<std::string>{}));
    // A status changed without a new stamp still reaches the index's filters.
    database().execute("UPDATE kerbina SET status='5' WHERE krbnumber='N3'");
    const auto page =
        readQuotationList(database(), {.filter = {.searchText = "風機", .status = 5}}, &index);
    ASSERT_EQ(page.rows.size(), 1u);
    EXPECT_EQ(page.rows[0].number, "N3");

    const SqlRows objects =
        database().queryRows("SELECT type, name FROM sqlite_master WHERE type <> 'table' OR sql "
                             "LIKE '%VIRTUAL%'");
    for (const SqlRow& object : objects) {
        EXPECT_NE(object.field(1), "trigger") << object.field(2);
        EXPECT_EQ(object.field(2).rfind("sqlite_autoindex_", 0), 0u) << object.field(2);
    }
}

TEST_F(SearchIndexTest, OwnWritesAreTakenAtOnce) {
    insertQuotation(database(), {.number = "M1", .data = quotationText("M1", "1;冷温水;\r\n")});
    SearchIndex index(database(), SearchIndex::indexFileFor(file()));
    ASSERT_NO_THROW(index.refresh());
    database().execute("UPDATE kerbina SET data=? WHERE krbnumber='M1'",
                       {quotationText("M1", "1;冷却水;\r\n")});
    ASSERT_TRUE(index.noteChanged("M1"));
    EXPECT_EQ(found("却水", &index), (std::vector<std::string>{"M1"}));
    EXPECT_EQ(index.lastRefreshCount(), 0); // the stamp compare found nothing left to do
    database().execute("DELETE FROM kerbina WHERE krbnumber='M1'");
    ASSERT_TRUE(index.noteDeleted("M1"));
    EXPECT_EQ(found("水", &index), (std::vector<std::string>{}));
}

// A write of the program's own, bracketed by its stamps, keeps the index in step without
// comparing the table; a write of another program in between still makes the next read compare.
TEST_F(SearchIndexTest, OwnWritesNeedNoCompareUnlessAnotherCameBetween) {
    for (const char* number : {"W1", "W2", "W3"}) {
        insertQuotation(database(), {.number = number, .data = quotationText(number, "暖房\r\n")});
    }
    SearchIndex index(database(), SearchIndex::indexFileFor(file()));
    ASSERT_NO_THROW(index.refresh());
    EXPECT_TRUE(index.lastRefreshCompared());

    EXPECT_EQ(deleteQuotations(database(), {"W1"}, &index).done, 1);
    EXPECT_EQ(changeQuotationStatus(database(), {"W2"}, 3, &index).done, 1);
    ASSERT_NO_THROW(index.refresh());
    EXPECT_FALSE(index.lastRefreshCompared());
    EXPECT_EQ(found("暖房", &index), (std::vector<std::string>{"W2", "W3"}));

    const std::string stamp = index.stampBeforeWrite();
    database().execute("DELETE FROM kerbina WHERE krbnumber='W3'");
    insertQuotation(database(), {.number = "W4", .data = quotationText("W4", "暖房\r\n")});
    ASSERT_TRUE(index.noteDeleted("W3", stamp));
    ASSERT_NO_THROW(index.refresh());
    EXPECT_TRUE(index.lastRefreshCompared());
    EXPECT_EQ(found("暖房", &index), (std::vector<std::string>{"W2", "W4"}));
}

TEST_F(SearchIndexTest, ADamagedIndexFileIsBuiltAgain) {
    insertQuotation(database(), {.number = "D1", .data = quotationText("D1", "1;給湯器;\r\n")});
    const auto indexFile = SearchIndex::indexFileFor(file());
    writeFileAtomically(indexFile, std::string(8192, 'x'));
    SearchIndex index(database(), indexFile);
    ASSERT_NO_THROW(index.refresh());
    EXPECT_EQ(index.lastRefreshCount(), 1);
    EXPECT_EQ(found("湯", &index), (std::vector<std::string>{"D1"}));
}

// Every fault inside the index reaches the caller as a database fault located at the index file:
// a list read raises it, a write the program reports on its own index is told once.
TEST_F(SearchIndexTest, FaultsOfTheIndexAreDatabaseFaultsOfTheIndexFile) {
    const auto indexFile = SearchIndex::indexFileFor(file());
    const std::string indexPath = pathText(indexFile);
    const auto firstRow = [&](const char* sql) {
        return std::stoll(SqliteConnection(indexFile).queryRows(sql).at(0).field(1));
    };
    const struct {
        const char* name;
        std::function<void()> harm;
    } cases[] = {
        {"a damaged page",
         [&] {
             const long long pageSize = firstRow("PRAGMA page_size");
             const long long page =
                 firstRow("SELECT rootpage FROM sqlite_master WHERE name='list'");
             std::fstream index(indexFile, std::ios::in | std::ios::out | std::ios::binary);
             index.seekp((page - 1) * pageSize);
             index << std::string(static_cast<std::size_t>(pageSize), 'x');
             // A new change counter has the open connection read its pages again.
             index.seekg(27);
             const int counter = index.get();
             index.seekp(27);
             index.put(static_cast<char>(counter + 1));
         }},
        {"a file that cannot be read or written",
         [&] {
             std::filesystem::create_directory(pathFromText(indexPath + "-journal"));
         }},
        {"a failing statement",
         [&] {
             SqliteConnection(indexFile).execute("DROP TABLE bodies");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(indexFile);
        std::filesystem::remove_all(pathFromText(indexPath + "-journal"));
        database().execute("DELETE FROM kerbina");
        for (const char* number : {"F1", "F2"}) {
            insertQuotation(database(),
                            {.number = number, .data = quotationText(number, "1;膨張タンク;\r\n")});
        }
        SearchIndex index(database(), indexFile);
        ASSERT_NO_THROW(index.refresh());
        c.harm();

        // The program's own writes: done, the index's fault told once for all rows.
        reporter.reports.clear();
        EXPECT_EQ(changeQuotationStatus(database(), {"F1", "F2"}, 2, &index).done, 2);
        ASSERT_EQ(reporter.reports.size(), 1u);
        EXPECT_EQ(reporter.reports[0].first, "ERROR");
        EXPECT_NE(reporter.reports[0].second.find("\n" + indexPath + "\n"), std::string::npos)
            << reporter.reports[0].second;

        // A read: raised, never answered from elsewhere.
        try {
            readQuotationList(database(), {.filter = {.searchText = "タンク"}}, &index);
            ADD_FAILURE() << "no fault raised";
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.location(), indexPath);
            EXPECT_NE(databaseFaultMessage(error).find("\n" + indexPath + "\n"), std::string::npos);
        }
    }
}

// An index file that cannot be opened leaves the search to the quotation table: that is the one
// decision, and it is the caller's; the index itself raises the fault.
TEST_F(SearchIndexTest, AnIndexThatCannotBeOpenedLeavesTheSearchToTheTable) {
    insertQuotation(database(), {.number = "T1", .data = quotationText("T1", "1;加湿器;\r\n")});
    const auto unreachable = folder() / "missing" / "kerbinaXe5.search";
    EXPECT_EQ(openSearchIndex(database(), unreachable), nullptr);
    try {
        SearchIndex index(database(), unreachable);
        ADD_FAILURE() << "no fault raised";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(databaseFaultMessage(error).starts_with(
            "データベースファイルを開けないか、書き込みが許可されていません。\n" +
            pathText(unreachable)))
            << databaseFaultMessage(error);
    }
    EXPECT_EQ(found("加湿", openSearchIndex(database(), unreachable).get()),
              (std::vector<std::string>{"T1"}));
    EXPECT_TRUE(reporter.reports.empty());
}

} // namespace
} // namespace kerbina

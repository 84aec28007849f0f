#include "storage/quotation_list.h"
#include "storage/search_index.h"
#include "storage_fixture.h"
#include "stored_quotations.h"

#include <algorithm>
#include <memory>
#include <set>

namespace kerbina {
namespace {

class QuotationListTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        owned = std::make_unique<SqliteFileDatabase>(file(), reporter);
        createQuotationTables(database());
    }

    // NF00001 .. with amounts 100, 200, ..., in one statement.
    void insertNumbered(int count) {
        database().execute(
            "WITH RECURSIVE n(i) AS (SELECT 1 WHERE ? > 0 UNION ALL SELECT i + 1 "
            "FROM n WHERE i < ?) INSERT INTO kerbina(krbnumber,ALLGTOTAL,status,data) "
            "SELECT printf('NF%05d', i), i * 100, '0', '' FROM n",
            {count, count});
    }

    std::filesystem::path file() const { return folder() / "kerbinaXe5.db3"; }

    Database& database() { return *owned; }

private:
    std::unique_ptr<SqliteFileDatabase> owned;
};

std::vector<std::string> numbersOf(const std::vector<QuotationListRow>& rows) {
    std::vector<std::string> numbers;
    for (const auto& row : rows) {
        numbers.push_back(row.number);
    }
    return numbers;
}

TEST_F(QuotationListTest, PagesCountAndButtons) {
    struct Case {
        int rows, perPage, page;
        int expectedPage, pages, rowsShown;
        std::string countText;
        bool back, forward;
    };
    const Case cases[] = {
        {100, 50, -1, 2, 2, 50, "100件 2/2", true, false},
        {100, 50, 9, 2, 2, 50, "100件 2/2", true, false},
        {100, 50, 0, 1, 2, 50, "100件 1/2", false, true},
        {101, 100, 2, 2, 2, 1, "101件 2/2", true, false},
        {101, 0, 5, 1, 1, 101, "101件 1/1", false, false},
        {0, 100, 3, 1, 1, 0, "0件 0/0", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.countText + " asking page " + std::to_string(c.page));
        database().execute("DELETE FROM kerbina");
        insertNumbered(c.rows);
        const QuotationListPage page = readQuotationList(
            database(), {.sortCode = 1, .page = c.page, .rowsPerPage = c.perPage});
        EXPECT_EQ(page.page, c.expectedPage);
        EXPECT_EQ(page.pages, c.pages);
        EXPECT_EQ(static_cast<int>(page.rows.size()), c.rowsShown);
        EXPECT_EQ(page.countText, c.countText);
        EXPECT_EQ(page.canGoBack, c.back);
        EXPECT_EQ(page.canGoForward, c.forward);
    }
}

TEST_F(QuotationListTest, PageTotalSumsTheRowsOfThePage) {
    insertNumbered(5); // 100 .. 500
    insertQuotation(database(), {.number = "X1", .amount = "0.5"});
    const auto page = readQuotationList(database(), {.sortCode = 9, .page = 1, .rowsPerPage = 3});
    EXPECT_EQ(numbersOf(page.rows), (std::vector<std::string>{"X1", "NF00001", "NF00002"}));
    EXPECT_EQ(page.pageTotal, Currency::fromText("300.5"));
}

// Every filter, alone and together, on the table and through the index: both give these rows.
TEST_F(QuotationListTest, FiltersSelectExactlyTheMatchingRows) {
    const StoredQuotation rows[] = {
        {.number = "A1",
         .addressee = "O'Brien設備",
         .amount = "1000",
         .created = "2024-01-10 00:00:00",
         .status = "0",
         .tag = "東",
         .data = quotationText("A1", "1;配管;100%保温;O'Brien\r\n")},
        {.number = "A2",
         .addressee = "東西工業",
         .amount = "250000",
         .created = "2024-02-01 00:00:00",
         .status = "1",
         .tag = "東",
         .data = quotationText("A2", "1;ダクト;SUS_304;\r\n")},
        {.number = "A3",
         .addressee = "東西工業",
         .amount = "99999.5",
         .created = "2024-02-29 00:00:00",
         .status = "1",
         .tag = "西",
         .data = quotationText("A3", "1;配管;SUSX304 ABC;\r\n")},
        {.number = "A4",
         .addressee = "東西工業",
         .amount = "5000000",
         .created = "2024-03-01 00:00:00",
         .status = "2",
         .tag = "東",
         .data = quotationText("A4", "1;衛生器具;abc 100保温;\r\n")},
    };
    for (const auto& row : rows) {
        insertQuotation(database(), row);
    }
    struct Case {
        std::string name;
        QuotationFilter filter;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"apostrophe in the addressee", {.addressee = "O'Brien設備"}, {"A1"}},
        {"apostrophe in the search", {.searchText = "O'B"}, {"A1"}},
        {"percent is literal", {.searchText = "100%"}, {"A1"}},
        {"underscore is literal", {.searchText = "S_3"}, {"A2"}},
        {"backslash is literal", {.searchText = "\\"}, {}},
        {"ASCII case as LIKE", {.searchText = "ABC"}, {"A3", "A4"}},
        {"one Japanese character", {.searchText = "管"}, {"A1", "A3"}},
        {"two characters", {.searchText = "保温"}, {"A1", "A4"}},
        {"longer text across a pair", {.searchText = "100保温"}, {"A4"}},
        {"search and status", {.searchText = "配管", .status = 1}, {"A3"}},
        {"status alone", {.status = 1}, {"A2", "A3"}},
        {"addressee and tag", {.addressee = "東西工業", .tag = "東"}, {"A2", "A4"}},
        {"date range, both ends inclusive",
         {.createdFrom = "2024-02-01", .createdTo = "2024-02-29"},
         {"A2", "A3"}},
        {"amount range",
         {.minAmount = Currency::fromWhole(1000), .maxAmount = Currency::fromText("99999.5")},
         {"A1", "A3"}},
        {"date, amount and addressee together",
         {.addressee = "東西工業",
          .createdFrom = "2024-02-02",
          .minAmount = Currency::fromWhole(100000)},
         {"A4"}},
        {"number of the header", {.searchText = "[NUMBER]=A2"}, {"A2"}},
    };
    SearchIndex index(database(), SearchIndex::indexFileFor(file()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (SearchIndex* through : {static_cast<SearchIndex*>(nullptr), &index}) {
            const auto page =
                readQuotationList(database(), {.filter = c.filter, .sortCode = 1}, through);
            EXPECT_EQ(numbersOf(page.rows), c.expected) << (through ? "index" : "table");
        }
    }
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(QuotationListTest, HeaderClicksSortAndMarkTheColumn) {
    insertQuotation(database(), {.number = "B1", .amount = "300", .requester = "佐藤"});
    insertQuotation(database(), {.number = "B2", .amount = "100", .requester = "伊藤"});
    insertQuotation(database(), {.number = "B3", .amount = "200", .requester = "佐藤"});
    // Without the addressee, column 5 is the amount.
    int sort = sortCodeAfterClick(false, 5, 0);
    EXPECT_EQ(sort, 8);
    EXPECT_EQ(listColumns(false, "現場名称", "工事名称", sort)[5].title, "金    額↓");
    EXPECT_EQ(numbersOf(readQuotationList(database(), {.sortCode = sort}).rows),
              (std::vector<std::string>{"B1", "B3", "B2"}));
    sort = sortCodeAfterClick(false, 5, sort);
    EXPECT_EQ(listColumns(false, "現場名称", "工事名称", sort)[5].title, "金    額↑");
    EXPECT_EQ(numbersOf(readQuotationList(database(), {.sortCode = sort}).rows),
              (std::vector<std::string>{"B2", "B3", "B1"}));
    // Ties keep the number order in the same direction, so pages never overlap.
    EXPECT_EQ(numbersOf(readQuotationList(database(), {.sortCode = 10}).rows),
              (std::vector<std::string>{"B3", "B1", "B2"}));
}

TEST_F(QuotationListTest, SideListsNewestSaveFirst) {
    insertQuotation(
        database(),
        {.number = "L1", .addressee = "東西", .tag = "t1", .modified = "2024-01-01 10:00:00"});
    insertQuotation(
        database(),
        {.number = "L2", .addressee = "南北", .tag = "", .modified = "2024-03-01 10:00:00"});
    insertQuotation(
        database(),
        {.number = "L3", .addressee = "東西", .tag = "t2", .modified = "2024-05-01 10:00:00"});
    insertQuotation(
        database(),
        {.number = "L4", .addressee = "", .tag = "t1", .modified = "2024-06-01 10:00:00"});
    SearchIndex index(database(), SearchIndex::indexFileFor(file()));
    for (SearchIndex* through : {static_cast<SearchIndex*>(nullptr), &index}) {
        EXPECT_EQ(listedAddressees(database(), through),
                  (std::vector<std::string>{"東西", "南北"}));
        EXPECT_EQ(listedTags(database(), through), (std::vector<std::string>{"t1", "t2"}));
    }
}

TEST(QuotationListLayout, ColumnsOfBothLayouts) {
    const auto titles = [](bool addressee, int sort) {
        std::vector<std::string> result;
        for (const auto& column : listColumns(addressee, "T1", "T2", sort)) {
            result.push_back(column.title);
        }
        return result;
    };
    EXPECT_EQ(titles(false, 0), (std::vector<std::string>{"No", "見積番号↓", "ステータス", "T2",
                                                          "T1", "金    額", "御依頼者", "日  付"}));
    EXPECT_EQ(titles(true, 3),
              (std::vector<std::string>{"No", "見積番号", "ステータス", "宛  先  名  称↑", "T2",
                                        "T1", "金    額", "御依頼者", "日  付"}));
    struct Click {
        bool addressee;
        int column, sort, expected;
    };
    for (const Click& c : {Click{false, 1, 0, 1}, Click{false, 1, 1, 0}, Click{false, 2, 0, 20},
                           Click{false, 3, 4, 5}, Click{false, 7, 13, 12}, Click{true, 3, 0, 2},
                           Click{true, 8, 0, 12}, Click{false, 0, 8, 8}, Click{true, 4, 5, 4}}) {
        EXPECT_EQ(sortCodeAfterClick(c.addressee, c.column, c.sort), c.expected)
            << c.addressee << " column " << c.column << " from " << c.sort;
    }
    const QuotationListRow row{"N1",   "2",    "宛先", "工事",
                               "現場", "1500", "依頼", "2024-01-01 00:00:00"};
    EXPECT_EQ(listCells(row, false),
              (std::vector<std::string>{"2", "N1", "成約", "工事", "現場", "1500", "依頼",
                                        "2024-01-01 00:00:00"}));
    EXPECT_EQ(listCells(row, true)[3], "宛先");
    EXPECT_EQ(rowsPerPageOfChoice(0, 37), 37);
    EXPECT_EQ(rowsPerPageOfChoice(5, 37), 1000);
    EXPECT_EQ(rowsPerPageOfChoice(6, 37), 0);
}

} // namespace
} // namespace kerbina

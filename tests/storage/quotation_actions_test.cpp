#include "base/file_io.h"
#include "base/text_codec.h"
#include "storage/quotation_actions.h"
#include "storage/quotation_copy.h"
#include "storage/quotation_list.h"
#include "storage/search_index.h"
#include "storage_fixture.h"
#include "stored_quotations.h"

#include <functional>
#include <memory>
#include <thread>

namespace kerbina {
namespace {

using namespace std::chrono;

class QuotationActionsTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        owned = std::make_unique<SqliteFileDatabase>(file(), prompt);
        createQuotationTables(database());
    }

    std::filesystem::path file() const { return folder() / "kerbinaXe5.db3"; }
    Database& database() { return *owned; }

    std::vector<std::string> numbers() {
        std::vector<std::string> result;
        for (const auto& row : database().queryRows("SELECT krbnumber FROM kerbina ORDER BY 1")) {
            result.push_back(row.field(1));
        }
        return result;
    }
    std::string column(const std::string& name, const std::string& number) {
        const SqlRows rows =
            database().queryRows("SELECT " + name + " FROM kerbina WHERE krbnumber=?", {number});
        return rows.empty() ? "(no row)" : rows.front().field(1);
    }

    CopyOutcome copy(const std::vector<std::string>& sources, const CopyRequest& request) {
        return copyQuotations(
            database(), sources, request, clock,
            [this](const std::string&) {
                return issueQuotationNumber(database(), database(), NumberingMode{true, false}, "",
                                            prompt);
            },
            prompt);
    }

    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    CopyClock clock{year{2026} / December / 10, "2026-12-10 15:04:05"};

private:
    std::unique_ptr<SqliteFileDatabase> owned;
};

// Marks follow the quotation, not the row position: after the list is sorted the other way the
// delete still removes exactly the marked quotations (one with an apostrophe in its number).
TEST_F(QuotationActionsTest, DeleteRemovesTheMarkedQuotationsWhateverTheOrder) {
    for (const char* number : {"A1", "A2", "O'3", "A4"}) {
        insertQuotation(database(), {.number = number});
    }
    QuotationMarks marks;
    const auto firstPage = readQuotationList(database(), {.sortCode = 0, .rowsPerPage = 2});
    marks.toggle(firstPage.rows[0].number); // O'3
    marks.toggle(firstPage.rows[1].number); // A4
    marks.toggle("A4");
    marks.toggle("A1");
    readQuotationList(database(), {.sortCode = 1, .rowsPerPage = 2}); // sorted the other way
    ASSERT_EQ(marks.numbers(), (std::vector<std::string>{"A1", "O'3"}));
    EXPECT_EQ(deleteQuestion(marks.count()), "2件、削除していいですか？");
    const RowActionResult result = deleteQuotations(database(), marks.numbers());
    EXPECT_EQ(result.done, 2);
    EXPECT_EQ(numbers(), (std::vector<std::string>{"A2", "A4"}));
}

TEST_F(QuotationActionsTest, StatusChangeReachesTableAndIndex) {
    insertQuotation(database(),
                    {.number = "S1", .status = "0", .data = quotationText("S1", "ポンプ\r\n")});
    insertQuotation(database(),
                    {.number = "S2", .status = "0", .data = quotationText("S2", "ポンプ\r\n")});
    SearchIndex index(database(), SearchIndex::indexFileFor(file()));
    ASSERT_NO_THROW(index.refresh());
    EXPECT_EQ(changeQuotationStatus(database(), {"S2"}, 4, &index).done, 1);
    EXPECT_EQ(changeQuotationStatus(database(), {"S1"}, 7, &index).done, 0);
    EXPECT_EQ(column("status", "S1"), "0");
    const auto page =
        readQuotationList(database(), {.filter = {.searchText = "ポンプ", .status = 4}}, &index);
    ASSERT_EQ(page.rows.size(), 1u);
    EXPECT_EQ(page.rows[0].number, "S2");
}

TEST(HeaderRewrite, OnlyHeaderLinesWithExactlyTheKey) {
    const std::string text =
        "<TITLE>\r\n[NUMBER_ID]=7\r\n[NUMBER]=OLD\r\n[DD]=01\r\n[DY]=36\r\n"
        "</TITLE>\r\n<DATA>\r\n1;[NUMBER]=x;[DD] 注記;\r\n[DD]=15\r\n</DATA>\r\n";
    EXPECT_EQ(rewriteHeaderLines(text, {{"NUMBER", "NEW"}, {"DD", "24"}}),
              "<TITLE>\r\n[NUMBER_ID]=7\r\n[NUMBER]=NEW\r\n[DD]=24\r\n[DY]=36\r\n"
              "</TITLE>\r\n<DATA>\r\n1;[NUMBER]=x;[DD] 注記;\r\n[DD]=15\r\n</DATA>\r\n");
    EXPECT_EQ(rewriteHeaderLines("<TITLE>\n[NUMBER]=A\n</TITLE>\n", {{"NUMBER", "B"}}),
              "<TITLE>\n[NUMBER]=B\n</TITLE>\n");
}

TEST_F(QuotationActionsTest, SequenceCopiesGetNumbersAndStoreTheNextCounter) {
    insertQuotation(database(), {.number = "A1", .amount = "1500", .tag = "東"});
    insertQuotation(database(), {.number = "A2", .amount = "2500"});
    const CopyCounter counter = readCopyCounter(database());
    EXPECT_EQ(counter.header, "MA");
    EXPECT_EQ(counter.width, 7);
    EXPECT_EQ(counter.next, 1);
    const CopyOutcome outcome =
        copy({"A1", "A2"}, {.numbering = CopyNumbering::Sequence, .sequence = counter});
    EXPECT_EQ(outcome.copied, (std::vector<std::pair<std::string, std::string>>{
                                  {"A1", "MA00001"}, {"A2", "MA00002"}}));
    EXPECT_EQ(readCopyCounter(database()).next, 3);
    EXPECT_EQ(column("ALLGTOTAL", "MA00001"), "1500");
    EXPECT_EQ(column("tag1str", "MA00001"), "東");
    EXPECT_EQ(column("NUMBER", "MA00002"), "MA00002");
    EXPECT_EQ(column("created", "MA00002"), "2026-12-10 00:00:00");
    EXPECT_EQ(column("modified", "MA00002"), "2026-12-10 15:04:05");
    EXPECT_NE(column("data", "MA00002").find("[NUMBER]=MA00002\r\n"), std::string::npos);
    EXPECT_TRUE(prompt.notices.empty());
}

TEST_F(QuotationActionsTest, CopyRewritesTheChosenValuesInColumnsAndHeaderLines) {
    insertQuotation(database(),
                    {.number = "C1", .data = quotationText("C1", "1;[DD]=99 [ULIMIT] 指定;\r\n")});
    const CopyOutcome outcome = copy({"C1"}, {.numbering = CopyNumbering::Suffix,
                                              .addedText = "-2",
                                              .deliveryDate = "5月末",
                                              .tag = "再見積",
                                              .date = year{2024} / March / 5});
    ASSERT_EQ(outcome.copied.size(), 1u);
    EXPECT_EQ(column("ULIMIT", "C1-2"), "5月末");
    EXPECT_EQ(column("tag1str", "C1-2"), "再見積");
    EXPECT_EQ(column("created", "C1-2"), "2024-03-05 00:00:00");
    EXPECT_EQ(column("data", "C1-2"),
              "<TITLE>\r\n[NUMBER]=C1-2\r\n[ULIMIT]=5月末\r\n[MLIMIT]=\r\n[Opt1Str]=再見積\r\n"
              "[DY]=36\r\n[DM]=03\r\n[DD]=05\r\n</TITLE>\r\n<DATA>\r\n1;[DD]=99 [ULIMIT] 指定;\r\n"
              "</DATA>\r\n");
}

// Copies that would get no number, a duplicate or a number too long are skipped, and that is
// shown before anything is written; the others are copied.
TEST_F(QuotationActionsTest, BadNumbersAreReportedBeforeAnythingIsWritten) {
    for (const char* number : {"A1", "A2", "XA2", "設備見積AB12"}) {
        insertQuotation(database(), {.number = number});
    }
    std::vector<std::string> rowsWhenShown;
    prompt.onNotify = [&] {
        rowsWhenShown = numbers();
    };
    const CopyOutcome outcome =
        copy({"A1", "A2", "設備見積AB12"}, {.numbering = CopyNumbering::Prefix, .addedText = "X"});
    EXPECT_EQ(rowsWhenShown, (std::vector<std::string>{"A1", "A2", "XA2", "設備見積AB12"}));
    ASSERT_EQ(prompt.notices.size(), 1u);
    EXPECT_EQ(prompt.notices[0],
              "番号が重複しています\r\nXA2\r\n見積番号が12バイトを超えています\r\nX設備見積AB12");
    EXPECT_EQ(outcome.copied, (std::vector<std::pair<std::string, std::string>>{{"A1", "XA1"}}));

    // Without a numbering row the automatic choice has no number to give.
    database().execute("DELETE FROM krbconf WHERE conf='KERBINA'");
    prompt.notices.clear();
    EXPECT_TRUE(copy({"A1"}, {}).copied.empty());
    // The issuer says why it gave no number; the copy then names the quotation it skipped.
    EXPECT_EQ(prompt.notices, (std::vector<std::string>{std::string(kNoCounterRowText),
                                                        "見積番号を取得できませんでした\r\nA1"}));
}

TEST_F(QuotationActionsTest, AutomaticNumbersComeFromOneAtomicStatement) {
    insertQuotation(database(), {.number = "A1"});
    EXPECT_EQ(copy({"A1"}, {}).copied,
              (std::vector<std::pair<std::string, std::string>>{{"A1", "NF00001"}}));
    EXPECT_EQ(database().queryRows("SELECT number FROM krbconf WHERE conf='KERBINA'")[0].field(1),
              "1");
    // Two workstations issuing at once never get the same number.
    std::vector<std::string> issued[2];
    std::thread workers[2];
    for (int w = 0; w < 2; ++w) {
        workers[w] = std::thread([&, w] {
            QuietPrompt quiet;
            SqliteFileDatabase own(file(), quiet);
            for (int i = 0; i < 40; ++i) {
                issued[w].push_back(
                    issueQuotationNumber(own, own, NumberingMode{true, false}, "", quiet)
                        .value_or(""));
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
    std::set<std::string> distinct(issued[0].begin(), issued[0].end());
    distinct.insert(issued[1].begin(), issued[1].end());
    distinct.erase("");
    EXPECT_EQ(distinct.size(), 80u);
}

TEST(CopyHistory, NewestFirstThirtyAtMost) {
    std::vector<std::string> history;
    for (int i = 1; i <= 31; ++i) {
        rememberCopyText(history, "t" + std::to_string(i));
    }
    rememberCopyText(history, "t5");
    rememberCopyText(history, "");
    ASSERT_EQ(history.size(), 30u);
    EXPECT_EQ(history[0], "t5");
    EXPECT_EQ(history[1], "t31");
    EXPECT_EQ(history.back(), "t2");
    EXPECT_EQ(copyHistoryFile("/tmp/x", 2), std::filesystem::path("/tmp/x/copy2.lst"));
}

} // namespace
} // namespace kerbina

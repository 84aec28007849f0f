#include "money_literal.h"
#include "quotation_database_fixture.h"
#include "storage/quotation_rows.h"

#include <fstream>

namespace kerbina {
namespace {

using namespace std::chrono_literals;

QuotationHeader sampleHeader() {
    QuotationHeader header;
    header.id = "7";
    header.addressee1 = "大和設備 O'Brien";
    header.addressee2 = "御中";
    header.siteName1 = "中央ビル";
    header.siteName2 = "改修";
    header.submittedGrandTotal = c("17883950");
    header.netGrandTotal = c("1234.5");
    header.submittedTaxTotal = c("1788395");
    header.netTaxTotal = c("-0.25");
    header.workName = "空調設備工事";
    header.validity = "3ヶ月";
    header.deliveryDate = "別途協議";
    header.tradeTerms = "現金";
    header.number = "NF00042";
    header.honorific = "様";
    header.storedYear = 38; // 2026
    header.month = 2;
    header.day = 31; // no such day: saved as it stands
    header.author = "山田";
    header.requester = "佐藤";
    header.dataLevel = 15;
    header.keyCode = 3;
    header.opt1Str = "tag1";
    header.opt2Str = ",,,";
    header.opt3Str = "tag3";
    header.opt1Int = 1;
    header.opt2Int = 2;
    header.opt3Int = 3;
    header.keta = 100;
    header.cutLevel = c("0.5");
    header.status = 2;
    return header;
}

const std::string kData = "<TITLE>\r\n[NUMBER]=NF00042\r\n</TITLE>\r\n</EOF>\r\n";

class QuotationRowTest : public QuotationDatabaseTest {
protected:
    RowWriteResult write(const QuotationHeader& header, std::string_view data, RowWrite mode,
                         std::chrono::system_clock::time_point now) {
        return writeQuotationRow(*quotations, header, data, mode, now, prompt);
    }
    SqlRows stored() { return rowsOf("SELECT * FROM kerbina ORDER BY krbnumber"); }

    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    const std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

TEST_F(QuotationRowTest, EveryColumnIsWrittenFromTheHeaderAndTheQuotationText) {
    ASSERT_EQ(write(sampleHeader(), kData, RowWrite::InsertOnly, now), RowWriteResult::Written);
    const SqlRows rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<std::string> expected = {
        "NF00042",
        "大和設備 O'Brien",
        "御中",
        "中央ビル",
        "改修",
        "17883950",
        "1234.5",
        "1788395",
        "-0.25",
        "空調設備工事",
        "3ヶ月",
        "別途協議",
        "現金",
        "NF00042",
        "様",
        "2026-02-31 00:00:00",
        dateTimeText(now),
        "山田",
        "佐藤",
        "15",
        "3",
        "tag1",
        ",,,",
        "tag3",
        "1",
        "2",
        "3",
        "100",
        "0.5",
        "2",
        kData,
    };
    EXPECT_EQ(rows[0].columns, expected);
    EXPECT_TRUE(prompt.reports.empty());
}

TEST_F(QuotationRowTest, DatesAndStatusesAreWrittenFromTheIntegersAsTheyStand) {
    const struct {
        int storedYear, month, day, status;
        const char* created;
        const char* statusText;
    } cases[] = {
        {38, 12, 10, 0, "2026-12-10 00:00:00", "0"},
        {1, 1, 8, 6, "1989-01-08 00:00:00", "6"},
        {38, 2, 30, -1, "2026-02-30 00:00:00", "0"}, // no status yet: a draft
        {38, 13, 0, 7, "2026-13-00 00:00:00", "0"},
    };
    for (const auto& c : cases) {
        QuotationHeader header = sampleHeader();
        header.storedYear = c.storedYear;
        header.month = c.month;
        header.day = c.day;
        header.status = c.status;
        const SqlParams values = quotationRowValues(header, kData, "now");
        EXPECT_EQ(*values[15].text(), c.created);
        EXPECT_EQ(*values[29].text(), c.statusText);
    }
}

TEST_F(QuotationRowTest, ASecondSaveUpdatesTheRowKeepsItsNumberAndRefreshesModified) {
    ASSERT_EQ(write(sampleHeader(), kData, RowWrite::InsertOnly, now), RowWriteResult::Written);
    QuotationHeader changed = sampleHeader();
    changed.addressee1 = "別の宛先";
    changed.submittedGrandTotal = c("500");
    const auto later = now + 2h;
    ASSERT_EQ(write(changed, "changed\r\n", RowWrite::InsertOrUpdate, later),
              RowWriteResult::Written);
    const SqlRows rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].field(1), "NF00042");
    EXPECT_EQ(rows[0].field(2), "別の宛先");
    EXPECT_EQ(rows[0].field(6), "500");
    EXPECT_EQ(rows[0].field(17), dateTimeText(later));
    EXPECT_NE(dateTimeText(later), dateTimeText(now));
    EXPECT_EQ(rows[0].field(31), "changed\r\n");
}

TEST_F(QuotationRowTest, InsertOnlyLeavesAnExistingRowAlone) {
    ASSERT_EQ(write(sampleHeader(), kData, RowWrite::InsertOnly, now), RowWriteResult::Written);
    const SqlRows before = stored();
    QuotationHeader other = sampleHeader();
    other.addressee1 = "他の見積";
    EXPECT_EQ(write(other, "other\r\n", RowWrite::InsertOnly, now + 1h),
              RowWriteResult::NumberTaken);
    EXPECT_EQ(stored(), before);
    EXPECT_TRUE(prompt.reports.empty());
}

TEST_F(QuotationRowTest, AFailedWriteIsReportedAndNeverTakenForSuccess) {
    std::ofstream(folder() / "broken.db3") << "this is not a database file at all, just text";
    SqliteFileDatabase broken(folder() / "broken.db3", reporter);
    for (const RowWrite mode : {RowWrite::InsertOnly, RowWrite::InsertOrUpdate}) {
        prompt.reports.clear();
        EXPECT_EQ(writeQuotationRow(broken, sampleHeader(), kData, mode, now, prompt),
                  RowWriteResult::Failed);
        ASSERT_EQ(prompt.reports.size(), 1u);
        EXPECT_EQ(prompt.reports[0].first, kSqlErrorText);
    }
}

TEST_F(QuotationRowTest, TheStoredTextComesBackUnchanged) {
    ASSERT_EQ(write(sampleHeader(), kData, RowWrite::InsertOnly, now), RowWriteResult::Written);
    EXPECT_EQ(storedQuotationText(*quotations, "NF00042"), kData);
    EXPECT_EQ(storedQuotationText(*quotations, "NF00043"), std::nullopt);
    EXPECT_TRUE(quotationRowExists(*quotations, "NF00042"));
    EXPECT_FALSE(quotationRowExists(*quotations, "nf00042"));
}

} // namespace
} // namespace kerbina

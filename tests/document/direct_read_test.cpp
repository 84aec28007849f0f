#include "base/file_io.h"
#include "base/text_codec.h"
#include "calc/totals.h"
#include "document/direct_read.h"
#include "document/quotation_file.h"
#include "document/work_store.h"
#include "records/line_kinds.h"
#include "settings/main_settings.h"
#include "test_data.h"
#include "work_store_fixture.h"

#include <gtest/gtest.h>
#include <tuple>

namespace kerbina {
namespace {

using testing_support::kToday;
using testing_support::namesOf;

std::string itemLine(std::string_view kind, std::string_view name) {
    return std::string(kind) + ";" + std::string(name) + ";0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n";
}

std::string dataLine(int sheet, std::string_view name, std::string_view price) {
    return std::to_string(sheet) + ";" + std::string(name) + ";;0;11999;;10;2;2;" +
           std::string(price) + ";" + std::string(price) + ";0;0;0;0;0;0;0;0;;;\r\n";
}

std::string quotationText(std::string_view items, int itemMax, std::string_view lines) {
    return "<TITLE>\r\n[ATESAKI_1]=山田建設株式会社御中\r\n[NUMBER]=Q-77\r\n[STATUS]=2\r\n"
           "[ItemMax]=" +
           std::to_string(itemMax) + "\r\n[Tax_opt_1]=0.9\r\n</TITLE>\r\n<ITEM>\r\n" +
           std::string(items) + "</ITEM>\r\n<DATA>\r\n" + std::string(lines) +
           "</DATA>\r\n<PICKUP>\r\n2;0;0;拾出\r\n</PICKUP>\r\n<CONFIG>\r\n</CONFIG>\r\n"
           "<DAIKA>\r\n複合単価:0000001;a;\r\n</DAIKA>\r\n</EOF>\r\n";
}

// The settings of a fresh installation, as kerbina-cli uses them without --data-root.
class FreshSettingsHost : public testing_support::ScriptedHost {
public:
    void readSettings(DocumentState& state) override {
        applyToDocument(kerbina::readSettings(MainSettings{}, SettingsSources{}), state);
    }
};

class DirectReadTest : public testing_support::WorkStoreTest {
protected:
    std::filesystem::path writeFile(const std::string& name, std::string_view utf8) {
        const std::filesystem::path path = root / name;
        writeFileAtomically(path, toCp932(utf8));
        return path;
    }

    // A readable one-sheet quotation open, with unsaved changes.
    void openEditedQuotation() {
        const auto good = writeFile(
            "one.krb2", quotationText(itemLine("10", "工事"), 1, dataLine(1, "配管", "1")));
        startNewQuotation(state, store, host, host.settings(), kToday);
        loadQuotationFile(state, store, host, host.settings(), good, std::nullopt, kToday);
        state.modified = true;
    }
};

TEST_F(DirectReadTest, OpensEveryItemAndShowsTheBreakdownList) {
    const auto path =
        writeFile("two.krb2",
                  quotationText(itemLine("93", "消費税") + itemLine("10", "") + itemLine("10", ""),
                                3, dataLine(2, "配管", "100") + dataLine(3, "継手", "50")));
    startNewQuotation(state, store, host, host.settings(), kToday);
    state.modified = true;

    EXPECT_EQ(loadQuotationFile(state, store, host, host.settings(), path, std::nullopt, kToday),
              OpenedView::ItemList);
    EXPECT_EQ(state.itemMax(), 3);
    EXPECT_EQ(state.header.addressee1, "山田建設株式会社");
    EXPECT_EQ(state.header.honorific, "御中");
    EXPECT_EQ(state.header.status, 2);
    EXPECT_EQ(state.currentSheetNumber, 2); // the tax item has no sheet of its own
    EXPECT_EQ(namesOf(state.sheet), "配管;");
    EXPECT_FALSE(state.modified);
    EXPECT_EQ(state.settings.taxOffset, parseNumber("0.9"));
    EXPECT_EQ(state.unitCostBreakdowns, std::vector<std::string>{"複合単価:0000001;a;"});
    EXPECT_EQ(namesOf(readSheetFile(work("WITEM3.WRK"))), "継手;");
    const std::vector<TakeoffRecord> takeoff = readTakeoffFile(work("WITEM2.PUP"));
    ASSERT_EQ(takeoff.size(), 1u);
    EXPECT_EQ(takeoff[0].sheet, 2);
    EXPECT_EQ(takeoff[0].nameSpec, "拾出;");
    EXPECT_TRUE(std::filesystem::exists(work("WITEM1.WRK")));

    // The backup now holds the opened quotation.
    const QuotationData backup = readQuotationFile(backupFilePath(store.backupFolder));
    EXPECT_EQ(backup.header.number, "Q-77");
    EXPECT_EQ(namesOf(backup.sheets[3]), "継手;");
}

// A file is read into a new quotation's header: a file without a date keeps today's date, one with
// a date keeps its own.
TEST_F(DirectReadTest, AFileWithoutADateTakesTodaysDate) {
    const auto undated =
        writeFile("undated.krb2", quotationText(itemLine("10", ""), 1, dataLine(1, "配管", "100")));
    startNewQuotation(state, store, host, host.settings(), kToday);
    loadQuotationFile(state, store, host, host.settings(), undated, std::nullopt, kToday);
    const QuotationHeader today = newHeader(2024, 5, static_cast<int>(unsigned(kToday.day())));
    EXPECT_EQ(std::tuple(state.header.storedYear, state.header.month, state.header.day),
              std::tuple(today.storedYear, today.month, today.day));

    std::string text = quotationText(itemLine("10", ""), 1, dataLine(1, "配管", "100"));
    text.insert(text.find("[ItemMax]"), "[DY]=30\r\n[DM]=2\r\n[DD]=31\r\n");
    loadQuotationFile(state, store, host, host.settings(), writeFile("dated.krb2", text),
                      std::nullopt, kToday);
    EXPECT_EQ(std::tuple(state.header.storedYear, state.header.month, state.header.day),
              std::tuple(30, 2, 31));
}

TEST_F(DirectReadTest, OneItemOpensItsSheetComputedWithAFreshUndoTape) {
    const auto path =
        writeFile("one.krb2", quotationText(itemLine("10", ""), 1, dataLine(1, "配管", "100")));
    startNewQuotation(state, store, host, host.settings(), kToday);

    EXPECT_EQ(loadQuotationFile(state, store, host, host.settings(), path, 5, kToday),
              OpenedView::Sheet);
    EXPECT_EQ(state.header.status, 5);
    ASSERT_EQ(state.lineCount(), 1);
    EXPECT_EQ(state.sheet[1].submittedAmount, parseNumber("200"));
    EXPECT_EQ(state.items[1].submittedTotal, parseNumber("200"));
    // Undo never goes behind the sheet as it was opened.
    EXPECT_EQ(namesOf(readSheetFile(work("1WITEM1.UND"))), "配管;");
    EXPECT_FALSE(state.modified);
}

// The example quotations store totals that their lines do not give. Opening one shows (and keeps in
// the work folder and the backup) exactly the totals kerbina-cli computes for it.
TEST_F(DirectReadTest, OpeningRecomputesEverySheetAsTheCommandLineToolDoes) {
    const MainSettings settings = kerbina::readSettings(MainSettings{}, SettingsSources{});
    for (int example = 1; example <= 6; ++example) {
        SCOPED_TRACE(example);
        SetUp();
        const std::filesystem::path path = exampleQuotation(example);
        QuotationData expected = readQuotationFile(path);
        const QuotationHeader stored = expected.header;
        recalculateQuotation(expected, settings.calc, settings.itemNameLine);

        FreshSettingsHost fresh;
        loadQuotationFile(state, store, fresh, fresh.settings(), path, std::nullopt, kToday);
        for (const QuotationHeader& header :
             {state.header, readQuotationFile(backupFilePath(store.backupFolder)).header}) {
            EXPECT_EQ(header.submittedGrandTotal, expected.header.submittedGrandTotal);
            EXPECT_EQ(header.netGrandTotal, expected.header.netGrandTotal);
            EXPECT_EQ(header.submittedTaxTotal, expected.header.submittedTaxTotal);
            EXPECT_EQ(header.netTaxTotal, expected.header.netTaxTotal);
        }
        EXPECT_EQ(state.allSubmittedTotal, expected.header.submittedGrandTotal);
        ASSERT_EQ(state.itemMax(), expected.itemMax());
        for (int n = 1; n <= expected.itemMax(); ++n) {
            const auto i = static_cast<std::size_t>(n);
            EXPECT_EQ(state.items[i].submittedTotal, expected.items[i].submittedTotal) << n;
            EXPECT_EQ(state.items[i].netTotal, expected.items[i].netTotal) << n;
            EXPECT_EQ(state.items[i].submittedTax, expected.items[i].submittedTax) << n;
            EXPECT_EQ(state.items[i].laborTotal, expected.items[i].laborTotal) << n;
        }
        if (example == 1) {
            EXPECT_NE(stored.submittedGrandTotal,
                      expected.header.submittedGrandTotal); // the file's total is stale
            EXPECT_EQ(state.header.submittedGrandTotal, Currency::fromWhole(17883950));
        }
    }
}

// A cut file, or one whose parts disagree, opens only when the user says Yes to a question that
// names the file and the line; No (the default) changes nothing.
TEST_F(DirectReadTest, DamagedFileOpensOnlyWhatCouldBeReadAndOnlyWhenTheUserAgrees) {
    openEditedQuotation();
    const DocumentState before = state;
    const std::string headerFile = readFileBytes(work("HEAD.WRK"));

    const std::string whole = quotationText(itemLine("10", "工事"), 1,
                                            dataLine(1, "配管", "100") + dataLine(1, "継手", "50") +
                                                dataLine(1, "弁", "7"));
    const auto cut = writeFile("cut.krb2", whole.substr(0, whole.find("1;弁;") + 6));
    host.answers = {UserPrompt::Answer::No};
    EXPECT_EQ(loadQuotationFile(state, store, host, host.settings(), cut, std::nullopt, kToday),
              OpenedView::NotOpened);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0],
              "見積ファイルが完全ではありません。\n" + cut.string() +
                  "\n14 行目: ファイルが途中で切れています（最後の行に改行がありません）: 1;弁;"
                  "\n読み込めた部分だけを開きますか？");
    EXPECT_EQ(state.header, before.header);
    EXPECT_EQ(state.sheet, before.sheet);
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(readFileBytes(work("HEAD.WRK")), headerFile);

    host.answers = {UserPrompt::Answer::Yes};
    EXPECT_EQ(loadQuotationFile(state, store, host, host.settings(), cut, std::nullopt, kToday),
              OpenedView::Sheet);
    EXPECT_EQ(namesOf(state.sheet), "工事,配管;,継手;"); // the half line is left out
    EXPECT_EQ(state.items[1].submittedTotal, parseNumber("300"));
}

// The stored totals are never trusted, so an amount that overflows when the file is recomputed
// stops the open before anything changed.
TEST_F(DirectReadTest, TotalBeyondTheCurrencyRangeLeavesTheOpenQuotationAlone) {
    startNewQuotation(state, store, host, host.settings(), kToday);
    const DocumentState before = state;
    const auto huge = writeFile("huge.krb2", quotationText(itemLine("10", "工事"), 1,
                                                           dataLine(1, "配管", "900000000000000") +
                                                               dataLine(1, "継手", "1")));
    try {
        loadQuotationFile(state, store, host, host.settings(), huge, std::nullopt, kToday);
        ADD_FAILURE() << "opened a quotation whose total overflows";
    } catch (const AmountOverflow& error) {
        EXPECT_EQ(error.sheet(), 1);
        // Row 2: the sheet's title line is row 1.
        EXPECT_EQ(std::string(error.what()), "内訳 1「工事」の明細 2 行目で金額が大きすぎます。");
    }
    EXPECT_EQ(state.header, before.header);
    EXPECT_EQ(state.items, before.items);
}

TEST_F(DirectReadTest, UnreadableFileLeavesTheOpenQuotationAlone) {
    openEditedQuotation();
    const DocumentState before = state;
    const std::string headerFile = readFileBytes(work("HEAD.WRK"));
    const std::string sheetFile = readFileBytes(work("WITEM1.WRK"));

    const auto shortFile =
        writeFile("short.krb2", quotationText(itemLine("10", "") + itemLine("10", ""), 3,
                                              dataLine(1, "別", "1")));
    host.answers = {UserPrompt::Answer::No};
    EXPECT_EQ(
        loadQuotationFile(state, store, host, host.settings(), shortFile, std::nullopt, kToday),
        OpenedView::NotOpened);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].find("11 行目: [ItemMax]=3 と内訳の行数 2 が一致しません。"),
              std::string::npos)
        << host.questions[0];
    try {
        loadQuotationFile(state, store, host, host.settings(),
                          writeFile("bad.krb2", "<TITLE>\r\n[KETA]=x\r\n"), std::nullopt, kToday);
        ADD_FAILURE() << "opened a file with a bad number";
    } catch (const QuotationFileError& error) {
        EXPECT_EQ(error.line(), 2);
        EXPECT_NE(std::string(error.what()).find("bad.krb2 の 2 行目: "), std::string::npos);
    }
    EXPECT_THROW(loadQuotationFile(state, store, host, host.settings(),
                                   writeFile("old.krb", "not old"), std::nullopt, kToday),
                 QuotationFileError);
    EXPECT_THROW(loadQuotationFile(state, store, host, host.settings(), root / "missing.krb2",
                                   std::nullopt, kToday),
                 FileError);

    EXPECT_EQ(state.header, before.header);
    EXPECT_EQ(state.items, before.items);
    EXPECT_EQ(state.sheet, before.sheet);
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(readFileBytes(work("HEAD.WRK")), headerFile);
    EXPECT_EQ(readFileBytes(work("WITEM1.WRK")), sheetFile);
}

} // namespace
} // namespace kerbina

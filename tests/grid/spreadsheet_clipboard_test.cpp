#include "grid/spreadsheet_clipboard.h"
#include "grid_test_support.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

TEST(SpreadsheetClipboard, RowsBecomeOrdinaryLinesAndAHeaderIsSkipped) {
    const std::vector<LineMessage> lines =
        linesFromSpreadsheet("名称\t仕様\t数量\t単位\t単価\t金額\r\n"
                             "鋼管\tSGP 25A\t12\tｍ\t1,500\t18000\r\n"
                             "継手\t\"エルボ\"\t2.5\t個\t300\r\n"
                             "\r\n"
                             "試運転;調整\t\t\t\t\r\n",
                             3)
            .lines;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].name, "鋼管");
    EXPECT_EQ(lines[0].specification, "SGP 25A");
    EXPECT_EQ(lines[0].netQuantity, c("12"));
    EXPECT_EQ(lines[0].submittedPrice, c("1500"));
    EXPECT_EQ(lines[0].kind, 10);
    EXPECT_EQ(lines[0].mark, 3);
    EXPECT_EQ(lines[1].specification, "エルボ");
    EXPECT_EQ(lines[1].kind, 20);
    EXPECT_EQ(lines[2].name, "試運転；調整");
    EXPECT_EQ(lines[2].kind, 30);

    // A first row with numbers is data, not a header.
    EXPECT_EQ(linesFromSpreadsheet("配管\t\t1\t式\t100", 1).lines.size(), 1u);
    EXPECT_FALSE(isSpreadsheetText("配管工事\r\n保温工事"));
}

TEST(SpreadsheetClipboard, PastedRowsAreInsertedAsOneChangeAndCopiedBackAsShown) {
    testing::CommandBench bench;
    bench.state.sheet = Sheet{LineRecord{}, newLine()};
    bench.state.sheet[1].nameSpec = "既存;";
    bench.state.currentSheetNumber = 1;
    const CommandResult result = pasteSpreadsheetRows(
        bench.context, Selection{1, 1}, "鋼管\tSGP 25A\t12\tｍ\t1500\n継手\t\t2\t個\t300\n");
    ASSERT_EQ(bench.state.lineCount(), 3);
    EXPECT_EQ(splitNameSpec(bench.state.sheet[1].nameSpec).first, "鋼管");
    EXPECT_EQ(splitNameSpec(bench.state.sheet[2].nameSpec).first, "継手");
    EXPECT_EQ(bench.state.sheet[3].nameSpec, "既存;");
    EXPECT_EQ(result.selection, (Selection{1, 2}));
    EXPECT_EQ(bench.cycle.steps, (std::vector<std::string>{"snapshot", "totals", "write"}));

    DisplayOptions options;
    bench.state.separateNameSpec = true;
    const std::string copied = spreadsheetText(bench.state, options, Selection{1, 2});
    EXPECT_TRUE(copied.starts_with("鋼管\tSGP 25A\t")) << copied;
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 2);
}

// The grid's own copy text, back from a trip through a spreadsheet without a header, reads as the
// lines it was copied from, in either layout; the GR letter gives the data group back.
TEST(SpreadsheetClipboard, OwnCopyTextComesBackWhole) {
    DocumentState state;
    state.currentSheetNumber = 1;
    state.sheet = Sheet{LineRecord{}, newLine(), newLine(), newLine()};
    const struct {
        const char* nameSpec;
        const char* unit;
        const char* quantity;
        const char* price;
        const char* labor;
        const char* note;
        int kind;
        const char* sortCode;
    } lines[] = {
        {"鋼管;SGP 25A", "ｍ", "12", "1500", "0.12", "露出", 10, "11999"},
        {"保温;GW 25t", "ｍ", "2.5", "800", "0", "", 22, "14999"},
        {"試運転調整;", "", "0", "0", "0", "", 30, "11999"},
    };
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        LineRecord& line = state.sheet[i + 1];
        line.nameSpec = lines[i].nameSpec;
        line.unit = lines[i].unit;
        line.netQuantity = line.submittedQuantity = c(lines[i].quantity);
        line.netPrice = line.submittedPrice = c(lines[i].price);
        line.laborFactor = c(lines[i].labor);
        line.note = lines[i].note;
        line.kind = lines[i].kind;
        line.sortCode = c(lines[i].sortCode);
    }
    for (const bool separated : {true, false}) {
        state.separateNameSpec = separated;
        const std::string copied = spreadsheetText(state, DisplayOptions{}, Selection{1, 3});
        const SpreadsheetLines read = linesFromSpreadsheet(copied, 1);
        EXPECT_EQ(notReadReport(read), "") << copied;
        ASSERT_EQ(read.lines.size(), 3u) << copied;
        for (std::size_t i = 0; i < std::size(lines); ++i) {
            const LineMessage& line = read.lines[i];
            const auto [name, specification] = splitNameSpec(lines[i].nameSpec);
            const std::string combined = specification.empty()
                                             ? std::string(name)
                                             : std::string(name) + " " + std::string(specification);
            EXPECT_EQ(line.name, separated ? std::string(name) : combined) << i;
            EXPECT_EQ(line.specification, separated ? specification : "") << i;
            EXPECT_EQ(line.unit, lines[i].unit) << i;
            EXPECT_EQ(line.netQuantity, c(lines[i].quantity)) << i;
            EXPECT_EQ(line.submittedPrice, c(lines[i].price)) << i;
            EXPECT_EQ(line.netPrice, c(lines[i].price)) << i;
            EXPECT_EQ(line.laborFactor, c(lines[i].labor)) << i;
            EXPECT_EQ(line.note, lines[i].note) << i;
            EXPECT_EQ(line.kind, lines[i].kind) << i;
            EXPECT_EQ(line.groupCode, c(lines[i].sortCode)) << i;
        }
    }
}

// Columns are read by their header names in any order; what is not understood is said, and a
// number typed in full-width digits is a number.
TEST(SpreadsheetClipboard, HeaderNamesPlaceTheColumnsAndWhatIsNotReadIsSaid) {
    const SpreadsheetLines read =
        linesFromSpreadsheet("数量\t品名\tメーカー\t単　価\t単位\t型番\r\n"
                             "１２\t鋼管\tA社\t１，５００\tｍ\tSGP\r\n"
                             "abc\t継手\t\t300\t個\t\r\n"
                             "-2\t弁\t\t100\t個\t\r\n",
                             1);
    ASSERT_EQ(read.lines.size(), 3u);
    EXPECT_EQ(read.lines[0].name, "鋼管");
    EXPECT_EQ(read.lines[0].specification, "SGP");
    EXPECT_EQ(read.lines[0].unit, "ｍ");
    EXPECT_EQ(read.lines[0].netQuantity, c("12"));
    EXPECT_EQ(read.lines[0].netPrice, c("1500"));
    EXPECT_EQ(read.lines[0].submittedPrice, c("1500"));
    EXPECT_EQ(read.lines[1].netQuantity, c("0"));
    EXPECT_EQ(read.lines[1].submittedPrice, c("300"));
    EXPECT_EQ(read.lines[2].submittedPrice, c("0"));
    EXPECT_EQ(read.notReadColumns, std::vector<std::string>{"メーカー"});
    EXPECT_EQ(read.notReadCells, (std::vector<SpreadsheetCell>{{3, "数量", "abc"}}));
    EXPECT_EQ(read.negativeRows, std::vector<int>{4});

    // One header word and nothing else is a header too; a header word among data is not.
    EXPECT_EQ(linesFromSpreadsheet("名称\t\r\n鋼管\t\r\n", 1).lines.size(), 1u);
    EXPECT_EQ(linesFromSpreadsheet("単位換算表\t\t2\t式\t100\r\n", 1).lines.size(), 1u);

    // A number too large for an amount is not read either, never an error that loses the paste.
    const SpreadsheetLines tooLarge = linesFromSpreadsheet("管\t\t1000000000000000\tｍ\t1\r\n", 1);
    ASSERT_EQ(tooLarge.lines.size(), 1u);
    EXPECT_EQ(tooLarge.lines[0].netQuantity, c("0"));
    EXPECT_EQ(tooLarge.notReadCells,
              (std::vector<SpreadsheetCell>{{1, "数量", "1000000000000000"}}));
}

TEST(SpreadsheetClipboard, APasteSaysWhatItDidNotRead) {
    testing::CommandBench bench;
    bench.state.sheet = Sheet{LineRecord{}};
    bench.state.currentSheetNumber = 1;
    pasteSpreadsheetRows(bench.context, Selection{1, 1}, "名称\t数量\t色\r\n鋼管\t十二\t黒\r\n");
    ASSERT_EQ(bench.state.lineCount(), 1);
    EXPECT_EQ(
        bench.host.notices,
        std::vector<std::string>{"見出し「色」の列は読み込みませんでした。\n"
                                 "2 行目の数量「十二」は数値として読めないため 0 としました。"});
}

} // namespace
} // namespace kerbina

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
                             3);
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
    EXPECT_EQ(linesFromSpreadsheet("配管\t\t1\t式\t100", 1).size(), 1u);
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

} // namespace
} // namespace kerbina

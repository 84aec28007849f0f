#include "grid/grid_cells.h"
#include "money_literal.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

// One sheet line with distinct net and submitted values, so that every column shows which field
// it came from.
LineRecord sampleLine(LineKind kind) {
    LineRecord line;
    line.kind = kind;
    line.nameSpec = "名;仕様";
    line.sortCode = c("0");
    line.unit = "ｍ";
    line.netQuantity = c("2");
    line.submittedQuantity = c("12.5");
    line.netPrice = c("500");
    line.submittedPrice = c("1000");
    line.netAdditionalPrice = c("100");
    line.submittedAdditionalPrice = c("200");
    line.netAmount = c("1000");
    line.submittedAmount = c("12500");
    line.amountText = "一式";
    line.note = "備";
    return line;
}

// Range lines keep their first and last row in the quantity fields.
LineRecord rangeLine(LineKind kind, Currency laborFactor = {}) {
    LineRecord line = sampleLine(kind);
    line.netQuantity = c("3");
    line.submittedQuantity = c("7");
    line.laborFactor = laborFactor;
    return line;
}

DocumentState sheetWith(std::vector<LineRecord> lines) {
    DocumentState state;
    state.items.push_back(ItemRecord{});
    state.items[1].submittedTotal = c("98765");
    state.items[1].netTotal = c("43210");
    state.sheet.insert(state.sheet.end(), lines.begin(), lines.end());
    return state;
}

TEST(GridCells, EveryLineKindInTheSubmittedView) {
    const struct {
        LineRecord line;
        const char* laborFactor;
        const char* group;
        const char* unit;
        const char* quantity;
        const char* price;
        const char* amount;
        const char* specification;
    } cases[] = {
        {sampleLine(0), "", "A", "ｍ", "", "", "", "仕様"},
        {sampleLine(10), "", "A", "ｍ", "13", "1,000", "12,500", "仕様"},
        {sampleLine(11), "", "A", "ｍ", "13", "▲1,000", "▲12,500", "仕様"},
        {sampleLine(12), "", "a", "ｍ", "13", "1,000", "12,500", "仕様"},
        {sampleLine(16), "", "A", "ｍ", "13", "", "一式", "仕様"},
        {sampleLine(117), "", "A", "ｍ", "13", "", "一式", "仕様"},
        {sampleLine(20), "", "A", "ｍ", "   12.5", "1,000", "12,500", "仕様"},
        {sampleLine(21), "", "A", "ｍ", "   12.5", "▲1,000", "▲12,500", "仕様"},
        {sampleLine(22), "", "a", "ｍ", "   12.5", "1,000", "12,500", "仕様"},
        {sampleLine(120), "", "A", "ｍ", "   12.5", "1,000", "12,500", "仕様"},
        {sampleLine(26), "", "A", "ｍ", "   12.5", "", "一式", "仕様"},
        {sampleLine(30), "", "A", "ｍ", "", "", "一式", "仕様"},
        {sampleLine(130), "", "A", "ｍ", "", "", "一式", "仕様"},
        {rangeLine(40), "", "A", "ｍ", "1,000", "", "12,500", "仕様 [3～7]"},
        {rangeLine(51, c("8")), "A単価", "A", "ｍ", "1,000%", "", "12,500", "仕様 [3～7]※有効3桁"},
        {rangeLine(50, c("12")), "全単価", "A", "ｍ", "1,000%", "", "12,500", "仕様 [3～7]"},
        {rangeLine(66, c("0")), "F歩掛", "A", "ｍ", "  200.0", "1,000", "12,500",
         "仕様 [3～7]※有効桁1"},
        {rangeLine(70, c("6")), "全付帯", "A", "ｍ", "1,000%", "", "12,500",
         "仕様 [3～7]※有効桁1000000"},
        {sampleLine(81), "経費内", "A", "ｍ", "   12.5", "", "12,500", "仕様"},
        {sampleLine(84), "経費抜", "A", "ｍ", "   12.5", "", "12,500", "仕様"},
        {sampleLine(90), "", "税", "ｍ", "12.5", "", "12,500", "仕様"},
        {rangeLine(93), "", "A", "", "", "", "12,500", "仕様 [3～7]"},
        {rangeLine(194), "", "A", "", "", "", "12,500", "仕様 [3～7]"},
        {sampleLine(95), "", "=", "ｍ", "", "", "12,500", "仕様"},
        {sampleLine(96), "", "=", "ｍ", "", "", "12,500", "仕様"},
        {sampleLine(98), "", "福利", "ｍ", "1", "", "12,500", "仕様"},
        {sampleLine(99), "", "¥", "ｍ", "", "", "98,765", "仕様"},
        {sampleLine(110), "", "A", "ｍ", "   12.5", "1,000", "12,500", "仕様"},
        {sampleLine(180), "", "拾", "ｍ", "   12.5", "1,000", "12,500", "仕様"},
        {sampleLine(145), "", "拾", "ｍ", "   12.5", "1,000", "12,500", "仕様"},
    };
    DisplayOptions options;
    options.reductionMark = "▲";
    for (const auto& row : cases) {
        const DocumentState state = sheetWith({row.line});
        const LineCells cells = lineCells(state, options, row.line);
        const std::string kind = "kind " + std::to_string(row.line.kind.code());
        EXPECT_EQ(cells.name, "名") << kind;
        EXPECT_EQ(cells.specification, row.specification) << kind;
        EXPECT_EQ(cells.laborFactor, row.laborFactor) << kind;
        EXPECT_EQ(cells.group, row.group) << kind;
        EXPECT_EQ(cells.unit, row.unit) << kind;
        EXPECT_EQ(cells.quantity, row.quantity) << kind;
        EXPECT_EQ(cells.price, row.price) << kind;
        EXPECT_EQ(cells.amount, row.amount) << kind;
        EXPECT_EQ(cells.note, "備") << kind;
    }
}

TEST(GridCells, GroupLettersFollowTheSortCode) {
    const struct {
        const char* sortCode;
        int kind;
        const char* group;
    } cases[] = {
        {"0", 10, "A"},     {"12000", 10, "A"}, {"12000.9", 10, "A"}, {"12001", 10, "B"},
        {"15000", 10, "B"}, {"15001", 10, "C"}, {"24001", 20, "F"},   {"27000", 10, "F"},
        {"27001", 10, "+"}, {"-1", 10, "+"},    {"16000", 12, "c"},   {"16000", 22, "c"},
        {"30000", 12, "+"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(groupText(c(row.sortCode), row.kind), row.group)
            << row.sortCode << " kind " << row.kind;
    }
}

TEST(GridCells, LaborLinesAndSumLinesHaveTheirColours) {
    LineRecord labor = sampleLine(12);
    labor.sortCode = c("16000");
    labor.priceKind = c("1");
    labor.laborFactor = c("1.2345");
    const DocumentState state = sheetWith({labor, sampleLine(95), sampleLine(10)});
    DisplayOptions options;
    EXPECT_EQ(cellText(state, options, 1, 4), "労c");
    EXPECT_EQ(cellText(state, options, 1, 3), "1.235");
    EXPECT_EQ(cellStyle(state, options, 1, 4, false).foreground, kMaroon);
    EXPECT_EQ(cellStyle(state, options, 2, 8, false).foreground, kNavy);
    EXPECT_EQ(cellStyle(state, options, 3, 8, false).foreground, kBlack);
    EXPECT_EQ(cellStyle(state, options, 1, 4, true).foreground, kWhite);
    EXPECT_EQ(cellStyle(state, options, 1, 4, true).background, kSelectedCell);
}

TEST(GridCells, ZeroAmountsAndTheAdditionalPriceView) {
    LineRecord zero = sampleLine(10);
    zero.submittedAmount = c("0");
    LineRecord noAdditional = sampleLine(10);
    noAdditional.submittedAdditionalPrice = c("0");
    const DocumentState state = sheetWith({zero, noAdditional, sampleLine(10), rangeLine(72)});
    DisplayOptions options;

    const LineCells plainZero = lineCells(state, options, zero);
    EXPECT_EQ(plainZero.amount, "");
    EXPECT_EQ(plainZero.price, "1,000");

    options.additionalView = true;
    const LineCells fallback = lineCells(state, options, noAdditional);
    EXPECT_EQ(fallback.price, "12,500");
    EXPECT_EQ(fallback.amount, "");
    // 12.5 × 200 = 2500 with the sheet's amount offset.
    const LineCells additional = lineCells(state, options, sampleLine(10));
    EXPECT_EQ(additional.price, "200");
    EXPECT_EQ(additional.amount, "2,500");
    const LineCells percent = lineCells(state, options, rangeLine(72));
    EXPECT_EQ(percent.quantity, "1,000%");
    EXPECT_EQ(percent.price, "");
    EXPECT_EQ(percent.amount, "12,500");
    EXPECT_EQ(headerText(state, options, 7), "付帯単価");
}

TEST(GridCells, NetViewShowsTheNetFieldsAndTotals) {
    const DocumentState state = sheetWith({sampleLine(10), sampleLine(99)});
    DisplayOptions options;
    options.netView = true;
    const LineCells cells = lineCells(state, options, sampleLine(10));
    EXPECT_EQ(cells.quantity, "2");
    EXPECT_EQ(cells.price, "500");
    EXPECT_EQ(cells.amount, "1,000");
    EXPECT_EQ(lineCells(state, options, sampleLine(99)).amount, "43,210");
    EXPECT_EQ(headerText(state, options, 8), "金  額[仕 切]");
    options.netView = false;
    EXPECT_EQ(headerText(state, options, 8), "金  額[提 出]");
    EXPECT_EQ(headerText(state, options, 7), "単  価");
}

TEST(GridCells, ColumnsOfTheTwoSheetLayouts) {
    DocumentState state = sheetWith({sampleLine(10)});
    const DisplayOptions options;
    state.separateNameSpec = false;
    EXPECT_EQ(columnCount(state, options), 9);
    EXPECT_EQ(headerText(state, options, 1), "名    称　＆　仕　　様");
    const std::vector<std::string> combined = {"1",  "名 仕様", "",       "A", "ｍ",
                                               "13", "1,000",   "12,500", "備"};
    for (int column = 0; column < 9; ++column) {
        EXPECT_EQ(cellText(state, options, 1, column), combined[column]) << column;
    }
    EXPECT_EQ(cellStyle(state, options, 1, 2, false).alignment, Alignment::Right);

    state.separateNameSpec = true;
    EXPECT_EQ(columnCount(state, options), 10);
    const std::vector<std::string> separated = {"1",  "名", "仕様",  "",       "A",
                                                "ｍ", "13", "1,000", "12,500", "備"};
    for (int column = 0; column < 10; ++column) {
        EXPECT_EQ(cellText(state, options, 1, column), separated[column]) << column;
    }
    EXPECT_EQ(cellStyle(state, options, 1, 2, false).alignment, Alignment::Left);
    EXPECT_EQ(cellStyle(state, options, 1, 4, false).alignment, Alignment::Center);

    // Rows past the last line keep their number and nothing else.
    EXPECT_EQ(cellText(state, options, 5, 0), "5");
    EXPECT_EQ(cellText(state, options, 5, 1), "");
}

TEST(GridCells, RowShadingAndSelection) {
    const DocumentState state = sheetWith({sampleLine(10), sampleLine(10)});
    DisplayOptions options;
    EXPECT_EQ(cellStyle(state, options, 2, 1, false).background, std::nullopt);
    options.alternateRowShading = true;
    EXPECT_EQ(cellStyle(state, options, 2, 1, false).background, kShadedRow);
    EXPECT_EQ(cellStyle(state, options, 2, 0, false).background, std::nullopt);
    EXPECT_EQ(cellStyle(state, options, 3, 1, false).background, std::nullopt);
    EXPECT_EQ(cellStyle(state, options, 2, 1, true).background, kSelectedCell);
}

ItemRecord item(ItemKind kind, const char* name) {
    ItemRecord record;
    record.kind = kind;
    record.name = name;
    record.submittedTotal = c("1000");
    record.netTotal = c("800");
    record.laborTotal = c("300");
    record.note = "注";
    return record;
}

TEST(GridCells, BreakdownListRowsByItemKind) {
    ItemRecord parent = item(20, "親;x");
    parent.setAmountRounding = c("2");
    parent.setExpenseRounding = c("4");
    ItemRecord child = item(22, "子");
    child.setAmountRounding = c("3");
    child.setExpenseRounding = c("4");
    ItemRecord placedNote = item(96, "コメント");
    placedNote.subKind = c("15");
    ItemRecord welfareFormula = item(101, "法定;福利;式");
    welfareFormula.subKind = c("1");
    ItemRecord small = item(95, "小計");
    small.setAmountRounding = c("1");
    small.setExpenseRounding = c("3");

    DocumentState state;
    state.items = {ItemRecord{},   item(10, "工事;仕様"), parent,
                   child,          item(31, "配管"),      item(91, "減額"),
                   small,          item(96, "コメント"),  placedNote,
                   item(98, "計"), item(99, "合計"),      item(101, "法定;福利;式"),
                   welfareFormula};
    state.allSubmittedTotal = c("50000");
    state.allNetTotal = c("40000");
    DisplayOptions options;
    options.listMode = true;
    options.reductionMark = "▲";
    options.laborTotal = c("7000");

    const std::vector<std::array<std::string, 9>> expected = {
        {"", "", "工事", "¥1,000", "", "¥800", "¥200", "¥300", "注"},
        {"", "→", "親;x", "[¥1,000]", "[2]～[4]", "[¥800]", "¥200", "¥300", "注"},
        {"", "→", "　　子", "(¥1,000)", "[3]～[4]", "(¥800)", "¥200", "¥300", "注"},
        {"", "", "　　配管", "", "¥1,000", "¥800", "¥200", "¥300", "注"},
        {"", "", "減額", "▲¥1,000", "", "▲¥800", "-¥200", "¥300", "注"},
        {"", "", "小計", "¥1,000", "[1]～[3]", "¥800", "¥200", "", "注"},
        {"", "", "コメント", "", "", "", "", "", "注"},
        {"", "", "コメント", "注", "", "", "", "", ""},
        {"", "", "計", "¥1,000", "", "¥800", "¥200", "", "注"},
        {"", "¥", "合計", "¥48,000", "", "¥38,400", "¥9,600", "¥7,000", "注"},
        {"", "法", "法定 福利", "¥1,000", "", "¥800", "¥200", "", "注"},
        {"", "法", "法定;福利;式 注", "¥1,000", "", "¥800", "¥200", "", ""},
    };
    for (std::size_t row = 0; row < expected.size(); ++row) {
        for (int column = 0; column < 9; ++column) {
            EXPECT_EQ(cellText(state, options, static_cast<int>(row) + 1, column),
                      expected[row][static_cast<std::size_t>(column)])
                << "item " << row + 1 << " column " << column;
        }
    }
    EXPECT_EQ(cellText(state, options, 13, 2), "");
    EXPECT_EQ(headerText(state, options, 3), "合計金額");
    EXPECT_EQ(cellStyle(state, options, 1, 5, false).alignment, Alignment::Right);
}

} // namespace
} // namespace kerbina

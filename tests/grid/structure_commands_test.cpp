#include "calc/totals.h"
#include "grid/row_commands.h"
#include "grid/structure_commands.h"
#include "grid_test_support.h"
#include "record_builders.h"
#include "records/line_kinds.h"

#include <functional>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

using testing::CommandBench;

const std::vector<std::string> kEditSteps = {"snapshot", "totals", "write"};
const std::string kHiddenRangeRefusal = "範囲計(金額非表示)に計算項目を含める事はできません。";

const LineRecord& lineAt(const DocumentState& state, int row) {
    return state.sheet.at(static_cast<std::size_t>(row));
}

// The line a structure command is expected to write: everything not given is empty or 0.
LineRecord structureLine(LineKind kind, const std::string& nameSpec, const std::string& unit,
                         int first, int last, int sortCode = 99999) {
    LineRecord line = emptyLine();
    line.kind = kind;
    line.nameSpec = nameSpec;
    line.unit = unit;
    line.netQuantity = Currency::fromWhole(first);
    line.submittedQuantity = Currency::fromWhole(last);
    line.sortCode = Currency::fromWhole(sortCode);
    return line;
}

using Command = std::function<CommandResult(CommandBench&, Selection)>;

const StructureSettings kSettings{"小計X", "中計X", "合計X", Currency::fromWhole(8)};

Command smallSum() {
    return [](CommandBench& bench, Selection selection) {
        return addSmallSum(bench.context, selection, kSettings);
    };
}
Command midSum() {
    return [](CommandBench& bench, Selection selection) {
        return addMidSum(bench.context, selection, kSettings);
    };
}
Command rangeSum(RangeSumKind kind) {
    return [kind](CommandBench& bench, Selection selection) {
        return addRangeSum(bench.context, selection, kind, "配管計");
    };
}
Command sumLineCommand() {
    return [](CommandBench& bench, Selection selection) {
        return addSumLine(bench.context, selection, kSettings);
    };
}
Command taxCommand(bool netSideToo) {
    return [netSideToo](CommandBench& bench, Selection selection) {
        bench.host.answers.push_back(netSideToo);
        return addConsumptionTax(bench.context, selection, kSettings);
    };
}

TEST(StructureCommands, PlaceTheirLinesAndLeaveTheSelectionBelow) {
    const struct {
        const char* what;
        Command command;
        Selection selection;
        int row;       // where the created line lands
        int lineCount; // of the sheet of 10 lines afterwards
        LineRecord line;
        int movedL4To; // the row of the old line 4 afterwards (0: overwritten)
    } cases[] = {
        {"small sum on one row",
         smallSum(),
         {4, 4},
         4,
         11,
         structureLine(95, "小計X", "", 4, 4),
         5},
        {"small sum over three rows",
         smallSum(),
         {4, 6},
         4,
         13,
         structureLine(95, "小計X", "", 4, 6),
         7},
        {"small sum past the end",
         smallSum(),
         {11, 13},
         13,
         13,
         structureLine(95, "小計X", "", 11, 13),
         4},
        {"mid sum on one row", midSum(), {7, 7}, 8, 11, structureLine(96, "中計X", "", 7, 7), 4},
        {"mid sum over rows goes below them",
         midSum(),
         {2, 5},
         6,
         11,
         structureLine(96, "中計X", "", 2, 5),
         4},
        {"mid sum over rows holding line 4",
         midSum(),
         {3, 4},
         5,
         11,
         structureLine(96, "中計X", "", 3, 4),
         4},
        {"mid sum below the last line",
         midSum(),
         {9, 10},
         11,
         11,
         structureLine(96, "中計X", "", 9, 10),
         4},
        {"hidden range sum",
         rangeSum(RangeSumKind::AmountsHidden),
         {2, 3},
         4,
         11,
         structureLine(93, "配管計;", "式", 2, 3),
         5},
        {"shown range sum",
         rangeSum(RangeSumKind::AmountsShown),
         {2, 4},
         5,
         11,
         structureLine(94, "配管計;", "式", 2, 4),
         4},
        {"range sum past the end",
         rangeSum(RangeSumKind::AmountsShown),
         {9, 12},
         13,
         13,
         structureLine(94, "配管計;", "式", 9, 12),
         4},
        {"sum line replaces its row",
         sumLineCommand(),
         {4, 6},
         4,
         10,
         structureLine(99, "合計X", "", 0, 0),
         0},
        {"sum line past the end",
         sumLineCommand(),
         {12, 12},
         12,
         12,
         structureLine(99, "合計X", "", 0, 0),
         4},
        {"tax on the net side too",
         taxCommand(true),
         {4, 4},
         4,
         10,
         structureLine(90, "消  費  税", "％", 8, 8, 0),
         0},
        {"tax on the submitted side",
         taxCommand(false),
         {11, 11},
         11,
         11,
         structureLine(90, "消  費  税", "％", 0, 8, 0),
         4},
    };
    for (const auto& test : cases) {
        CommandBench bench;
        bench.state.sheet = numberedLines(10);
        const CommandResult result = test.command(bench, test.selection);
        SCOPED_TRACE(test.what);
        EXPECT_TRUE(result.changed);
        EXPECT_EQ(result.selection, (Selection{test.row + 1, test.row + 1}));
        EXPECT_EQ(bench.cycle.steps, kEditSteps);
        EXPECT_TRUE(bench.host.notices.empty());
        ASSERT_EQ(bench.state.lineCount(), test.lineCount);
        EXPECT_EQ(lineAt(bench.state, test.row), test.line);
        if (test.movedL4To > 0) {
            EXPECT_EQ(lineAt(bench.state, test.movedL4To).nameSpec, "L4;");
        }
        // Rows the command added besides its own line are empty.
        for (int row = 1; row <= bench.state.lineCount(); ++row) {
            const std::string& name = lineAt(bench.state, row).nameSpec;
            if (row != test.row && !name.starts_with("L")) {
                EXPECT_EQ(lineAt(bench.state, row), emptyLine()) << "row " << row;
            }
        }
    }
}

TEST(StructureCommands, TaxAsksWhetherTheNetSideIsChargedToo) {
    CommandBench bench;
    bench.state.sheet = numberedLines(3);
    taxCommand(true)(bench, Selection{4, 4});
    EXPECT_EQ(bench.host.questions,
              std::vector<std::string>{"仕切に提出金額と同金額の消費税分を加算しますか？"});
}

TEST(StructureCommands, SumLineKeepsThePriceCodeOfTheLineItReplaces) {
    CommandBench bench;
    bench.state.sheet = numberedLines(5);
    LineRecord& old = bench.state.sheet[3];
    old.priceCode = "P-123";
    old.reserved176 = Currency::fromWhole(4);
    old.unit = "ｍ";
    old.netPrice = Currency::fromWhole(500);
    addSumLine(bench.context, Selection{3, 3}, kSettings);
    LineRecord expected = structureLine(99, "合計X", "", 0, 0);
    expected.priceCode = "P-123";
    expected.reserved176 = Currency::fromWhole(4);
    EXPECT_EQ(lineAt(bench.state, 3), expected);
}

// Ranges of the lines below follow the inserted line; a range that ends just above a new sum
// does not take the sum in.
TEST(StructureCommands, RangesKeepPointingAtTheirLines) {
    const struct {
        const char* what;
        Command command;
        Selection selection;
        std::pair<int, int> range; // of the range line at row 8
        std::pair<int, int> after;
    } cases[] = {
        {"range below moves down", midSum(), {2, 3}, {5, 7}, {6, 8}},
        {"range around grows", rangeSum(RangeSumKind::AmountsShown), {4, 5}, {2, 7}, {2, 8}},
        {"range ending above the mid sum stays", midSum(), {2, 3}, {1, 3}, {1, 3}},
        {"range ending above the small sum stays", smallSum(), {4, 4}, {1, 3}, {1, 3}},
        {"small sum rows shift a range below", smallSum(), {4, 6}, {7, 7}, {10, 10}},
        {"range ending above a range sum stays",
         rangeSum(RangeSumKind::AmountsShown),
         {1, 3},
         {1, 3},
         {1, 3}},
        {"sum line moves nothing", sumLineCommand(), {4, 4}, {2, 7}, {2, 7}},
    };
    for (const auto& test : cases) {
        for (const int kind : {50, 93, 94}) {
            CommandBench bench;
            bench.state.sheet = numberedLines(10);
            bench.state.sheet[8] = rangeLine(kind, test.range.first, test.range.second);
            test.command(bench, test.selection);
            SCOPED_TRACE(std::string(test.what) + " kind " + std::to_string(kind));
            int found = 0;
            for (const LineRecord& line : bench.state.sheet) {
                if (line.nameSpec == "range;") {
                    ++found;
                    EXPECT_EQ(rangeOf(line), test.after);
                }
            }
            EXPECT_EQ(found, 1);
        }
    }
}

TEST(StructureCommands, SumsInsideAnAmountHiddenRangeAreRefusedPerRangeLine) {
    for (const Command& command : {smallSum(), midSum(), sumLineCommand()}) {
        CommandBench bench;
        bench.state.sheet = numberedLines(12);
        bench.state.sheet[10] = rangeLine(93, 7, 9);
        bench.state.sheet[11] = rangeLine(93, 9, 9);
        bench.state.sheet[12] = rangeLine(94, 1, 9);
        const Sheet before = bench.state.sheet;
        const CommandResult result = command(bench, Selection{5, 9});
        EXPECT_FALSE(result.changed);
        EXPECT_EQ(bench.state.sheet, before);
        EXPECT_TRUE(bench.cycle.steps.empty());
        EXPECT_EQ(bench.host.notices, (std::vector<std::string>{kHiddenRangeRefusal + "\nno:10",
                                                                kHiddenRangeRefusal + "\nno:11"}));
    }
}

TEST(StructureCommands, RefusalsLeaveTheSheetAsItWas) {
    const struct {
        const char* what;
        Command command;
        Selection selection;
        int kindAt5; // the kind of line 5 (and 6) of the sheet of 8 lines
        std::vector<std::string> steps;
        std::string notice;
    } cases[] = {
        {"small sum on a generated line",
         smallSum(),
         {3, 5},
         110,
         {"snapshot"},
         "ここへは入力できません"},
        {"mid sum above a generated line",
         midSum(),
         {4, 4},
         120,
         {"snapshot"},
         "ここへは入力できません"},
        {"sum line on a generated line",
         sumLineCommand(),
         {5, 5},
         145,
         {"snapshot"},
         "ここへは入力できません"},
        {"hidden range over an expense",
         rangeSum(RangeSumKind::AmountsHidden),
         {4, 6},
         81,
         {"snapshot"},
         kHiddenRangeRefusal},
        {"hidden range over a comment",
         rangeSum(RangeSumKind::AmountsHidden),
         {5, 5},
         30,
         {"snapshot"},
         kHiddenRangeRefusal},
    };
    for (const auto& test : cases) {
        CommandBench bench;
        bench.state.sheet = numberedLines(8);
        bench.state.sheet[5].kind = test.kindAt5;
        bench.state.sheet[6].kind = test.kindAt5;
        const Sheet before = bench.state.sheet;
        const CommandResult result = test.command(bench, test.selection);
        SCOPED_TRACE(test.what);
        EXPECT_FALSE(result.changed);
        EXPECT_EQ(result.selection, test.selection);
        EXPECT_EQ(bench.state.sheet, before);
        EXPECT_EQ(bench.cycle.steps, test.steps);
        EXPECT_EQ(bench.host.notices, std::vector<std::string>{test.notice});
    }
}

TEST(StructureCommands, RangeSumCheckBeforeTheNamePrompt) {
    CommandBench bench;
    bench.state.sheet = numberedLines(6);
    bench.state.sheet[3].kind = 81;
    bench.state.sheet[4].kind = 145;
    EXPECT_FALSE(rangeSumAllowed(bench.context, Selection{2, 3}, RangeSumKind::AmountsHidden));
    EXPECT_TRUE(rangeSumAllowed(bench.context, Selection{4, 9}, RangeSumKind::AmountsHidden));
    EXPECT_TRUE(rangeSumAllowed(bench.context, Selection{2, 3}, RangeSumKind::AmountsShown));
    EXPECT_EQ(bench.host.notices, std::vector<std::string>{kHiddenRangeRefusal});
    EXPECT_TRUE(bench.cycle.steps.empty());

    // A ";" would split the name into name and specification.
    const CommandResult result =
        addRangeSum(bench.context, Selection{1, 2}, RangeSumKind::AmountsShown, "配管;計");
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(bench.state.lineCount(), 6);
    EXPECT_TRUE(bench.cycle.steps.empty());
    EXPECT_EQ(bench.host.notices.back(), "名称、仕様に\";\"は使用できません。");
}

TEST(StructureCommands, TaxIsRefusedWhileTheBreakdownListChargesTax) {
    const struct {
        const char* what;
        int opt2Int;
        int itemKind; // of item 2
    } cases[] = {
        {"tax item on the list", 0, 93},
        {"tax item on the list, sheet tax noted", 1, 93},
        {"tax placement on the list", 2, 10},
    };
    for (const auto& test : cases) {
        CommandBench bench;
        bench.state.sheet = numberedLines(3);
        bench.state.items = {ItemRecord{}, ItemRecord{}, ItemRecord{}, ItemRecord{}};
        bench.state.items[2].kind = test.itemKind;
        bench.state.header.opt2Int = test.opt2Int;
        const Sheet before = bench.state.sheet;
        const CommandResult result = addConsumptionTax(bench.context, Selection{4, 4}, kSettings);
        SCOPED_TRACE(test.what);
        EXPECT_FALSE(result.changed);
        EXPECT_EQ(bench.state.sheet, before);
        EXPECT_EQ(bench.state.header.opt2Int, test.opt2Int);
        EXPECT_TRUE(bench.cycle.steps.empty());
        EXPECT_TRUE(bench.host.questions.empty());
        EXPECT_EQ(bench.host.notices,
                  std::vector<std::string>{"内訳表紙にすでに消費税が入っています。"});
    }
}

TEST(UnlistedGrouping, MarksTheLinesAndPutsTheSummaryBelow) {
    CommandBench bench;
    bench.state.sheet = numberedLines(8);
    bench.state.sheet[4].kind = 81; // an expense line: its field holds the rounding code
    bench.state.sheet[4].hiddenFlag = 3;
    bench.state.sheet[5].kind = 90;
    bench.state.sheet[8] = rangeLine(94, 1, 6);
    ASSERT_EQ(unlistedSummaryDefaultName(bench.state, Selection{3, 6}), "L3");

    const CommandResult result = groupAsUnlisted(bench.context, Selection{3, 6}, "配管材");
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.selection, (Selection{7, 7}));
    EXPECT_EQ((std::vector<std::string>{"totals", "write"}), bench.cycle.steps);
    ASSERT_EQ(bench.state.lineCount(), 9);
    const std::vector<int> flags = {0, 0, 1, 3, 0, 1, 0, 0, 0};
    for (int row = 1; row <= 9; ++row) {
        EXPECT_EQ(lineAt(bench.state, row).hiddenFlag, flags[static_cast<std::size_t>(row - 1)])
            << "row " << row;
    }
    LineRecord summary = structureLine(50, "配管材;", "式", 3, 6, 0);
    summary.netPrice = Currency::fromWhole(100);
    summary.submittedPrice = Currency::fromWhole(100);
    EXPECT_EQ(lineAt(bench.state, 7), summary);
    EXPECT_EQ(lineAt(bench.state, 8).nameSpec, "L7;");
    // The summary does not join the range that ends just above it.
    EXPECT_EQ(rangeOf(lineAt(bench.state, 9)), (std::pair{1, 6}));

    bench.cycle.steps.clear();
    const CommandResult back = ungroupUnlisted(bench.context, Selection{1, 20});
    EXPECT_EQ(back.selection, (Selection{1, 20}));
    EXPECT_EQ((std::vector<std::string>{"totals", "write"}), bench.cycle.steps);
    for (int row = 1; row <= 9; ++row) {
        EXPECT_EQ(lineAt(bench.state, row).hiddenFlag, row == 4 ? 3 : 0) << "row " << row;
    }
}

TEST(UnlistedGrouping, SelectionIsCutToTheSheet) {
    CommandBench bench;
    bench.state.sheet = numberedLines(4);
    const CommandResult result = groupAsUnlisted(bench.context, Selection{2, 30}, "まとめ");
    EXPECT_EQ(result.selection, (Selection{5, 5}));
    ASSERT_EQ(bench.state.lineCount(), 5);
    EXPECT_EQ(rangeOf(lineAt(bench.state, 5)), (std::pair{2, 4}));
    EXPECT_EQ(lineAt(bench.state, 4).hiddenFlag, 1);
}

TEST(UnlistedGrouping, NothingHappensPastTheLastLineOrWithASeparator) {
    CommandBench bench;
    bench.state.sheet = numberedLines(4);
    const Sheet before = bench.state.sheet;
    EXPECT_EQ(unlistedSummaryDefaultName(bench.state, Selection{5, 6}), std::nullopt);
    EXPECT_FALSE(groupAsUnlisted(bench.context, Selection{5, 6}, "x").changed);
    EXPECT_FALSE(ungroupUnlisted(bench.context, Selection{5, 6}).changed);
    EXPECT_FALSE(groupAsUnlisted(bench.context, Selection{1, 2}, "a;b").changed);
    EXPECT_EQ(bench.state.sheet, before);
    EXPECT_TRUE(bench.cycle.steps.empty());
    EXPECT_EQ(bench.host.notices, std::vector<std::string>{"名称、仕様に\";\"は使用できません。"});
}

TEST(AmountColumnCommands, ConvertOnlyTheKindsTheyName) {
    enum class Command { AmountText, BlankQuantity, BlankQuantityAndUnit };
    const struct {
        Command command;
        int kind;
        int kindAfter; // -1: the line is left as it was
        bool unitEmpty;
    } cases[] = {
        {Command::AmountText, 10, 15, false},
        {Command::AmountText, 12, 15, false},
        {Command::AmountText, 20, 25, false},
        {Command::AmountText, 22, 25, false},
        {Command::AmountText, 15, 15, false},
        {Command::AmountText, 25, 25, false},
        {Command::AmountText, 30, 30, false},
        {Command::AmountText, 11, -1, false},
        {Command::AmountText, 21, -1, false},
        {Command::AmountText, 50, -1, false},
        {Command::AmountText, 81, -1, false},
        {Command::AmountText, 110, -1, false},
        {Command::BlankQuantity, 10, 30, false},
        {Command::BlankQuantity, 11, 30, false},
        {Command::BlankQuantity, 40, 30, false},
        {Command::BlankQuantity, 50, -1, false},
        {Command::BlankQuantity, 83, -1, false},
        {Command::BlankQuantityAndUnit, 22, 30, true},
        {Command::BlankQuantityAndUnit, 0, 30, true},
        {Command::BlankQuantityAndUnit, 60, -1, false},
        {Command::BlankQuantityAndUnit, 145, -1, false},
    };
    // Twelve bytes of the system code page: six double-byte characters.
    const std::string text = "御支給品です予定";
    for (const auto& test : cases) {
        CommandBench bench;
        bench.state.sheet = numberedLines(3);
        LineRecord& line = bench.state.sheet[2];
        line.kind = test.kind;
        line.unit = "ｍ";
        line.netQuantity = Currency::fromWhole(3);
        line.submittedPrice = Currency::fromWhole(1200);
        const LineRecord before = line;
        CommandResult result;
        switch (test.command) {
        case Command::AmountText:
            result = setAmountColumnText(bench.context, Selection{2, 9}, text);
            break;
        case Command::BlankQuantity:
            result = blankQuantityAndAmount(bench.context, Selection{2, 9}, text);
            break;
        case Command::BlankQuantityAndUnit:
            result = blankQuantityUnitAndAmount(bench.context, Selection{2, 9}, text);
            break;
        }
        SCOPED_TRACE("kind " + std::to_string(test.kind));
        EXPECT_EQ(result.selection, (Selection{2, 9}));
        EXPECT_EQ((std::vector<std::string>{"totals", "write"}), bench.cycle.steps);
        ASSERT_EQ(bench.state.lineCount(), 3);
        EXPECT_EQ(lineAt(bench.state, 1), namedLine("L1"));
        if (test.kindAfter < 0) {
            EXPECT_EQ(lineAt(bench.state, 2), before);
            continue;
        }
        LineRecord expected = before;
        expected.kind = test.kindAfter;
        expected.amountText = "御支給品です";
        expected.unit = test.unitEmpty ? "" : "ｍ";
        EXPECT_EQ(lineAt(bench.state, 2), expected);
    }
}

TEST(AmountColumnCommands, BlankTextIsAllowedASeparatorIsNot) {
    CommandBench bench;
    bench.state.sheet = numberedLines(2);
    bench.state.sheet[1].amountText = "前";
    blankQuantityAndAmount(bench.context, Selection{1, 1}, "");
    EXPECT_EQ(lineAt(bench.state, 1).kind, 30);
    EXPECT_EQ(lineAt(bench.state, 1).amountText, "");

    const Sheet before = bench.state.sheet;
    bench.cycle.steps.clear();
    EXPECT_FALSE(setAmountColumnText(bench.context, Selection{2, 2}, "別途;").changed);
    EXPECT_FALSE(blankQuantityUnitAndAmount(bench.context, Selection{2, 2}, ";").changed);
    EXPECT_EQ(bench.state.sheet, before);
    EXPECT_TRUE(bench.cycle.steps.empty());
    EXPECT_EQ(bench.host.notices.size(), 2U);
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

TEST(LineProperties, ReportOfAnOrdinaryLine) {
    CommandBench bench;
    bench.state.sheet = numberedLines(3);
    LineRecord& line = bench.state.sheet[2];
    line.nameSpec = "白ガス管;20A;";
    line.kind = 12;
    line.laborFactor = Currency::fromText("0.25");
    line.submittedQuantity = Currency::fromText("12.5");
    line.submittedPrice = Currency::fromWhole(1200);
    line.submittedAmount = Currency::fromWhole(15000);
    line.submittedAdditionalPrice = Currency::fromWhole(30);
    line.netQuantity = Currency::fromWhole(12);
    line.netPrice = Currency::fromWhole(900);
    line.netAmount = Currency::fromWhole(10800);
    line.priceCode = "A-1";
    line.hiddenFlag = 1;
    const std::string expected = joined({
        "No : 2 データのプロパティ",
        "============================================",
        "名       称  =  白ガス管;20A;",
        "",
        "経 費 計 算 = 対 象 外",
        "数量実数 通常単価  経費対象外",
        "----------------------------------[提 出]---",
        "歩    掛     =  0.25",
        "提 出 数 量  =  12.5",
        "提 出 単 価  =  1200",
        "提 出 金 額  =  15000",
        "付 帯 単 価  =  30",
        "----------------------------------[仕 切]---",
        "数 量 仕 切  =  12",
        "仕 切 単 価  =  900",
        "仕 切 金 額  =  10800",
        "単価番号 = A-1",
        "--------------------------------------------",
        "sort = 11999",
        "FLAG = 12",
        "OPT1 = 1",
        "============================================",
    });
    EXPECT_EQ(linePropertyReport(bench.state, Selection{2, 3}), expected);
    const CommandResult result = showLineProperties(bench.context, Selection{2, 3});
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(bench.host.notices, std::vector<std::string>{expected});

    EXPECT_EQ(linePropertyReport(bench.state, Selection{4, 4}), std::nullopt);
    showLineProperties(bench.context, Selection{4, 4});
    EXPECT_EQ(bench.host.notices.size(), 1U);
    EXPECT_TRUE(bench.cycle.steps.empty());
}

// Calculated lines show each side's own percentage and amount.
TEST(LineProperties, ReportOfCalculatedLinesKeepsTheSidesApart) {
    const struct {
        int kind;
        std::string description;
        std::string rateLabel;
        std::string lastLine;
    } cases[] = {
        {60, "指定範囲歩掛×単価", "単    価  =  ", "単価番号 = K-9"},
        {63, "指定範囲内指定範囲歩掛×単価", "単    価  =  ", "単価番号 = K-9"},
        {50, "指定範囲単価合計×掛率", "掛 け 率  =  ", "付 帯 単 価  =  44"},
        {74, "指定範囲内付帯単価合計×掛率", "掛 け 率  =  ", "付 帯 単 価  =  44"},
    };
    for (const auto& test : cases) {
        DocumentState state;
        state.sheet = numberedLines(6);
        LineRecord& line = state.sheet[6];
        line = rangeLine(test.kind, 1, 5);
        line.submittedPrice = Currency::fromWhole(110);
        line.submittedAmount = Currency::fromWhole(5500);
        line.netPrice = Currency::fromWhole(90);
        line.netAmount = Currency::fromWhole(4500);
        line.submittedAdditionalPrice = Currency::fromWhole(55);
        line.netAdditionalPrice = Currency::fromWhole(44);
        line.priceCode = "K-9";
        const std::string expected = joined({
            "No : 6 データのプロパティ",
            "============================================",
            "名       称  =  range;",
            "",
            "経 費 計 算 = 対    象",
            test.description,
            "計算対象範囲  =  1～5",
            "----------------------------------[提 出]---",
            test.rateLabel + "110%",
            "金    額  =  5500",
            "単価番号 = K-9",
            "----------------------------------[仕 切]---",
            test.rateLabel + "90%",
            "金    額  =  4500",
            test.lastLine,
            "--------------------------------------------",
            "sort = 11999",
            "FLAG = " + std::to_string(test.kind),
            "OPT1 = 0",
            "============================================",
        });
        EXPECT_EQ(linePropertyReport(state, Selection{6, 6}), expected) << "kind " << test.kind;
    }
}

TEST(LineProperties, KindDescriptions) {
    const struct {
        int kind;
        std::string description;
    } cases[] = {
        {10, "数量実数 通常単価  経費対象"},
        {11, "数量実数 減    額"},
        {17, "数量実数 金額欄御支給品"},
        {20, "数量小数 通常単価  経費対象"},
        {21, "数量小数 減    額"},
        {25, "数量小数 金額欄御支給品"},
        {30, "コメント"},
        {81, "諸経費  見積金額＋他の諸経費×掛率  丸込処理無"},
        {82, "諸経費  諸経費計算の際、計算外となります"},
        {83, "諸経費  見積金額＋他の諸経費×掛率  丸込処理有"},
        {84, "諸経費  見積金額＋諸経費外と指定のある諸経費を含まない×掛率\n丸込処理有丸込処理有"},
        {90, ""},
        {95, ""},
        {97, "法定福利費"},
        {98, "法定福利計"},
        {99, "合計線  印刷時ここに合計が印刷されます"},
        {130, "(拾出)コメント"},
    };
    for (const auto& test : cases) {
        DocumentState state;
        state.sheet = numberedLines(1);
        state.sheet[1].kind = test.kind;
        state.sheet[1].amountText = "御支給品";
        const std::string report = linePropertyReport(state, Selection{1, 1}).value();
        const std::string expenseLine = test.kind == 12 || test.kind == 22
                                            ? "経 費 計 算 = 対 象 外"
                                            : "経 費 計 算 = 対    象";
        EXPECT_NE(report.find("\n" + expenseLine + "\n" + test.description + "\n---"),
                  std::string::npos)
            << "kind " << test.kind << "\n"
            << report;
    }
}

// Runs the real sheet pass where the recording cycle only notes the step.
class CalculatingCycle : public RecordingCycle {
public:
    explicit CalculatingCycle(DocumentState& state) : state_(state) {}
    std::optional<RangeSumError> lastError;

    void recalculate(bool listMode) override {
        RecordingCycle::recalculate(listMode);
        lastError = recalculateSheet(state_).error;
    }

private:
    DocumentState& state_;
};

TEST(StructureCommands, ASheetBuiltWithThemAddsUp) {
    DocumentState state;
    CalculatingCycle cycle(state);
    ScriptedPrompt host;
    GridSession session;
    GridContext context{state, cycle, host, session, testing::freshFolder("work")};
    state.sheet = numberedLines(3);
    for (int row = 1; row <= 3; ++row) {
        LineRecord& line = state.sheet[static_cast<std::size_t>(row)];
        line.netQuantity = line.submittedQuantity = Currency::fromWhole(1);
        line.netPrice = line.submittedPrice = Currency::fromWhole(1000 * row);
    }

    Selection selection =
        addRangeSum(context, Selection{1, 3}, RangeSumKind::AmountsHidden, "機器").selection;
    EXPECT_EQ(selection, (Selection{5, 5}));
    // The small sum goes on the range sum's row, below the rows of the range, and stays out of it.
    selection = addSmallSum(context, Selection{4, 4}, kSettings).selection;
    EXPECT_FALSE(cycle.lastError.has_value());
    EXPECT_EQ(selection, (Selection{5, 5}));
    host.answers.push_back(true);
    selection = addConsumptionTax(context, Selection{6, 6}, kSettings).selection;
    selection = addSumLine(context, selection, kSettings).selection;
    EXPECT_EQ(selection, (Selection{8, 8}));
    EXPECT_FALSE(cycle.lastError.has_value());

    const std::vector<int> kinds = {10, 10, 10, 95, 93, 90, 99};
    ASSERT_EQ(state.lineCount(), 7);
    for (int row = 1; row <= 7; ++row) {
        EXPECT_EQ(lineAt(state, row).kind, kinds[static_cast<std::size_t>(row - 1)]) << row;
    }
    EXPECT_EQ(rangeOf(lineAt(state, 5)), (std::pair{1, 3}));
    EXPECT_EQ(lineAt(state, 4).submittedAmount, Currency::fromWhole(6000));
    EXPECT_EQ(lineAt(state, 5).submittedAmount, Currency::fromWhole(6000));
    EXPECT_EQ(lineAt(state, 6).submittedAmount, Currency::fromWhole(480));
    EXPECT_EQ(lineAt(state, 6).netAmount, Currency::fromWhole(480));
    EXPECT_EQ(state.sheetSubmittedTax, Currency::fromWhole(480));
}

} // namespace
} // namespace kerbina

#include "base/file_io.h"
#include "costs/expenses.h"
#include "document/work_store.h"
#include "expense_bench.h"
#include "money_literal.h"
#include "record_builders.h"
#include "records/item_settings.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

using testing::ExpenseBench;

ExpenseEntry entryOf(const char* net, const char* submitted, int target, int rounding,
                     ExpenseUnit unit = ExpenseUnit::Lump) {
    return {"現場管理費", net, submitted, unit, target, rounding};
}

TEST(ExpenseDialogRules, RateAndNameButtonsSetTheEntry) {
    ExpenseEntry entry;
    chooseRate(entry, 15);
    EXPECT_EQ(entry.netRateText, "15");
    EXPECT_EQ(entry.submittedRateText, "15");

    chooseNameButton(entry, {"運搬交通費", 7});
    EXPECT_EQ(entry.name, "運搬交通費");
    EXPECT_EQ(entry.targetIndex, 3); // a stored 7 selects "経費外抜(端数処理有)"
    chooseNameButton(entry, {std::string(30, 'x') + "現場管理費用", -2});
    EXPECT_EQ(entry.name, std::string(30, 'x') + "現場管理費"); // 40 bytes in CP932
    EXPECT_EQ(entry.targetIndex, 0);

    EXPECT_TRUE(roundingChoiceEnabled(0));
    EXPECT_TRUE(roundingChoiceEnabled(1));
    EXPECT_FALSE(roundingChoiceEnabled(2));
    EXPECT_FALSE(roundingChoiceEnabled(3));
}

TEST(ExpenseDialogRules, RenamingStoresTheCurrentTargetAndRefusesASeparator) {
    ExpenseNameButtons buttons = defaultExpenseNames();
    EXPECT_FALSE(renameNameButton(buttons, 4, "共通仮設費", 2));
    EXPECT_EQ(buttons[4], (ExpenseNameButton{"共通仮設費", 2}));
    EXPECT_EQ(registrationNotice(2), "計算対象:経費全て含(端数処理有)\nとして登録しました。");

    EXPECT_EQ(renameNameButton(buttons, 5, "a;b", 1), "「;」は入力できません。");
    EXPECT_EQ(buttons[5], (ExpenseNameButton{"諸 経 費", 5}));
}

TEST(ExpenseDialogRules, AnEntryWithoutUsableRatesIsRefused) {
    const struct {
        const char* net;
        const char* submitted;
        std::optional<std::string> refusal;
    } cases[] = {
        {"", "8", "掛け率が入力されていません。"},
        {"5", "", "掛け率が入力されていません。"},
        {"5", "八", "掛け率は数値で入力して下さい。"},
        {"５", "2.5", std::nullopt}, // full-width digits as an input method types them
    };
    for (const auto& each : cases) {
        EXPECT_EQ(expenseEntryRefusal(entryOf(each.net, each.submitted, 0, 0)), each.refusal)
            << each.net << " / " << each.submitted;
    }
}

// Each target gives its kind and group code; the rounding index is stored whatever the target,
// even where the choice is disabled.
TEST(ExpenseMessages, LineAndItemCarryRatesKindAndRoundingForEveryTarget) {
    for (int target = 0; target < kExpenseTargets; ++target) {
        const LineMessage line = expenseLineMessage(entryOf("5", "2.5", target, 3));
        EXPECT_EQ(line.kind, LineKind(81 + target));
        EXPECT_EQ(line.groupCode, Currency::fromWhole(99993 + target));
        EXPECT_EQ(line.hiddenFlag, 3);
        EXPECT_EQ(line.netQuantity, c("5"));
        EXPECT_EQ(line.submittedQuantity, c("2.5"));

        const ItemMessage item = expenseItemMessage(entryOf("5", "2.5", target, 3));
        EXPECT_EQ(item.kind, ItemKind(81 + target));
        EXPECT_EQ(item.setting144, c("5"));
        EXPECT_EQ(item.setting152, c("2.5"));
        EXPECT_EQ(item.setting160, c("3"));
    }
    EXPECT_EQ(expenseLineMessage(entryOf("1", "1", 0, 0, ExpenseUnit::Percent)).unit, "％");
    EXPECT_EQ(expenseItemMessage(entryOf("1", "1", 0, 0, ExpenseUnit::Percent)).setting168, c("1"));
    EXPECT_EQ(expenseItemMessage(entryOf("1", "1", 0, 0, ExpenseUnit::Lump)).setting168, c("2"));
}

TEST(ExpenseLine, IsWrittenAtTheSelectionsLastRowAndTheSelectionMovesDown) {
    ExpenseBench bench;
    bench.state.sheet = numberedLines(14);
    const CommandResult result =
        writeExpenseLine(bench.context, Selection{10, 12}, entryOf("5", "8", 1, 2));

    const LineRecord& line = bench.state.sheet[12];
    EXPECT_EQ(line.kind, LineKind::ExpenseOutsideOtherExpenses);
    EXPECT_EQ(line.netQuantity, c("5"));
    EXPECT_EQ(line.submittedQuantity, c("8"));
    EXPECT_EQ(line.unit, "式");
    EXPECT_EQ(line.sortCode, c("99994"));
    EXPECT_EQ(line.hiddenFlag, 2);
    EXPECT_EQ(line.netPrice, Currency());
    EXPECT_EQ(result.selection, (Selection{13, 13}));
    EXPECT_EQ(bench.cycle.steps, (std::vector<std::string>{"snapshot", "totals", "write"}));

    ExpenseBench refused;
    refused.state.sheet = numberedLines(3);
    EXPECT_FALSE(
        writeExpenseLine(refused.context, Selection{2, 2}, entryOf("", "8", 1, 2)).changed);
    EXPECT_EQ(refused.host.notices, std::vector<std::string>{"掛け率が入力されていません。"});
    EXPECT_EQ(refused.state.sheet, numberedLines(3));
    EXPECT_TRUE(refused.cycle.steps.empty());
}

TEST(ExpenseLine, TheSheetCommandIsRefusedInsideAnAmountHiddenRange) {
    ExpenseBench bench;
    bench.state.sheet = numberedLines(5);
    bench.state.sheet[5] = rangeLine(LineKind::RangeTotalHidingItems, 2, 4);
    EXPECT_FALSE(sheetExpensesAllowed(bench.context, Selection{1, 3}));
    ASSERT_EQ(bench.host.notices.size(), 1U);
    EXPECT_TRUE(sheetExpensesAllowed(bench.context, Selection{3, 6}));

    // The dialog's writes move down and are checked again, the pattern on every row it covers.
    const Sheet before = bench.state.sheet;
    bench.host.notices.clear();
    EXPECT_FALSE(writeExpenseLine(bench.context, Selection{4, 4}, entryOf("5", "5", 0, 0)).changed);
    const std::vector<ExpensePatternLine> pattern = {{"運搬費", "", "式", c("4"), c("4"), 81}};
    EXPECT_FALSE(writeExpensePatternLines(bench.context, Selection{1, 1}, pattern).changed);
    EXPECT_EQ(bench.host.notices.size(), 2U);
    EXPECT_EQ(bench.state.sheet, before);
    EXPECT_TRUE(bench.cycle.steps.empty());
}

// Five items, row 7 selected: item 6 is created as an empty work item and item 7 becomes the
// expense item, its rounding code stored as the offset too; the selection moves to row 8.
TEST(ExpenseItem, CreatesItemsUpToTheRowAndMovesTheSelectionDown) {
    ExpenseBench bench;
    for (int n = 1; n <= 5; ++n) {
        bench.state.items.push_back(sheetItem("工事" + std::to_string(n)));
    }
    const CommandResult result =
        writeExpenseItem(bench.context, Selection{7, 7}, entryOf("5", "8", 0, 2));

    ASSERT_EQ(bench.state.itemMax(), 7);
    EXPECT_EQ(bench.state.items[6].kind, ItemKind::Sheet);
    EXPECT_EQ(bench.state.items[6].name, newSheetItem().name);
    const ItemRecord& item = bench.state.items[7];
    EXPECT_EQ(item.kind, ItemKind::ExpenseOnTotal);
    EXPECT_EQ(item.name, "現場管理費");
    const ExpenseRates rates = expenseRates(item);
    EXPECT_EQ(rates.netRate, c("5"));
    EXPECT_EQ(rates.submittedRate, c("8"));
    EXPECT_EQ(rates.roundingLevel, c("2"));
    EXPECT_EQ(rates.unitCode, c("2"));
    EXPECT_EQ(rates.roundingOffset, c("2"));
    EXPECT_EQ(result.selection, (Selection{8, 8}));
    EXPECT_TRUE(result.itemsChanged);
    EXPECT_EQ(bench.cycle.steps,
              (std::vector<std::string>{"list snapshot", "list totals", "write list"}));
}

// Every write checks its own row: a second "計　算" lands on the row below, which may hold data.
TEST(ExpenseItem, EachWriteRepeatsThePlacementChecks) {
    ExpenseBench bench;
    bench.state.items.push_back(sheetItem("工事"));
    bench.state.items.push_back(sheetItem("経費", ItemKind::ExpenseOnTotal));
    ItemRecord priced = sheetItem("配管");
    priced.submittedTotal = c("1000");
    bench.state.items.push_back(priced);

    const CommandResult first =
        writeExpenseItem(bench.context, Selection{2, 2}, entryOf("5", "5", 2, 0));
    EXPECT_EQ(bench.state.items[2].kind, ItemKind(83)); // an expense may be written over
    const ItemList before = bench.state.items;
    bench.cycle.steps.clear();
    const CommandResult second =
        writeExpenseItem(bench.context, first.selection, entryOf("5", "5", 2, 0));
    EXPECT_FALSE(second.changed);
    EXPECT_EQ(second.selection, (Selection{3, 3}));
    EXPECT_EQ(bench.host.notices,
              std::vector<std::string>{"すでに積算データが存在しますので経費にはできません"});
    EXPECT_EQ(bench.state.items, before);
    EXPECT_TRUE(bench.cycle.steps.empty());
}

TEST(ExpenseItem, TheListRefusesTheFirstRowAndItemsHoldingData) {
    ExpenseBench bench;
    bench.state.items.push_back(sheetItem("工事"));
    ItemRecord withTotal = sheetItem("配管");
    withTotal.netTotal = c("1");
    bench.state.items.push_back(withTotal);
    bench.state.items.push_back(sheetItem("コメントだけ")); // its sheet holds a comment line
    bench.state.items.push_back(sheetItem("空"));
    ItemRecord reduction = sheetItem("減額", ItemKind::Reduction);
    reduction.submittedTotal = c("-500");
    bench.state.items.push_back(reduction);
    bench.state.currentSheetNumber = 1;
    createFolders(bench.context.workFolder);
    writeSheetFile(itemSheetFile(bench.context.workFolder, 3),
                   sheetWithLines({commentLine("注記")}), 3);

    const std::string holdsData = "すでに積算データが存在しますので経費にはできません";
    const auto refusal = [&](int row) {
        return listExpenseRefusal(bench.state, bench.context.workFolder, row);
    };
    EXPECT_EQ(refusal(1), "先頭行に諸経費を入れる事はできません。");
    EXPECT_EQ(refusal(2), holdsData);
    EXPECT_EQ(refusal(3), holdsData);
    EXPECT_EQ(refusal(4), std::nullopt);
    EXPECT_EQ(refusal(5), std::nullopt);
    EXPECT_EQ(refusal(9), std::nullopt);
}

// Row 20 selected, three pattern lines of which the second has no submitted rate: lines at rows
// 20 and 21, the closing sum at row 22.
TEST(ExpensePatternWrite, SkipsLinesWithoutASubmittedRateAndClosesWithTheSum) {
    ExpenseBench bench;
    bench.state.sheet = numberedLines(25);
    const std::vector<ExpensePatternLine> pattern = {
        {"現場管理費", "管理", "％", c("2.5"), c("3"), 82},
        {"運搬費", "", "式", c("4"), c("0"), 81},
        {"雑費", "雑", "式", c("1"), c("1.5"), 84},
    };
    const CommandResult result =
        writeExpensePatternLines(bench.context, Selection{20, 20}, pattern);

    const Sheet& sheet = bench.state.sheet;
    EXPECT_EQ(sheet[20].kind, LineKind(82));
    EXPECT_EQ(sheet[20].netQuantity, c("2.5"));
    EXPECT_EQ(sheet[20].submittedQuantity, c("3"));
    EXPECT_EQ(sheet[20].unit, "％");
    EXPECT_EQ(sheet[20].sortCode, c("99994"));
    EXPECT_EQ(sheet[20].hiddenFlag, 0);
    EXPECT_EQ(sheet[21].kind, LineKind(84));
    EXPECT_EQ(sheet[21].submittedQuantity, c("1.5"));
    EXPECT_EQ(sheet[22].kind, LineKind::SumLine);
    EXPECT_EQ(sheet[22].nameSpec, "【合　　計】;");
    EXPECT_EQ(sheet[22].sortCode, c("99993"));
    EXPECT_EQ(sheet[23].nameSpec, "L23;");
    EXPECT_EQ(result.selection, (Selection{23, 23}));

    ExpenseBench missing;
    missing.state.sheet = numberedLines(3);
    EXPECT_FALSE(writeExpensePatternLines(missing.context, Selection{2, 2}, std::nullopt).changed);
    EXPECT_EQ(missing.state.sheet, numberedLines(3));

    const std::vector<LineMessage> allSkipped =
        patternLineMessages({{"運搬費", "", "式", c("4"), c("0"), 81}});
    ASSERT_EQ(allSkipped.size(), 1U);
    EXPECT_EQ(allSkipped[0].kind, LineKind::SumLine);
}

// The editor shows what the file holds, decimals included, and writes back what it shows.
TEST(ExpensePatternEditorRows, RoundTripAndRefuseWhatWouldBreakTheFile) {
    const ExpensePatternLine line{"現場管理費", "管理", "％", c("2.5"), c("0"), 83};
    const PatternRowEntry shown = patternRowEntry(line);
    EXPECT_EQ(shown, (PatternRowEntry{"現場管理費", "管理", "％", "2.5", "", 2}));
    const auto written = patternLinesOf({shown, patternRowEntry(emptyPatternRow())});
    ASSERT_TRUE(std::holds_alternative<std::vector<ExpensePatternLine>>(written));
    EXPECT_EQ(std::get<std::vector<ExpensePatternLine>>(written),
              (std::vector<ExpensePatternLine>{line, emptyPatternRow()}));

    PatternRowEntry separator = shown;
    separator.shortName = "管;理";
    EXPECT_EQ(std::get<std::string>(patternLinesOf({separator})), "「;」は入力できません。");
    PatternRowEntry notANumber = shown;
    notANumber.netRateText = "x";
    EXPECT_EQ(std::get<std::string>(patternLinesOf({notANumber})),
              "掛け率は数値で入力して下さい。");
}

} // namespace
} // namespace kerbina

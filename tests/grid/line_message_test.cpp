#include "grid/line_entry.h"
#include "grid/line_message.h"
#include "grid/row_commands.h"
#include "grid_test_support.h"
#include "money_literal.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

using testing::CommandBench;

LineMessage priced(const std::string& name, const char* quantity, const char* price) {
    LineMessage message;
    message.name = name;
    message.specification = "SGP 25A";
    message.unit = "ｍ";
    message.netQuantity = c(quantity);
    message.submittedQuantity = c(quantity);
    message.netPrice = c(price);
    message.submittedPrice = c(price);
    message.netAmount = c("999");
    message.submittedAmount = c("999");
    message.kind = 10;
    message.groupCode = c("11999");
    message.flag216 = 30000;
    message.mark = 1;
    return message;
}

TEST(LineMessage, TextFormRoundTripsAndReadsDamagedFieldsAsZero) {
    LineMessage message = priced("鋼管", "12", "1500");
    message.note = "a;b";
    const std::string text = lineMessageText(message);
    EXPECT_EQ(text,
              "WM_DATAWRITE;鋼管;SGP 25A;ｍ;1500;1500;0;0;12;12;999;999;10;11999;a；b;30000;0;"
              "1;0;0;;");
    LineMessage read = parseLineMessage(text);
    message.note = "a；b";
    EXPECT_EQ(read, message);

    const LineMessage damaged = parseLineMessage("WM_CALCDATA;名;;;x;;;;2.5;;;;1.5;;;;;;;;");
    EXPECT_EQ(damaged.messageName, "WM_CALCDATA");
    EXPECT_EQ(damaged.netPrice, Currency());
    EXPECT_EQ(damaged.netQuantity, c("2.5"));
    EXPECT_EQ(damaged.kind, 0);
    EXPECT_EQ(parseLineMessage("WM_DATAWRITE;名"), [] {
        LineMessage m;
        m.name = "名";
        return m;
    }());
}

// Appending past the last line and overwriting an existing one differ in the name's closing ";"
// and in where the amounts come from; the selection moves down one row.
TEST(writeLineFromMessage, AppendsOrOverwritesAndMovesTheSelectionDown) {
    CommandBench bench;
    bench.state.sheet = Sheet{LineRecord{}};
    CommandResult result =
        writeLineFromMessage(bench.context, Selection{3, 3}, priced("鋼管", "2", "100"),
                             LineWriteMode::Overwrite, AfterWrite::Save, false);
    ASSERT_EQ(bench.state.lineCount(), 3);
    EXPECT_EQ(bench.state.sheet[1], emptyLine());
    EXPECT_EQ(bench.state.sheet[2], emptyLine());
    EXPECT_EQ(bench.state.sheet[3].nameSpec, "鋼管;SGP 25A;");
    EXPECT_EQ(bench.state.sheet[3].submittedAmount, Currency());
    EXPECT_EQ(result.selection, (Selection{4, 4}));
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(bench.cycle.steps, (std::vector<std::string>{"snapshot", "totals", "write"}));

    bench.cycle.steps.clear();
    result = writeLineFromMessage(bench.context, Selection{1, 2}, priced("継手", "1", "50"),
                                  LineWriteMode::Overwrite, AfterWrite::KeepInMemory, false);
    EXPECT_EQ(bench.state.sheet[2].nameSpec, "継手;SGP 25A"); // the selection's last row
    EXPECT_EQ(bench.state.sheet[2].submittedAmount, c("999"));
    EXPECT_EQ(bench.state.sheet[1], emptyLine());
    EXPECT_EQ(result.selection, (Selection{3, 3}));
    EXPECT_EQ(bench.cycle.steps, (std::vector<std::string>{"snapshot", "totals"}));
    EXPECT_TRUE(bench.state.modified);

    EXPECT_FALSE(writeLineFromMessage(bench.context, Selection{1, 1}, priced("x", "1", "1"),
                                      LineWriteMode::Overwrite, AfterWrite::Save, true)
                     .changed);
}

// Mode 2 with rows 3..4 selected inserts two empty lines at 3 and writes the message into line 3.
TEST(writeLineFromMessage, InsertFirstWritesIntoTheFirstInsertedRow) {
    CommandBench bench;
    bench.state.sheet = Sheet{LineRecord{}};
    for (const char* name : {"一", "二", "三", "四"}) {
        LineRecord line = newLine();
        line.nameSpec = std::string(name) + ";";
        bench.state.sheet.push_back(line);
    }
    writeLineFromMessage(bench.context, Selection{3, 4}, priced("新", "1", "10"),
                         LineWriteMode::InsertFirst, AfterWrite::Save, false);
    ASSERT_EQ(bench.state.lineCount(), 6);
    EXPECT_EQ(bench.state.sheet[3].nameSpec, "新;SGP 25A");
    EXPECT_EQ(bench.state.sheet[4], emptyLine());
    EXPECT_EQ(bench.state.sheet[5].nameSpec, "三;");
}

LineEntry entry(int flag, const char* quantity, const char* price, const char* unit = "ｍ") {
    LineEntry e;
    e.name = "配管";
    e.flagChoice = flag;
    e.netQuantity = c(quantity);
    e.submittedQuantity = c(quantity);
    e.netPrice = c(price);
    e.submittedPrice = c(price);
    e.unit = unit;
    return e;
}

TEST(LineEntry, TheFlagFollowsTheNumbers) {
    const struct {
        LineEntry entry;
        int kind;
    } cases[] = {
        {entry(0, "2.5", "100"), 20}, // 数量実数 with a fraction: decimal quantity
        {entry(2, "2.5", "100"), 21}, {entry(4, "2.5", "0"), 25},
        {entry(7, "2.5", "100"), 22}, // 数量実数+経費対象外 with a fraction (7 → 8)
        {entry(0, "0", "0", ""), 30}, // only a name: a comment line
        {entry(4, "1", "100"), 10},   // a unit price: no amount-text line
        {entry(5, "1.5", "100"), 20}, {entry(6, "1", "100"), 10},
        {entry(0, "3", "100"), 10},   {entry(8, "3", "100"), 22},
    };
    for (const auto& row : cases) {
        const EntryOutcome outcome = lineMessageFromEntry(row.entry, c("11999"), 1);
        ASSERT_TRUE(outcome.message) << outcome.refusal;
        EXPECT_EQ(outcome.message->kind, row.kind)
            << row.entry.flagChoice << " " << row.entry.netQuantity.toString();
    }
}

TEST(LineEntry, MessageFieldsAndWhatAnEditedLineKeeps) {
    LineEntry amountText = entry(4, "1", "0");
    amountText.amountText = "御支給品";
    EXPECT_EQ(lineMessageFromEntry(amountText, c("11999"), 2).message->amountText, "御支給品");
    LineEntry pricedWithText = entry(0, "1", "100");
    pricedWithText.amountText = "御支給品";
    const LineMessage message = *lineMessageFromEntry(pricedWithText, c("14999"), 2).message;
    EXPECT_EQ(message.amountText, "");
    EXPECT_EQ(message.groupCode, c("14999"));
    EXPECT_EQ(message.mark, 2);
    EXPECT_EQ(message.flag216, 30000);
    EXPECT_EQ(message.netAmount, Currency());

    // An edited expense line keeps its kind, prices, rounding code and price code.
    LineRecord expense = newLine();
    expense.kind = 83;
    expense.nameSpec = "諸経費;";
    expense.netQuantity = c("10");
    expense.submittedQuantity = c("10");
    expense.netPrice = c("5");
    expense.submittedPrice = c("5");
    expense.hiddenFlag = 3;
    expense.priceCode = "P-1";
    const LineMessage kept = *lineMessageFromEntry(entryFromLine(expense), c("11999"), 1).message;
    EXPECT_EQ(kept.kind, 83);
    EXPECT_EQ(kept.netPrice, c("5"));
    EXPECT_EQ(kept.hiddenFlag, 3);
    EXPECT_EQ(kept.priceCode, "P-1");
    // A take-off line edited here becomes an ordinary line.
    expense.kind = 110;
    EXPECT_EQ(lineMessageFromEntry(entryFromLine(expense), c("11999"), 1).message->kind, 10);
}

TEST(LineEntry, Refusals) {
    LineEntry separator = entry(0, "1", "100");
    separator.note = "a;b";
    EXPECT_EQ(lineMessageFromEntry(separator, c("11999"), 1).refusal,
              "名称、仕様に\";\"は使用できません。");
    EXPECT_EQ(lineMessageFromEntry(entry(0, "-1", "100"), c("11999"), 1).refusal,
              "減額機能を使用し、－抜きで入力して下さい。");
    EXPECT_EQ(lineMessageFromEntry(entry(0, "1", "-100"), c("11999"), 1).refusal,
              "減額機能を使用し、－抜きで入力して下さい。");
}

TEST(LineEntry, Histories) {
    std::vector<std::string> units{"ｍ", "式", "本"};
    rememberAtTop(units, "本");
    rememberAtTop(units, "");
    EXPECT_EQ(units, (std::vector<std::string>{"本", "ｍ", "式"}));
    for (int i = 0; i < 25; ++i) {
        rememberAtTop(units, "u" + std::to_string(i));
    }
    EXPECT_EQ(units.size(), 20u);
    EXPECT_EQ(units.front(), "u24");
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

TEST(CommentLineMessage, QuantityOneOrNone) {
    const LineMessage one =
        commentLineMessage("夜間作業を含む", "式", CommentQuantity::One, "別途");
    EXPECT_EQ(one.messageName, "WM_ITEMNOTE");
    EXPECT_EQ(one.kind, 15);
    EXPECT_EQ(one.unit, "式");
    EXPECT_EQ(one.netQuantity, c("1"));
    EXPECT_EQ(one.submittedQuantity, c("1"));
    EXPECT_EQ(one.groupCode, c("99999"));
    EXPECT_EQ(one.amountText, "別途");
    const LineMessage none = commentLineMessage("注記", "式", CommentQuantity::None, "");
    EXPECT_EQ(none.kind, 30);
    EXPECT_EQ(none.unit, "");
}

TEST(ItemMessage, TextFormRoundTripsAndReadsDamagedFieldsAsZero) {
    ItemMessage message;
    message.kind = ItemKind::ExpenseOutsideOtherExpenses;
    message.name = "現場;管理費";
    message.setting144 = c("2.5");
    message.setting152 = c("8");
    message.setting160 = c("2");
    message.setting168 = c("1");
    const std::string text = itemMessageText(message);
    EXPECT_EQ(text, "WM_KEIHIWRITE;82;現場；管理費;;0;0;2.5;8;2;1");
    EXPECT_EQ(itemMessageText(parseItemMessage(text)), text);

    const ItemMessage damaged = parseItemMessage("WM_KEIHIWRITE;x;名;;1,0;;abc");
    EXPECT_EQ(damaged.kind, ItemKind(0));
    EXPECT_EQ(damaged.name, "名");
    EXPECT_EQ(damaged.setting144, Currency());
    EXPECT_EQ(damaged.setting168, Currency());
}

// The item is created past the end, takes the message's fields and keeps the others; the list
// pass runs and the list is written.
TEST(ItemMessage, WritesTheItemAtItsRowCreatingTheRowsBefore) {
    CommandBench bench;
    bench.state.items = {ItemRecord{}, newSheetItem()};
    bench.state.items[1].name = "工事";
    ItemMessage message;
    message.kind = ItemKind::Welfare;
    message.name = std::string(60, 'x') + "法定福利費";
    message.note = "0";
    message.setting144 = c("16.5");
    message.setting152 = c("15.9");

    const CommandResult result = writeItemFromMessage(
        bench.context, 3, message, [](ItemRecord& item) { item.subKind = Currency::fromWhole(1); });

    ASSERT_EQ(bench.state.itemMax(), 3);
    EXPECT_EQ(bench.state.items[1].name, "工事");
    EXPECT_EQ(bench.state.items[2].kind, ItemKind::Sheet);
    const ItemRecord& item = bench.state.items[3];
    EXPECT_EQ(item.kind, ItemKind::Welfare);
    EXPECT_EQ(item.name, std::string(60, 'x') + "法定福利費"); // 75 bytes in CP932: fits
    EXPECT_EQ(item.note, "0");
    EXPECT_EQ(welfareRates(item).labourRate, c("16.5"));
    EXPECT_EQ(welfareRates(item).employerRate, c("15.9"));
    EXPECT_EQ(item.subKind, Currency::fromWhole(1));
    EXPECT_EQ(bench.cycle.steps, (std::vector<std::string>{"list totals", "write list"}));
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.selection, (Selection{3, 3}));
}

} // namespace
} // namespace kerbina

#include "calc/totals.h"
#include "catalogue_fixture.h"
#include "money_literal.h"
#include "prices/calculated_price.h"
#include "record_builders.h"
#include "recording_cycle.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

constexpr std::chrono::year_month_day kToday{std::chrono::year{2026}, std::chrono::December,
                                             std::chrono::day{11}};

DocumentState sheetState(const std::vector<LineRecord>& lines) {
    DocumentState state;
    state.items.push_back(newSheetItem());
    state.currentSheetNumber = 1;
    state.sheet = sheetWithLines(lines);
    state.settings = CalcSettings{};
    return state;
}

LineRecord pricedLine(const std::string& name, const char* quantity, const char* price) {
    LineRecord line = namedLine(name);
    line.netQuantity = line.submittedQuantity = c(quantity);
    line.netPrice = line.submittedPrice = c(price);
    line.sortCode = c("11999");
    return line;
}

TEST(CalculatedOpening, ProposesTheRangeSinceTheLastCalculatedLineAbove) {
    const LineRecord plain = namedLine("L");
    const struct {
        const char* what;
        std::vector<LineRecord> lines;
        bool listMode;
        Selection selection;
        const char* refusal;
        int row;
        CalculatedRange range;
    } cases[] = {
        {"no calculated line above", {plain, plain, plain, plain}, false, {4, 4}, "", 4, {1, 3}},
        {"one calculated line above",
         {plain, rangeLine(53, 1, 1), plain, plain, plain},
         false,
         {5, 5},
         "",
         5,
         {3, 4}},
        {"kind 79 ends the range too",
         {plain, plain, rangeLine(79, 1, 2), plain},
         false,
         {4, 4},
         "",
         4,
         {4, 3}},
        {"a calculated line below the cursor does not count",
         {plain, plain, plain, rangeLine(50, 1, 3)},
         false,
         {3, 3},
         "",
         3,
         {1, 2}},
        {"past the last line", {plain, plain}, false, {5, 5}, "", 5, {1, 4}},
        {"several rows: the last one", {plain, plain, plain, plain}, false, {2, 4}, "", 4, {1, 3}},
        {"cursor at row 1",
         {plain, plain},
         false,
         {1, 1},
         "計算単価は先頭行に入力することはできません。",
         0,
         {1, 1}},
        {"breakdown list", {plain, plain}, true, {3, 3}, "現在は内訳モードです。", 0, {1, 1}},
    };
    for (const auto& test : cases) {
        const CalculatedOpening opening =
            openCalculatedLine(sheetState(test.lines), test.listMode, test.selection);
        EXPECT_EQ(opening.refusal, test.refusal) << test.what;
        EXPECT_EQ(opening.row, test.row) << test.what;
        EXPECT_EQ(opening.range, test.range) << test.what;
    }
}

TEST(CalculatedMessage, KindIsTheBaseKindPlusTheGroupAndLargeRatesAreRefused) {
    const struct {
        CalculationType type;
        int group;
        const char* rate;
        int kind; // 0: refused
    } cases[] = {
        {CalculationType::Rate, 0, "10", 50},      {CalculationType::Labour, 0, "15000", 60},
        {CalculationType::Labour, 3, "15000", 63}, {CalculationType::AdditionalRate, 6, "500", 76},
        {CalculationType::Rate, 0, "501", 0},      {CalculationType::AdditionalRate, 2, "500.5", 0},
        {CalculationType::Labour, 0, "501", 60}, // a labour price is no rate
    };
    for (const auto& test : cases) {
        CalculatedEntry entry;
        entry.type = test.type;
        entry.group = test.group;
        entry.netValue = c("1");
        entry.submittedValue = c(test.rate);
        const CalculatedOutcome outcome = calculatedLineMessage(entry);
        if (test.kind == 0) {
            EXPECT_FALSE(outcome.message) << test.rate;
            EXPECT_EQ(outcome.refusal, "%の値が大きすぎます。");
            continue;
        }
        ASSERT_TRUE(outcome.message) << test.kind;
        EXPECT_EQ(outcome.message->kind, LineKind(test.kind));
        EXPECT_EQ(outcome.message->messageName, "WM_CALCDATA");
    }
}

TEST(CalculatedMessage, CarriesTheRangeAndRoundingLevelOrThePlainLineQuantities) {
    CalculatedEntry entry;
    entry.type = CalculationType::Rate;
    entry.name = "雑材料";
    entry.specification = "配管材";
    entry.unit = "式";
    entry.netValue = c("5");
    entry.submittedValue = c("8");
    entry.note = "備考";
    entry.priceKindChoice = 1;
    entry.range = {2, 7};
    entry.roundingLevel = 8;
    entry.kindChoice = 3;
    entry.netQuantity = c("2");
    entry.submittedQuantity = c("3");
    LineMessage expected;
    expected.messageName = "WM_CALCDATA";
    expected.name = "雑材料";
    expected.specification = "配管材";
    expected.unit = "式";
    expected.netPrice = c("5");
    expected.submittedPrice = c("8");
    expected.netQuantity = c("2");
    expected.submittedQuantity = c("7");
    expected.kind = 50;
    expected.groupCode = c("11999");
    expected.note = "備考";
    expected.laborFactor = c("8");
    expected.priceKind = c("1");
    EXPECT_EQ(calculatedLineMessage(entry).message, expected);

    // The plain line: the chosen kind, the two quantities, no rounding level as labour factor.
    entry.type = CalculationType::PlainLine;
    entry.netValue = c("1200");
    entry.submittedValue = c("1500");
    expected.messageName = "WM_DATAWRITE";
    expected.kind = 21;
    expected.netPrice = c("1200");
    expected.submittedPrice = c("1500");
    expected.netQuantity = c("2");
    expected.submittedQuantity = c("3");
    expected.laborFactor = Currency();
    EXPECT_EQ(calculatedLineMessage(entry).message, expected);

    entry.name = "A;B";
    EXPECT_EQ(calculatedLineMessage(entry).refusal, "名称、仕様に\";\"は使用できません。");
}

struct CalculatedWriteTest : testing::Test {
    RecordingCycle cycle;
    ScriptedPrompt host = ScriptedPrompt::answering(false);
    GridSession session;
};

// Two lines of 1,000 each, a comment under them; the cursor on the comment over three selected
// rows would once have inserted three empty lines.
TEST_F(CalculatedWriteTest, ANewLineTakesOneInsertedRowAndTheTotalsPassComputesIt) {
    DocumentState state = sheetState(
        {pricedLine("A", "1", "1000"), pricedLine("B", "2", "500"), commentLine("メモ")});
    GridContext context{state, cycle, host, session, {}};
    const CalculatedOpening opening = openCalculatedLine(state, false, Selection{1, 3});
    ASSERT_EQ(opening.row, 3);
    CalculatedEntry entry;
    entry.name = "諸経費";
    entry.netValue = entry.submittedValue = c("10");
    entry.range = opening.range;

    const CommandResult result = writeCalculatedLine(
        context, opening.row, *calculatedLineMessage(entry).message, CalculatedWrite::NewLine);

    EXPECT_EQ(cycle.steps, (std::vector<std::string>{"snapshot", "totals", "write"}));
    EXPECT_EQ(result.selection, (Selection{4, 4}));
    ASSERT_EQ(state.lineCount(), 4);
    EXPECT_EQ(state.sheet[3].kind, LineKind::RangeAmountTimesRate);
    EXPECT_EQ(state.sheet[4].nameSpec, "メモ");
    recalculateSheet(state);
    EXPECT_EQ(state.sheet[3].netAmount, c("200"));
    EXPECT_EQ(state.sheet[3].submittedAmount, c("200"));
}

TEST_F(CalculatedWriteTest, AnEditedLineIsOverwrittenInPlace) {
    LineRecord calculated = rangeLine(62, 1, 2);
    calculated.nameSpec = "労務費;配管工";
    calculated.netPrice = c("15000");
    calculated.submittedPrice = c("20000");
    calculated.laborFactor = c("2");
    calculated.priceKind = c("1");
    DocumentState state = sheetState({pricedLine("A", "1", "1000"), pricedLine("B", "1", "1000"),
                                      calculated, commentLine("メモ")});
    GridContext context{state, cycle, host, session, {}};

    CalculatedEntry entry = calculatedEntryFromLine(calculated);
    EXPECT_EQ(entry.type, CalculationType::Labour);
    EXPECT_EQ(entry.group, 2);
    EXPECT_EQ(entry.name, "労務費");
    EXPECT_EQ(entry.specification, "配管工");
    EXPECT_EQ(entry.range, (CalculatedRange{1, 2}));
    EXPECT_EQ(entry.roundingLevel, 2);
    EXPECT_EQ(entry.priceKindChoice, 1);
    entry.submittedValue = c("25000");
    writeCalculatedLine(context, 3, *calculatedLineMessage(entry).message,
                        CalculatedWrite::EditedLine);

    ASSERT_EQ(state.lineCount(), 4);
    EXPECT_EQ(state.sheet[3].kind, LineKind(62));
    EXPECT_EQ(state.sheet[3].submittedPrice, c("25000"));
    EXPECT_EQ(state.sheet[3].laborFactor, c("2"));
    EXPECT_EQ(state.sheet[3].nameSpec, "労務費;配管工");
}

TEST_F(CatalogueTest, CalculatedPricesAreAddedFoundChangedAndDeleted) {
    addPrice(PriceGroup::Code, "経費", "諸経費", "");
    CalculatedPrice price;
    price.name = "雑材料";
    price.specification = "配管";
    price.unit = "式";
    price.netRate = c("3");
    price.submittedRate = c("5.5");
    price.priceKind = 1;
    price.note = "材料費の";

    reporter.texts = {std::nullopt, "O'Brien 100%"};
    EXPECT_FALSE(addCalculatedPrice(database, reporter, price, "", kToday)); // cancelled
    const auto id = addCalculatedPrice(database, reporter, price, "", kToday);
    ASSERT_TRUE(id);
    price.id = *id;
    price.category = "O'Brien 100%";
    EXPECT_EQ(reporter.questions, (std::vector<std::string>{"カテゴリー名を入力してください。",
                                                            "カテゴリー名を入力してください。"}));

    CalculatedPrice unnamed;
    EXPECT_FALSE(addCalculatedPrice(database, reporter, unnamed, "x", kToday));
    EXPECT_EQ(reporter.notices, (std::vector<std::string>{"名称を入力してください"}));

    EXPECT_EQ(calculatedPriceCategories(database), (std::vector<std::string>{"O'Brien 100%"}));
    EXPECT_EQ(calculatedPrices(database, "O'Brien 100%", ""), (std::vector{price}));
    EXPECT_EQ(calculatedPrices(database, "", "配"), (std::vector{price}));
    EXPECT_TRUE(calculatedPrices(database, "O'Brien", "").empty());
    EXPECT_TRUE(calculatedPrices(database, "", "%").empty());
    EXPECT_TRUE(calculatedPrices(database, "", "諸経費").empty()); // a code price

    price.name = "労務費";
    reporter.texts = {"共通"};
    ASSERT_TRUE(updateCalculatedPrice(database, reporter, price, "O'Brien 100%"));
    price.category = "共通";
    EXPECT_EQ(calculatedPrice(database, price.id), price);

    reporter.answers = {false, true};
    EXPECT_FALSE(deleteCalculatedPrice(database, reporter, price.id));
    EXPECT_TRUE(calculatedPrice(database, price.id));
    EXPECT_TRUE(deleteCalculatedPrice(database, reporter, price.id));
    EXPECT_FALSE(calculatedPrice(database, price.id));
}

TEST_F(CatalogueTest, CategoryRenameLeavesTheOtherGroupsAlone) {
    const std::int64_t code = addPrice(PriceGroup::Code, "経費", "諸経費", "");
    const std::int64_t tree = addPrice(PriceGroup::Tree, "経費", "管理費", "");
    const std::int64_t calculated = addPrice(PriceGroup::Calculated, "経費", "一般管理費", "");
    addPrice(PriceGroup::Calculated, "労務", "労務費", "");

    reporter.texts = {"経費'共通"};
    reporter.answers = {true};
    EXPECT_EQ(renameCalculatedCategory(database, reporter, "経費"), "経費'共通");
    EXPECT_EQ(reporter.questions,
              (std::vector<std::string>{"変更するカテゴリー名を入力してください。",
                                        "「経費'共通」に変更していいですか"}));
    EXPECT_EQ(calculatedPrice(database, calculated)->category, "経費'共通");
    EXPECT_EQ(priceRecord(database, PriceGroup::Code, code)->category, "経費");
    EXPECT_EQ(priceRecord(database, PriceGroup::Tree, tree)->category, "経費");
    EXPECT_EQ(calculatedPriceCategories(database), (std::vector<std::string>{"労務", "経費'共通"}));

    // Refused at the confirmation, or with an empty name: nothing changes.
    reporter.texts = {"新", ""};
    reporter.answers = {false};
    EXPECT_FALSE(renameCalculatedCategory(database, reporter, "労務"));
    EXPECT_FALSE(renameCalculatedCategory(database, reporter, "労務"));
    EXPECT_EQ(calculatedPriceCategories(database), (std::vector<std::string>{"労務", "経費'共通"}));
}

} // namespace
} // namespace kerbina

#include "calc/totals.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

// The sheet pass, on small sheets built line by line. Settings unless a test says otherwise:
// amount, expense and labour offsets 0.5, quantity decimals 10, total level 1, total offset 0,
// tax offset 0.

namespace kerbina {
namespace {

LineRecord priced(LineKind kind, const char* quantity, const char* netPrice,
                  const char* submittedPrice = nullptr, const char* sortCode = "11999") {
    LineRecord line;
    line.kind = kind;
    line.netQuantity = line.submittedQuantity = c(quantity);
    line.netPrice = c(netPrice);
    line.submittedPrice = c(submittedPrice != nullptr ? submittedPrice : netPrice);
    line.sortCode = c(sortCode);
    return line;
}

LineRecord ranged(LineKind kind, int first, int last, const char* netRate = "0",
                  const char* submittedRate = "0", const char* levelCode = "0") {
    LineRecord line;
    line.kind = kind;
    line.netQuantity = Currency::fromWhole(first);
    line.submittedQuantity = Currency::fromWhole(last);
    line.netPrice = c(netRate);
    line.submittedPrice = c(submittedRate);
    line.laborFactor = c(levelCode);
    return line;
}

LineRecord special(LineKind kind) {
    LineRecord line;
    line.kind = kind;
    return line;
}

// An expense line: rates in percent, the line's level code and the "計算後の有効桁" code.
LineRecord expense(LineKind kind, const char* netRate, const char* submittedRate,
                   const char* levelCode = "0", int afterCode = 0) {
    LineRecord line;
    line.kind = kind;
    line.netQuantity = c(netRate);
    line.submittedQuantity = c(submittedRate);
    line.laborFactor = c(levelCode);
    line.hiddenFlag = afterCode;
    return line;
}

LineRecord taxLine(const char* netQuantity, const char* rate) {
    LineRecord line;
    line.kind = 90;
    line.netQuantity = c(netQuantity);
    line.submittedQuantity = c(rate);
    line.netPrice = c("123");
    return line;
}

LineRecord welfareLine(const char* r1, const char* r2, const char* r3,
                       const char* amountText = "") {
    LineRecord line;
    line.kind = 97;
    line.nameSpec = " 法定福利費 ;旧式";
    line.netQuantity = c(r1);
    line.submittedQuantity = c(r2);
    line.submittedAdditionalPrice = c(r3);
    line.amountText = amountText;
    return line;
}

DocumentState sheetOf(std::vector<LineRecord> lines) {
    DocumentState state;
    state.items.push_back(newSheetItem());
    state.currentSheetNumber = 1;
    state.sheet.insert(state.sheet.end(), lines.begin(), lines.end());
    state.settings = CalcSettings{};
    return state;
}

struct Amounts {
    const char* net;
    const char* submitted;
};

void expectAmounts(const LineRecord& line, Amounts expected, int row) {
    EXPECT_EQ(line.netAmount, c(expected.net)) << "row " << row << " net";
    EXPECT_EQ(line.submittedAmount, c(expected.submitted)) << "row " << row << " submitted";
}

TEST(SheetPass, SmallAndMidSumsCollectTheLinesSinceTheirLastReset) {
    DocumentState state = sheetOf({
        priced(10, "1", "1000"),
        priced(10, "2", "1000", "1100"),
        priced(11, "1", "500"), // reduction
        special(95),
        priced(20, "1.5", "200"),
        special(95),
        special(96),
        priced(10, "1", "7"),
        special(96),
    });
    const SheetPassResult result = recalculateSheet(state);

    expectAmounts(state.sheet[4], {"2500", "2700"}, 4);
    expectAmounts(state.sheet[6], {"300", "300"}, 6);
    expectAmounts(state.sheet[7], {"2800", "3000"}, 7); // the 小計 lines are not counted again
    expectAmounts(state.sheet[9], {"7", "7"}, 9);
    EXPECT_EQ(result.netTotal, c("2807"));
    EXPECT_EQ(result.submittedTotal, c("3007"));
    EXPECT_FALSE(result.empty);
    EXPECT_EQ(state.items[1].netTotal, c("2807"));
    EXPECT_EQ(state.items[1].submittedTotal, c("3007"));
}

TEST(SheetPass, AmountsOfEachPricedKind) {
    struct Case {
        LineRecord line;
        Amounts expected;
    };
    LineRecord perHundred = priced(140, "120", "71808.42", "74681");
    perHundred.netQuantity = c("-120");
    const Case cases[] = {
        {priced(10, "2.7", "100"), {"200", "200"}},        // whole quantity: 2
        {priced(20, "2.567", "100"), {"250", "250"}},      // one decimal: 2.5
        {priced(12, "3", "33.5", "33.3"), {"101", "100"}}, // 100.5 → 101, 99.9 → 100
        {priced(160, "18", "23", "26.5"), {"23", "26.5"}}, // lump sum: the unit price
        {perHundred, {"-86169", "89617"}},                 // price × quantity ÷ 100
        {priced(180, "250", "1621", "1880"), {"4053", "4700"}},
        {priced(15, "3", "100"), {"0", "0"}}, // amount-column text
        {priced(30, "3", "100"), {"0", "0"}}, // comment
    };
    for (const auto& row : cases) {
        DocumentState state = sheetOf({row.line});
        recalculateSheet(state);
        SCOPED_TRACE(row.line.kind);
        expectAmounts(state.sheet[1], row.expected, 1);
    }
}

// Rows 1..3 under every range line: group 1 at 1000, group 2 at 2 × 1000 (submitted 1100) and a
// group-1 reduction of 500; each with a labour factor and an additional price.
std::vector<LineRecord> rangeFixture() {
    LineRecord a = priced(10, "1", "1000");
    a.laborFactor = c("0.5");
    a.netAdditionalPrice = a.submittedAdditionalPrice = c("100");
    LineRecord b = priced(10, "2", "1000", "1100", "14999");
    b.laborFactor = c("1.25");
    b.netAdditionalPrice = b.submittedAdditionalPrice = c("50");
    LineRecord r = priced(11, "1", "500");
    r.laborFactor = c("0.2");
    r.netAdditionalPrice = r.submittedAdditionalPrice = c("30");
    return {a, b, r};
}

TEST(SheetPass, RangeLines) {
    struct Case {
        const char* what;
        LineRecord range;
        Amounts expected;
        const char* sheetSubmittedTotal;
    };
    const Case cases[] = {
        {"sum of the range", ranged(40, 1, 3), {"2500", "2700"}, "5400"},
        {"bounds outside the sheet mean row 1", ranged(40, 0, 99), {"1000", "1000"}, "3700"},
        {"last before first is empty", ranged(40, 3, 2), {"0", "0"}, "2700"},
        {"multiplier", ranged(50, 1, 3, "10", "20"), {"250", "540"}, "3240"},
        // 2700 × 13 % = 351 → hundreds with the expense offset 0.5
        {"multiplier rounded to the level",
         ranged(50, 1, 3, "10", "13", "2"),
         {"250", "400"},
         "3100"},
        {"group 1 only", ranged(51, 1, 3, "10", "10"), {"50", "50"}, "2750"},
        {"group 2 only", ranged(52, 1, 3, "10", "10"), {"200", "220"}, "2920"},
        // 1 × 0.5 + 2 × 1.25 − 1 × 0.2 = 2.8 hours at 15000 / 20000
        {"labour factor × price", ranged(60, 1, 3, "15000", "20000"), {"42000", "56000"}, "58700"},
        {"labour factor, group 2", ranged(62, 1, 3, "15000", "20000"), {"37500", "50000"}, "52700"},
        // 100 + 2 × 50 − 30 = 170 additional amount
        {"additional amounts × multiplier", ranged(70, 1, 3, "100", "50"), {"170", "85"}, "2785"},
        {"additional amounts, group 1", ranged(71, 1, 3, "100", "100"), {"70", "70"}, "2770"},
    };
    for (const auto& row : cases) {
        std::vector<LineRecord> lines = rangeFixture();
        lines.push_back(row.range);
        DocumentState state = sheetOf(lines);
        const SheetPassResult result = recalculateSheet(state);
        SCOPED_TRACE(row.what);
        expectAmounts(state.sheet[4], row.expected, 4);
        // Range lines add their result to the sheet total like any calculated line (kind 40 too).
        EXPECT_EQ(result.submittedTotal, c(row.sheetSubmittedTotal));
    }
}

TEST(SheetPass, LabourRangeKeepsTheRoundedHoursAsItsAdditionalPrice) {
    // 3 × 0.333 = 0.999 hours: to tenths with the labour offset 0.5 → 1.0; with 0 → 0.9.
    for (const auto& [offset, hours, amount] :
         {std::tuple{"0.5", "1", "15000"}, std::tuple{"0", "0.9", "13500"}}) {
        LineRecord line = priced(10, "3", "10");
        line.laborFactor = c("0.3339"); // kept to three decimals
        DocumentState state = sheetOf({line, ranged(60, 1, 1, "15000", "15000")});
        state.settings.laborOffset = c(offset);
        recalculateSheet(state);
        EXPECT_EQ(state.sheet[1].laborFactor, c("0.333"));
        EXPECT_EQ(state.sheet[2].netAdditionalPrice, c(hours)) << offset;
        EXPECT_EQ(state.sheet[2].netAmount, c(amount)) << offset;
    }
}

TEST(SheetPass, RangeSumsMarkTheirLinesAndTheHidingKindsClearThem) {
    for (const int kind : {93, 94, 193, 194}) {
        DocumentState state = sheetOf({
            priced(10, "1", "1000"),
            priced(21, "1", "300"),
            ranged(kind, 1, 2),
            priced(10, "1", "5"),
        });
        const SheetPassResult result = recalculateSheet(state);
        SCOPED_TRACE(kind);
        const bool hides = kind == 93 || kind == 193;
        expectAmounts(state.sheet[1], hides ? Amounts{"0", "0"} : Amounts{"1000", "1000"}, 1);
        expectAmounts(state.sheet[3], {"700", "700"}, 3);
        EXPECT_EQ(state.sheet[1].hiddenFlag, kind);
        EXPECT_EQ(state.sheet[2].hiddenFlag, kind);
        EXPECT_EQ(state.sheet[4].hiddenFlag, 0);
        EXPECT_EQ(result.submittedTotal, c("705")); // the covered lines count once
        EXPECT_FALSE(result.error);
    }
}

// The range mark shares hiddenFlag with the 非掲載 mark and the expense rounding code: those must
// survive the pass, or the next pass (after a save and reopen) counts the unlisted line and
// rounds the expense with the range kind as its level.
TEST(SheetPass, RangeSumsLeaveUnlistedMarksAndExpenseCodesAlone) {
    for (const int kind : {93, 94, 193, 194}) {
        SCOPED_TRACE(kind);
        LineRecord unlisted = priced(10, "1", "400");
        unlisted.hiddenFlag = 1;
        DocumentState state = sheetOf({
            priced(10, "1", "1234"),
            unlisted,
            expense(81, "10", "10", "0", 3), // rounded to 100s after computing
            // A 範囲計(金額非表示) may not cover the expense, so it stops above it.
            ranged(kind, 1, kind == 93 ? 2 : 3),
        });
        const SheetPassResult first = recalculateSheet(state);
        ASSERT_FALSE(first.error);
        EXPECT_EQ(state.sheet[1].hiddenFlag, kind);
        EXPECT_EQ(state.sheet[2].hiddenFlag, 1);
        EXPECT_EQ(state.sheet[3].hiddenFlag, 3);
        const Sheet once = state.sheet;

        const SheetPassResult second = recalculateSheet(state);
        EXPECT_EQ(second.submittedTotal, first.submittedTotal);
        EXPECT_EQ(second.netTotal, first.netTotal);
        EXPECT_EQ(state.sheet, once);
    }
}

TEST(SheetPass, HiddenRangeSumOverACalculatedLineStopsThePass) {
    DocumentState state = sheetOf({
        priced(10, "1", "1000"),
        priced(12, "1", "200"),
        ranged(93, 1, 2),
        priced(10, "1", "5"),
    });
    state.sheet[2].hiddenFlag = 93; // left by an earlier pass
    const SheetPassResult result = recalculateSheet(state);

    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->row, 3);
    EXPECT_EQ(result.error->message,
              "範囲計(金額非表示)に計算項目を含める事はできません。\r\nno:3");
    // What was computed stays; the item's totals stay 0 until a pass gets through.
    expectAmounts(state.sheet[2], {"200", "200"}, 2);
    expectAmounts(state.sheet[4], {"0", "0"}, 4);
    EXPECT_EQ(state.sheet[2].hiddenFlag, 0);
    EXPECT_EQ(state.items[1].submittedTotal, Currency());
    EXPECT_EQ(result.submittedTotal, c("1200"));
}

TEST(SheetPass, Expenses) {
    struct Case {
        const char* what;
        std::vector<LineRecord> lines;
        std::vector<Amounts> expenses; // the amounts of the lines after row 1, in order
        const char* totalLevel = "1";
        const char* totalOffset = "0";
    };
    const Case cases[] = {
        {"81 on the running total, which includes earlier expenses",
         {priced(10, "1", "100000"), expense(81, "10", "10"), expense(81, "10", "10")},
         {{"10000", "10000"}, {"11000", "11000"}}},
        {"82 leaves earlier expenses out of its base",
         {priced(10, "1", "100000"), expense(81, "10", "10"), expense(82, "10", "10")},
         {{"10000", "10000"}, {"10000", "10000"}}},
        // 3 % of 123456 = 3703.68 → 3704; level code 1 → 3700; after-code 3 → 4000
        {"81 rounded to its level, then to its after-calculation code",
         {priced(10, "1", "123456"), expense(81, "3", "3", "1", 3)},
         {{"3704", "4000"}}},
        // 7 % of 123456 = 8642; 132098 → 132000 at level 1000
        {"83 gives way to a round total",
         {priced(10, "1", "123456"), expense(83, "7", "7")},
         {{"8642", "8544"}},
         "1000"},
        // −8641 (−8641.92 + 0.5 truncated); −132097 → −132000 toward zero
        {"83 on a negative running total",
         {priced(11, "1", "123456"), expense(83, "7", "7")},
         {{"-8641", "-8544"}},
         "1000"},
        // −1000 × 2.5 % = −24.5 → −24; −1024 at tens with offset 0.5: −101.9 → −101 → −1010
        {"83 rounding-off truncates toward zero after the offset",
         {priced(11, "1", "1000"), expense(83, "2.5", "2.5")},
         {{"-24", "-10"}},
         "10",
         "0.5"},
        // 84: 121000 − 10000 (the 82) − 21000 (all expenses, the 82 again) = 90000 × 10 %
        {"84 leaves expenses out and the 82 ones twice",
         {priced(10, "1", "100000"), expense(82, "10", "10"), expense(81, "10", "10"),
          expense(84, "10", "10")},
         {{"10000", "10000"}, {"11000", "11000"}, {"9000", "9000"}}},
    };
    for (const auto& row : cases) {
        DocumentState state = sheetOf(row.lines);
        state.settings.totalLevel = c(row.totalLevel);
        state.settings.totalOffset = c(row.totalOffset);
        recalculateSheet(state);
        SCOPED_TRACE(row.what);
        for (std::size_t i = 0; i < row.expenses.size(); ++i) {
            expectAmounts(state.sheet[i + 2], row.expenses[i], static_cast<int>(i + 2));
        }
    }
}

TEST(SheetPass, TaxOnTheSubmittedTotalEndsTheLoop) {
    struct Case {
        const char* netQuantity;
        const char* rate;
        const char* offset;
        Amounts expected;
        const char* netQuantityAfter;
        const char* netPriceAfter;
    };
    const Case cases[] = {
        {"8", "10", "0", {"1234", "1234"}, "10", "123"}, // net side charged at the same rate
        {"0", "10", "0.5", {"0", "1235"}, "0", "0"},     // no net tax: its price is cleared
        {"8", "0", "0.5", {"0", "0"}, "8", "123"},       // rate 0: nothing is charged
    };
    for (const auto& row : cases) {
        DocumentState state = sheetOf({
            priced(10, "1", "10000", "12345"),
            taxLine(row.netQuantity, row.rate),
            priced(10, "1", "999"),
            taxLine("10", "10"),
        });
        state.settings.taxOffset = c(row.offset);
        const SheetPassResult result = recalculateSheet(state);
        SCOPED_TRACE(std::string(row.rate) + "% offset " + row.offset);
        const LineRecord& tax = state.sheet[2];
        expectAmounts(tax, row.expected, 2);
        EXPECT_EQ(tax.netQuantity, c(row.netQuantityAfter));
        EXPECT_EQ(tax.netPrice, c(row.netPriceAfter));
        EXPECT_EQ(state.sheetSubmittedTax, c(row.expected.submitted));
        EXPECT_EQ(state.items[1].submittedTax, c(row.expected.submitted));
        EXPECT_EQ(result.submittedTotal, c("12345") + c(row.expected.submitted));
        // Below the tax line nothing is computed, a second tax line included.
        expectAmounts(state.sheet[3], {"0", "0"}, 3);
        expectAmounts(state.sheet[4], {"0", "0"}, 4);
    }
}

TEST(SheetPass, WelfareAndTaxFollowTheOrderOfTheSheet) {
    struct Case {
        const char* what;
        std::vector<LineRecord> lines;
        int welfareRow;
        Amounts welfare;
        Amounts tax;
        const char* total;
        const char* formula;
    };
    const LineRecord base = priced(10, "1", "800000", "1000000");
    const LineRecord welfare = welfareLine("20", "16.5", "100");
    const Case cases[] = {
        {"tax above the welfare line: welfare on the total with tax",
         {base, taxLine("10", "10"), welfare},
         3,
         {"29700", "36300"},
         {"100000", "100000"},
         "1136300",
         "1,100,000×20%×16.5%"},
        {"welfare above the tax line: the tax includes the welfare",
         {base, welfare, taxLine("10", "10")},
         2,
         {"26400", "33000"},
         {"103300", "103300"},
         "1136300",
         "1,000,000×20%×16.5%"},
        {"sum line above the welfare: shown, not added; the tax below is not computed",
         {base, special(99), welfare, taxLine("10", "10")},
         3,
         {"26400", "33000"},
         {"0", "0"},
         "1000000",
         "1,000,000×20%×16.5%"},
    };
    for (const auto& row : cases) {
        DocumentState state = sheetOf(row.lines);
        const SheetPassResult result = recalculateSheet(state);
        SCOPED_TRACE(row.what);
        expectAmounts(state.sheet[static_cast<std::size_t>(row.welfareRow)], row.welfare,
                      row.welfareRow);
        int taxRow = 0;
        for (int r = 1; r < static_cast<int>(state.sheet.size()); ++r) {
            if (state.sheet[static_cast<std::size_t>(r)].kind == 90) {
                taxRow = r;
            }
        }
        expectAmounts(state.sheet[static_cast<std::size_t>(taxRow)], row.tax, taxRow);
        EXPECT_EQ(result.submittedTotal, c(row.total));
        EXPECT_EQ(state.sheet[static_cast<std::size_t>(row.welfareRow)].nameSpec,
                  std::string("法定福利費 ;") + row.formula + ";");
    }
}

TEST(SheetPass, WelfareFormulaGoesToTheNoteOfDialogLinesAndTheSumCollectsTheLines) {
    DocumentState state = sheetOf({
        priced(10, "1", "1000000"),
        welfareLine("20", "16.5", "100", "False"),
        welfareLine("18.5", "15.05", "75", "False"),
        special(98),
    });
    const SheetPassResult result = recalculateSheet(state);

    // 1000000 × 0.185 × 0.1505 × 0.75 = 20881.875 → 20882
    expectAmounts(state.sheet[2], {"33000", "33000"}, 2);
    expectAmounts(state.sheet[3], {"20882", "20882"}, 3);
    expectAmounts(state.sheet[4], {"53882", "53882"}, 4);
    EXPECT_EQ(state.sheet[2].note, "1,000,000×20%×16.5%");
    EXPECT_EQ(state.sheet[3].note, "1,000,000×18.5%×15.05%×75%");
    EXPECT_EQ(state.sheet[3].nameSpec, " 法定福利費 ;旧式");
    EXPECT_EQ(result.submittedTotal, c("1053882")); // the 98 line is not added again
}

TEST(SheetPass, LinePreparation) {
    LineRecord unlisted = priced(10, "1", "400");
    unlisted.hiddenFlag = 1;
    LineRecord marked = priced(10, "1", "50");
    marked.hiddenFlag = 94; // a range mark from an earlier pass
    LineRecord afterSum = priced(10, "1.5", "60");
    afterSum.hiddenFlag = 94;
    DocumentState state =
        sheetOf({priced(20, "2.567", "100"), unlisted, marked, special(99), afterSum});
    state.settings.amountOffset = c("0.3");     // not an offset: 0.5
    state.settings.quantityDecimals = c("0.5"); // not a decimals setting: 100
    const SheetPassResult result = recalculateSheet(state);

    EXPECT_EQ(state.settings.amountOffset, c("0.5"));
    EXPECT_EQ(state.settings.quantityDecimals, c("100"));
    EXPECT_EQ(state.sheet[1].netQuantity, c("2.56"));
    expectAmounts(state.sheet[2], {"400", "400"}, 2); // computed, but left out of the totals
    EXPECT_EQ(state.sheet[2].hiddenFlag, 1);
    EXPECT_EQ(state.sheet[3].hiddenFlag, 0);
    // Past the sum line the lines are not touched.
    EXPECT_EQ(state.sheet[5].netQuantity, c("1.5"));
    EXPECT_EQ(state.sheet[5].hiddenFlag, 94);
    expectAmounts(state.sheet[5], {"0", "0"}, 5);
    EXPECT_EQ(result.submittedTotal, c("306"));
}

// A take-off quantity is saved in the sheet's fixed decimals; the pass computes with the saved
// quantity, so a reopened quotation keeps its amounts.
TEST(SheetPass, TakeoffQuantitiesAreComputedAsTheFileWritesThem) {
    DocumentState state = sheetOf(
        {priced(120, "120.05", "100"), priced(120, "-2.54", "100"), priced(10, "120.05", "100")});
    recalculateSheet(state);

    EXPECT_EQ(state.sheet[1].netQuantity, c("120.1"));
    EXPECT_EQ(state.sheet[1].submittedQuantity, c("120.1"));
    expectAmounts(state.sheet[1], {"12010", "12010"}, 1);
    EXPECT_EQ(state.sheet[2].netQuantity, c("-2.5"));
    EXPECT_EQ(state.sheet[3].netQuantity, c("120")); // whole-number kinds are cut, not rounded
}

// A range line reads the lines below it as the pass will leave them, so recomputing the sheet
// changes nothing.
TEST(SheetPass, RangeLinesReadLaterLinesAsPrepared) {
    LineRecord later = priced(10, "2.5", "100"); // a whole-number kind: 2 after the pass
    later.laborFactor = c("0.5");
    later.netAdditionalPrice = later.submittedAdditionalPrice = c("10");
    DocumentState state =
        sheetOf({ranged(60, 1, 3, "1000", "1000"), ranged(70, 1, 3, "100", "100"), later});
    recalculateSheet(state);
    expectAmounts(state.sheet[1], {"1000", "1000"}, 1); // 2 × 0.5 hours at 1000
    expectAmounts(state.sheet[2], {"20", "20"}, 2);     // 2 × 10 at 100 %

    recalculateSheet(state);
    expectAmounts(state.sheet[1], {"1000", "1000"}, 1);
    expectAmounts(state.sheet[2], {"20", "20"}, 2);
}

TEST(SheetPass, ReductionOfLabourLowersTheLabourTotal) {
    LineRecord labour = priced(10, "1", "900", "1000");
    labour.priceKind = c("1");
    LineRecord labourReduction = priced(21, "1", "250", "300");
    labourReduction.priceKind = c("1");
    DocumentState state = sheetOf({labour, labourReduction, priced(10, "1", "77")});
    recalculateSheet(state);
    EXPECT_EQ(state.items[1].laborTotal, c("700"));
}

TEST(SheetPass, EmptySheetIsReportedAndZeroesTheItem) {
    DocumentState state = sheetOf({special(30)});
    state.items[1].netTotal = c("5");
    state.items[1].submittedTax = c("1");
    EXPECT_TRUE(recalculateSheet(state).empty);
    EXPECT_EQ(state.items[1].netTotal, Currency());
    EXPECT_EQ(state.items[1].submittedTax, Currency());
}

TEST(SheetPass, ItemWithoutASheetKeepsItsTotals) {
    // The list can change the kind of the item whose sheet was open last; its figures belong to
    // the list then, not to the sheet.
    DocumentState state = sheetOf({priced(10, "1", "1000")});
    state.items[1].kind = 91;
    state.items[1].netTotal = c("300");
    state.items[1].laborTotal = c("20");
    recalculateSheet(state);
    EXPECT_EQ(state.items[1].netTotal, c("300"));
    EXPECT_EQ(state.items[1].laborTotal, c("20"));
}

TEST(SheetTitleLine, IsInsertedWithTheItemNameAndEveryRangeFollowsItsLines) {
    std::vector<LineRecord> lines = {
        priced(10, "1", "1000"),
        priced(10, "2", "300"),
        ranged(40, 1, 2),
        ranged(50, 1, 2, "10", "10"),
        ranged(60, 1, 2, "100", "100"),
        ranged(70, 1, 2, "100", "100"),
        ranged(94, 1, 2),
        ranged(193, 2, 2),
    };
    lines[0].laborFactor = c("2");
    lines[0].netAdditionalPrice = lines[0].submittedAdditionalPrice = c("10");
    DocumentState state = sheetOf(lines);
    state.items[1].name = "配管工事";
    const SheetPassResult first = recalculateSheet(state);
    const Sheet once = state.sheet;

    ASSERT_TRUE(first.titleLineInserted);
    ASSERT_EQ(state.lineCount(), 9);
    EXPECT_EQ(state.sheet[1].kind, 100);
    EXPECT_EQ(state.sheet[1].nameSpec, "配管工事");
    EXPECT_EQ(state.sheet[4].netQuantity, c("2"));
    EXPECT_EQ(state.sheet[4].submittedQuantity, c("3"));
    EXPECT_EQ(state.sheet[9].netQuantity, c("3"));
    EXPECT_EQ(state.sheet[9].submittedQuantity, c("3"));

    // A second pass finds the title line, inserts nothing and computes the same amounts: every
    // range still covers the lines it covered.
    const SheetPassResult second = recalculateSheet(state);
    EXPECT_FALSE(second.titleLineInserted);
    ASSERT_EQ(state.lineCount(), 9);
    for (int row = 2; row <= 9; ++row) {
        const auto r = static_cast<std::size_t>(row);
        EXPECT_EQ(state.sheet[r].netAmount, once[r].netAmount) << "row " << row;
        EXPECT_EQ(state.sheet[r].submittedAmount, once[r].submittedAmount) << "row " << row;
        EXPECT_EQ(state.sheet[r].hiddenFlag, once[r].hiddenFlag) << "row " << row;
    }
    EXPECT_EQ(second.submittedTotal, first.submittedTotal);
}

// A labour range multiplies the quantity of every line it covers, a range line's row bound
// included. The title line is inserted before the lines are computed, so the first pass already
// sees the rows the second one sees.
TEST(SheetTitleLine, FirstPassComputesWhatTheNextPassComputes) {
    LineRecord labour = priced(10, "1", "1000");
    labour.laborFactor = c("2");
    DocumentState state =
        sheetOf({labour, ranged(40, 1, 1, "0", "0", "1"), ranged(60, 1, 2, "100", "100")});
    state.items[1].name = "配管工事";
    ASSERT_TRUE(recalculateSheet(state).titleLineInserted);
    const Sheet once = state.sheet;
    EXPECT_EQ(once[4].netAdditionalPrice, c("4")); // 1 × 2 + row bound 2 × 1
    recalculateSheet(state);
    EXPECT_EQ(state.sheet, once);
}

TEST(SheetTitleLine, RangeStartingAboveRowOneGrowsLikeUnderTheInsertCommand) {
    DocumentState state = sheetOf({priced(10, "1", "1000"), ranged(194, 0, 0)});
    state.items[1].name = "配管工事";
    recalculateSheet(state);
    EXPECT_EQ(state.sheet[3].netQuantity, c("0"));
    EXPECT_EQ(state.sheet[3].submittedQuantity, c("1"));
}

TEST(SheetTitleLine, IsLeftOutWithoutNameOrOptionAndRenamedWhenPresent) {
    DocumentState unnamed = sheetOf({priced(10, "1", "1000")});
    EXPECT_FALSE(recalculateSheet(unnamed).titleLineInserted);

    DocumentState optionOff = sheetOf({priced(10, "1", "1000")});
    optionOff.items[1].name = "配管工事";
    optionOff.itemNameLine = false;
    EXPECT_FALSE(recalculateSheet(optionOff).titleLineInserted);
    EXPECT_EQ(optionOff.lineCount(), 1);

    LineRecord title = special(100);
    title.nameSpec = "旧名";
    DocumentState present = sheetOf({title, priced(10, "1", "1000")});
    present.items[1].name = "新名";
    EXPECT_FALSE(recalculateSheet(present).titleLineInserted);
    EXPECT_EQ(present.sheet[1].nameSpec, "新名");
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

TEST(CalcSettingsApply, ChosenSettingsBecomeCurrentAndTheHeaderTakesTheGrandTotalOnes) {
    DocumentState state;
    CalcSettings chosen;
    chosen.quantityDecimals = Currency::fromWhole(1000);
    chosen.grandTotalLevel = Currency::fromWhole(1000);
    chosen.grandTotalOffset = Currency::fromRaw(9000);
    applyCalcSettings(state, chosen);
    EXPECT_EQ(state.settings, chosen);
    EXPECT_EQ(state.header.keta, 1000);
    EXPECT_EQ(state.header.cutLevel, Currency::fromRaw(9000));
}

// The dialog once showed the settings file's grand-total level and offset, so confirming it
// without a change rewrote the quotation's own [KETA] and [CUTLEVEL].
TEST(CalcSettingsApply, ConfirmingTheShownSettingsLeavesTheHeaderAsItWas) {
    for (const int keta : {0, 1, 7, 1000}) {
        DocumentState state;
        state.settings.grandTotalLevel = Currency::fromWhole(100); // from the settings file
        state.settings.grandTotalOffset = Currency::fromRaw(9000);
        state.header.keta = keta;
        state.header.cutLevel = Currency();
        const CalcSettings shown = settingsShownInDialog(state);
        EXPECT_EQ(shown.grandTotalLevel, Currency::fromWhole(keta == 0 ? 1 : keta)) << keta;
        EXPECT_EQ(shown.grandTotalOffset, Currency()) << keta;
        applyCalcSettings(state, shown);
        EXPECT_EQ(state.header.keta, keta);
        EXPECT_EQ(state.header.cutLevel, Currency());
    }
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

TEST(recalculateTotals, GrowsTheGridTenPastTheEntriesOfThePageInFront) {
    DocumentState state;
    state.items.push_back(newSheetItem());
    loadSheetSettings(state, 1);
    state.itemNameLine = false;
    for (int line = 0; line < 30; ++line) {
        state.sheet.push_back(newLine());
    }
    EXPECT_EQ(recalculateTotals(state, false, 100).growGridTo, std::nullopt);
    EXPECT_EQ(recalculateTotals(state, false, 31).growGridTo, std::nullopt);
    EXPECT_EQ(recalculateTotals(state, false, 30).growGridTo, 41);
    // The breakdown list counts its items, not the lines of the sheet in memory.
    EXPECT_EQ(recalculateTotals(state, true, 30).growGridTo, std::nullopt);
    EXPECT_EQ(recalculateTotals(state, true, 1).growGridTo, 12);
}

} // namespace
} // namespace kerbina

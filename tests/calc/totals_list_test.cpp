#include "calc/totals.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

// The list pass, the totals panel and the recalculation of a whole quotation. Header unless a
// test says otherwise: grand-total level 1, grand-total offset 0.5; tax offset 0.

namespace kerbina {
namespace {

ItemRecord totals(ItemKind kind, const char* net, const char* submitted, const char* labor = "0") {
    ItemRecord item = newSheetItem();
    item.kind = kind;
    item.netTotal = c(net);
    item.submittedTotal = c(submitted);
    item.laborTotal = c(labor);
    return item;
}

ItemRecord ranged(ItemKind kind, int first, int last) {
    ItemRecord item;
    item.kind = kind;
    item.setAmountRounding = Currency::fromWhole(first);
    item.setExpenseRounding = Currency::fromWhole(last);
    item.netTotal = item.submittedTotal = c("999"); // stale figures the pass must replace
    return item;
}

// Expense, tax and welfare items keep their rates in the setting fields: 144 net rate,
// 152 submitted rate, 160 level code or tax rate, 192 the expense dialog's copy of the level code
// or the third welfare rate.
ItemRecord rates(ItemKind kind, const char* at144, const char* at152, const char* at160 = "0",
                 const char* at192 = "0") {
    ItemRecord item;
    item.kind = kind;
    item.setAmountRounding = c(at144);
    item.setExpenseRounding = c(at152);
    item.setQuantityDecimals = c(at160);
    item.setTotalRounding = c(at192);
    return item;
}

DocumentState listOf(std::vector<ItemRecord> items) {
    DocumentState state;
    state.items.insert(state.items.end(), items.begin(), items.end());
    state.settings = CalcSettings{};
    return state;
}

void expectTotals(const ItemRecord& item, const char* net, const char* submitted, int number) {
    EXPECT_EQ(item.netTotal, c(net)) << "item " << number << " net";
    EXPECT_EQ(item.submittedTotal, c(submitted)) << "item " << number << " submitted";
}

// A grand total beyond the Currency range names the item where it left the range, and a sheet's
// the sheet and the row, so the user can find the amount.
TEST(ListPass, OverflowNamesWhereItHappened) {
    DocumentState list = listOf({totals(10, "0", "900000000000000"), totals(30, "0", "1"),
                                 totals(10, "0", "900000000000000")});
    try {
        recalculateItemList(list);
        ADD_FAILURE() << "no overflow";
    } catch (const AmountOverflow& error) {
        EXPECT_EQ(error.sheet(), 0);
        EXPECT_EQ(error.row(), 3);
        EXPECT_EQ(std::string(error.what()), "内訳表 3 行目で金額が大きすぎます。");
    }

    DocumentState sheet = listOf({newSheetItem(), newSheetItem()});
    sheet.currentSheetNumber = 2;
    for (const char* price : {"1", "900000000000000", "900000000000000"}) {
        LineRecord line = newLine();
        line.kind = 10;
        line.netQuantity = line.submittedQuantity = c("1");
        line.netPrice = line.submittedPrice = c(price);
        sheet.sheet.push_back(line);
    }
    try {
        recalculateSheet(sheet);
        ADD_FAILURE() << "no overflow";
    } catch (const AmountOverflow& error) {
        EXPECT_EQ(std::string(error.what()), "内訳 2 の明細 3 行目で金額が大きすぎます。");
    }
}

TEST(ListPass, HierarchyAndSumItemsShowSumsWithoutCountingTwice) {
    ItemRecord comment = totals(96, "5", "5", "5");
    DocumentState state = listOf({
        ranged(20, 2, 3), totals(30, "1000", "1500", "100"), totals(31, "2000", "2500", "200"),
        totals(10, "400", "500", "50"), totals(91, "100", "150", "30"), // reduction
        ranged(95, 1, 5), comment, ranged(98, 0, 0), totals(10, "7", "9"), ranged(98, 0, 0),
        ranged(95, 1, 99), // bounds past the list stop at its end
    });
    const ListPassResult result = recalculateItemList(state);

    expectTotals(state.items[1], "3000", "4000", 1);
    expectTotals(state.items[6], "3300", "4350", 6);
    EXPECT_EQ(state.items[6].laborTotal, c("320"));
    expectTotals(state.items[7], "0", "0", 7);
    EXPECT_EQ(state.items[7].laborTotal, Currency());
    expectTotals(state.items[8], "3300", "4350", 8);
    expectTotals(state.items[10], "7", "9", 10);
    expectTotals(state.items[11], "3307", "4359", 11);
    EXPECT_EQ(state.header.netGrandTotal, c("3307"));
    EXPECT_EQ(state.header.submittedGrandTotal, c("4359"));
    EXPECT_EQ(state.allSubmittedTotal, c("4359"));
    EXPECT_EQ(result.allLabor, c("320")); // the reduction lowers the labour total too
}

// A small sum shows its range as this pass leaves it, even where the range reaches expense and
// welfare items below the sum, which the pass computes after it; the welfare sum item is left out,
// its welfare being in the welfare items already. Computing the list again changes nothing.
TEST(ListPass, SmallSumTakesTheItemsBelowItAsThisPassComputesThem) {
    DocumentState state =
        listOf({totals(10, "800000", "1000000"), ranged(95, 1, 5), rates(81, "10", "10"),
                rates(101, "20", "16.5", "0", "100"), ranged(102, 0, 0)});
    recalculateItemList(state);
    expectTotals(state.items[3], "80000", "100000", 3);
    expectTotals(state.items[4], "29040", "36300", 4); // 880,000 and 1,100,000 × 20 % × 16.5 %
    expectTotals(state.items[2], "909040", "1136300", 2);

    const std::vector<ItemRecord> once = state.items;
    recalculateItemList(state);
    EXPECT_EQ(state.items, once);
}

TEST(ListPass, Expenses) {
    struct Case {
        const char* what;
        std::vector<ItemRecord> items;
        std::vector<std::pair<const char*, const char*>> expenses; // items 2.., net and submitted
        const char* cutLevel = "0.5";
        int keta = 1;
    };
    const ItemRecord base = totals(10, "123456", "123456");
    const ItemRecord lakh = totals(10, "100000", "100000");
    const Case cases[] = {
        // Unlike a sheet's 82, a list 82 is charged on the total with the earlier expenses; the
        // 84 leaves the 82 ones out: 121000 − 11000 = 110000.
        {"81, 82 and 84 on the running grand total",
         {lakh, rates(81, "10", "10"), rates(82, "10", "10"), rates(84, "10", "10")},
         {{"10000", "10000"}, {"11000", "11000"}, {"11000", "11000"}}},
        // 8641.92: the level code 2 rounds to hundreds with the grand-total offset, never with
        // the code the expense dialog also leaves at 192.
        {"level code rounded with offset 0",
         {base, rates(81, "7", "7", "2", "2")},
         {{"8641", "8600"}},
         "0"},
        {"level code rounded with offset 0.9",
         {base, rates(82, "7", "7", "2", "2")},
         {{"8642", "8700"}},
         "0.9"},
        {"a grand-total offset above 1 is 0.5",
         {base, rates(81, "7", "7")},
         {{"8642", "8642"}},
         "1.5"},
        // 123456 + 8641 = 132097 → 132000
        {"83 gives way to a round grand total",
         {base, rates(83, "7", "7")},
         {{"8641", "8544"}},
         "0",
         1000},
    };
    for (const auto& row : cases) {
        DocumentState state = listOf(row.items);
        state.header.cutLevel = c(row.cutLevel);
        state.header.keta = row.keta;
        recalculateItemList(state);
        SCOPED_TRACE(row.what);
        for (std::size_t i = 0; i < row.expenses.size(); ++i) {
            expectTotals(state.items[i + 2], row.expenses[i].first, row.expenses[i].second,
                         static_cast<int>(i + 2));
            EXPECT_EQ(state.items[i + 2].laborTotal, Currency());
        }
    }
}

TEST(ListPass, WelfareAndTaxFollowTheOrderOfTheList) {
    struct Case {
        const char* what;
        std::vector<ItemRecord> items;
        const char* welfareNet;
        const char* welfareSubmitted;
        const char* note;
        const char* tax;
        const char* allNet;
        const char* allSubmitted;
    };
    const ItemRecord base = totals(10, "800000", "1000000");
    const ItemRecord welfare = rates(101, "20", "16.5", "0", "100");
    const ItemRecord welfareSum = ranged(102, 0, 0);
    const ItemRecord tax = rates(93, "1", "0", "10"); // 144 = 1: charged on the net side too
    const Case cases[] = {
        {"tax above the welfare items",
         {base, tax, welfare, welfareSum},
         "29700",
         "36300",
         "1,100,000×20%×16.5%",
         "100000",
         "929700",
         "1136300"},
        {"welfare above the tax item",
         {base, welfare, welfareSum, tax},
         "26400",
         "33000",
         "1,000,000×20%×16.5%",
         "103300",
         "929700",
         "1136300"},
        {"sum item above the welfare: shown, not added, no tax",
         {base, ranged(99, 0, 0), welfare, welfareSum, tax},
         "26400",
         "33000",
         "1,000,000×20%×16.5%",
         "0",
         "800000",
         "1000000"},
    };
    for (const auto& row : cases) {
        DocumentState state = listOf(row.items);
        recalculateItemList(state);
        SCOPED_TRACE(row.what);
        int welfareItem = 0;
        for (int n = state.itemMax(); n >= 1; --n) {
            if (state.items[static_cast<std::size_t>(n)].kind == 101) {
                welfareItem = n;
            }
        }
        const ItemRecord& w = state.items[static_cast<std::size_t>(welfareItem)];
        expectTotals(w, row.welfareNet, row.welfareSubmitted, welfareItem);
        EXPECT_EQ(w.note, row.note);
        expectTotals(state.items[static_cast<std::size_t>(welfareItem + 1)], row.welfareNet,
                     row.welfareSubmitted, welfareItem + 1);
        EXPECT_EQ(state.header.submittedTaxTotal, c(row.tax));
        EXPECT_EQ(state.header.netTaxTotal, c(row.tax));
        EXPECT_EQ(state.header.netGrandTotal, c(row.allNet));
        EXPECT_EQ(state.header.submittedGrandTotal, c(row.allSubmitted));
    }
}

TEST(ListPass, TaxItemTakesItsRateAtTheTaxOffsetAndEndsTheList) {
    DocumentState state = listOf({
        totals(10, "10000", "12345"),
        rates(93, "0", "0", "10"),
        totals(10, "50", "50"),
    });
    state.settings.taxOffset = c("0.5");
    recalculateItemList(state);

    expectTotals(state.items[2], "0", "1235", 2);
    EXPECT_EQ(state.listSubmittedTax, c("1235"));
    EXPECT_EQ(state.listNetTax, Currency());
    EXPECT_EQ(state.header.submittedGrandTotal, c("13580"));
    EXPECT_EQ(state.header.netGrandTotal, c("10000"));
    EXPECT_EQ(state.header.opt2Int, 1);
}

TEST(ListPass, SumItemEndsTheListAndOnlyPositiveSheetTaxMarksTheHeader) {
    ItemRecord negativeTax = totals(10, "100", "100");
    negativeTax.submittedTax = c("-9");
    ItemRecord laterTax = totals(10, "50", "50");
    laterTax.submittedTax = c("5");
    DocumentState state = listOf({negativeTax, ranged(99, 0, 0), laterTax});
    state.header.opt2Int = 1;
    recalculateItemList(state);
    EXPECT_EQ(state.header.submittedGrandTotal, c("100"));
    EXPECT_EQ(state.header.opt2Int, 0);

    DocumentState taxed = listOf({laterTax});
    recalculateItemList(taxed);
    EXPECT_EQ(taxed.header.opt2Int, 1);
}

TEST(MarginText, IsTheShareLeftOverTheNetCost) {
    const struct {
        const char* net;
        const char* submitted;
        const char* text;
    } cases[] = {
        {"750", "1000", "25%"},   {"333", "1000", "67%"}, // 33.3 → 33
        {"1234", "1000", "-23%"}, {"-50", "1000", "105%"}, {"0", "1000", "100%"},
        {"500", "0", "  0%"},     {"0", "0", "  0%"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(marginText(c(row.net), c(row.submitted)), row.text)
            << row.net << " / " << row.submitted;
    }
}

DocumentState openSheet(std::vector<LineRecord> lines) {
    DocumentState state = listOf({newSheetItem(), totals(10, "200", "300", "40")});
    state.currentSheetNumber = 1;
    state.sheet.insert(state.sheet.end(), lines.begin(), lines.end());
    return state;
}

LineRecord priced(const char* quantity, const char* netPrice, const char* submittedPrice) {
    LineRecord line;
    line.netQuantity = line.submittedQuantity = c(quantity);
    line.netPrice = c(netPrice);
    line.submittedPrice = c(submittedPrice);
    return line;
}

TEST(recalculateTotals, SheetModeFillsTheWholePanel) {
    DocumentState state = openSheet({priced("1", "750", "1000")});
    const RecalcOutcome outcome = recalculateTotals(state, false, 50);

    ASSERT_TRUE(outcome.panel.sheet);
    EXPECT_EQ(outcome.panel.sheet->net, c("750"));
    EXPECT_EQ(outcome.panel.sheet->submitted, c("1000"));
    EXPECT_EQ(outcome.panel.sheet->difference, c("250"));
    EXPECT_EQ(outcome.panel.sheet->margin, "25%");
    EXPECT_EQ(outcome.panel.all.net, c("950"));
    EXPECT_EQ(outcome.panel.all.submitted, c("1300"));
    EXPECT_EQ(outcome.panel.all.difference, c("350"));
    EXPECT_EQ(outcome.panel.all.margin, "27%"); // 73.07 → 73
    EXPECT_EQ(outcome.panel.allLabor, c("40"));
    EXPECT_FALSE(outcome.error);
    EXPECT_FALSE(outcome.growGridTo);
}

TEST(recalculateTotals, ListModeLeavesTheSheetAloneAndBlanksItsFigures) {
    DocumentState state = openSheet({priced("1", "750", "1000")});
    state.items[1].netTotal = c("1");
    state.items[1].submittedTotal = c("2");
    const RecalcOutcome outcome = recalculateTotals(state, true, 50);

    EXPECT_FALSE(outcome.panel.sheet);
    EXPECT_EQ(state.sheet[1].netAmount, Currency());
    EXPECT_EQ(outcome.panel.all.submitted, c("302"));
}

TEST(recalculateTotals, ReturnsTheRangeSumErrorAndStillRunsTheListPass) {
    LineRecord calculated = priced("1", "10", "10");
    calculated.kind = 12;
    LineRecord rangeSum;
    rangeSum.kind = 93;
    rangeSum.netQuantity = rangeSum.submittedQuantity = c("1");
    DocumentState state = openSheet({calculated, rangeSum});
    const RecalcOutcome outcome = recalculateTotals(state, false, 50);

    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->row, 2);
    EXPECT_EQ(outcome.panel.all.submitted, c("300")); // the sheet's item counts 0 for now
}

TEST(recalculateTotals, GridGrowsToTheLineEntriesPlusTen) {
    DocumentState state = openSheet(std::vector<LineRecord>(5, priced("1", "1", "1")));
    // Six entries with the scratch slot.
    EXPECT_EQ(recalculateTotals(state, false, 5).growGridTo, 16);
    EXPECT_FALSE(recalculateTotals(state, false, 6).growGridTo);
    // On the breakdown list the items count (with their placeholder), not the sheet's lines.
    const int listEntries = static_cast<int>(state.items.size());
    EXPECT_FALSE(recalculateTotals(state, true, listEntries).growGridTo);
}

TEST(RecalculateQuotation, EachSheetWithItsOwnSettingsThenTheList) {
    // 3 × 33.3 = 99.9 and 1.255 at quantity decimals 100 or 10: the settings of each item show.
    auto sheet = [](std::vector<LineRecord> lines) {
        Sheet s{LineRecord{}};
        s.insert(s.end(), lines.begin(), lines.end());
        return s;
    };
    LineRecord decimal = priced("1.255", "100", "100");
    decimal.kind = 20;
    QuotationData data;
    data.items = {ItemRecord{}, newSheetItem(), newSheetItem(), newSheetItem(),
                  rates(93, "0", "0", "10")};
    data.items[1].setAmountRounding = c("0");
    data.items[1].setQuantityDecimals = c("0.5"); // not a setting: 100
    data.items[2].kind = 30;
    data.items[2].name = "二";
    data.items[2].setAmountRounding = c("0.9");
    data.items[2].setQuantityDecimals = c("10");
    data.sheets = {Sheet{}, sheet({priced("3", "33.3", "33.3"), decimal}),
                   sheet({priced("3", "33.3", "33.3"), decimal})}; // item 3 has no lines
    data.taxOffset = c("0.5");
    CalcSettings settings;
    settings.taxOffset = c("0.9"); // the quotation's own tax offset wins

    const auto results = recalculateQuotation(data, settings, true);

    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results.at(3).empty);
    EXPECT_TRUE(results.at(2).titleLineInserted);
    expectTotals(data.items[1], "224", "224", 1); // 99 + 125
    expectTotals(data.items[2], "220", "220", 2); // 100 + 120
    EXPECT_EQ(data.items[1].setQuantityDecimals, c("100"));
    EXPECT_EQ(data.items[4].setQuantityDecimals, c("10")); // the tax rate is no setting
    ASSERT_EQ(data.sheets.size(), 5u);
    EXPECT_EQ(data.sheets[2][1].kind, 100);
    EXPECT_EQ(data.sheets[3].size(), 1u);
    expectTotals(data.items[4], "0", "44", 4); // 44.4 at offset 0.5
    EXPECT_EQ(data.header.submittedGrandTotal, c("488"));
    EXPECT_EQ(data.header.submittedTaxTotal, c("44"));
}

TEST(RecalculateQuotation, AQuotationWithoutItsOwnTaxOffsetKeepsTheOneItsTaxUsed) {
    QuotationData data;
    data.items = {ItemRecord{}, newSheetItem(), rates(93, "0", "0", "10")};
    data.sheets = {Sheet{}, Sheet{LineRecord{}, priced("1", "444", "444")}};
    CalcSettings settings;
    settings.taxOffset = c("0.9");

    recalculateQuotation(data, settings, false);

    expectTotals(data.items[2], "0", "45", 2); // 44.4 rounded up
    EXPECT_EQ(data.taxOffset, c("0.9"));
}

} // namespace
} // namespace kerbina

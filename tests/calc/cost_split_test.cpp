#include "calc/cost_split.h"
#include "calc/totals.h"
#include "document/quotation_file.h"
#include "money_literal.h"
#include "records/line_kinds.h"
#include "test_data.h"

#include <gtest/gtest.h>

// The split of a quotation into 材料費, 労務費, 法定福利費 and 経費. Every case builds a quotation,
// computes it as opening a file does, and checks the columns and that they add up: an item's
// columns to its total, the quotation's columns plus the breakdown list's tax to the grand total.

namespace kerbina {

// Failures show the four columns.
void PrintTo(const CostSplit& s, std::ostream* out) {
    *out << "{" << s.material << ", " << s.labor << ", " << s.welfare << ", " << s.expenses << "}";
}

namespace {

constexpr int kLabor = 1;

LineRecord priced(LineKind kind, const char* quantity, const char* price, int priceKind = 0) {
    LineRecord line = newLine();
    line.kind = kind;
    line.netQuantity = line.submittedQuantity = c(quantity);
    line.netPrice = line.submittedPrice = c(price);
    line.priceKind = Currency::fromWhole(priceKind);
    return line;
}

LineRecord special(LineKind kind, const char* netQuantity = "0",
                   const char* submittedQuantity = "0") {
    LineRecord line = newLine();
    line.kind = kind;
    line.netQuantity = c(netQuantity);
    line.submittedQuantity = c(submittedQuantity);
    return line;
}

LineRecord welfare(const char* r1, const char* r2) {
    LineRecord line = special(97, r1, r2);
    line.submittedAdditionalPrice = c("100");
    line.amountText = "False";
    return line;
}

LineRecord unlisted(LineRecord line) {
    line.hiddenFlag = 1;
    return line;
}

// Every sheet with the settings of a new item: offsets 0.5, quantity decimals 100, tax offset 0.
QuotationData quotationOf(const std::vector<std::vector<LineRecord>>& sheets,
                          std::vector<ItemRecord> listItems = {}) {
    QuotationData data;
    data.header = newHeader(2026, 4, 1);
    data.items = {ItemRecord{}};
    data.sheets = {Sheet{}};
    for (const std::vector<LineRecord>& lines : sheets) {
        ItemRecord item = newSheetItem();
        item.setQuantityDecimals = c("100");
        data.items.push_back(item);
        Sheet sheet{LineRecord{}};
        sheet.insert(sheet.end(), lines.begin(), lines.end());
        data.sheets.push_back(sheet);
    }
    for (const ItemRecord& item : listItems) {
        data.items.push_back(item);
        data.sheets.push_back(Sheet{LineRecord{}});
    }
    recalculateQuotation(data, CalcSettings{}, false);
    return data;
}

ItemRecord listItem(ItemKind kind, const char* setAmount = "0", const char* setExpense = "0",
                    const char* setDecimals = "0") {
    ItemRecord item;
    item.kind = kind;
    item.setAmountRounding = c(setAmount);
    item.setExpenseRounding = c(setExpense);
    item.setQuantityDecimals = c(setDecimals);
    item.setTotalRounding = c("100");
    return item;
}

ItemRecord reduction(const char* amount) {
    ItemRecord item = listItem(91);
    item.netTotal = item.submittedTotal = c(amount);
    return item;
}

CostSplit split(const char* material, const char* labor, const char* welfare,
                const char* expenses) {
    return CostSplit{c(material), c(labor), c(welfare), c(expenses)};
}

void expectAddsUp(const QuotationData& data, const QuotationCostSplit& result) {
    for (int n = 1; n <= data.itemMax(); ++n) {
        const ItemRecord& item = data.items[static_cast<std::size_t>(n)];
        if (ownsSheet(item.kind)) {
            ASSERT_TRUE(result.items[static_cast<std::size_t>(n)]) << "item " << n;
            EXPECT_EQ(result.items[static_cast<std::size_t>(n)]->total(), item.submittedTotal)
                << "item " << n;
        }
    }
    EXPECT_EQ(result.total.total() + result.tax, data.header.submittedGrandTotal);
    EXPECT_EQ(result.tax, data.header.submittedTaxTotal);
}

TEST(CostSplit, OneSheetLineByLine) {
    struct Case {
        const char* what;
        std::vector<LineRecord> lines;
        CostSplit expected;
    };
    const Case cases[] = {
        {"material and labour by the price kind",
         {priced(10, "10", "1000"), priced(20, "2.5", "4000", kLabor), special(30)},
         split("10000", "10000", "0", "0")},
        {"a reduction lowers the column of its own price kind",
         {priced(10, "10", "1000", kLabor), priced(21, "1", "300", kLabor), priced(11, "1", "200")},
         split("-200", "9700", "0", "0")},
        {"expenses on the running total, the second one's base includes the first",
         {priced(10, "1", "100000"), special(81, "10", "10"), special(81, "10", "10")},
         split("100000", "0", "0", "21000")},
        {"小計, 中計 and a showing range total add nothing",
         {priced(10, "1", "1000"), priced(10, "1", "2000", kLabor), special(95), special(96),
          special(94, "1", "2")},
         split("1000", "2000", "0", "0")},
        // The hiding range total clears its lines' amounts after the total has taken them: the
        // columns keep what each line brought.
        {"a hiding range total keeps each line in its column",
         {priced(10, "1", "1000"), priced(10, "1", "2000", kLabor), special(93, "1", "2")},
         split("1000", "2000", "0", "0")},
        {"unlisted lines and lines below the sum line are not in the total",
         {priced(10, "1", "1000"), unlisted(priced(10, "1", "500", kLabor)), special(99),
          priced(10, "1", "700", kLabor)},
         split("1000", "0", "0", "0")},
        {"welfare lines and their sum line count once",
         {priced(10, "1", "600000"), priced(10, "1", "400000", kLabor), welfare("20", "16.5"),
          special(98)},
         split("600000", "400000", "33000", "0")},
        {"welfare below a sum line is shown but not in the total",
         {priced(10, "1", "1000000"), special(99), welfare("20", "16.5")},
         split("1000000", "0", "0", "0")},
        // The breakdown list counts the sheet's tax as part of the item's amount.
        {"the sheet's own tax goes to 材料費",
         {priced(10, "1", "100000", kLabor), special(90, "0", "10")},
         split("10000", "100000", "0", "0")},
        // Welfare below the tax is charged on the total with the tax.
        {"welfare below the tax line",
         {priced(10, "1", "1000000"), special(90, "0", "10"), welfare("20", "10")},
         split("1100000", "0", "22000", "0")},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const QuotationData data = quotationOf({test.lines});
        const QuotationCostSplit result = quotationCostSplit(data, CalcSettings{});
        ASSERT_TRUE(result.items[1]);
        EXPECT_EQ(*result.items[1], test.expected);
        EXPECT_EQ(result.total, test.expected);
        EXPECT_EQ(result.tax, Currency());
        EXPECT_EQ(result.welfare, Currency()); // the sheet's welfare is no welfare item's
        expectAddsUp(data, result);
    }
}

TEST(CostSplit, BreakdownList) {
    const std::vector<LineRecord> sheetA = {priced(10, "1", "60000"),
                                            priced(10, "1", "40000", kLabor)};
    const std::vector<LineRecord> sheetB = {priced(10, "1", "10000", kLabor),
                                            special(81, "5", "5")};
    struct Case {
        const char* what;
        std::vector<ItemRecord> listItems; // after the two sheets
        CostSplit total;
        const char* tax;
        const char* welfare; // the list's welfare items that the grand total holds
        std::vector<std::pair<int, CostSplit>> rows;
    };
    const Case cases[] = {
        {"expense, reduction, welfare and tax items",
         {listItem(81, "10", "10"), reduction("1000"), listItem(101, "20", "10"),
          listItem(93, "0", "0", "10")},
         split("59000", "50000", "2411", "11550"),
         "12296",
         "2411",
         {{1, split("60000", "40000", "0", "0")},
          {2, split("0", "10000", "0", "500")},
          {3, split("0", "0", "0", "11050")},
          {4, split("-1000", "0", "0", "0")},
          {5, split("0", "0", "2411", "0")}}},
        {"a 小計 and a 計 item restate their rows",
         {listItem(95, "1", "2"), listItem(98)},
         split("60000", "50000", "0", "500"),
         "0",
         "0",
         {{3, split("60000", "50000", "0", "500")}, {4, split("60000", "50000", "0", "500")}}},
        {"welfare below the sum item is left out of the total",
         {listItem(99), listItem(101, "20", "10")},
         split("60000", "50000", "0", "500"),
         "0",
         "0",
         {{4, split("0", "0", "2210", "0")}}},
        {"items below the tax item are not counted",
         {listItem(93, "0", "0", "10"), listItem(81, "10", "10")},
         split("60000", "50000", "0", "500"),
         "11050",
         "0",
         {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const QuotationData data = quotationOf({sheetA, sheetB}, test.listItems);
        const QuotationCostSplit result = quotationCostSplit(data, CalcSettings{});
        EXPECT_EQ(result.total, test.total);
        EXPECT_EQ(result.tax, c(test.tax));
        EXPECT_EQ(result.welfare, c(test.welfare));
        for (const auto& [row, expected] : test.rows) {
            ASSERT_TRUE(result.items[static_cast<std::size_t>(row)]) << "row " << row;
            EXPECT_EQ(*result.items[static_cast<std::size_t>(row)], expected) << "row " << row;
        }
        expectAddsUp(data, result);
    }
}

TEST(CostSplit, HierarchyParentSumsItsItems) {
    QuotationData data = quotationOf(
        {{priced(10, "1", "1000")}, {priced(10, "1", "2000", kLabor)}, {priced(10, "1", "4000")}});
    data.items[1].kind = 31;
    data.items[2].kind = 31;
    data.items.insert(data.items.begin() + 1, listItem(20, "2", "3"));
    data.sheets.insert(data.sheets.begin() + 1, Sheet{LineRecord{}});
    recalculateQuotation(data, CalcSettings{}, false);
    const QuotationCostSplit result = quotationCostSplit(data, CalcSettings{});
    ASSERT_TRUE(result.items[1]);
    EXPECT_EQ(*result.items[1], split("1000", "2000", "0", "0"));
    EXPECT_EQ(result.total, split("5000", "2000", "0", "0"));
    expectAddsUp(data, result);
}

// The example quotations hold labour lines, reductions, range totals, expenses, welfare and tax
// on their sheets and in their breakdown lists. The tax and welfare the cover prints are those of
// the breakdown list, never mixed with the sheets' own tax and welfare lines (example 1 has both
// on a sheet of negative total, example 2 a tax line on a sheet and welfare items below the sum
// item, example 5 welfare items below the tax item).
TEST(CostSplit, ExampleQuotationsAddUpAndKeepTheListsTaxAndWelfare) {
    struct Case {
        int example;
        const char* tax;
        const char* welfare;
    };
    const Case cases[] = {
        {1, "1324737", "457294"}, {2, "0", "0"},       {3, "0", "0"}, {4, "0", "0"},
        {5, "579793", "210465"},  {6, "2136000", "0"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE("example " + std::to_string(test.example));
        QuotationData data = readQuotationFile(exampleQuotation(test.example));
        recalculateQuotation(data, CalcSettings{}, true);
        const QuotationCostSplit result = quotationCostSplit(data, CalcSettings{});
        EXPECT_EQ(result.tax, c(test.tax));
        EXPECT_EQ(result.welfare, c(test.welfare));
        expectAddsUp(data, result);
    }
}

// The labour column of a sheet is the labour total the sheet pass keeps for the item, less its
// unlisted labour lines: that total counts them, the sheet total does not (example 4 has one).
TEST(CostSplit, ExampleLabourColumnsAreTheItemsLabourTotals) {
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE("example " + std::to_string(n));
        QuotationData data = readQuotationFile(exampleQuotation(n));
        recalculateQuotation(data, CalcSettings{}, true);
        const QuotationCostSplit result = quotationCostSplit(data, CalcSettings{});
        for (int item = 1; item <= data.itemMax(); ++item) {
            const ItemRecord& record = data.items[static_cast<std::size_t>(item)];
            if (!ownsSheet(record.kind)) {
                continue;
            }
            Currency unlistedLabour;
            for (const LineRecord& line : data.sheets[static_cast<std::size_t>(item)]) {
                if (line.hiddenFlag == 1 && line.priceKind == Currency::fromWhole(kLabor)) {
                    unlistedLabour +=
                        isReduction(line.kind) ? -line.submittedAmount : line.submittedAmount;
                }
            }
            EXPECT_EQ(result.items[static_cast<std::size_t>(item)]->labor,
                      record.laborTotal - unlistedLabour)
                << "item " << item;
        }
    }
}

} // namespace
} // namespace kerbina

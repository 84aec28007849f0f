// The cost split adds up on any quotation: generated from fixed seeds with every line kind on the
// sheets and every item kind in the breakdown list (ranges also reaching outside, unlisted lines,
// tax and welfare above and below tax and sum lines), so a failure names a seed that reproduces
// it.
#include "calc/cost_split.h"
#include "calc/totals.h"
#include "records/line_kinds.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace kerbina {
namespace {

constexpr int kLineKinds[] = {0,   10,  11,  12,  20,  21,  22,  30,  40,  50,  51, 52, 53, 54,
                              55,  56,  60,  61,  62,  63,  64,  65,  66,  70,  71, 72, 73, 74,
                              75,  76,  81,  82,  83,  84,  90,  93,  94,  95,  96, 97, 98, 99,
                              100, 110, 120, 140, 145, 150, 160, 170, 180, 193, 194};

// Item kinds: sheets, hierarchy parents, expenses, reduction, tax, sums, comment, welfare, and
// kinds the list knows nothing of (15, 92), which it counts as they stand.
constexpr int kItemKinds[] = {10, 10, 10, 15, 20, 21, 30, 35, 39, 81,  82,
                              83, 84, 91, 92, 93, 95, 96, 98, 99, 101, 102};

class QuotationGenerator {
public:
    explicit QuotationGenerator(unsigned seed) : random_(seed) {}

    QuotationData quotation() {
        QuotationData data;
        data.header = newHeader(2024, 5, 17);
        data.header.keta = pick({0, 1, 10, 100, 1000, 7});
        data.header.cutLevel = Currency::fromRaw(pick({0, 5000, 9000}));
        data.items = {ItemRecord{}};
        data.sheets = {Sheet{}};
        const int count = between(1, 12);
        for (int n = 1; n <= count; ++n) {
            const int kind = kItemKinds[between(0, static_cast<int>(std::size(kItemKinds)) - 1)];
            data.items.push_back(item(kind, count));
            data.sheets.push_back(ownsSheet(kind) ? sheet() : Sheet{LineRecord{}});
        }
        return data;
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    int pick(std::initializer_list<int> choices) {
        return *(choices.begin() + between(0, static_cast<int>(choices.size()) - 1));
    }
    Currency whole(int limit) { return Currency::fromWhole(between(0, limit)); }
    Currency tenths(int limit) { return Currency::fromRaw(between(0, limit * 10) * 1000); }

    ItemRecord item(ItemKind kind, int count) {
        ItemRecord it = newSheetItem();
        it.kind = kind;
        it.name = "内訳";
        if (ownsSheet(kind)) {
            it.setAmountRounding = Currency::fromRaw(pick({0, 5000, 9000}));
            it.setExpenseRounding = Currency::fromRaw(pick({0, 5000, 9000}));
            it.setLaborRounding = Currency::fromRaw(pick({0, 5000, 9000}));
            it.setQuantityDecimals = Currency::fromWhole(pick({10, 100, 1000}));
            it.setTotalLevel = Currency::fromWhole(pick({1, 10, 100, 1000}));
            it.setTotalRounding = Currency::fromRaw(pick({0, 5000, 9000}));
        } else if (isHierarchyParent(kind) || kind == ItemKind::SmallSum) {
            it.setAmountRounding = Currency::fromWhole(between(0, count + 1));  // first item
            it.setExpenseRounding = Currency::fromWhole(between(0, count + 1)); // last item
        } else if (isExpenseItem(kind)) {
            it.setAmountRounding = tenths(20); // rates in percent
            it.setExpenseRounding = tenths(20);
            it.setQuantityDecimals = Currency::fromWhole(pick({0, 1, 2, 3}));
        } else if (kind == ItemKind::Tax) {
            it.setQuantityDecimals = Currency::fromWhole(pick({8, 10}));
            it.setAmountRounding = Currency::fromWhole(between(0, 1));
        } else if (kind == ItemKind::Welfare) {
            it.setAmountRounding = tenths(30);
            it.setExpenseRounding = tenths(30);
            it.setTotalRounding = Currency::fromWhole(pick({100, 75}));
        }
        // Totals an earlier program stored: what the list takes as they stand for a reduction and
        // the kinds it does not compute, and overwrites for the rest.
        it.submittedTotal = whole(500000);
        it.netTotal = whole(500000);
        return it;
    }

    Sheet sheet() {
        Sheet lines{LineRecord{}};
        const int count = between(0, 20);
        for (int row = 1; row <= count; ++row) {
            lines.push_back(line(count));
        }
        return lines;
    }

    LineRecord line(int count) {
        LineRecord l = newLine();
        l.kind = kLineKinds[between(0, static_cast<int>(std::size(kLineKinds)) - 1)];
        l.sortCode = sortCodeOfGroup(between(1, 6));
        l.priceKind = Currency::fromWhole(chance(30) ? 1 : 0);
        if (isRangeKind(l.kind)) {
            l.netQuantity = Currency::fromWhole(between(0, count + 1));
            l.submittedQuantity = Currency::fromWhole(between(0, count + 1));
            l.netPrice = tenths(50);
            l.submittedPrice = tenths(50);
            l.laborFactor = Currency::fromWhole(pick({0, 1, 2, 10}));
        } else if (isExpense(l.kind)) {
            l.netQuantity = tenths(20);
            l.submittedQuantity = tenths(20);
            l.laborFactor = Currency::fromWhole(pick({0, 1, 2, 10}));
            l.hiddenFlag = pick({0, 1, 2, 3});
        } else if (l.kind == LineKind::Tax) {
            l.netQuantity = Currency::fromWhole(between(0, 1));
            l.submittedQuantity = Currency::fromWhole(pick({0, 8, 10}));
        } else if (l.kind == LineKind::Welfare) {
            l.netQuantity = tenths(30);
            l.submittedQuantity = tenths(30);
            l.submittedAdditionalPrice = Currency::fromWhole(pick({100, 75}));
            l.amountText = chance(50) ? "False" : "";
        } else {
            l.netQuantity = whole(100);
            l.submittedQuantity = chance(50) ? l.netQuantity : whole(100);
            l.netPrice = whole(50000);
            l.submittedPrice = whole(60000);
            l.laborFactor = tenths(3);
            l.netAdditionalPrice = whole(100);
            l.submittedAdditionalPrice = whole(120);
        }
        if (!isExpense(l.kind) && chance(15)) {
            l.hiddenFlag = 1; // unlisted
        }
        return l;
    }

    std::mt19937 random_;
};

// A 小計 adds the tax and sum-line items of its range as they stand; those have no split.
bool sumsRowsWithoutSplit(const QuotationData& data, const ItemRecord& sum) {
    const auto first = std::max<std::int64_t>(sum.setAmountRounding.wholePart(), 1);
    const auto last = std::min<std::int64_t>(sum.setExpenseRounding.wholePart(), data.itemMax());
    for (auto n = first; n <= last; ++n) {
        const ItemKind kind = data.items[static_cast<std::size_t>(n)].kind;
        if (kind == ItemKind::Tax || kind == ItemKind::SumLine) {
            return true;
        }
    }
    return false;
}

TEST(CostSplitProperty, ColumnsAndTheListsTaxMakeTheGrandTotal) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        QuotationData data = QuotationGenerator(seed).quotation();
        // The second pass is computed from what the first one stored, as every later edit is: a
        // 小計 then sums items below it with their own amounts of this pass.
        recalculateQuotation(data, CalcSettings{}, seed % 2 == 0);
        recalculateQuotation(data, CalcSettings{}, seed % 2 == 0);
        const QuotationCostSplit result = quotationCostSplit(data, CalcSettings{});

        EXPECT_EQ(result.total.total() + result.tax, data.header.submittedGrandTotal);
        EXPECT_EQ(result.tax, data.header.submittedTaxTotal);
        Currency welfareItems;
        for (int n = 1; n <= data.itemMax(); ++n) {
            const ItemRecord& item = data.items[static_cast<std::size_t>(n)];
            if (item.kind == ItemKind::Welfare) {
                welfareItems += item.submittedTotal;
            }
            const std::optional<CostSplit>& row = result.items[static_cast<std::size_t>(n)];
            if (!row || (item.kind == ItemKind::SmallSum && sumsRowsWithoutSplit(data, item))) {
                continue;
            }
            EXPECT_EQ(row->total(),
                      item.kind == ItemKind::Reduction ? -item.submittedTotal : item.submittedTotal)
                << "item " << n << " of kind " << item.kind;
        }
        // The list's welfare items are in the grand total all together or not at all.
        EXPECT_TRUE(result.welfare.isZero() || result.welfare == welfareItems)
            << result.welfare << " of " << welfareItems;
    }
}

} // namespace
} // namespace kerbina

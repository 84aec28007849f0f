#include "calc/cost_split.h"

#include "calc/totals.h"
#include "records/kinds.h"

#include <utility>

namespace kerbina {

namespace {

// priceKind 1: 労務費.
constexpr Currency kLaborPrice = Currency::fromRaw(Currency::kScale);

void addTo(CostSplit& split, CostKind kind, Currency amount) {
    switch (kind) {
    case CostKind::Material:
        split.material += amount;
        break;
    case CostKind::Labor:
        split.labor += amount;
        break;
    case CostKind::Welfare:
        split.welfare += amount;
        break;
    case CostKind::Expenses:
        split.expenses += amount;
        break;
    }
}

// Collects what the sheet pass adds to the submitted total, column by column. The sheet's own tax
// is part of the item's amount, which the breakdown list counts whole: it goes to 材料費 with
// everything that is no labour, welfare or expense.
class SheetSplitObserver final : public SubmittedTotalObserver {
public:
    void lineCounted(const LineRecord& line, Currency submitted) override {
        addTo(split, costKindOfLine(line), submitted);
    }
    void welfareCounted(Currency submitted) override { split.welfare += submitted; }
    void taxCounted(Currency submitted) override { split.material += submitted; }

    CostSplit split;
};

// Rows that restate sums of other rows or carry no cost: their own amounts are never split.
bool hasOwnSplit(ItemKind kind) {
    return !isHierarchyParent(kind) && kind != ItemKind::SmallSum &&
           kind != ItemKind::SumSincePrevious && kind != ItemKind::Tax &&
           kind != ItemKind::Comment && kind != ItemKind::SumLine;
}

// Builds the split from what the list pass reports: the grand total from the amounts it counts,
// the sum items' rows from the parts it sums.
class ListSplitObserver final : public GrandTotalObserver {
public:
    ListSplitObserver(const std::vector<ItemRecord>& items,
                      const std::vector<std::optional<CostSplit>>& sheetSplits,
                      QuotationCostSplit& result)
        : items_(items), sheetSplits_(sheetSplits), result_(result) {}

    // An item's amount by column: a sheet's split, which adds up to the sheet's total; any other
    // item puts the amount into the column of its kind; the rows without a split add nothing.
    CostSplit splitOf(int item, Currency submitted) const {
        const auto slot = static_cast<std::size_t>(item);
        if (sheetSplits_[slot]) {
            return *sheetSplits_[slot];
        }
        CostSplit split;
        if (hasOwnSplit(items_[slot].kind)) {
            addTo(split, costKindOfItem(items_[slot].kind), submitted);
        }
        return split;
    }

    void itemCounted(int item, Currency submitted) override {
        const CostSplit split = splitOf(item, submitted);
        result_.total += split;
        since_ += split;
    }
    void itemSummed(int sum, int part, Currency submitted) override {
        std::optional<CostSplit>& row = result_.items[static_cast<std::size_t>(sum)];
        if (!row) {
            row.emplace();
        }
        *row += splitOf(part, submitted);
    }
    void countedSinceShown(int sum) override {
        result_.items[static_cast<std::size_t>(sum)] = std::exchange(since_, CostSplit{});
    }
    void welfareCounted(Currency submitted) override {
        result_.total.welfare += submitted;
        result_.welfare += submitted;
    }
    void taxCounted(Currency submitted) override { result_.tax += submitted; }

private:
    const std::vector<ItemRecord>& items_;
    const std::vector<std::optional<CostSplit>>& sheetSplits_;
    QuotationCostSplit& result_;
    CostSplit since_;
};

} // namespace

CostSplit& CostSplit::operator+=(const CostSplit& other) {
    material += other.material;
    labor += other.labor;
    welfare += other.welfare;
    expenses += other.expenses;
    return *this;
}

CostSplit& CostSplit::operator-=(const CostSplit& other) {
    material -= other.material;
    labor -= other.labor;
    welfare -= other.welfare;
    expenses -= other.expenses;
    return *this;
}

CostKind costKindOfLine(const LineRecord& line) {
    if (isWelfare(line.kind)) {
        return CostKind::Welfare;
    }
    if (isExpense(line.kind)) {
        return CostKind::Expenses;
    }
    return line.priceKind == kLaborPrice ? CostKind::Labor : CostKind::Material;
}

CostKind costKindOfItem(ItemKind itemKind) {
    if (isExpenseItem(itemKind)) {
        return CostKind::Expenses;
    }
    if (itemKind == ItemKind::Welfare || itemKind == ItemKind::WelfareSum) {
        return CostKind::Welfare;
    }
    return CostKind::Material;
}

namespace {

// A copy of the quotation for the sheet passes: the header and the item list, copied once. A sheet
// pass writes only its own item's totals, which are put back after it, so one copy serves every
// sheet of a quotation and the split costs what its sheets hold, not sheets times items.
DocumentState sheetPassCopy(const QuotationData& quotation) {
    DocumentState state;
    state.header = quotation.header;
    state.items = quotation.items;
    state.itemNameLine = false;
    return state;
}

CostSplit sheetCostSplitIn(DocumentState& copy, const QuotationData& quotation, int item,
                           const CalcSettings& settings) {
    const ItemRecord& record = quotation.items.at(static_cast<std::size_t>(item));
    const auto slot = static_cast<std::size_t>(item);
    SheetSplitObserver observer;
    if (slot < quotation.sheets.size() && !quotation.sheets[slot].empty()) {
        // The title line is left as it is, so no row moves.
        copy.sheet = quotation.sheets[slot];
        copy.currentSheetNumber = item;
        copy.settings = settings;
        copy.settings.taxOffset = quotation.taxOffset.value_or(settings.taxOffset);
        loadSheetSettings(copy, item);
        if (recalculateSheet(copy, &observer).error) {
            observer.split = CostSplit{};
        }
        copy.items[slot] = record;
    }
    CostSplit split = observer.split;
    split.material += record.submittedTotal - split.total();
    return split;
}

} // namespace

CostSplit sheetCostSplit(const QuotationData& quotation, int item, const CalcSettings& settings) {
    DocumentState copy = sheetPassCopy(quotation);
    return sheetCostSplitIn(copy, quotation, item, settings);
}

QuotationCostSplit quotationCostSplit(const QuotationData& quotation,
                                      const CalcSettings& settings) {
    const int last = quotation.itemMax();
    std::vector<std::optional<CostSplit>> sheetSplits(quotation.items.size());
    DocumentState sheetCopy = sheetPassCopy(quotation);
    for (int n = 1; n <= last; ++n) {
        if (ownsSheet(quotation.items[static_cast<std::size_t>(n)].kind)) {
            sheetSplits[static_cast<std::size_t>(n)] =
                sheetCostSplitIn(sheetCopy, quotation, n, settings);
        }
    }

    // The list pass runs on a copy and reports what it counts and sums.
    QuotationCostSplit result;
    result.items.resize(quotation.items.size());
    DocumentState state;
    state.header = quotation.header;
    state.items = quotation.items;
    state.settings = settings;
    state.settings.taxOffset = quotation.taxOffset.value_or(settings.taxOffset);
    ListSplitObserver observer(state.items, sheetSplits, result);
    recalculateItemList(state, &observer);

    // Every row with an amount of its own shows it by column, also below the tax or sum item; a
    // reduction shows what it takes off.
    for (int n = 1; n <= last; ++n) {
        const ItemRecord& item = state.items[static_cast<std::size_t>(n)];
        if (hasOwnSplit(item.kind)) {
            result.items[static_cast<std::size_t>(n)] = observer.splitOf(
                n, item.kind == ItemKind::Reduction ? -item.submittedTotal : item.submittedTotal);
        }
    }
    return result;
}

} // namespace kerbina

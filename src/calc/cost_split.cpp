#include "calc/cost_split.h"

#include "calc/totals.h"
#include "records/kinds.h"

#include <algorithm>
#include <limits>

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

// Collects what the sheet pass adds to the submitted total, column by column; the tax is no cost.
class SplitObserver final : public SubmittedTotalObserver {
public:
    void lineCounted(const LineRecord& line, Currency submitted) override {
        addTo(split, costKindOfLine(line), submitted);
    }
    void welfareCounted(Currency submitted) override { split.welfare += submitted; }
    void taxCounted(Currency) override {}

    CostSplit split;
};

int clampedWhole(Currency value) {
    return static_cast<int>(std::clamp<std::int64_t>(
        value.wholePart(), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool between(int kind, int low, int high) {
    return kind >= low && kind <= high;
}

// Rows that restate sums of other rows or carry no cost: their own amounts are never split.
bool hasOwnSplit(int kind) {
    return !isHierarchyParent(kind) && kind != ItemKind::SmallSum &&
           kind != ItemKind::SumSincePrevious && kind != ItemKind::Tax &&
           kind != ItemKind::Comment && kind != ItemKind::SumLine;
}

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

CostKind costKindOfItem(int itemKind) {
    if (isExpense(itemKind)) {
        return CostKind::Expenses;
    }
    if (itemKind == ItemKind::Welfare || itemKind == ItemKind::WelfareSum) {
        return CostKind::Welfare;
    }
    return CostKind::Material;
}

CostSplit sheetCostSplit(const QuotationData& quotation, int item, const CalcSettings& settings) {
    const ItemRecord& record = quotation.items.at(static_cast<std::size_t>(item));
    const auto slot = static_cast<std::size_t>(item);
    SplitObserver observer;
    if (slot < quotation.sheets.size() && !quotation.sheets[slot].empty()) {
        // The pass runs on a copy; the title line is left as it is, so no row moves.
        DocumentState state;
        state.header = quotation.header;
        state.items = quotation.items;
        state.sheet = quotation.sheets[slot];
        state.currentSheetNumber = item;
        state.settings = settings;
        state.settings.taxOffset = quotation.taxOffset.value_or(settings.taxOffset);
        state.itemNameLine = false;
        loadSheetSettings(state, item);
        if (recalculateSheet(state, &observer).error) {
            observer.split = CostSplit{};
        }
    }
    CostSplit split = observer.split;
    split.material += record.submittedTotal - record.submittedTax - split.total();
    return split;
}

QuotationCostSplit quotationCostSplit(const QuotationData& quotation,
                                      const CalcSettings& settings) {
    QuotationCostSplit result;
    const int last = quotation.itemMax();
    const auto item = [&](int n) -> const ItemRecord& {
        return quotation.items[static_cast<std::size_t>(n)];
    };
    auto& rows = result.items;
    rows.resize(quotation.items.size());

    for (int n = 1; n <= last; ++n) {
        const ItemRecord& it = item(n);
        if (!hasOwnSplit(it.kind)) {
            continue;
        }
        if (ownsSheet(it.kind)) {
            rows[static_cast<std::size_t>(n)] = sheetCostSplit(quotation, n, settings);
            continue;
        }
        CostSplit split;
        // A reduction item is taken off the grand total; its column shows what it takes off.
        addTo(split, costKindOfItem(it.kind),
              it.kind == ItemKind::Reduction ? -it.submittedTotal : it.submittedTotal);
        rows[static_cast<std::size_t>(n)] = split;
    }

    // What the list pass counts, in its order: everything above the first tax or sum item except
    // the rows that restate sums and the welfare items, which come after.
    int sumItem = 0;
    int welfareItem = 0;
    for (int n = 1; n <= last; ++n) {
        const int kind = item(n).kind;
        if (kind == ItemKind::SumLine) {
            sumItem = n;
        } else if ((kind == ItemKind::Welfare || kind == ItemKind::WelfareSum) &&
                   welfareItem == 0) {
            welfareItem = n;
        }
    }
    CostSplit since;
    for (int n = 1; n <= last; ++n) {
        const ItemRecord& it = item(n);
        const auto slot = static_cast<std::size_t>(n);
        if (it.kind == ItemKind::Tax) {
            result.tax += it.submittedTotal;
            break;
        }
        if (it.kind == ItemKind::SumLine) {
            break;
        }
        if (it.kind == ItemKind::SumSincePrevious) {
            rows[slot] = since;
            since = CostSplit{};
            continue;
        }
        if (!hasOwnSplit(it.kind) || it.kind == ItemKind::Welfare ||
            it.kind == ItemKind::WelfareSum) {
            continue;
        }
        result.total += *rows[slot];
        since += *rows[slot];
        if (ownsSheet(it.kind)) {
            result.tax += it.submittedTax;
        }
    }
    const bool sumAboveWelfare = sumItem != 0 && welfareItem != 0 && sumItem < welfareItem;
    if (welfareItem != 0 && !sumAboveWelfare) {
        for (int n = welfareItem; n <= last; ++n) {
            if (item(n).kind == ItemKind::Welfare) {
                result.total += *rows[static_cast<std::size_t>(n)];
            }
        }
    }

    // Hierarchy parents sum their items inside the hierarchy; 小計 items sum their range as the
    // list pass does, the reduction included with its sign.
    for (int n = 1; n <= last; ++n) {
        const ItemRecord& it = item(n);
        if (!isHierarchyParent(it.kind) && it.kind != ItemKind::SmallSum) {
            continue;
        }
        const int first = std::max(clampedWhole(it.setAmountRounding), 1);
        const int end = std::min(clampedWhole(it.setExpenseRounding), last);
        CostSplit sum;
        for (int m = first; m <= end; ++m) {
            const int kind = item(m).kind;
            const std::optional<CostSplit>& part = rows[static_cast<std::size_t>(m)];
            const bool counted =
                isHierarchyParent(it.kind)
                    ? between(kind, ItemKind::HierarchySheetFirst, ItemKind::HierarchySheetLast)
                    : !(between(kind, 11, ItemKind::HierarchyParentLast) ||
                        kind == ItemKind::SmallSum || kind == ItemKind::Comment ||
                        kind == ItemKind::SumSincePrevious);
            if (counted && part) {
                sum += *part;
            }
        }
        rows[static_cast<std::size_t>(n)] = sum;
    }
    return result;
}

} // namespace kerbina

#include "records/kinds.h"

#include "base/bounds.h"

#include <algorithm>
#include <initializer_list>
#include <ostream>

namespace kerbina {
namespace {

// The data group of the filtered range kinds x6.
constexpr int kLastGroupFilter = 6;

bool between(LineKind kind, LineKind low, LineKind high) {
    return kind.code() >= low.code() && kind.code() <= high.code();
}

bool between(ItemKind kind, ItemKind low, ItemKind high) {
    return kind.code() >= low.code() && kind.code() <= high.code();
}

template <typename Kind> bool isOneOf(Kind kind, std::initializer_list<Kind> kinds) {
    for (const Kind member : kinds) {
        if (member == kind) {
            return true;
        }
    }
    return false;
}

// x0..x6 of a calculated range kind's tens.
bool isRangeFamily(LineKind kind, LineKind base) {
    return between(kind, base, base.code() + kLastGroupFilter);
}

} // namespace

std::ostream& operator<<(std::ostream& out, LineKind kind) {
    return out << kind.code();
}

std::ostream& operator<<(std::ostream& out, ItemKind kind) {
    return out << kind.code();
}

bool kindWithin(LineKind kind, LineKind first, LineKind last) {
    return between(kind, first, last);
}

bool kindWithin(ItemKind kind, ItemKind first, ItemKind last) {
    return between(kind, first, last);
}

bool isOrdinaryLine(LineKind kind) {
    return isHandPriced(kind) ||
           isOneOf(kind, {LineKind::WholeAmountTextFirst, LineKind::DecimalAmountTextFirst,
                          LineKind::Comment});
}

bool isHandPriced(LineKind kind) {
    return isOneOf(kind, {LineKind::WholePriced, LineKind::WholeReduction,
                          LineKind::WholePricedOutsideExpense, LineKind::DecimalPriced,
                          LineKind::DecimalReduction, LineKind::DecimalPricedOutsideExpense});
}

bool isPlainPriced(LineKind kind) {
    return isOneOf(kind, {LineKind::WholePriced, LineKind::WholeReduction,
                          LineKind::WholePricedOutsideExpense, LineKind::DecimalPriced,
                          LineKind::DecimalReduction, LineKind::DecimalPricedOutsideExpense,
                          LineKind::TakeoffWholePriced, LineKind::TakeoffDecimalPriced,
                          LineKind::TakeoffPriced145, LineKind::TakeoffPriced150,
                          LineKind::TakeoffPriced170});
}

bool isPriced(LineKind kind) {
    return isPlainPriced(kind) || kind == LineKind::TakeoffPricePerHundred ||
           kind == LineKind::TakeoffHundredths;
}

bool isReduction(LineKind kind) {
    return kind == LineKind::WholeReduction || kind == LineKind::DecimalReduction;
}

bool isRangeAmountTimesRate(LineKind kind) {
    return isRangeFamily(kind, LineKind::RangeAmountTimesRate);
}

bool isRangeLaborTimesPrice(LineKind kind) {
    return isRangeFamily(kind, LineKind::RangeLaborTimesPrice);
}

bool isRangeAdditionalTimesRate(LineKind kind) {
    return isRangeFamily(kind, LineKind::RangeAdditionalTimesRate);
}

bool isCalculatedRangeKind(LineKind kind) {
    return isRangeAmountTimesRate(kind) || isRangeLaborTimesPrice(kind) ||
           isRangeAdditionalTimesRate(kind);
}

bool isRangeTotal(LineKind kind) {
    return isOneOf(kind, {LineKind::RangeTotalHidingItems, LineKind::RangeTotalShowingItems,
                          LineKind::TakeoffRangeTotalHidingItems,
                          LineKind::TakeoffRangeTotalShowingItems});
}

bool isRangeKind(LineKind kind) {
    return kind == LineKind::RangeSum || isCalculatedRangeKind(kind) || isRangeTotal(kind);
}

int groupFilterOf(LineKind kind) {
    return isCalculatedRangeKind(kind) ? kind.code() % 10 : 0;
}

bool mayBeHiddenByRangeTotal(LineKind kind) {
    return isOneOf(kind, {LineKind::Empty, LineKind::WholePriced, LineKind::WholeReduction,
                          LineKind::DecimalPriced, LineKind::DecimalReduction,
                          LineKind::TakeoffWholePriced, LineKind::TakeoffDecimalPriced,
                          LineKind::TakeoffPriced145, LineKind::TakeoffPriced150});
}

bool isExpense(LineKind kind) {
    return between(kind, LineKind::ExpenseOnTotal, LineKind::ExpenseWithoutOthersRoundedOff);
}

LineKind expenseLineKind(int target) {
    return LineKind(LineKind::ExpenseOnTotal.code() + std::clamp(target, 0, 3));
}

ItemKind expenseItemKind(int target) {
    return ItemKind(ItemKind::ExpenseOnTotal.code() + std::clamp(target, 0, 3));
}

int expenseTarget(LineKind kind) {
    return std::clamp(kind.code() - LineKind::ExpenseOnTotal.code(), 0, 3);
}

bool isWelfare(LineKind kind) {
    return kind == LineKind::Welfare || kind == LineKind::WelfareSum;
}

bool isWholeQuantity(LineKind kind) {
    return between(kind, LineKind::WholePriced, 19);
}

bool isDecimalQuantity(LineKind kind) {
    return between(kind, LineKind::DecimalPriced, 29);
}

bool hasDecimalQuantityText(LineKind kind) {
    return between(kind, LineKind::DecimalPriced, LineKind::DecimalPricedOutsideExpense) ||
           between(kind, LineKind::DecimalAmountTextFirst, LineKind::DecimalAmountTextLast) ||
           kind == LineKind::TakeoffDecimalPriced ||
           between(kind, LineKind::TakeoffDecimalAmountTextFirst,
                   LineKind::TakeoffDecimalAmountTextLast) ||
           isOneOf(kind, {LineKind::TakeoffPricePerHundred, LineKind::TakeoffPriced145,
                          LineKind::TakeoffPriced150});
}

bool isGeneratedKind(LineKind kind) {
    return kind.code() >= LineKind::FirstGenerated.code();
}

bool isTakeoffLine(LineKind kind) {
    return kind.code() > LineKind::FirstGenerated.code() && kind.code() <= 200;
}

bool ownsSheet(ItemKind itemKind) {
    return itemKind == ItemKind::Sheet ||
           between(itemKind, ItemKind::HierarchySheetFirst, ItemKind::HierarchySheetLast);
}

bool isHierarchyParent(ItemKind itemKind) {
    return between(itemKind, ItemKind::HierarchyParentFirst, ItemKind::HierarchyParentLast);
}

bool isHierarchySheet(ItemKind itemKind) {
    return between(itemKind, ItemKind::HierarchySheetFirst, ItemKind::HierarchySheetLast);
}

int hierarchyDepth(ItemKind itemKind) {
    if (isHierarchyParent(itemKind)) {
        return itemKind.code() - ItemKind::HierarchyParentFirst.code();
    }
    if (isHierarchySheet(itemKind)) {
        return itemKind.code() - ItemKind::HierarchySheetFirst.code();
    }
    return 0;
}

ItemKind oneLevelUp(ItemKind itemKind) {
    if (itemKind == ItemKind::HierarchyParentFirst || itemKind == ItemKind::HierarchySheetFirst) {
        return ItemKind::Sheet;
    }
    if (isHierarchyParent(itemKind) || isHierarchySheet(itemKind)) {
        return itemKind.code() - 1;
    }
    return itemKind;
}

bool isExpenseItem(ItemKind itemKind) {
    return between(itemKind, ItemKind::ExpenseOnTotal, ItemKind::ExpenseWithoutOthersRoundedOff);
}

bool isSkippedBySmallSum(ItemKind itemKind) {
    return between(itemKind, 11, ItemKind::HierarchyParentLast) ||
           isOneOf(itemKind, {ItemKind::SmallSum, ItemKind::Comment, ItemKind::SumSincePrevious,
                              ItemKind::WelfareSum});
}

bool hasItemRange(ItemKind itemKind) {
    return isHierarchyParent(itemKind) || itemKind == ItemKind::SmallSum;
}

bool isListOnlyKind(ItemKind itemKind) {
    return isHierarchyParent(itemKind) ||
           between(itemKind, ItemKind::ExpenseOnTotal, ItemKind::ExpenseWithoutOthersRoundedOff) ||
           isOneOf(itemKind, {ItemKind::Reduction, ItemKind::Tax, ItemKind::SmallSum,
                              ItemKind::Comment, ItemKind::Welfare});
}

bool skipsDataSection(ItemKind itemKind) {
    return isHierarchyParent(itemKind) ||
           between(itemKind, ItemKind::ExpenseOnTotal, ItemKind::ExpenseWithoutOthersRoundedOff) ||
           isOneOf(itemKind, {ItemKind::Reduction, ItemKind::Tax, ItemKind::SmallSum,
                              ItemKind::Comment, ItemKind::SumLine});
}

} // namespace kerbina

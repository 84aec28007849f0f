#include "records/kinds.h"

#include "base/bounds.h"

#include <initializer_list>

namespace kerbina {
namespace {

bool isOneOf(int kind, std::initializer_list<int> kinds) {
    for (const int member : kinds) {
        if (member == kind) {
            return true;
        }
    }
    return false;
}

// x0..x6 of a calculated range kind's tens.
bool isRangeFamily(int kind, int base) {
    return between(kind, base, base + LineKind::LastGroupFilter);
}

} // namespace

using namespace LineKind;

bool isOrdinaryLine(int kind) {
    return isHandPriced(kind) ||
           isOneOf(kind, {WholeAmountTextFirst, DecimalAmountTextFirst, Comment});
}

bool isHandPriced(int kind) {
    return isOneOf(kind, {WholePriced, WholeReduction, WholePricedOutsideExpense, DecimalPriced,
                          DecimalReduction, DecimalPricedOutsideExpense});
}

bool isPlainPriced(int kind) {
    return isOneOf(kind,
                   {WholePriced, WholeReduction, WholePricedOutsideExpense, DecimalPriced,
                    DecimalReduction, DecimalPricedOutsideExpense, TakeoffWholePriced,
                    TakeoffDecimalPriced, TakeoffPriced145, TakeoffPriced150, TakeoffPriced170});
}

bool isPriced(int kind) {
    return isPlainPriced(kind) || kind == TakeoffPricePerHundred || kind == TakeoffHundredths;
}

bool isReduction(int kind) {
    return kind == WholeReduction || kind == DecimalReduction;
}

bool isRangeAmountTimesRate(int kind) {
    return isRangeFamily(kind, RangeAmountTimesRate);
}

bool isRangeLaborTimesPrice(int kind) {
    return isRangeFamily(kind, RangeLaborTimesPrice);
}

bool isRangeAdditionalTimesRate(int kind) {
    return isRangeFamily(kind, RangeAdditionalTimesRate);
}

bool isCalculatedRangeKind(int kind) {
    return isRangeAmountTimesRate(kind) || isRangeLaborTimesPrice(kind) ||
           isRangeAdditionalTimesRate(kind);
}

bool isRangeTotal(int kind) {
    return isOneOf(kind, {RangeTotalHidingItems, RangeTotalShowingItems,
                          TakeoffRangeTotalHidingItems, TakeoffRangeTotalShowingItems});
}

bool isRangeKind(int kind) {
    return kind == RangeSum || isCalculatedRangeKind(kind) || isRangeTotal(kind);
}

int groupFilterOf(int kind) {
    return isCalculatedRangeKind(kind) ? kind % 10 : 0;
}

bool mayBeHiddenByRangeTotal(int kind) {
    return isOneOf(kind,
                   {Empty, WholePriced, WholeReduction, DecimalPriced, DecimalReduction,
                    TakeoffWholePriced, TakeoffDecimalPriced, TakeoffPriced145, TakeoffPriced150});
}

bool isExpense(int kind) {
    return between(kind, ExpenseOnTotal, ExpenseWithoutOthersRoundedOff);
}

bool isWelfare(int kind) {
    return kind == Welfare || kind == WelfareSum;
}

bool isWholeQuantity(int kind) {
    return between(kind, 10, 19);
}

bool isDecimalQuantity(int kind) {
    return between(kind, 20, 29);
}

bool hasDecimalQuantityText(int kind) {
    return between(kind, DecimalPriced, DecimalPricedOutsideExpense) ||
           between(kind, DecimalAmountTextFirst, DecimalAmountTextLast) ||
           kind == TakeoffDecimalPriced ||
           between(kind, TakeoffDecimalAmountTextFirst, TakeoffDecimalAmountTextLast) ||
           isOneOf(kind, {TakeoffPricePerHundred, TakeoffPriced145, TakeoffPriced150});
}

bool isGeneratedKind(int kind) {
    return kind >= FirstGenerated;
}

bool ownsSheet(int itemKind) {
    return itemKind == ItemKind::Sheet ||
           between(itemKind, ItemKind::HierarchySheetFirst, ItemKind::HierarchySheetLast);
}

bool isHierarchyParent(int itemKind) {
    return between(itemKind, ItemKind::HierarchyParentFirst, ItemKind::HierarchyParentLast);
}

bool hasItemRange(int itemKind) {
    return isHierarchyParent(itemKind) || itemKind == ItemKind::SmallSum;
}

bool isListOnlyKind(int itemKind) {
    return isHierarchyParent(itemKind) ||
           between(itemKind, ItemKind::ExpenseOnTotal, ItemKind::ExpenseWithoutOthersRoundedOff) ||
           isOneOf(itemKind, {ItemKind::Reduction, ItemKind::Tax, ItemKind::SmallSum,
                              ItemKind::Comment, ItemKind::Welfare});
}

bool skipsDataSection(int itemKind) {
    return isHierarchyParent(itemKind) ||
           between(itemKind, ItemKind::ExpenseOnTotal, ItemKind::ExpenseWithoutOthersRoundedOff) ||
           isOneOf(itemKind, {ItemKind::Reduction, ItemKind::Tax, ItemKind::SmallSum,
                              ItemKind::Comment, ItemKind::SumLine});
}

} // namespace kerbina

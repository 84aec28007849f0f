#include "records/item_settings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kerbina {
namespace {

int clampedWhole(Currency value) {
    return static_cast<int>(std::clamp<std::int64_t>(
        value.wholePart(), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

void readSheetSettings(const ItemRecord& item, CalcSettings& settings) {
    settings.amountOffset = item.setAmountRounding;
    settings.expenseOffset = item.setExpenseRounding;
    settings.quantityDecimals = item.setQuantityDecimals;
    settings.totalLevel = item.setTotalLevel;
    settings.laborOffset = item.setLaborRounding;
    settings.totalOffset = item.setTotalRounding;
}

void writeSheetSettings(ItemRecord& item, const CalcSettings& settings) {
    item.setAmountRounding = settings.amountOffset;
    item.setExpenseRounding = settings.expenseOffset;
    item.setQuantityDecimals = settings.quantityDecimals;
    item.setTotalLevel = settings.totalLevel;
    item.setLaborRounding = settings.laborOffset;
    item.setTotalRounding = settings.totalOffset;
}

Currency sheetQuantityDecimals(const ItemRecord& item) {
    return item.setQuantityDecimals;
}

ItemRange itemRange(const ItemRecord& item) {
    return {item.setAmountRounding, item.setExpenseRounding};
}

std::pair<int, int> itemRangeNumbers(const ItemRecord& item) {
    return {clampedWhole(item.setAmountRounding), clampedWhole(item.setExpenseRounding)};
}

void setItemRange(ItemRecord& item, int first, int last) {
    item.setAmountRounding = Currency::fromWhole(first);
    item.setExpenseRounding = Currency::fromWhole(last);
}

ExpenseRates expenseRates(const ItemRecord& item) {
    return {item.setAmountRounding, item.setExpenseRounding, item.setQuantityDecimals,
            item.setTotalLevel, item.setTotalRounding};
}

void setExpenseRates(ItemRecord& item, const ExpenseRates& rates) {
    item.setAmountRounding = rates.netRate;
    item.setExpenseRounding = rates.submittedRate;
    item.setQuantityDecimals = rates.roundingLevel;
    item.setTotalLevel = rates.unitCode;
    item.setTotalRounding = rates.roundingOffset;
}

TaxSetting taxSetting(const ItemRecord& item) {
    return {item.setQuantityDecimals, item.setAmountRounding == Currency::fromWhole(1)};
}

void setTaxSetting(ItemRecord& item, const TaxSetting& tax) {
    item.setQuantityDecimals = tax.ratePercent;
    item.setAmountRounding = Currency::fromWhole(tax.chargedOnNet ? 1 : 0);
}

WelfareRates welfareRates(const ItemRecord& item) {
    return {item.setAmountRounding, item.setExpenseRounding, item.setTotalRounding};
}

void setWelfareRates(ItemRecord& item, const WelfareRates& rates) {
    item.setAmountRounding = rates.labourRate;
    item.setExpenseRounding = rates.employerRate;
    item.setTotalRounding = rates.workerRate;
}

bool showsFormulaWithName(const ItemRecord& item) {
    return item.subKind == Currency::fromWhole(1);
}

void setShowsFormulaWithName(ItemRecord& item, bool withName) {
    item.subKind = Currency::fromWhole(withName ? 1 : 0);
}

Currency commentPlacement(const ItemRecord& item) {
    return item.subKind;
}

void setCommentPlacement(ItemRecord& item, Currency placement) {
    item.subKind = placement;
}

bool showsNoteInTotalColumn(const ItemRecord& item) {
    return item.subKind == Currency::fromWhole(15) || item.subKind == Currency::fromWhole(30);
}

void setItemMessageSettings(ItemRecord& item, Currency at144, Currency at152, Currency at160,
                            Currency at168) {
    item.setAmountRounding = at144;
    item.setExpenseRounding = at152;
    item.setQuantityDecimals = at160;
    item.setTotalLevel = at168;
}

} // namespace kerbina

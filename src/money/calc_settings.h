#pragma once

#include "money/currency.h"

#include <array>
#include <optional>

namespace kerbina {

// The calculation settings a sheet is computed with. The per-sheet ones travel in the sheet's
// item record; the grand-total ones live in the settings file and the quotation header.
// Offsets are 0.5 (四捨五入), 0.9 (切り上げ) or 0 (切り捨て).
struct CalcSettings {
    Currency quantityDecimals = Currency::fromWhole(10); // 10, 100 or 1000
    Currency amountOffset = Currency::fromRaw(5000);
    Currency expenseOffset = Currency::fromRaw(5000);
    Currency laborOffset = Currency::fromRaw(5000);
    Currency totalLevel = Currency::fromWhole(1); // setting level: 1..1000000, 7, 8, 9
    Currency totalOffset = Currency();
    Currency taxOffset = Currency();
    Currency grandTotalLevel = Currency();
    Currency grandTotalOffset = Currency();
    Currency grandTotalExpenseOffset = Currency();

    friend bool operator==(const CalcSettings&, const CalcSettings&) = default;
};

// Option indexes of the settings file and the calculation settings dialog. Each returns nothing
// (std::nullopt) for an index outside its list.
std::optional<Currency> offsetFromOptionIndex(int index);           // 0, 1, 2 → 0.5, 0.9, 0
std::optional<Currency> quantityDecimalsFromOptionIndex(int index); // 0, 1, 2 → 10, 100, 1000
std::optional<Currency> levelFromOptionIndex(int index); // 0..9 → 1 .. 1000000, 7, 8, 9
// The captions of the ten level options, in option index order ("1" .. "1000000", "有効2桁" ..).
inline constexpr int kLevelOptions = 10;
extern const std::array<const char*, kLevelOptions> kLevelOptionCaptions;
// The reverse: the option index a stored value selects, or nothing when it matches no option.
std::optional<int> optionIndexOfOffset(Currency offset);
std::optional<int> optionIndexOfQuantityDecimals(Currency decimals);
std::optional<int> optionIndexOfLevel(Currency level);

} // namespace kerbina

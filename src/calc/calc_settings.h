#pragma once

#include "calc/currency.h"

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

} // namespace kerbina

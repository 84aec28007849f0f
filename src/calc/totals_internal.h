#pragma once

#include "money/currency.h"
#include "records/document_state.h"

#include <string>

// Helpers shared by the sheet pass, the list pass and the panel figures.

namespace kerbina {

// The item whose sheet is open, or nullptr when the current sheet number names no item.
inline ItemRecord* currentItem(DocumentState& state) {
    const int n = state.currentSheetNumber;
    return n >= 1 && n <= state.itemMax() ? &state.items[static_cast<std::size_t>(n)] : nullptr;
}

// Statutory welfare cost (法定福利費), shared by the sheet pass and the list pass: the base times
// up to three rates in percent, always rounded half up. A third rate of 100 means none.

// Int(base × r1/100 × r2/100 × r3/100 + 0.5), exact.
Currency welfareAmount(Currency base, Currency rate1, Currency rate2, Currency rate3);
// wholeYenText(base) + "×" + r1 + "%×" + r2 + "%", then "×" + r3 + "%" unless r3 is 100.
std::string welfareFormula(Currency base, Currency rate1, Currency rate2, Currency rate3);

} // namespace kerbina

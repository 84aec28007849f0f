#pragma once

#include "money/currency.h"

#include <string>

namespace kerbina {

// The rounding primitives of every amount. "Int" in the rules is truncation toward zero of the
// exact value after the offset has been added: 0.5 rounds half up (四捨五入), 0.9 rounds up but
// drops fractions below 0.1 (切り上げ), 0 truncates (切り捨て).

// Int(price × quantity + offset)
Currency lineAmount(Currency price, Currency quantity, Currency offset);
// 0 when the rate is 0, else Int(base × rate ÷ 100 + offset)
Currency percentOf(Currency base, Currency ratePercent, Currency offset);
// Int(value ÷ u + offset) × u, u from a line level code (0..6 → 10^code, 7/8/9 significant
// digits, 10..1000000 that unit, anything else: unchanged)
Currency roundToLevel(Currency value, Currency levelCode, Currency offset);
// The same with a setting level (1..1000000 that unit, 7/8/9 significant digits, 0 read as 1)
Currency roundToSetting(Currency value, Currency level, Currency offset);
// Int(quantity × decimals) ÷ decimals for quantity decimals 10, 100, 1000; unchanged for any other
// setting.
Currency truncateToQuantityDecimals(Currency quantity, Currency quantityDecimals);
// The quantity the fixed format below shows (halves away from zero to 1, 2 or 3 decimals for
// quantity decimals 10, 100, 1000); unchanged for any other setting.
Currency roundQuantityAsShown(Currency quantity, Currency quantityDecimals);
// Int(f × 1000) ÷ 1000
Currency truncateLaborFactor(Currency factor);

// Whole yen with "," grouping and a leading "-" (1234567 → "1,234,567").
std::string wholeYenText(Currency value);
// "%7.1F", "%6.2F", "%5.3F" for quantity decimals 10, 100, 1000 (leading blanks kept); the empty
// text for any other setting. Computed in decimal, never through a floating-point value.
std::string fixedQuantityText(Currency quantity, Currency quantityDecimals);

} // namespace kerbina

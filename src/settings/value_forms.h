#pragma once

#include "money/currency.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// The value forms of the environment settings lines, in the settings file and in the notes of the
// numbering row alike. Readers return nothing for a value that leaves the control as it was.

// Check box: exactly "TRUE" or "FALSE"; any other value (lower case, blanks) is not a tick.
std::string_view checkText(bool ticked);
std::optional<bool> checkFromText(std::string_view value);

// Option group: the index in decimal. A value that is not a whole number counts as 0; a whole
// number that names no choice leaves the group as it was.
std::optional<int> optionFromText(std::string_view value, int choices);

// Tax rate: the shortest decimal (8, 8.5). Read as a number; a text that is none is ignored.
std::string taxRateText(Currency rate);
std::optional<Currency> taxRateFromText(std::string_view value);

// Tax rounding: stored as the offset of the choice ("0.5" 四捨五入, "0.9" 切り上げ, "0" 切り捨て)
// and compared as a number when read, so "0.50" selects 四捨五入 and "1" nothing.
std::string taxOffsetText(int index);
std::optional<int> taxOffsetIndexFromText(std::string_view value);

// Width and counter of the numbering row: decimal numbers, the empty text counting as 0, cut to
// the whole part; a text that is no number is ignored.
std::optional<std::int64_t> wholeNumberFromText(std::string_view value);

} // namespace kerbina

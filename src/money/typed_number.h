#pragma once

#include "money/currency.h"

#include <string_view>

namespace kerbina {

// Reads a number as a user types it into a field, a grid cell, a prompt or a spreadsheet: the
// full-width digits and signs an input method leaves read as their ASCII forms (asciiNumberText),
// and "," between digit groups is dropped; the rest as parseNumber, which raises
// NumberFormatError for anything else.
Currency parseTypedNumber(std::string_view text);

} // namespace kerbina

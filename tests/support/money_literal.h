#pragma once

#include "money/currency.h"

#include <string_view>

namespace kerbina {

// A money or quantity value written as a file writes it: c("1234.5"), c("-0.25").
inline Currency c(std::string_view text) {
    return parseNumber(text);
}

} // namespace kerbina

#pragma once

#include <chrono>

namespace kerbina {

// Today's date, for the commands that date what they make (a new quotation, a copy).
inline std::chrono::year_month_day today() {
    return std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
}

} // namespace kerbina

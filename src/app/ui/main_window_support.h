#pragma once

#include <QString>
#include <chrono>
#include <string>

namespace kerbina {

// Small conversions the main window's files share.

inline QString q(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::string s(const QString& text) {
    return text.toStdString();
}

inline std::chrono::year_month_day today() {
    return std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
}

} // namespace kerbina

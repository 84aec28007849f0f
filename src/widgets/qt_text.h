#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kerbina {

// The program keeps texts as UTF-8 std::string; the windows show QString. These are the one pair
// of conversions every window uses.

inline QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString q(const std::string& text) {
    return QString::fromStdString(text);
}

inline QString q(const char* text) {
    return QString::fromUtf8(text);
}

inline std::string s(const QString& text) {
    return text.toStdString();
}

} // namespace kerbina

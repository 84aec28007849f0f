#include "base/csv_text.h"

namespace kerbina {

std::string csvValue(std::string_view value) {
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(value);
    }
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string csvLine(const std::vector<std::string>& values) {
    std::string line;
    for (const std::string& value : values) {
        line += csvValue(value);
        line += ',';
    }
    return line;
}

} // namespace kerbina

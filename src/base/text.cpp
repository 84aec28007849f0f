#include "base/text.h"

#include <charconv>
#include <limits>
#include <string>
#include <tuple>

namespace kerbina {

namespace {

constexpr std::string_view kFullWidthSpace = "\u3000";

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string asciiNumberText(std::string_view text) {
    // The full-width forms U+FF0B..U+FF0E and U+FF10..U+FF19 are the bytes EF BC 8B..99; their
    // ASCII forms are 0x60 lower.
    constexpr std::string_view kFullWidthFormsLead = "\xEF\xBC";
    std::string ascii;
    ascii.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with(kFullWidthFormsLead) && rest.size() >= 3) {
            const auto last = static_cast<unsigned char>(rest[2]);
            if ((last >= 0x8B && last <= 0x8E) || (last >= 0x90 && last <= 0x99)) {
                ascii += static_cast<char>(last - 0x60);
                i += 3;
                continue;
            }
        }
        if (rest.starts_with(kFullWidthSpace)) {
            ascii += ' ';
            i += kFullWidthSpace.size();
            continue;
        }
        ascii += text[i];
        ++i;
    }
    return ascii;
}

std::string_view trimBlanksAndFullWidthSpaces(std::string_view text) {
    for (;;) {
        const std::string_view before = text;
        text = trimBlanks(text);
        while (text.starts_with(kFullWidthSpace)) {
            text.remove_prefix(kFullWidthSpace.size());
        }
        while (text.ends_with(kFullWidthSpace)) {
            text.remove_suffix(kFullWidthSpace.size());
        }
        if (text.size() == before.size()) {
            return text;
        }
    }
}

std::string_view trimTrailingBlanksAndFullWidthSpaces(std::string_view text) {
    for (;;) {
        if (!text.empty() && isBlank(text.back())) {
            text.remove_suffix(1);
        } else if (text.ends_with(kFullWidthSpace)) {
            text.remove_suffix(kFullWidthSpace.size());
        } else {
            return text;
        }
    }
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string asciiLowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = asciiLower(c);
    }
    return lowered;
}

std::optional<std::int64_t> parseInteger(std::string_view text, IntegerText form) {
    if (form == IntegerText::Lenient) {
        text = trimBlanks(text);
    } else if (form == IntegerText::SpacePadded) {
        const std::size_t first = text.find_first_not_of(' ');
        text = first == std::string_view::npos
                   ? std::string_view()
                   : text.substr(first, text.find_last_not_of(' ') - first + 1);
    }
    if (form != IntegerText::Exact && text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> parseInteger32(std::string_view text, IntegerText form) {
    const auto value = parseInteger(text, form);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*value);
}

std::vector<std::string_view> splitFields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t end = text.find(separator);
        fields.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return fields;
        }
        text.remove_prefix(end + 1);
    }
}

namespace {

// Appends the text without line breaks, and with every ";" as "；" when asked; copies runs of
// plain bytes at once, since whole quotation files pass through here.
void appendCleaned(std::string& out, std::string_view text, bool escapeSeparator) {
    std::size_t run = 0; // start of the bytes not yet appended
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n' || (c == ';' && escapeSeparator)) {
            out.append(text.data() + run, i - run);
            if (c == ';') {
                out += "；";
            }
            run = i + 1;
        }
    }
    out.append(text.data() + run, text.size() - run);
}

} // namespace

void appendAsSeparatedField(std::string& out, std::string_view text) {
    appendCleaned(out, text, true);
}

std::string asSeparatedField(std::string_view text) {
    std::string field;
    field.reserve(text.size());
    appendAsSeparatedField(field, text);
    return field;
}

void appendWithoutLineBreaks(std::string& out, std::string_view text) {
    appendCleaned(out, text, false);
}

std::string withoutLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    appendWithoutLineBreaks(result, text);
    return result;
}

std::string withoutCommas(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        if (c != ',') {
            kept += c;
        }
    }
    return kept;
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string onOneLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            line += ' ';
        } else if (c != '\r') {
            line += c;
        }
    }
    return line;
}

std::span<const JapaneseEra> japaneseEras() {
    static constexpr JapaneseEra kEras[] = {{"明治", 1868, 1, 1},
                                            {"大正", 1912, 7, 30},
                                            {"昭和", 1926, 12, 25},
                                            {"平成", 1989, 1, 8},
                                            {"令和", 2019, 5, 1}};
    return kEras;
}

std::optional<EraYear> eraYearOf(int year, int month, int day) {
    const std::span<const JapaneseEra> eras = japaneseEras();
    for (std::size_t era = eras.size(); era-- > 0;) {
        const JapaneseEra& first = eras[era];
        if (std::tie(year, month, day) >= std::tie(first.year, first.month, first.day)) {
            return EraYear{era, year - first.year + 1};
        }
    }
    return std::nullopt;
}

int westernYearOf(const EraYear& eraYear) {
    return japaneseEras()[eraYear.era].year + eraYear.year - 1;
}

std::string japaneseEraDateText(int year, int month, int day) {
    const std::string monthDay = std::to_string(month) + "月" + std::to_string(day) + "日";
    const std::optional<EraYear> eraYear = eraYearOf(year, month, day);
    if (!eraYear) {
        return std::to_string(year) + "年" + monthDay;
    }
    return std::string(japaneseEras()[eraYear->era].name) +
           (eraYear->year == 1 ? "元" : std::to_string(eraYear->year)) + "年" + monthDay;
}

} // namespace kerbina

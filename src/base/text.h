#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// Small text rules that the file formats share, each written once. They work on bytes and ASCII
// only and never consult the C locale (which Qt sets for the windows), so they give the same
// result in the program, the command-line tool and the tests.

// Blanks are the bytes up to and including the space: spaces, tabs, line breaks and other control
// characters.
bool isBlank(char c);
// The text without blanks at either end.
std::string_view trimBlanks(std::string_view text);
// The text without blanks and full-width spaces (U+3000) at either end.
std::string_view trimBlanksAndFullWidthSpaces(std::string_view text);
// The text without blanks and full-width spaces at its end, as typed after a name.
std::string_view trimTrailingBlanksAndFullWidthSpaces(std::string_view text);

// ASCII letters compared without regard to case (file names written for a system that ignores
// case); every other byte must be equal.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
// The text with ASCII capital letters made small.
std::string asciiLowered(std::string_view text);

// A number as an input method in full-width mode leaves it: the full-width digits ０-９ and the
// signs ＋, －, ．, ， become their ASCII forms and full-width spaces become blanks; every other
// character is kept as it is.
std::string asciiNumberText(std::string_view text);

// How a whole number may be written.
enum class IntegerText {
    Exact,   // decimal digits with an optional "-", nothing else
    Lenient, // blanks around it and one leading "+" are allowed as well
    // Spaces (no other blanks) around it and one leading "+": the integer fields of the 22-field
    // line texts.
    SpacePadded,
};
// The whole number the whole text holds; nothing when it holds anything else or is out of range.
std::optional<std::int64_t> parseInteger(std::string_view text,
                                         IntegerText form = IntegerText::Exact);
// The same within the 32-bit range.
std::optional<std::int32_t> parseInteger32(std::string_view text,
                                           IntegerText form = IntegerText::Exact);

// The fields of a line separated by `separator`; n separators give n + 1 fields (the empty text
// gives one empty field).
std::vector<std::string_view> splitFields(std::string_view text, char separator);

// A text field of a ";"-separated line: a ";" of its own would split it on reading and shift the
// fields after it, so it becomes the full-width "；"; line breaks are dropped, since a line break
// would end the line.
std::string asSeparatedField(std::string_view text);
// The same, appended to `out` (the line writers build long texts field by field).
void appendAsSeparatedField(std::string& out, std::string_view text);
// The text without CR and LF: a value that must stay on its line.
std::string withoutLineBreaks(std::string_view text);
void appendWithoutLineBreaks(std::string& out, std::string_view text);

// The text without ",": a value in a comma-separated line that is not quoted.
std::string withoutCommas(std::string_view text);
// The text as a JSON string: in double quotes, with '"', '\\' and the control characters escaped
// ("\n", "\r", "\t", the others as "\u00XX"); every other byte is kept, so UTF-8 passes whole.
std::string jsonString(std::string_view text);

// A message on one line, for a console: each LF becomes a blank, CRs go.
std::string onOneLine(std::string_view text);

// An era of the Japanese calendar and its first day in the Western calendar.
struct JapaneseEra {
    std::string_view name;
    int year;
    int month;
    int day;
};
// The eras from 明治 on, oldest first.
std::span<const JapaneseEra> japaneseEras();
// The era in force on a date (its index in japaneseEras()) and the year within it, counted from 1.
struct EraYear {
    std::size_t era;
    int year;
    friend bool operator==(const EraYear&, const EraYear&) = default;
};
// Nothing for a date before the first era.
std::optional<EraYear> eraYearOf(int year, int month, int day);
// The Western year of a year within an era.
int westernYearOf(const EraYear& eraYear);

// A date in the era in force on it, as printed on documents and shown on screen:
// "令和8年12月10日", the first year as "元年" ("令和元年5月1日"). Dates before 明治 keep the
// Western year.
std::string japaneseEraDateText(int year, int month, int day);

} // namespace kerbina

#pragma once

#include "money/currency.h"
#include "records/kinds.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The files behind the expense dialog, in dataRoot + "/data": the sixteen name buttons
// ("KEIHI_name.DAT") and the seven expense patterns ("keihi_01.dat" .. "keihi_07.dat"). Each file
// is found whatever the letter case of its name on disk and written back under the name found;
// a missing file is created under the name given here.

inline constexpr int kExpenseNameButtons = 16;
inline constexpr int kExpensePatterns = 7;
// Rows of the pattern editor; it always writes this many lines.
inline constexpr int kExpensePatternRows = 10;

// A name button: its caption (the expense name it enters) and the target index it stores, as
// the file holds it (applying it keeps it to 0..3, see expenses.h).
struct ExpenseNameButton {
    std::string caption;
    int storedTarget = 0;

    friend bool operator==(const ExpenseNameButton&, const ExpenseNameButton&) = default;
};
using ExpenseNameButtons = std::array<ExpenseNameButton, kExpenseNameButtons>;

// One line of a pattern: an expense the pattern writes. The rates keep their decimals.
struct ExpensePatternLine {
    std::string name;
    std::string shortName; // the pattern button's caption part; empty: not shown
    std::string unit = "式";
    Currency netRate;       // percent
    Currency submittedRate; // percent; a line with 0 is not written
    LineKind kind = LineKind::ExpenseOnTotal;

    friend bool operator==(const ExpensePatternLine&, const ExpensePatternLine&) = default;
};

std::filesystem::path expenseNamesFile(const std::filesystem::path& dataRoot);
// Pattern 1..7.
std::filesystem::path expensePatternFile(const std::filesystem::path& dataRoot, int pattern);

// The buttons as they stand before any file: 消耗品雑材料, 運搬交通費, 現場管理費, 現場調査費,
// then "諸 経 費"; button n stores target n − 1.
ExpenseNameButtons defaultExpenseNames();
// The defaults overlaid by the names file: line n ("caption;target;") sets button n, a target
// that is not a whole number reads as 0, lines after the sixteenth are ignored.
ExpenseNameButtons readExpenseNames(const std::filesystem::path& dataRoot);
void writeExpenseNames(const std::filesystem::path& dataRoot, const ExpenseNameButtons& buttons);

// The lines of a pattern file; nothing when the file does not exist. A rate that is not a number
// reads as 0, a kind outside 81..84 as 81.
std::optional<std::vector<ExpensePatternLine>>
readExpensePattern(const std::filesystem::path& dataRoot, int pattern);
// Writes the rows as the pattern's lines, one line per row, replacing the file. A rate of 0 is
// written as the empty text.
void writeExpensePattern(const std::filesystem::path& dataRoot, int pattern,
                         const std::vector<ExpensePatternLine>& rows);
// A rate as the pattern files and their editor show it: the empty text for 0, else the shortest
// decimal text (2.5 stays 2.5).
std::string patternRateText(Currency rate);
// An editor row left empty: no texts, unit "式", rates 0, kind 81.
ExpensePatternLine emptyPatternRow();

// The caption of a pattern button: short name + "(" + submitted rate + "%) " for every line that
// has a short name; empty for a missing pattern.
std::string patternButtonCaption(const std::optional<std::vector<ExpensePatternLine>>& lines);

// Texts stored in these files may not hold a ";", which would split their line: the refusal
// message when `text` holds one.
std::optional<std::string> separatorRefusal(std::string_view text);

} // namespace kerbina

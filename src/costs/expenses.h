#pragma once

#include "costs/expense_files.h"
#include "grid/line_message.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kerbina {

// Expenses (諸経費): percentage charges on the running total of a sheet (expense lines) or of the
// breakdown list (expense items), kinds 81..84. The expense dialog only collects an
// `ExpenseEntry`; everything it decides is here. No amount is computed here: the lines and items
// carry rates, a kind and a rounding code, and the totals passes compute the amounts.

// The four calculation targets ("計算対象"); target index t gives kind 81 + t.
inline constexpr int kExpenseTargets = 4;
extern const std::array<const char*, kExpenseTargets> kExpenseTargetCaptions;
// The rounding choices ("計算後の有効桁") are the level options of the calculation settings
// (kLevelOptionCaptions); the index is the line level code of the rounding.
// The rate buttons, in percent, in the order they are laid out (four columns of five).
extern const std::array<int, 20> kExpenseRateButtons;

enum class ExpenseUnit { Percent, Lump }; // "％", "式"

// What the dialog holds when "計　算" is clicked.
struct ExpenseEntry {
    std::string name;              // the last name button's caption, 40 bytes
    std::string netRateText;       // "原   価", percent
    std::string submittedRateText; // "提  出", percent
    ExpenseUnit unit = ExpenseUnit::Lump;
    int targetIndex = 0;   // 0..3
    int roundingIndex = 0; // 0..9
};

// The rounding choice is open to the targets whose kinds round each expense by its own code (81,
// 82); the others round with the running total, and the choice keeps its value unused.
bool roundingChoiceEnabled(int targetIndex);
// A name button's stored target as a target index: above 3 selects 3, below 0 selects 0.
int targetIndexOfStored(int storedTarget);

// A name button clicked: its caption (cut to 40 bytes) becomes the expense name and its stored
// target the target.
void chooseNameButton(ExpenseEntry& entry, const ExpenseNameButton& button);
// A rate button clicked: both rates become `percent`.
void chooseRate(ExpenseEntry& entry, int percent);
// A name button renamed (right click): the caption and the current target are stored in button
// `index` (0-based). Nothing changes and the refusal is returned when the caption holds a ";".
std::optional<std::string> renameNameButton(ExpenseNameButtons& buttons, int index,
                                            const std::string& caption, int targetIndex);
// The notice after a rename: "計算対象:" + the target's caption, then "として登録しました。".
std::string registrationNotice(int targetIndex);

// Why "計　算" writes nothing: an empty rate ("掛け率が入力されていません。") or a rate that is no
// number; nothing when the entry may be written.
std::optional<std::string> expenseEntryRefusal(const ExpenseEntry& entry);

// The expense line of a sheet: the rates in the quantities, no prices, kind 81 + target, group
// code 99993 + target, the rounding code in the hidden flag. The entry must not be refused.
LineMessage expenseLineMessage(const ExpenseEntry& entry);
// The expense item of the breakdown list: the rates, the rounding code and the unit code (1 "％",
// 2 "式") in the four setting fields. The entry must not be refused.
ItemMessage expenseItemMessage(const ExpenseEntry& entry);

// "計　算" on a sheet: the expense line over the selection's last row (appended past the last
// line); the selection moves one row down. A refused entry, or a row inside an amount-hidden range
// sum (checked at every write, since the selection moves on), is told and nothing changes.
CommandResult writeExpenseLine(GridContext& context, Selection selection,
                               const ExpenseEntry& entry);

// Why the breakdown list may not take an expense at `row`: row 1 ("先頭行に諸経費を入れる事は
// できません。"), or an item there holding data ("すでに積算データが存在しますので経費には
// できません"). An item holds data when it is not a reduction (91) or an expense (81..84) and has
// totals or its sheet holds lines. Nothing when the row may take it.
std::optional<std::string> listExpenseRefusal(const DocumentState& state,
                                              const std::filesystem::path& workFolder, int row);

// "計　算" on the breakdown list: the row is the selection's last; the placement is checked again
// (every write, not only the first), then the item snapshot, the expense item (items are created
// up to the row; the rounding code goes to the rounding offset as well), the list pass and the
// list written; the selection moves one row down. A refusal is told and nothing changes.
CommandResult writeExpenseItem(GridContext& context, Selection selection,
                               const ExpenseEntry& entry);

// The line messages of a pattern: one "WM_MULTIWRITE" line per pattern line with a submitted rate
// (group code 99994), then the closing sum line "【合　　計】" (kind 99, group code 99993), which
// comes even when every line was skipped.
std::vector<LineMessage> patternLineMessages(const std::vector<ExpensePatternLine>& lines);
// A pattern clicked on a sheet: its messages written one after the other from the selection's
// last row down, each overwriting the line there. Nothing happens when the pattern file is
// missing (`lines` is nothing), and nothing is written when any of those rows lies inside an
// amount-hidden range sum (told).
CommandResult writeExpensePatternLines(GridContext& context, Selection selection,
                                       const std::optional<std::vector<ExpensePatternLine>>& lines);

// A row of the pattern editor as typed: texts, rates as texts (empty for 0), the target index.
struct PatternRowEntry {
    std::string name;
    std::string shortName;
    std::string unit = "式";
    std::string netRateText;
    std::string submittedRateText;
    int targetIndex = 0;

    friend bool operator==(const PatternRowEntry&, const PatternRowEntry&) = default;
};
// A pattern line as the editor shows it (a rate of 0 as the empty text, decimals kept).
PatternRowEntry patternRowEntry(const ExpensePatternLine& line);
// The lines "登　録" writes, or why it writes nothing: a ";" in a text, a rate that is no number.
std::variant<std::vector<ExpensePatternLine>, std::string>
patternLinesOf(const std::vector<PatternRowEntry>& rows);

// The "諸経費" command on a sheet: whether the dialog may open (the selection's last row is not
// inside an amount-hidden range sum; the refusal is told).
bool sheetExpensesAllowed(GridContext& context, Selection selection);

} // namespace kerbina

#pragma once

#include "grid/line_message.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// What the line data-entry dialog holds for one line, and the rules that turn it into a line
// message. The dialog only collects these values and shows the refusals.
struct LineEntry {
    std::string name;
    std::string specification;
    std::string unit;
    Currency netQuantity;
    Currency netPrice;
    Currency netAdditionalPrice;
    Currency submittedQuantity;
    Currency submittedPrice;
    Currency submittedAdditionalPrice;
    Currency laborFactor;
    std::string note;
    int flagChoice = 0;      // "FLAG", 0..8 (see flagChoiceToKind)
    int priceKindChoice = 0; // "単価種別": 0 通常, 1 労務費
    std::string amountText;  // "金額欄摘要文字列"
    // What the line being edited keeps: its kind (a calculated, expense, sum or tax line keeps
    // it), its 非掲載 mark or rounding code, its price code. A new line has none of them.
    std::optional<LineKind> editedKind;
    int hiddenFlag = 0;
    std::string priceCode;

    friend bool operator==(const LineEntry&, const LineEntry&) = default;
};

// Fills an entry from a line of the sheet (name and specification split at the first ";").
LineEntry entryFromLine(const LineRecord& line);

// The fields of a price chosen in a catalogue editor, handed over as its price record
// "[code];name;specification;unit;net price;submitted price;net quantity;submitted quantity;
// net additional price;submitted additional price;labour factor;FLAG choice;amount text;".
// Nothing for a text that is no price record; numbers that are none read as 0.
std::optional<LineEntry> entryFromPriceRecord(std::string_view record);

// The FLAG choice the entry's numbers call for: a quantity with a fraction moves a whole-number
// choice to its decimal twin (0→1, 2→3, 4→5, 7→8); a line with only a name (no submitted
// quantity, prices, labour factor or unit) becomes a comment (6); a line with a unit price cannot
// be an amount-text line (4→0, 5→1, 6→0).
int correctedFlagChoice(const LineEntry& entry);

struct EntryOutcome {
    std::optional<LineMessage> message; // the line to write
    std::string refusal;                // why nothing is written (a message for the user)
};

// The dialog's write step: checks the entry and builds the line message for group code
// `groupCode` on sheet `sheetNumber`. Refused: a ";" in any text
// ("名称、仕様に\";\"は使用できません。"), a negative quantity or unit price
// ("減額機能を使用し、－抜きで入力して下さい。").
EntryOutcome lineMessageFromEntry(const LineEntry& entry, Currency groupCode, int sheetNumber);

// The group code of the data-entry dialog's write buttons: "積算転記" and Enter write group 1
// (11999), the six group buttons 11999, 14999, ..., 26999.
Currency groupCodeOfButton(int group);

// A sum, range or sum-line line's name ("名称を入力してください"): nameSpec becomes the name + ";",
// through the edit cycle.
CommandResult renameLine(GridContext& context, int row, const std::string& name);

// The reply of the registered-text selection dialog in comment mode ("特記事項"): a comment line
// with quantity 1 ("数量1", kind 15) or none ("数量なし", kind 30, no unit), group code 99999.
enum class CommentQuantity { One, None };
LineMessage commentLineMessage(const std::string& text, const std::string& unit,
                               CommentQuantity quantity, const std::string& amountText);

// A history list with the newest first (the units of the data-entry dialog, the amount texts of
// the selection dialog): a written text moves to (or is put at) the top; at most 20 entries.
void rememberAtTop(std::vector<std::string>& texts, const std::string& text);

} // namespace kerbina

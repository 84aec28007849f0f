#pragma once

#include "grid/grid_commands.h"
#include "records/kinds.h"

#include <functional>
#include <string>
#include <string_view>

namespace kerbina {

// The line message: the one form in which every producer of lines (the data-entry and selection
// dialogs, the price catalogue, the expense and welfare dialogs, the companion programs) hands a
// line to the current sheet. Inside the program it travels as this struct; only the companion
// programs see its text form, 22 fields separated by ";".
struct LineMessage {
    std::string messageName = "WM_DATAWRITE";
    std::string name;
    std::string specification;
    std::string unit;
    Currency netPrice;
    Currency submittedPrice;
    Currency netAdditionalPrice;
    Currency submittedAdditionalPrice;
    Currency netQuantity;
    Currency submittedQuantity;
    Currency netAmount;
    Currency submittedAmount;
    LineKind kind;
    Currency groupCode; // the line's sortCode (data group)
    std::string note;
    int flag216 = 0;
    Currency laborFactor;
    int mark = 0;
    int hiddenFlag = 0;
    Currency priceKind;
    std::string amountText;
    std::string priceCode;

    friend bool operator==(const LineMessage&, const LineMessage&) = default;
};

// The text form. Reading: missing fields are empty, empty or unreadable numbers 0, integer fields
// that are not whole numbers 0.
LineMessage parseLineMessage(std::string_view text);
std::string lineMessageText(const LineMessage& message);

// Sets a line's fields from a message, texts cut to their widths. An appended line gets no
// amounts and a nameSpec of name ";" specification ";"; an overwritten one takes the message's
// amounts and name ";" specification.
void applyLineMessage(LineRecord& line, const LineMessage& message, bool appended);

// Where writeLineFromMessage puts the line: over the selection's last row (or appended after the
// last line), or into empty lines inserted first at the selection's first row.
enum class LineWriteMode { Overwrite, InsertFirst };
// Whether the sheet is written to its work files afterwards (some companion messages write
// several lines and save once).
enum class AfterWrite { Save, KeepInMemory };

// Writes one line of the current sheet from a message, through the edit cycle (snapshot, change,
// totals, write). A row past the last line appends (empty lines fill the gap); the appended line
// gets no amounts and a nameSpec of name ";" specification ";". An existing row is overwritten,
// its amounts taken from the message and its nameSpec name ";" specification. Texts are cut to
// their field widths. The selection moves to the row below. Nothing happens on the breakdown
// list.
CommandResult writeLineFromMessage(GridContext& context, Selection selection,
                                   const LineMessage& message, LineWriteMode mode,
                                   AfterWrite afterWrite, bool listMode);

// The item message: how the expense and welfare dialogs hand an item to the breakdown list. Its
// text form has 10 fields separated by ";": the message name, kind, name, note, submitted total,
// net total and the four setting fields at offsets 144, 152, 160 and 168 of the item, whose
// meaning depends on the kind (records/item_settings.h).
struct ItemMessage {
    std::string messageName = "WM_KEIHIWRITE";
    ItemKind kind;
    std::string name;
    std::string note;
    Currency submittedTotal;
    Currency netTotal;
    Currency setting144;
    Currency setting152;
    Currency setting160;
    Currency setting168;

    friend bool operator==(const ItemMessage&, const ItemMessage&) = default;
};

// The text form; reading follows the line message's rules.
ItemMessage parseItemMessage(std::string_view text);
std::string itemMessageText(const ItemMessage& message);

// Writes breakdown item `row` from a message: empty work items are appended until the row exists,
// then the item's kind, name (cut to 100 bytes), note (40 bytes), totals and the four setting
// fields are set; its other fields keep their values. `completeItem`, when given, sets the fields
// the message does not carry. Then the list pass runs and the items are written ("HEAD.WRK").
// The selection stays on the row; the caller takes the item snapshot first.
CommandResult writeItemFromMessage(GridContext& context, int row, const ItemMessage& message,
                                   const std::function<void(ItemRecord&)>& completeItem = {});

} // namespace kerbina

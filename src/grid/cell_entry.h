#pragma once

#include "grid/grid_cells.h"
#include "grid/line_entry.h"

#include <optional>
#include <string>

namespace kerbina {

// Typing in the grid, as in a spreadsheet: the 名称, 仕様, 数量, 単位, 単価 and 備考 cells of an
// ordinary line (or of an empty row, which becomes a new line) take the typed text, and the line
// goes through the same line message and writeLineFromMessage as from the data-entry dialog.

enum class CellField { Name, Specification, Quantity, Unit, Price, Note };

// The field a grid column edits in the layout in front; nothing for other columns, on the
// breakdown list and in the additional-price view (its price column is not a unit price).
std::optional<CellField> cellFieldOf(const DocumentState& state, const DisplayOptions& options,
                                     int column);
// Whether the cell at grid row `row` (1-based) may be typed in: an editable column of an
// ordinary line (the kinds of the data-entry dialog's FLAG choices), an empty line or a row past
// the last line.
bool isCellEditable(const DocumentState& state, const DisplayOptions& options, int row, int column);
// Whether a printable key, Shift or not, typed with this cell current starts editing it with that
// character: an editable 名称, 仕様, 単位 or 備考 cell. Elsewhere (the row number column, number
// columns, lines kept for their own editors) the Shift+letter row commands take the key.
bool isTextCell(const DocumentState& state, const DisplayOptions& options, int row, int column);
// The text an editor of the cell starts with: the value itself, not its display form.
std::string cellEditText(const DocumentState& state, const DisplayOptions& options, int row,
                         int column);
// One figure typed for a quantity or a unit price (a grid cell, a pasted spreadsheet cell): a new
// line takes it on both sides; on a line being edited a quantity goes to both sides while they
// agree and otherwise, like a price, to the side shown (`netView`).
void enterTypedQuantity(LineEntry& entry, Currency value, bool isNew, bool netView);
void enterTypedPrice(LineEntry& entry, Currency value, bool isNew, bool netView);
// The line the cell's new text makes, as a line message for writeLineFromMessage, or the reason it
// is refused. A quantity applies to both sides when they were the same (or the line is new), a
// price to both sides on a new line and else to the side shown.
EntryOutcome typedCellEntry(const DocumentState& state, const DisplayOptions& options, int row,
                            int column, const std::string& text);

} // namespace kerbina

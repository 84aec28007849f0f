#pragma once

#include "grid/grid_cells.h"
#include "grid/grid_commands.h"
#include "grid/line_message.h"

#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// Rows exchanged with spreadsheets through the system clipboard as tab-separated text.

// Whether clipboard text is spreadsheet rows (it holds a tab) rather than lines of text.
bool isSpreadsheetText(std::string_view text);

// The lines of tab-separated rows: 名称, 仕様, 数量, 単位, 単価 in that order (further columns are
// ignored), each an ordinary priced line with the same net and submitted quantity and price, a
// comment when it has neither. A first row whose quantity and price cells are not numbers is a
// header and is skipped; so are empty rows. A ";" in a text becomes "；".
std::vector<LineMessage> linesFromSpreadsheet(std::string_view text, int sheetNumber);

// Inserts the rows' lines at the selection's first row as one change (one undo step).
CommandResult pasteSpreadsheetRows(GridContext& context, Selection selection,
                                   std::string_view text);

// The selected lines in the program's own 22-field form, one per line ending in CR LF: what a paste
// takes back whole.
std::string lineCopyText(const DocumentState& state, Selection selection);

// The selected lines as the grid shows them (every column, amounts included), one tab-separated
// row each, lines ending in CR LF, so that they paste into a spreadsheet as a table.
std::string spreadsheetText(const DocumentState& state, const DisplayOptions& options,
                            Selection selection);

} // namespace kerbina

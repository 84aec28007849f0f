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

// A cell of pasted rows that should hold a number and does not (row from 1, header included).
struct SpreadsheetCell {
    int row = 0;
    std::string column; // "数量", "単価", "歩掛"
    std::string text;

    friend bool operator==(const SpreadsheetCell&, const SpreadsheetCell&) = default;
};

// Pasted rows as lines, and what in them could not be read.
struct SpreadsheetLines {
    std::vector<LineMessage> lines;
    std::vector<std::string> notReadColumns;   // header texts of columns that are not read
    std::vector<SpreadsheetCell> notReadCells; // read as 0
    std::vector<int> negativeRows;             // their quantity, price and labour factor read as 0
};

// The lines of tab-separated rows, each an ordinary priced line with the same net and submitted
// quantity and price (a comment when it has neither); empty rows are skipped and a ";" in a text
// becomes "；". The columns are found in this order:
// - a first row that holds header words (at least two, or nothing else) is a header, and the
//   columns are read by their header names (the grid's own headers or the plain 名称, 品名, 仕様,
//   型番, 歩掛, 単位, 数量, 単価, 備考); columns it does not name are not read;
// - rows in the grid's own column order (the copy text of spreadsheetText, recognised by its GR
//   column) are read in that order, the GR letter giving the data group back;
// - otherwise 名称, 仕様, 数量, 単位, 単価 (further columns are ignored).
SpreadsheetLines linesFromSpreadsheet(std::string_view text, int sheetNumber);

// What could not be read, one line each, for the user; empty when everything was read.
std::string notReadReport(const SpreadsheetLines& read);

// Inserts the rows' lines at the selection's first row as one change (one undo step), and says
// what could not be read.
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

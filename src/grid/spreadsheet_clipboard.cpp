#include "grid/spreadsheet_clipboard.h"

#include "base/text.h"
#include "grid/line_entry.h"
#include "grid/row_commands.h"
#include "records/line_text.h"

#include <algorithm>
#include <optional>

namespace kerbina {

namespace {

// Spreadsheets quote a cell that holds a line break or a quote; the quotes are not part of it.
std::string cellValue(std::string_view cell) {
    cell = trimBlanks(cell);
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
        std::string unquoted;
        for (std::size_t i = 1; i + 1 < cell.size(); ++i) {
            unquoted += cell[i];
            if (cell[i] == '"' && cell[i + 1] == '"') {
                ++i;
            }
        }
        return unquoted;
    }
    return std::string(cell);
}

// A spreadsheet's number: digits with "," groups allowed; empty is 0.
std::optional<Currency> cellNumber(const std::string& cell) {
    std::string digits;
    for (const char c : cell) {
        if (c != ',') {
            digits += c;
        }
    }
    try {
        return parseNumber(digits);
    } catch (const NumberFormatError&) {
        return std::nullopt;
    }
}

std::vector<std::string_view> rowsOf(std::string_view text) {
    std::vector<std::string_view> rows;
    for (std::string_view row : splitFields(text, '\n')) {
        if (!row.empty() && row.back() == '\r') {
            row.remove_suffix(1);
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace

bool isSpreadsheetText(std::string_view text) {
    return text.find('\t') != std::string_view::npos;
}

std::vector<LineMessage> linesFromSpreadsheet(std::string_view text, int sheetNumber) {
    std::vector<LineMessage> lines;
    bool first = true;
    for (const std::string_view row : rowsOf(text)) {
        std::vector<std::string_view> cells = splitFields(row, '\t');
        cells.resize(std::max<std::size_t>(cells.size(), 5));
        const std::string name = cellValue(cells[0]);
        const std::string specification = cellValue(cells[1]);
        const std::string unit = cellValue(cells[3]);
        const auto quantity = cellNumber(cellValue(cells[2]));
        const auto price = cellNumber(cellValue(cells[4]));
        const bool header = first && (!quantity || !price);
        first = false;
        if (header || trimBlanks(row).empty()) {
            continue;
        }
        LineEntry entry;
        entry.name = asSeparatedField(name);
        entry.specification = asSeparatedField(specification);
        entry.unit = asSeparatedField(unit);
        entry.netQuantity = entry.submittedQuantity = quantity.value_or(Currency());
        entry.netPrice = entry.submittedPrice = price.value_or(Currency());
        // Reductions are typed as reductions, not as negative numbers.
        if (entry.netQuantity < Currency() || entry.netPrice < Currency()) {
            entry.netQuantity = entry.submittedQuantity = Currency();
            entry.netPrice = entry.submittedPrice = Currency();
        }
        if (const auto message =
                lineMessageFromEntry(entry, groupCodeOfButton(1), sheetNumber).message) {
            lines.push_back(*message);
        }
    }
    return lines;
}

CommandResult pasteSpreadsheetRows(GridContext& context, Selection selection,
                                   std::string_view text) {
    CommandResult result;
    result.selection = selection;
    const std::vector<LineMessage> lines =
        linesFromSpreadsheet(text, context.state.currentSheetNumber);
    if (lines.empty()) {
        return result;
    }
    DocumentState& state = context.state;
    context.cycle.takeSheetSnapshot();
    int row = std::clamp(selection.top, 1, state.lineCount() + 1);
    const int first = row;
    for (const LineMessage& message : lines) {
        insertEmptyLine(state.sheet, row, RangeJoin::JoinRangeAbove);
        applyLineMessage(state.sheet[static_cast<std::size_t>(row)], message, true);
        ++row;
    }
    context.cycle.recalculate(false);
    context.cycle.writeSheet();
    result.changed = true;
    result.selection = Selection{first, row - 1};
    return result;
}

std::string lineCopyText(const DocumentState& state, Selection selection) {
    std::string text;
    for (int row = std::max(selection.top, 1); row <= std::min(selection.bottom, state.lineCount());
         ++row) {
        text += lineToText(state.currentSheetNumber, state.sheet[static_cast<std::size_t>(row)],
                           state.settings.quantityDecimals);
        text += "\r\n";
    }
    return text;
}

std::string spreadsheetText(const DocumentState& state, const DisplayOptions& options,
                            Selection selection) {
    const int columns = columnCount(state, options);
    std::string text;
    const int last = std::min(selection.bottom, state.lineCount());
    for (int row = std::max(selection.top, 1); row <= last; ++row) {
        // Column 0 is the row number, which a spreadsheet has of its own.
        for (int column = 1; column < columns; ++column) {
            if (column > 1) {
                text += '\t';
            }
            text += cellText(state, options, row, column);
        }
        text += "\r\n";
    }
    return text;
}

} // namespace kerbina

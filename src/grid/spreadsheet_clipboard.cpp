#include "grid/spreadsheet_clipboard.h"

#include "base/text.h"
#include "grid/cell_entry.h"
#include "grid/line_entry.h"
#include "grid/row_commands.h"
#include "money/typed_number.h"
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

// What a column of pasted rows holds.
enum class Column {
    Name,
    Specification,
    LaborFactor,
    Group,
    Unit,
    Quantity,
    Price,
    Note,
    Computed, // the row number and the amount: worked out again, never read
    Unknown,
};

// The words of a header row, compared without blanks and full-width spaces: the grid's own
// headers and the plain words a spreadsheet user writes. The combined layout's 名称＆仕様 column is
// read as the name: where the name ends in it cannot be told.
struct HeaderWord {
    std::string_view word;
    Column column;
};
constexpr HeaderWord kHeaderWords[] = {
    {"No", Column::Computed},         {"名称＆仕様", Column::Name},
    {"名称＆品名", Column::Name},     {"名称", Column::Name},
    {"品名", Column::Name},           {"仕様＆型番", Column::Specification},
    {"仕様", Column::Specification},  {"型番", Column::Specification},
    {"歩掛", Column::LaborFactor},    {"GR", Column::Group},
    {"単位", Column::Unit},           {"数量", Column::Quantity},
    {"単価", Column::Price},          {"金額", Column::Computed},
    {"金額[提出]", Column::Computed}, {"金額[仕切]", Column::Computed},
    {"備考", Column::Note},
};

// The program's own copy text (spreadsheetText) has no header: its columns are those of the grid
// without the row number.
constexpr Column kSeparatedColumns[] = {
    Column::Name,     Column::Specification, Column::LaborFactor, Column::Group, Column::Unit,
    Column::Quantity, Column::Price,         Column::Computed,    Column::Note,
};
constexpr Column kCombinedColumns[] = {
    Column::Name,     Column::LaborFactor, Column::Group,    Column::Unit,
    Column::Quantity, Column::Price,       Column::Computed, Column::Note,
};
// Rows typed in a spreadsheet without a header.
constexpr Column kPlainColumns[] = {Column::Name, Column::Specification, Column::Quantity,
                                    Column::Unit, Column::Price};

std::string withoutSpaces(std::string_view text) {
    std::string compact = asciiNumberText(text);
    std::erase_if(compact, isBlank);
    return compact;
}

std::optional<Column> headerColumn(std::string_view cell) {
    const std::string word = withoutSpaces(cellValue(cell));
    for (const HeaderWord& header : kHeaderWords) {
        if (word == header.word) {
            return header.column;
        }
    }
    return std::nullopt;
}

// A first row is a header when it holds at least two header words, or nothing but header words.
bool isHeaderRow(const std::vector<std::string_view>& cells) {
    int words = 0;
    int others = 0;
    for (const std::string_view cell : cells) {
        if (headerColumn(cell)) {
            ++words;
        } else if (!trimBlanks(cell).empty()) {
            ++others;
        }
    }
    return words >= 2 || (words == 1 && others == 0);
}

// The data group of the grid's GR text ("A".."F"; "a".."f" outside the expense base; "労" in
// front for labour): 1..6, or nothing.
std::optional<int> groupOfText(std::string_view text) {
    constexpr std::string_view kLabour = "労";
    if (text.starts_with(kLabour)) {
        text.remove_prefix(kLabour.size());
    }
    if (text.size() == 1 &&
        ((text[0] >= 'A' && text[0] <= 'F') || (text[0] >= 'a' && text[0] <= 'f'))) {
        return (text[0] & ~0x20) - 'A' + 1;
    }
    return std::nullopt;
}

bool isGroupText(std::string_view text) {
    return groupOfText(text) || text == "+" || text == "税" || text == "=" || text == "福利" ||
           text == "\\" || text == "¥" || text == "拾";
}

// Whether every row of `width` or more cells has a grid GR text at `groupColumn`: the program's
// own copy text, come back from a spreadsheet without its header.
bool isOwnCopyText(const std::vector<std::vector<std::string_view>>& rows, std::size_t width,
                   std::size_t groupColumn) {
    bool any = false;
    for (const auto& cells : rows) {
        if (cells.size() == 1 && trimBlanks(cells[0]).empty()) {
            continue;
        }
        if (cells.size() < width || !isGroupText(cellValue(cells[groupColumn]))) {
            return false;
        }
        any = true;
    }
    return any;
}

std::string_view columnName(Column column) {
    switch (column) {
    case Column::LaborFactor:
        return "歩掛";
    case Column::Quantity:
        return "数量";
    case Column::Price:
        return "単価";
    default:
        return "";
    }
}

} // namespace

bool isSpreadsheetText(std::string_view text) {
    return text.find('\t') != std::string_view::npos;
}

SpreadsheetLines linesFromSpreadsheet(std::string_view text, int sheetNumber) {
    std::vector<std::vector<std::string_view>> rows;
    for (const std::string_view row : rowsOf(text)) {
        rows.push_back(splitFields(row, '\t'));
    }
    SpreadsheetLines read;
    std::vector<Column> columns;
    std::size_t firstData = 0;
    if (!rows.empty() && isHeaderRow(rows.front())) {
        firstData = 1;
        for (const std::string_view cell : rows.front()) {
            const auto column = headerColumn(cell);
            columns.push_back(column.value_or(Column::Unknown));
            if (!column && !trimBlanks(cell).empty()) {
                read.notReadColumns.push_back(cellValue(cell));
            }
        }
    } else if (isOwnCopyText(rows, std::size(kSeparatedColumns), 3)) {
        columns.assign(std::begin(kSeparatedColumns), std::end(kSeparatedColumns));
    } else if (isOwnCopyText(rows, std::size(kCombinedColumns), 2)) {
        columns.assign(std::begin(kCombinedColumns), std::end(kCombinedColumns));
    } else {
        columns.assign(std::begin(kPlainColumns), std::end(kPlainColumns));
    }

    for (std::size_t index = firstData; index < rows.size(); ++index) {
        const std::vector<std::string_view>& cells = rows[index];
        const int rowNumber = static_cast<int>(index) + 1;
        if (std::ranges::all_of(cells,
                                [](std::string_view cell) { return trimBlanks(cell).empty(); })) {
            continue;
        }
        LineEntry entry;
        Currency groupCode = groupCodeOfButton(1);
        const auto number = [&](Column column, std::string_view cell) {
            const std::string value = cellValue(cell);
            try {
                return parseTypedNumber(value);
            } catch (const UserError&) {
                // Not a number, or one too large for an amount.
                read.notReadCells.push_back(
                    SpreadsheetCell{rowNumber, std::string(columnName(column)), value});
                return Currency();
            }
        };
        for (std::size_t i = 0; i < cells.size() && i < columns.size(); ++i) {
            const std::string_view cell = cells[i];
            switch (columns[i]) {
            case Column::Name:
                entry.name = asSeparatedField(cellValue(cell));
                break;
            case Column::Specification:
                entry.specification = asSeparatedField(cellValue(cell));
                break;
            case Column::Unit:
                entry.unit = asSeparatedField(cellValue(cell));
                break;
            case Column::Note:
                entry.note = asSeparatedField(cellValue(cell));
                break;
            case Column::LaborFactor:
                entry.laborFactor = number(Column::LaborFactor, cell);
                break;
            case Column::Quantity:
                enterTypedQuantity(entry, number(Column::Quantity, cell), true, false);
                break;
            case Column::Price:
                enterTypedPrice(entry, number(Column::Price, cell), true, false);
                break;
            case Column::Group: {
                const std::string group = cellValue(cell);
                if (const auto data = groupOfText(group)) {
                    groupCode = groupCodeOfButton(*data);
                    if (group.back() >= 'a') {
                        entry.flagChoice = 7; // outside the expense base
                    }
                }
                if (group.starts_with("労")) {
                    entry.priceKindChoice = 1;
                }
                break;
            }
            case Column::Computed:
            case Column::Unknown:
                break;
            }
        }
        // Reductions are typed as reductions, not as negative numbers.
        const Currency zero;
        if (entry.netQuantity < zero || entry.netPrice < zero || entry.laborFactor < zero) {
            read.negativeRows.push_back(rowNumber);
            entry.netQuantity = entry.submittedQuantity = zero;
            entry.netPrice = entry.submittedPrice = zero;
            entry.laborFactor = zero;
        }
        if (const auto message = lineMessageFromEntry(entry, groupCode, sheetNumber).message) {
            read.lines.push_back(*message);
        }
    }
    return read;
}

std::string notReadReport(const SpreadsheetLines& read) {
    std::string report;
    for (const std::string& column : read.notReadColumns) {
        report += "見出し「" + column + "」の列は読み込みませんでした。\n";
    }
    for (const SpreadsheetCell& cell : read.notReadCells) {
        report += std::to_string(cell.row) + " 行目の" + cell.column + "「" + cell.text +
                  "」は数値として読めないため 0 としました。\n";
    }
    for (const int row : read.negativeRows) {
        report += std::to_string(row) + " 行目の負の数は読み込まず、数量と単価を 0 "
                                        "としました。減額は減額機能で入力して下さい。\n";
    }
    if (!report.empty()) {
        report.pop_back();
    }
    return report;
}

CommandResult pasteSpreadsheetRows(GridContext& context, Selection selection,
                                   std::string_view text) {
    CommandResult result;
    result.selection = selection;
    const SpreadsheetLines read = linesFromSpreadsheet(text, context.state.currentSheetNumber);
    const std::vector<LineMessage>& lines = read.lines;
    if (const std::string report = notReadReport(read); !report.empty()) {
        context.host.notify(report);
    }
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
    return finishChange(context, Selection{first, row - 1});
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

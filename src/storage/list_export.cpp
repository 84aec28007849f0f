#include "storage/list_export.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "money/currency.h"

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <xlsxwriter.h>

namespace kerbina {
namespace {

std::string withoutCommas(std::string_view text) {
    std::string out;
    for (const char c : withoutLineBreaks(text)) {
        if (c != ',') {
            out += c;
        }
    }
    return out;
}

// The amount as a number for the spreadsheet; nothing when the stored text is not one.
std::optional<Currency> amountNumber(std::string_view text) {
    try {
        return parseNumber(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A spreadsheet cell holds a double; this is the conversion of a finished amount for display,
// not part of any calculation.
double cellNumber(Currency value) {
    return static_cast<double>(value.raw()) / static_cast<double>(Currency::kScale);
}

} // namespace

std::string listCsvText(const std::vector<QuotationListRow>& rows, bool showAddressee) {
    std::string text;
    for (const QuotationListRow& row : rows) {
        if (row.number.empty()) {
            continue;
        }
        const std::vector<std::string> cells = listCells(row, showAddressee);
        for (std::size_t column = 1; column < cells.size(); ++column) {
            text += withoutCommas(cells[column]);
            text += ',';
        }
        text += "\r\n";
    }
    return text;
}

void writeListCsv(const std::filesystem::path& file, const std::vector<QuotationListRow>& rows,
                  bool showAddressee) {
    writeFileAtomically(file, toCp932(listCsvText(rows, showAddressee)));
}

void writeListWorkbook(const std::filesystem::path& file, const std::vector<QuotationListRow>& rows,
                       const std::vector<ListColumn>& columns, bool showAddressee) {
    const std::filesystem::path temporary = pathFromText(
        pathText(file) + "." + std::to_string(std::random_device{}() % 1000000) + ".tmp");
    lxw_workbook* workbook = workbook_new(pathText(temporary).c_str());
    if (workbook == nullptr) {
        throw FileError("Excelファイルを作成できません。\n" + pathText(file));
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    std::array<std::size_t, 9> widths{};
    auto note = [&](lxw_col_t column, std::string_view text) {
        if (column < widths.size()) {
            widths[column] = std::max(widths[column], static_cast<std::size_t>(cp932Length(text)));
        }
    };
    auto text = [&](lxw_row_t row, lxw_col_t column, const std::string& value) {
        worksheet_write_string(sheet, row, column, value.c_str(), nullptr);
        note(column, value);
    };
    auto number = [&](lxw_row_t row, lxw_col_t column, Currency value) {
        worksheet_write_number(sheet, row, column, cellNumber(value), nullptr);
        note(column, value.toString());
    };

    text(0, 3, "見積一覧表");
    text(1, 5, "合計金額");
    Currency total;
    for (const QuotationListRow& row : rows) {
        total += amountNumber(row.amount).value_or(Currency());
    }
    number(1, 6, total);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        text(2, static_cast<lxw_col_t>(column), columns[column].title);
    }
    const std::size_t amountColumn = showAddressee ? 6 : 5;
    const std::size_t dateColumn = showAddressee ? 8 : 7;
    lxw_row_t line = 3;
    for (const QuotationListRow& row : rows) {
        const std::vector<std::string> cells = listCells(row, showAddressee);
        number(line, 0, Currency::fromWhole(static_cast<std::int64_t>(line) - 2));
        for (std::size_t column = 1; column < cells.size(); ++column) {
            const auto at = static_cast<lxw_col_t>(column);
            const std::optional<Currency> amount =
                column == amountColumn ? amountNumber(cells[column]) : std::nullopt;
            if (amount) {
                number(line, at, *amount);
            } else {
                text(line, at,
                     column == dateColumn ? withoutLineBreaks(cells[column]) : cells[column]);
            }
        }
        ++line;
    }
    for (std::size_t column = 0; column < widths.size(); ++column) {
        worksheet_set_column(sheet, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column),
                             static_cast<double>(widths[column] + 2), nullptr);
    }
    const lxw_error closed = workbook_close(workbook);
    if (closed != LXW_NO_ERROR) {
        tryRemoveFile(temporary);
        throw FileError("Excelファイルを書き込めませんでした。\n" + pathText(file) + "\n" +
                        lxw_strerror(closed));
    }
    try {
        renameFile(temporary, file);
    } catch (const FileError&) {
        tryRemoveFile(temporary);
        throw;
    }
}

} // namespace kerbina

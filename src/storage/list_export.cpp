#include "storage/list_export.h"

#include "base/csv_text.h"
#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "money/currency.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <random>
#include <xlsxwriter.h>

namespace kerbina {
namespace {

// The amount as a number for the spreadsheet; nothing when the stored text is not one.
std::optional<Currency> amountNumber(std::string_view text) {
    try {
        return parseNumber(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The date of a list row ("yyyy-mm-dd hh:mm:ss", the time optional, blanks or line breaks
// between the two allowed) as a spreadsheet date; nothing when the text is no such date.
std::optional<lxw_datetime> spreadsheetDate(std::string_view text) {
    const auto number = [&text](std::size_t at, std::size_t digits) -> std::optional<int> {
        if (at + digits > text.size()) {
            return std::nullopt;
        }
        int value = 0;
        for (const char c : text.substr(at, digits)) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const auto year = number(0, 4);
    const auto month = number(5, 2);
    const auto day = number(8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-' || *year < 1900 ||
        !std::chrono::year_month_day(std::chrono::year(*year),
                                     std::chrono::month(static_cast<unsigned>(*month)),
                                     std::chrono::day(static_cast<unsigned>(*day)))
             .ok()) {
        return std::nullopt;
    }
    lxw_datetime date{*year, *month, *day, 0, 0, 0.0};
    const std::string rest = withoutLineBreaks(text.substr(10));
    text = trimBlanks(rest);
    if (text.empty()) {
        return date;
    }
    const auto hour = number(0, 2);
    const auto minute = number(3, 2);
    const auto second = number(6, 2);
    if (text.size() != 8 || !hour || !minute || !second || text[2] != ':' || text[5] != ':' ||
        *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    date.hour = *hour;
    date.min = *minute;
    date.sec = *second;
    return date;
}

// The grid's title of a column without the sort mark the grid adds to the column it sorts by: the
// sheet is a list, not a sorted grid.
std::string withoutSortMark(std::string title) {
    for (const std::string_view mark : {"↓", "↑"}) {
        if (title.ends_with(mark)) {
            title.resize(title.size() - mark.size());
        }
    }
    return title;
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
        std::vector<std::string> values;
        for (std::size_t column = 1; column < cells.size(); ++column) {
            values.push_back(withoutCommas(withoutLineBreaks(cells[column])));
        }
        text += csvLine(values);
        text += "\r\n";
    }
    return text;
}

void writeListCsv(const std::filesystem::path& file, const std::vector<QuotationListRow>& rows,
                  bool showAddressee) {
    writeFileAtomically(file, toCp932(listCsvText(rows, showAddressee)));
}

std::string workbookNotOpenedText(const std::filesystem::path& file) {
    return "Excelファイルを書き出しましたが、開くことができませんでした。\n"
           "表計算ソフトで次のファイルを開いてください。\n" +
           pathText(file);
}

void writeListWorkbook(const std::filesystem::path& file, const std::vector<QuotationListRow>& rows,
                       const std::vector<ListColumn>& columns, bool showAddressee) {
    if (!mayReplaceFile(file)) {
        throw notARegularFileToWrite(file);
    }
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
        text(2, static_cast<lxw_col_t>(column), withoutSortMark(columns[column].title));
    }
    lxw_format* dayFormat = workbook_add_format(workbook);
    format_set_num_format(dayFormat, "yyyy/mm/dd");
    lxw_format* timeFormat = workbook_add_format(workbook);
    format_set_num_format(timeFormat, "yyyy/mm/dd hh:mm:ss");
    auto date = [&](lxw_row_t row, lxw_col_t column, lxw_datetime value) {
        const bool dayOnly = value.hour == 0 && value.min == 0 && value.sec == 0;
        worksheet_write_datetime(sheet, row, column, &value, dayOnly ? dayFormat : timeFormat);
        note(column, dayOnly ? "yyyy/mm/dd" : "yyyy/mm/dd hh:mm:ss");
    };
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
            const std::optional<lxw_datetime> day =
                column == dateColumn ? spreadsheetDate(cells[column]) : std::nullopt;
            if (amount) {
                number(line, at, *amount);
            } else if (day) {
                date(line, at, *day);
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

#pragma once

#include "storage/quotation_list.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The box after the list's CSV export.
inline constexpr std::string_view kListCsvDoneMessage = "出力しました。";

// The list page as CSV: one line per shown row, the texts of grid columns 1 to the last (the
// status code column 0 left out), each with its commas and line breaks removed (so amounts are
// plain numbers), written as every CSV export writes values (base/csv_text). Lines end in CR LF.
std::string listCsvText(const std::vector<QuotationListRow>& rows, bool showAddressee);

// Writes listCsvText in CP932, atomically. Raises FileError.
void writeListCsv(const std::filesystem::path& file, const std::vector<QuotationListRow>& rows,
                  bool showAddressee);

// The box when the written workbook cannot be opened (no program set up for .xlsx files): the
// file is there, and where.
std::string workbookNotOpenedText(const std::filesystem::path& file);

// Writes the spreadsheet of the list (every matching row, in list order) as an .xlsx file:
// D1 "見積一覧表", F2 "合計金額" and G2 the sum of the amounts (a number), row 3 the grid's titles
// from column 0 on (without the grid's sort mark), then from row 4 one row per quotation: running
// number, quotation number (always text, so "0012" stays "0012"), status text, the remaining
// columns of the grid layout (amounts as numbers, the date as a date; a date that is none is
// written as its text without line breaks). Columns A to I are as wide as their texts. Written
// under a temporary name and renamed; raises FileError when it cannot be written, and never
// replaces anything but a regular file.
void writeListWorkbook(const std::filesystem::path& file, const std::vector<QuotationListRow>& rows,
                       const std::vector<ListColumn>& columns, bool showAddressee);

} // namespace kerbina

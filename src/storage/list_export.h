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
// status code column 0 left out), every value followed by ","; commas and line breaks inside a
// value are removed so that a value never splits into two. Lines end in CR LF.
std::string listCsvText(const std::vector<QuotationListRow>& rows, bool showAddressee);

// Writes listCsvText in CP932, atomically. Raises FileError.
void writeListCsv(const std::filesystem::path& file, const std::vector<QuotationListRow>& rows,
                  bool showAddressee);

// Writes the spreadsheet of the list (every matching row, in list order) as an .xlsx file:
// D1 "見積一覧表", F2 "合計金額" and G2 the sum of the amounts (a number), row 3 the grid's titles
// from column 0 on, then from row 4 one row per quotation: running number, quotation number
// (always text, so "0012" stays "0012"), status text, the remaining columns of the grid layout
// (amounts as numbers, line breaks removed from the date). Columns A to I are as wide as their
// texts. Written under a temporary name and renamed; raises FileError when it cannot be written.
void writeListWorkbook(const std::filesystem::path& file, const std::vector<QuotationListRow>& rows,
                       const std::vector<ListColumn>& columns, bool showAddressee);

} // namespace kerbina

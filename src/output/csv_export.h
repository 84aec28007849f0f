#pragma once

#include "base/csv_text.h"
#include "base/user_prompt.h"
#include "money/currency.h"
#include "records/document_state.h"
#include "records/records.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The CSV files the program writes for spreadsheets: the lines of base/csv_text (one quoting rule
// for every export), CP932 with CR LF. Numbers are in the plain text form of Currency.

// Writes the lines (each already built by csvLine) as a CSV file, replacing it whole.
void writeCsvFile(const std::filesystem::path& file, const std::vector<std::string>& lines);

// 名称 and 仕様 of a line for the sheet CSV: the first and the second ";"-field of
// `nameSpec` (仕様 is empty when there is no ";").
std::pair<std::string, std::string> csvNameAndSpecification(std::string_view nameSpec);

// The sheet CSV: one line per line of the sheet ([0] is the scratch slot) in sheet order, empty
// lines (kind 0) and sum lines (kind 99) left out. Columns: name, specification, unit, submitted
// quantity, submitted price, submitted amount. Lines that total other lines (ranges, 小計, 中計,
// the welfare lines) write only their amount: their quantity fields hold row numbers and rates.
std::vector<std::string> sheetCsvLines(const Sheet& sheet);

// The breakdown list CSV from the texts of the list grid (`grid[0]` is the header row): the header
// texts of columns 1 to the last, then one line per item row with a text, its columns 1 to the
// last. Amounts are written as numbers: every "," is removed, and the "¥" before a digit.
std::vector<std::string> itemListCsvLines(const std::vector<std::vector<std::string>>& grid);

// The unit-cost breakdown CSV from the texts of its grid: the header texts of columns 1 to 27,
// then one line per row from row 1 up to the first row whose column 0 is empty, columns 1 to 27.
// `grid[0]` is the header row.
std::vector<std::string> unitCostCsvLines(const std::vector<std::vector<std::string>>& grid);

// One take-off entry as the take-off grid shows it.
struct TakeoffCsvEntry {
    int origin = 1; // 1: made by hand on the sheet, never exported
    LineKind kind;
    std::string system;
    std::string nameSpec;
    std::string unit;
    Currency netQuantity;
    Currency submittedQuantity;
    Currency netPrice;
    Currency submittedPrice;
    Currency netCompositePrice;
    Currency submittedCompositePrice;
    Currency netLaborFactor;
    Currency submittedLaborFactor;
    int place = 0; // 0..3
    std::string note;
    std::string amountText;
    std::array<Currency, 6> shares{}; // 管, 継手, 接合材, 支持金物, はつり補修, その他
    Currency submittedBaseCost;
    std::string mode1;
    std::string mode2;
};

// The take-off CSV: the header line, then one line per entry in list order (origin 1 left out).
// `showNet` is the take-off page's "原数量を表示": quantity, price, composite price and labour
// factor come from the net side then. Quantities are written with the sheet's quantity decimals
// (10, 100 or 1000; any other setting writes the plain number), never with a thousands ",".
std::vector<std::string> takeoffCsvLines(const std::vector<TakeoffCsvEntry>& entries, bool showNet,
                                         Currency quantityDecimals);

// The box every export but the list's ends with, and the list's own.
inline constexpr std::string_view kCsvWrittenNotice = "CSVファイルへ出力しました。";
inline constexpr std::string_view kListCsvWrittenNotice = "出力しました。";
// The save dialogs' filters: the list's export spells its own.
inline constexpr std::string_view kCsvFilter = "csvファイル (*.csv)";
inline constexpr std::string_view kListCsvFilter = "CSVファイル (*.csv)";

enum class CsvExport { Sheet, QuotationList, Takeoff, UnitCost };

// Where the CSV export of the open quotation is offered: in the quotation folder, under the name
// the quotation is saved under (its own file's, else the name "ファイルに保存" suggests) with
// ".csv" in place of its extension.
std::filesystem::path suggestedCsvPath(const DocumentState& state,
                                       const std::filesystem::path& ownFile,
                                       const std::filesystem::path& quotationFolder);

// An export command: asks for the file (a save dialog starting at `suggested`, suffix "csv"),
// writes the lines over it and shows the export's box. False, writing nothing, when the user
// cancelled. A failed write raises FileError.
bool exportCsv(UserPrompt& prompt, CsvExport kind, const std::filesystem::path& suggested,
               const std::vector<std::string>& lines);

} // namespace kerbina

#pragma once

#include "base/user_prompt.h"
#include "money/currency.h"
#include "records/records.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The CSV files the program writes for spreadsheets: CP932, CR LF, comma-separated, every value
// followed by "," (so each line ends with ","). Numbers are in the plain text form of Currency.
// A value holding "," or '"' (or a line break) would shift the columns of every reader, so it is
// enclosed in double quotes with its own double quotes doubled; every other value is written as
// it stands.

// One value as written: quoted only when it must be.
std::string csvValue(std::string_view value);
// One line: every value followed by ",".
std::string csvLine(const std::vector<std::string>& values);
// Writes the lines (each already built by csvLine) as a CSV file, replacing it whole.
void writeCsvFile(const std::filesystem::path& file, const std::vector<std::string>& lines);

// 名称 and 仕様 of a line for the sheet CSV: the first and the second ";"-field of
// `nameSpec` (仕様 is empty when there is no ";").
std::pair<std::string, std::string> csvNameAndSpecification(std::string_view nameSpec);

// The sheet CSV: one line per line of the sheet ([0] is the scratch slot) in sheet order, empty
// lines (kind 0) and sum lines (kind 99) left out. Columns: name, specification, unit, submitted
// quantity, submitted price, submitted amount.
std::vector<std::string> sheetCsvLines(const Sheet& sheet);

// The breakdown list CSV from the texts of the list grid (`grid[0]` is the header row): the header
// texts of columns 1 to the last, then one line per item row with a text, its columns 1 to the
// last. Amounts are written as numbers: every "," is removed, and the "¥" before a digit.
std::vector<std::string> itemListCsvLines(const std::vector<std::vector<std::string>>& grid);

// The quotation list CSV from the texts of the list grid (row by row, column 0 first): one line
// per row with a text in column 1, its columns 1 to the last, each with every "," removed.
std::vector<std::string> quotationListCsvLines(const std::vector<std::vector<std::string>>& grid);

// The unit-cost breakdown CSV from the texts of its grid: the header texts of columns 1 to 27,
// then one line per row from row 1 up to the first row whose column 0 is empty, columns 1 to 27.
// `grid[0]` is the header row.
std::vector<std::string> unitCostCsvLines(const std::vector<std::vector<std::string>>& grid);

// One take-off entry as the take-off grid shows it.
struct TakeoffCsvEntry {
    int origin = 1; // 1: made by hand on the sheet, never exported
    int kind = 0;
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

// An export command: asks for the file (a save dialog starting at `suggested`, suffix "csv"),
// writes the lines over it and shows the export's box. False, writing nothing, when the user
// cancelled. A failed write raises FileError.
bool exportCsv(UserPrompt& prompt, CsvExport kind, const std::filesystem::path& suggested,
               const std::vector<std::string>& lines);

} // namespace kerbina

#pragma once

#include "grid/grid_commands.h"
#include "records/records.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// Lines prepared in the CSV editor come into the open sheet through one file in the work folder.
// Each line of it is one quotation line, fields separated by ";":
//   1, 2 name and specification   3 unit   4 labour factor   5, 6 net and submitted quantity
//   7, 8 net and submitted price  9 the reserved value   10, 11 submitted and net additional price
//   12 note
// Missing fields are empty; an empty number (or "") is 0.

inline constexpr std::string_view kCsvImportFileName = "csv_inport.tmp";

std::filesystem::path csvImportFile(const std::filesystem::path& workFolder);

// The captions of the twelve fields, as the CSV editor shows them.
const std::vector<std::string>& csvImportFieldCaptions();
// One line of the import file from the editor's fields: a ";" inside a field becomes "；" and line
// breaks are dropped, so every field stays in its place.
std::string csvImportText(const std::vector<std::string>& fields);
// Whether a row of the editor holds anything to import.
bool isBlankCsvImportRow(const std::vector<std::string>& fields);

// The line one text of the import file stands for (blanks around it are trimmed first). Raises
// NumberFormatError when a number field holds anything but a number or a number too large for
// an amount.
LineRecord csvImportLine(std::string_view text);

// A row of the CSV editor that would not come in: its index among the editor's rows (from 0) and
// the text telling the user which row and why.
struct CsvEditorRowProblem {
    std::size_t row = 0;
    std::string text;
};
// The first row that csvImportLine refuses; nothing when every row reads. The editor checks its
// rows with it before writing the import file, so that a typo costs no typed row.
std::optional<CsvEditorRowProblem>
firstUnreadableCsvEditorRow(const std::vector<std::vector<std::string>>& rows);

inline constexpr std::string_view kCsvListModeNotice =
    "現在は内訳モードです。CSV機能は使用できません。";
inline constexpr std::string_view kCsvEditorMissingNotice =
    "CSVエディタ－がインストールされていません";

// "CSVデ一タの取込": runs the CSV editor, waiting for it (`runEditor` returns false when there is
// no editor), then inserts the lines of the import file at the selected row, one below the other,
// and writes the sheet as one change (one undo step). The import file is removed once read, and a
// file left from an earlier run is removed before the editor starts, so an editor closed without
// saving imports nothing. A line that cannot be read (a number field that is no number, a number
// or an amount too large) stops the import: the lines above it stay and the user is told which
// line it was. The lines go in as one block, so that a large file costs one move of the sheet.
CommandResult importCsvLines(GridContext& context, Selection selection, bool listMode,
                             const std::function<bool()>& runEditor);

} // namespace kerbina

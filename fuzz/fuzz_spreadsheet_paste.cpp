// Spreadsheet rows pasted from the system clipboard: any text must become lines whose texts fit
// their fields and which the sheet pass totals (or refuses with its overflow error); and the
// pasted lines, copied again in the program's own form, must paste back as they were copied.
#include "base/text_codec.h"
#include "calc/totals.h"
#include "fuzz_support.h"
#include "grid/line_copy_file.h"
#include "grid/line_message.h"
#include "grid/spreadsheet_clipboard.h"
#include "records/line_text.h"
#include "records/sheet_rows.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_spreadsheet_paste", what);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    // The clipboard's text is UTF-8.
    const std::string text = kerbina::fromCp932(kerbina::fuzz::bytesOf(bytes, size));
    kerbina::isSpreadsheetText(text);
    const std::vector<kerbina::LineMessage> messages = kerbina::linesFromSpreadsheet(text, 1).lines;

    kerbina::DocumentState state;
    state.currentSheetNumber = 1;
    for (const kerbina::LineMessage& message : messages) {
        const int row = state.lineCount() + 1;
        kerbina::insertEmptyLine(state.sheet, row, kerbina::RangeJoin::JoinRangeAbove);
        kerbina::LineRecord& line = state.sheet[static_cast<std::size_t>(row)];
        kerbina::applyLineMessage(line, message, true);
        check(kerbina::cp932Length(line.nameSpec) <= kerbina::kNameSpecWidth &&
                  kerbina::cp932Length(line.unit) <= kerbina::kUnitWidth,
              "a pasted text is wider than its field");
    }
    try {
        kerbina::recalculateSheet(state);
    } catch (const kerbina::AmountOverflow&) {
        return 0;
    }

    const kerbina::Selection all{1, state.lineCount()};
    const std::vector<std::string> copied =
        kerbina::splitClipboardText(kerbina::lineCopyText(state, all));
    check(copied.size() == messages.size(), "a pasted line was not copied");
    for (std::size_t at = 0; at < copied.size(); ++at) {
        const std::string pasted = kerbina::clipboardLineText(copied[at]);
        const kerbina::LineRecord back = kerbina::lineFromText(pasted).line;
        check(kerbina::lineToText(1, back, state.settings.quantityDecimals) == copied[at],
              "a copied line did not paste back whole");
    }
    return 0;
}

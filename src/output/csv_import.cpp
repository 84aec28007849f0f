#include "output/csv_import.h"

#include "base/file_io.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "money/rounding.h"
#include "records/sheet_rows.h"

#include <optional>
#include <string>
#include <vector>

namespace kerbina {
namespace {

std::string_view field(const std::vector<std::string_view>& fields, std::size_t number) {
    return number <= fields.size() ? fields[number - 1] : std::string_view{};
}

std::string badLineNotice(int lineNumber, const std::string& reason) {
    std::string text =
        "CSVデータの " + std::to_string(lineNumber) + " 行目を取り込めません: " + reason + "\n";
    if (lineNumber > 1) {
        text += std::to_string(lineNumber - 1) + " 行目までを取り込みました。";
    } else {
        text += "何も取り込んでいません。";
    }
    return text;
}

// A line whose quantity times a price leaves the range of an amount would stop the totals pass,
// and with it the whole import: it is refused as a line of its own instead.
void checkAmounts(const LineRecord& line, Currency offset) {
    try {
        lineAmount(line.netPrice, line.netQuantity, offset);
        lineAmount(line.netAdditionalPrice, line.netQuantity, offset);
        lineAmount(line.submittedPrice, line.submittedQuantity, offset);
        lineAmount(line.submittedAdditionalPrice, line.submittedQuantity, offset);
    } catch (const CurrencyOverflow&) {
        throw NumberFormatError("数量と単価を掛けた金額が大きすぎます。");
    }
}

} // namespace

std::filesystem::path csvImportFile(const std::filesystem::path& workFolder) {
    return workFolder / std::string(kCsvImportFileName);
}

const std::vector<std::string>& csvImportFieldCaptions() {
    static const std::vector<std::string> captions{"名称",   "仕様",     "単位",       "歩掛",
                                                   "原数量", "数量",     "原単価",     "単価",
                                                   "予備",   "付帯単価", "原付帯単価", "備考"};
    return captions;
}

std::string csvImportText(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t n = 0; n < fields.size(); ++n) {
        if (n > 0) {
            text += ';';
        }
        appendAsSeparatedField(text, trimBlanks(fields[n]));
    }
    return text;
}

bool isBlankCsvImportRow(const std::vector<std::string>& fields) {
    for (const std::string& field : fields) {
        if (!trimBlanks(field).empty()) {
            return false;
        }
    }
    return true;
}

LineRecord csvImportLine(std::string_view text) {
    const std::vector<std::string_view> fields = splitFields(trimBlanks(text), ';');
    const auto number = [&](std::size_t n) {
        const std::string_view value = field(fields, n);
        try {
            return parseNumber(value);
        } catch (const NumberFormatError&) {
            throw NumberFormatError(std::to_string(n) + " 番目の項目「" + excerpt(value) +
                                    "」は数値ではありません。");
        } catch (const CurrencyOverflow&) {
            throw NumberFormatError(std::to_string(n) + " 番目の項目「" + excerpt(value) +
                                    "」は大きすぎます。");
        }
    };
    LineRecord line;
    line.nameSpec = fitToWidth(std::string(field(fields, 1)) + ";" + std::string(field(fields, 2)),
                               kNameSpecWidth);
    line.unit = fitToWidth(field(fields, 3), kUnitWidth);
    line.laborFactor = number(4);
    line.netQuantity = number(5);
    line.submittedQuantity = number(6);
    line.netPrice = number(7);
    line.submittedPrice = number(8);
    line.reserved176 = number(9);
    line.submittedAdditionalPrice = number(10);
    line.netAdditionalPrice = number(11);
    line.note = fitToWidth(field(fields, 12), kLineNoteWidth);
    line.sortCode = Currency::fromWhole(11999);
    const bool fractional = !line.netQuantity.isWhole() || !line.submittedQuantity.isWhole();
    line.kind = fractional ? LineKind::DecimalPriced : LineKind::WholePriced;
    return line;
}

std::optional<CsvEditorRowProblem>
firstUnreadableCsvEditorRow(const std::vector<std::vector<std::string>>& rows) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (isBlankCsvImportRow(rows[row])) {
            continue;
        }
        try {
            csvImportLine(csvImportText(rows[row]));
        } catch (const NumberFormatError& error) {
            return CsvEditorRowProblem{row, std::to_string(row + 1) +
                                                " 行目を取り込めません: " + error.what()};
        }
    }
    return std::nullopt;
}

CommandResult importCsvLines(GridContext& context, Selection selection, bool listMode,
                             const std::function<bool()>& runEditor) {
    if (listMode) {
        context.host.notify(std::string(kCsvListModeNotice));
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    const std::filesystem::path file = csvImportFile(context.workFolder);
    removeFile(file);
    if (!runEditor()) {
        context.host.notify(std::string(kCsvEditorMissingNotice));
        return nothingChanged(selection);
    }
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file, error))) {
        return nothingChanged(selection);
    }
    const std::vector<std::string> texts = readTextLines(file);
    removeFile(file);

    std::vector<LineRecord> lines;
    lines.reserve(texts.size());
    std::optional<std::string> problem;
    for (std::size_t n = 0; n < texts.size() && !problem; ++n) {
        try {
            LineRecord line = csvImportLine(texts[n]);
            checkAmounts(line, context.state.settings.amountOffset);
            lines.push_back(std::move(line));
        } catch (const NumberFormatError& error) {
            problem = badLineNotice(static_cast<int>(n) + 1, error.what());
        }
    }

    DocumentState& state = context.state;
    const int top = std::max(selection.top, 1);
    CommandResult result = nothingChanged(selection);
    if (!lines.empty()) {
        while (state.lineCount() < top - 1) {
            LineRecord blank = emptyLine();
            blank.kind = LineKind::WholePriced;
            state.sheet.push_back(blank);
        }
        insertLineBlock(state.sheet, top, lines, RangeJoin::JoinRangeAbove);
        context.cycle.recalculate(false);
        context.cycle.writeSheet();
        result.changed = true;
    }
    if (problem) {
        context.host.notify(*problem);
    }
    return result;
}

} // namespace kerbina

#include "output/csv_export.h"

#include "base/file_io.h"
#include "base/text.h"
#include "document/quotation_file_name.h"
#include "money/rounding.h"
#include "records/kinds.h"

#include <algorithm>

namespace kerbina {
namespace {

constexpr int kUnitCostColumns = 27;

std::string cell(const std::vector<std::string>& row, std::size_t column) {
    return column < row.size() ? row[column] : std::string{};
}

std::string placeText(int place) {
    switch (place) {
    case 0:
        return "屋内一般";
    case 1:
        return "機械室";
    case 2:
        return "屋外架空";
    case 3:
        return "地中配管";
    default:
        return {};
    }
}

std::string takeoffQuantityText(Currency quantity, Currency quantityDecimals) {
    const std::string shown = fixedQuantityText(quantity, quantityDecimals);
    if (shown.empty()) {
        return quantity.toString();
    }
    return std::string(trimBlanks(shown));
}

// Lines whose amount is a total of other lines: ranges (their quantity fields hold the rows of the
// range, their price a rate), 小計, 中計 and the welfare lines (their quantity fields hold the
// rates of the formula). Their quantity and price fields are nothing a spreadsheet could use.
bool totalsOtherLines(LineKind kind) {
    return isRangeKind(kind) || kind == LineKind::SmallSum || kind == LineKind::MidSum ||
           isWelfare(kind);
}

// Kinds whose amount-column text is shown in front of the note.
bool showsAmountTextInNote(LineKind kind) {
    return kind == LineKind::WholeAmountTextFirst || kind == LineKind::DecimalAmountTextFirst ||
           kind == LineKind::TakeoffWholeAmountTextFirst ||
           kind == LineKind::TakeoffDecimalAmountTextFirst;
}

} // namespace

void writeCsvFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    writeTextLines(file, lines);
}

std::filesystem::path suggestedCsvPath(const DocumentState& state,
                                       const std::filesystem::path& ownFile,
                                       const std::filesystem::path& quotationFolder) {
    std::filesystem::path name = suggestedSavePath(state, ownFile, quotationFolder).filename();
    name.replace_extension(".csv");
    return quotationFolder / name;
}

bool exportCsv(UserPrompt& prompt, CsvExport kind, const std::filesystem::path& suggested,
               const std::vector<std::string>& lines) {
    const bool list = kind == CsvExport::QuotationList;
    const auto file = prompt.chooseFileToSave(
        "CSV出力", suggested, std::string(list ? kListCsvFilter : kCsvFilter), "csv");
    if (!file) {
        return false;
    }
    writeCsvFile(*file, lines);
    prompt.notify(std::string(list ? kListCsvWrittenNotice : kCsvWrittenNotice));
    return true;
}

std::pair<std::string, std::string> csvNameAndSpecification(std::string_view nameSpec) {
    const std::vector<std::string_view> fields = splitFields(nameSpec, ';');
    return {std::string(fields[0]), fields.size() > 1 ? std::string(fields[1]) : std::string{}};
}

std::vector<std::string> sheetCsvLines(const Sheet& sheet) {
    std::vector<std::string> lines;
    for (std::size_t row = 1; row < sheet.size(); ++row) {
        const LineRecord& line = sheet[row];
        if (line.kind == LineKind::Empty || line.kind == LineKind::SumLine) {
            continue;
        }
        auto [name, specification] = csvNameAndSpecification(line.nameSpec);
        const bool sum = totalsOtherLines(line.kind);
        lines.push_back(csvLine({std::move(name), std::move(specification), line.unit,
                                 sum ? std::string() : line.submittedQuantity.toString(),
                                 sum ? std::string() : line.submittedPrice.toString(),
                                 line.submittedAmount.toString()}));
    }
    return lines;
}

std::vector<std::string> itemListCsvLines(const std::vector<std::vector<std::string>>& grid) {
    constexpr std::string_view yen = "¥";
    const auto plain = [&yen](std::string_view text) {
        std::string value = withoutCommas(text);
        for (std::size_t at = value.find(yen); at != std::string::npos; at = value.find(yen, at)) {
            const std::size_t next = at + yen.size();
            if (next < value.size() && value[next] >= '0' && value[next] <= '9') {
                value.erase(at, yen.size());
            } else {
                at = next;
            }
        }
        return value;
    };
    std::vector<std::string> lines;
    for (std::size_t row = 0; row < grid.size(); ++row) {
        std::vector<std::string> values;
        bool blank = true;
        for (std::size_t column = 1; column < grid[row].size(); ++column) {
            values.push_back(plain(grid[row][column]));
            blank = blank && values.back().empty();
        }
        if (row == 0 || !blank) {
            lines.push_back(csvLine(values));
        }
    }
    return lines;
}

std::vector<std::string> unitCostCsvLines(const std::vector<std::vector<std::string>>& grid) {
    std::vector<std::string> lines;
    for (std::size_t row = 0; row < grid.size(); ++row) {
        if (row > 0 && cell(grid[row], 0).empty()) {
            break;
        }
        std::vector<std::string> values;
        for (std::size_t column = 1; column <= kUnitCostColumns; ++column) {
            values.push_back(cell(grid[row], column));
        }
        lines.push_back(csvLine(values));
    }
    return lines;
}

std::vector<std::string> takeoffCsvLines(const std::vector<TakeoffCsvEntry>& entries, bool showNet,
                                         Currency quantityDecimals) {
    std::vector<std::string> lines{csvLine({"No",
                                            "系　統",
                                            "名    称  ＆  仕    様",
                                            "型  番 ＆ 口  径",
                                            "単位",
                                            "数  量",
                                            "単　価",
                                            "複合単価",
                                            "歩掛",
                                            "細　目",
                                            "備　考",
                                            "管",
                                            "継手",
                                            "接合材",
                                            "支持金物",
                                            "はつり補修",
                                            "その他",
                                            "基礎工費",
                                            "モード1",
                                            "モード2"})};
    for (std::size_t position = 0; position < entries.size(); ++position) {
        const TakeoffCsvEntry& entry = entries[position];
        if (entry.origin == 1) {
            continue;
        }
        auto [name, specification] = csvNameAndSpecification(entry.nameSpec);
        const Currency quantity = showNet ? entry.netQuantity : entry.submittedQuantity;
        const Currency price = showNet ? entry.netPrice : entry.submittedPrice;
        const Currency composite =
            showNet ? entry.netCompositePrice : entry.submittedCompositePrice;
        const Currency laborFactor = showNet ? entry.netLaborFactor : entry.submittedLaborFactor;
        std::string note = entry.note;
        if (showsAmountTextInNote(entry.kind)) {
            note = entry.amountText + entry.note + " ";
        }
        std::vector<std::string> values{std::to_string(position + 1),
                                        entry.system,
                                        std::move(name),
                                        std::move(specification),
                                        entry.unit,
                                        takeoffQuantityText(quantity, quantityDecimals),
                                        price.toString(),
                                        composite.toString(),
                                        laborFactor.toString(),
                                        placeText(entry.place),
                                        std::move(note)};
        for (const Currency share : entry.shares) {
            values.push_back(share.toString());
        }
        values.push_back(entry.submittedBaseCost.toString());
        values.push_back(entry.mode1);
        values.push_back(entry.mode2);
        lines.push_back(csvLine(values));
    }
    return lines;
}

} // namespace kerbina

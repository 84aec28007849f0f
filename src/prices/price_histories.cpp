#include "prices/price_histories.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "base/text.h"

#include <algorithm>

namespace kerbina {

namespace fs = std::filesystem;

namespace {

fs::path confFile(const fs::path& dataRoot, std::string_view name) {
    return dataRoot / "conf" / std::string(name);
}

fs::path historyFile(const fs::path& dataRoot, const PriceEditorTable& table,
                     std::string_view field) {
    return confFile(dataRoot, std::string(table.historyPrefix) + std::string(field) + ".lst");
}

constexpr std::string_view kColumnWidthKey = "[StrColGrid1_Colwidths[";

} // namespace

void rememberInPriceHistory(std::vector<std::string>& history, const std::string& text) {
    rememberNewAtTop(history, text, kPriceHistoryLength);
}

PriceEditorHistories readPriceEditorHistories(const fs::path& dataRoot,
                                              const PriceEditorTable& table) {
    return PriceEditorHistories{readListFile(historyFile(dataRoot, table, "CATEGORY")),
                                readListFile(historyFile(dataRoot, table, "ITEMNAME")),
                                readListFile(historyFile(dataRoot, table, "ITEMSIZE"))};
}

void writePriceEditorHistories(const fs::path& dataRoot, const PriceEditorTable& table,
                               const PriceEditorHistories& histories) {
    const std::pair<std::string_view, const std::vector<std::string>*> files[] = {
        {"CATEGORY", &histories.categories},
        {"ITEMNAME", &histories.names},
        {"ITEMSIZE", &histories.specifications}};
    for (const auto& [field, history] : files) {
        if (!history->empty()) {
            writeTextLines(historyFile(dataRoot, table, field), *history);
        }
    }
}

void rememberPriceTexts(PriceEditorHistories& histories, const PriceRecord& price) {
    rememberInPriceHistory(histories.categories, withoutLineBreaks(price.category));
    rememberInPriceHistory(histories.names, withoutLineBreaks(price.name));
    rememberInPriceHistory(histories.specifications, withoutLineBreaks(price.specification));
}

std::vector<std::string> amountTextChoices(const AmountSettingTexts& settingTexts,
                                           const std::vector<std::string>& stored) {
    std::vector<std::string> choices;
    const auto add = [&choices](std::string_view text) {
        if (!text.empty() && std::ranges::find(choices, text) == choices.end()) {
            choices.emplace_back(text);
        }
    };
    std::ranges::for_each(settingTexts, add);
    std::ranges::for_each(stored, add);
    std::ranges::for_each(kEditorAmountTexts, add);
    return choices;
}

std::vector<int> readPriceListColumnWidths(const fs::path& dataRoot) {
    std::vector<int> widths;
    for (const std::string& line : readListFile(confFile(dataRoot, "grid_code.ini"))) {
        const auto key = confKey(line);
        if (!key || !key->starts_with(kColumnWidthKey) || !key->ends_with("]]")) {
            continue;
        }
        const auto index = parseInteger32(
            key->substr(kColumnWidthKey.size(), key->size() - kColumnWidthKey.size() - 2));
        const auto width = parseInteger32(confValue(line));
        if (!index || !width || *index < 0 || *index > 100 || *width < 0) {
            continue;
        }
        if (widths.size() <= static_cast<std::size_t>(*index)) {
            widths.resize(static_cast<std::size_t>(*index) + 1, -1);
        }
        widths[static_cast<std::size_t>(*index)] = *width;
    }
    return widths;
}

void writePriceListColumnWidths(const fs::path& dataRoot, const std::vector<int>& widths) {
    std::vector<std::string> lines{"[Version]=2.00"};
    for (std::size_t index = 0; index < widths.size(); ++index) {
        lines.push_back(confLine(std::string(kColumnWidthKey) + std::to_string(index) + "]]",
                                 std::to_string(widths[index])));
    }
    writeTextLines(confFile(dataRoot, "grid_code.ini"), lines);
}

} // namespace kerbina

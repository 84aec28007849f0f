#include "grid/column_layout.h"

#include "base/file_io.h"
#include "base/text.h"

#include <algorithm>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace kerbina {
namespace {

constexpr int kUnreadableWidth = 50;

const char* layoutFileName(GridLayout layout) {
    switch (layout) {
    case GridLayout::SheetCombined:
        return "KRB_display_1.ini";
    case GridLayout::SheetSeparated:
        return "KRB_display_2.ini";
    case GridLayout::ItemList:
        return "KRB_display_3.ini";
    }
    return "";
}

// Columns a layout file stores: the list layout leaves its last column out.
int storedColumns(GridLayout layout) {
    return layout == GridLayout::ItemList ? 8 : columnCount(layout);
}

bool hasSplitters(GridLayout layout) {
    return layout != GridLayout::ItemList;
}

std::string widthKey(int column) {
    return "[StrColGrid1_Colwidths[" + std::to_string(column) + "]]";
}

int widthValue(const std::map<std::string, std::string>& values, const std::string& key) {
    const auto found = values.find(key);
    if (found == values.end()) {
        return kUnreadableWidth;
    }
    return parseInteger32(found->second, IntegerText::Lenient).value_or(kUnreadableWidth);
}

} // namespace

fs::path columnLayoutFile(const fs::path& dataRoot, GridLayout layout) {
    return fileInAnyCase(dataRoot / "conf", layoutFileName(layout));
}

ColumnLayout defaultColumnLayout(GridLayout layout, int clientWidth) {
    // Percentages of the client width, each product truncated to whole pixels.
    const auto share = [clientWidth](int percent) {
        return clientWidth * percent / 100;
    };
    ColumnLayout columns;
    switch (layout) {
    case GridLayout::SheetCombined:
        columns.widths = {30,       share(40), share(5),  share(3), share(4),
                          share(8), share(10), share(10), share(15)};
        break;
    case GridLayout::SheetSeparated:
        columns.widths = {30,       share(20), share(20), share(5),  share(3),
                          share(4), share(8),  share(10), share(10), share(15)};
        break;
    case GridLayout::ItemList:
        columns.widths = {30,        share(3),  share(30), share(10),
                          share(10), share(10), share(10), share(27)};
        break;
    }
    return columns;
}

std::optional<ColumnLayout> readColumnLayout(const fs::path& dataRoot, GridLayout layout) {
    const fs::path file = columnLayoutFile(dataRoot, layout);
    std::error_code error;
    if (!fs::exists(file, error)) {
        return std::nullopt;
    }
    std::map<std::string, std::string> values;
    for (const std::string& line : readTextLines(file)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            values.emplace(line.substr(0, equals), line.substr(equals + 1));
        }
    }
    ColumnLayout columns;
    for (int column = 0; column < storedColumns(layout); ++column) {
        columns.widths.push_back(widthValue(values, widthKey(column)));
    }
    if (hasSplitters(layout)) {
        columns.splitter2 = widthValue(values, "[Splitter2]");
        columns.splitter3 = widthValue(values, "[Splitter3]");
    }
    return columns;
}

ColumnLayout loadColumnLayout(const fs::path& dataRoot, GridLayout layout, int clientWidth) {
    if (auto stored = readColumnLayout(dataRoot, layout)) {
        return *stored;
    }
    return defaultColumnLayout(layout, clientWidth);
}

void saveColumnLayout(const fs::path& dataRoot, GridLayout layout, const ColumnLayout& columns) {
    // A splitter the caller does not know keeps the position the file holds.
    std::optional<ColumnLayout> inFile;
    if (hasSplitters(layout) && (!columns.splitter2 || !columns.splitter3)) {
        inFile = readColumnLayout(dataRoot, layout);
    }
    const auto splitter = [&inFile](std::optional<int> given,
                                    std::optional<int> ColumnLayout::*field) {
        return given ? *given : inFile ? ((*inFile).*field).value_or(0) : 0;
    };
    std::vector<std::string> lines{"[Version]=2.00"};
    const int stored = std::min(storedColumns(layout), static_cast<int>(columns.widths.size()));
    for (int column = 0; column < stored; ++column) {
        lines.push_back(widthKey(column) + "=" +
                        std::to_string(columns.widths[static_cast<std::size_t>(column)]));
    }
    if (hasSplitters(layout)) {
        lines.push_back("[Splitter2]=" +
                        std::to_string(splitter(columns.splitter2, &ColumnLayout::splitter2)));
        lines.push_back("[Splitter3]=" +
                        std::to_string(splitter(columns.splitter3, &ColumnLayout::splitter3)));
    }
    std::error_code error;
    fs::create_directories(dataRoot / "conf", error);
    writeTextLines(columnLayoutFile(dataRoot, layout), lines);
}

void saveItemListColumnLayout(const fs::path& dataRoot, const ColumnLayout& columns,
                              UserPrompt& host) {
    saveColumnLayout(dataRoot, GridLayout::ItemList, columns);
    host.notify("セル幅の設定を保存しました。");
}

int stretchColumn(GridLayout layout) {
    return layout == GridLayout::ItemList ? 2 : 1;
}

std::vector<int> fittedWidths(GridLayout layout, std::vector<int> widths, int clientWidth) {
    const auto stretch = static_cast<std::size_t>(stretchColumn(layout));
    if (stretch >= widths.size()) {
        return widths;
    }
    int others = 0;
    for (std::size_t column = 0; column < widths.size(); ++column) {
        if (column != stretch) {
            others += widths[column];
        }
    }
    widths[stretch] = std::max(kMinimumStretchWidth, clientWidth - others);
    return widths;
}

ColumnLayout resetColumnLayout(const fs::path& dataRoot, GridLayout layout, int clientWidth) {
    std::error_code error;
    fs::remove(columnLayoutFile(dataRoot, layout), error);
    return defaultColumnLayout(layout, clientWidth);
}

} // namespace kerbina

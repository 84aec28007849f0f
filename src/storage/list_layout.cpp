#include "storage/list_layout.h"

#include "base/conf_file.h"
#include "base/file_io.h"
#include "base/text.h"
#include "storage/quotation_list.h"

#include <string>

namespace kerbina {
namespace {

constexpr int kUnreadableWidth = 50;

std::string widthKey(std::size_t column) {
    return "[Grid_Colwidths[" + std::to_string(column) + "]]";
}

int integerValue(const std::vector<std::string>& lines, std::string_view key, int fallback) {
    const auto value = lastConfValue(lines, key);
    return value ? parseInteger32(trimBlanks(*value)).value_or(fallback) : fallback;
}

} // namespace

std::filesystem::path listLayoutFile(const std::filesystem::path& dataRoot, bool showAddressee) {
    return dataRoot / "conf" / (showAddressee ? "filesel_Dlg2.conf" : "filesel_Dlg1.conf");
}

ListLayout readListLayout(const std::filesystem::path& dataRoot, bool showAddressee) {
    ListLayout layout;
    const std::filesystem::path file = listLayoutFile(dataRoot, showAddressee);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        layout.columnWidths = defaultListColumnWidths(showAddressee);
        layout.columnWidths[0] = 0;
        try {
            writeListLayout(dataRoot, showAddressee, layout);
        } catch (const FileError&) {
            // The defaults apply for this run all the same.
        }
        return layout;
    }
    std::vector<std::string> lines;
    try {
        lines = readTextLines(file);
    } catch (const FileError&) {
        lines.clear();
    }
    const std::size_t columns = defaultListColumnWidths(showAddressee).size();
    for (std::size_t column = 0; column < columns; ++column) {
        layout.columnWidths.push_back(
            column == 0 ? 0 : integerValue(lines, widthKey(column), kUnreadableWidth));
    }
    layout.sortCode = integerValue(lines, "[File_Sort]", layout.sortCode);
    layout.rowsChoice = integerValue(lines, "[Row_Num]", layout.rowsChoice);
    layout.addresseeBoxHeight = integerValue(lines, "[Splitter2]", layout.addresseeBoxHeight);
    layout.addresseeListShown = lastConfValue(lines, "[Atesaki_List]").value_or("1") != "0";
    return layout;
}

void writeListLayout(const std::filesystem::path& dataRoot, bool showAddressee,
                     const ListLayout& layout) {
    std::vector<std::string> lines;
    for (std::size_t column = 0; column < layout.columnWidths.size(); ++column) {
        lines.push_back(confLine(widthKey(column), std::to_string(layout.columnWidths[column])));
    }
    lines.push_back(confLine("[File_Sort]", std::to_string(layout.sortCode)));
    lines.push_back(confLine("[Row_Num]", std::to_string(layout.rowsChoice)));
    lines.push_back(confLine("[Splitter2]", std::to_string(layout.addresseeBoxHeight)));
    lines.push_back(confLine("[Atesaki_List]", layout.addresseeListShown ? "1" : "0"));
    createFolders(dataRoot / "conf");
    writeTextLines(listLayoutFile(dataRoot, showAddressee), lines);
}

} // namespace kerbina

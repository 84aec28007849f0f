#include "grid/line_copy_file.h"

#include "base/file_io.h"
#include "base/text.h"
#include "records/line_text.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace kerbina {
namespace {

constexpr std::size_t kLineFields = 22;

// The sheet number and kind fields as the line text reader reads them.
bool isInteger(std::string_view text) {
    return parseInteger32(text, IntegerText::SpacePadded).has_value();
}

// 22 fields, each optionally closed by ";", whose mark and kind are integers and whose numbers
// read as numbers.
bool isLineText(std::string_view text) {
    const std::vector<std::string_view> fields = splitFields(text, ';');
    const bool closed = fields.size() == kLineFields + 1 && fields.back().empty();
    if (fields.size() != kLineFields && !closed) {
        return false;
    }
    if (!isInteger(fields[0]) || !isInteger(fields[6])) {
        return false;
    }
    try {
        lineFromText(text);
    } catch (const NumberFormatError&) {
        return false;
    } catch (const CurrencyOverflow&) {
        return false;
    }
    return true;
}

} // namespace

fs::path copyDataFile(const fs::path& workFolder) {
    return workFolder / "copydata.tmp";
}

fs::path clipDataFile(const fs::path& workFolder) {
    return workFolder / "clipdata.tmp";
}

std::string copyFileLineText(const LineRecord& line, Currency quantityDecimals) {
    return lineToText(0, line, quantityDecimals) + ";";
}

void writeLineCopyFile(const fs::path& file, const std::vector<LineRecord>& lines,
                       Currency quantityDecimals) {
    std::vector<std::string> text{std::string(kCopyFileVersionLine)};
    for (const LineRecord& line : lines) {
        text.push_back(copyFileLineText(line, quantityDecimals));
    }
    writeTextLines(file, text);
}

std::optional<std::vector<LineRecord>> readLineCopyFile(const fs::path& file) {
    const std::vector<std::string> text = readTextLines(file);
    if (text.empty() || text.front() != kCopyFileVersionLine) {
        return std::nullopt;
    }
    std::vector<LineRecord> lines;
    for (auto it = text.begin() + 1; it != text.end(); ++it) {
        try {
            lines.push_back(lineFromText(*it).line);
        } catch (const NumberFormatError&) {
        } catch (const CurrencyOverflow&) {
        }
    }
    return lines;
}

std::vector<std::string> splitClipboardText(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crLf ? 2 : 1));
    }
    return lines;
}

std::string clipboardLineText(std::string_view text) {
    if (isLineText(text)) {
        std::string line(text);
        if (line.back() != ';') {
            line += ';';
        }
        return line;
    }
    return "0;" + asSeparatedField(text) + ";;0;0;;30;0;0;0;0;0;0;0;0;0;0;0;0;;;";
}

} // namespace kerbina

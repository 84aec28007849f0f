#pragma once

#include "money/currency.h"
#include "records/records.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The line copy file: "[Version]=2.00", then one line per quotation line in the 22-field text
// form, every field followed by ";". Copy and paste share "copydata.tmp" in the work folder (so
// lines travel between sheets), the clipboard import goes through "clipdata.tmp", and parts
// files use the same format.
inline constexpr std::string_view kCopyFileVersionLine = "[Version]=2.00";

std::filesystem::path copyDataFile(const std::filesystem::path& workFolder);
std::filesystem::path clipDataFile(const std::filesystem::path& workFolder);

// One line of the file; the first field (the mark) is always 0.
std::string copyFileLineText(const LineRecord& line, Currency quantityDecimals);
// Raises FileError when the file cannot be written.
void writeLineCopyFile(const std::filesystem::path& file, const std::vector<LineRecord>& lines,
                       Currency quantityDecimals);
// The lines of a copy file; nothing when the file is missing or does not start with the version
// line. A line whose numbers cannot be read is left out.
std::optional<std::vector<LineRecord>> readLineCopyFile(const std::filesystem::path& file);

// Clipboard text as lines: CR LF, LF and CR all end a line; a line end at the very end adds no
// empty line.
std::vector<std::string> splitClipboardText(std::string_view text);
// The copy-file line a clipboard text line becomes: a line in the 22-field text form is taken as
// it is; any other text becomes a comment line (kind 30) named by the text, with every ";" in it
// written as "；" so that it stays one field.
std::string clipboardLineText(std::string_view text);

} // namespace kerbina

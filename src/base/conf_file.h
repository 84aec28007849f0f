#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The settings and layout files of the conf folder share one line format: a key in square
// brackets, "=" and the value ("[CALC_OPT2]=1"). The key is the text before the first "=",
// brackets included, compared exactly; the value is everything after it, untrimmed, and may
// itself hold "=". A line without "=" has no key and matches nothing.

// The key of a line, or nothing when the line has no "=".
std::optional<std::string_view> confKey(std::string_view line);
// The text after the first "=" (empty when there is none).
std::string_view confValue(std::string_view line);
// key + "=" + value
std::string confLine(std::string_view key, std::string_view value);

// The key of the n-th of a numbered group: stem "[GROUP_NAME" and 3 give "[GROUP_NAME3]".
std::string numberedKey(std::string_view stem, std::size_t number);

// First match: the value of the first line whose key is `key`; empty when none has it.
std::string firstConfValue(const std::vector<std::string>& lines, std::string_view key);
// Whole scan: every line with the key sets the value, so the last one wins; nothing when no line
// has the key (the caller keeps what it had).
std::optional<std::string> lastConfValue(const std::vector<std::string>& lines,
                                         std::string_view key);

// The settings file's print option that adds 材料費, 労務費, 法定福利費 and 経費 to the printed
// breakdown and cover ("TRUE" or "FALSE"). The settings write it, the print viewer reads it.
inline constexpr std::string_view kCostSplitPrintKey = "[Print_CostSplit]";
// The settings file's print option that dates the printed cover in the Japanese era
// (令和8年12月10日) instead of the Western calendar ("TRUE" or "FALSE").
inline constexpr std::string_view kJapaneseEraPrintKey = "[Print_JapaneseEra]";

// dataRoot/conf/Kerbina.conf, written whole by the settings dialog.
std::filesystem::path settingsFilePath(const std::filesystem::path& dataRoot);
// dataRoot/conf/Network_conf.conf, naming the database folder.
std::filesystem::path networkFilePath(const std::filesystem::path& dataRoot);

// The lines of the settings file, read by every part that needs it (start-up, the settings
// dialog's stores, the command-line tool): none when the file is missing. Raises FileError when it
// cannot be read, is no regular file or is larger than the read limit.
std::vector<std::string> readSettingsFileLines(const std::filesystem::path& dataRoot);
// First match in the settings file; empty when the file or the key is missing.
std::string readConfValue(const std::filesystem::path& dataRoot, std::string_view key);
// Whole scan of the network folder file for "[Network_Dir]"; empty when the file or the key is
// missing (the caller then uses the default database folder).
std::string readNetworkFolder(const std::filesystem::path& dataRoot);

// A remembered window position in screen pixels (negative values allowed).
struct WindowPosition {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

// dataRoot/conf/<name>.ini
std::filesystem::path windowPositionPath(const std::filesystem::path& dataRoot,
                                         std::string_view name);
// All zero when the file is missing; a value that is not a whole number reads as 0. Callers apply
// a position only when its height is greater than 0.
WindowPosition readWindowPosition(const std::filesystem::path& dataRoot, std::string_view name);
// Rewrites the file with the four lines top, left, width, height. Raises FileError on failure.
void writeWindowPosition(const std::filesystem::path& dataRoot, std::string_view name,
                         const WindowPosition& position);

} // namespace kerbina

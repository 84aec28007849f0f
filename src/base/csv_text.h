#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The lines of every CSV file the program writes for spreadsheets: comma-separated, every value
// followed by "," (so each line ends with ","). A value holding "," or '"' (or a line break) would
// shift the columns of every reader, so it is enclosed in double quotes with its own double quotes
// doubled; every other value is written as it stands.

// One value as written: quoted only when it must be.
std::string csvValue(std::string_view value);
// One line: every value followed by ",".
std::string csvLine(const std::vector<std::string>& values);

} // namespace kerbina

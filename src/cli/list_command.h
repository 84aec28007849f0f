#pragma once

#include <string_view>
#include <vector>

namespace kerbina::cli {

// kerbina-cli list: the saved quotations matching the options, as JSON, in the list's order.
// Returns the exit status (0 done, 1 the database could not be read, 2 wrong arguments, after
// saying so; the caller then shows the usage).
int runList(const std::vector<std::string_view>& words);

} // namespace kerbina::cli

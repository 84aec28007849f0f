#pragma once

#include "cli/database_commands.h"

#include <string_view>
#include <vector>

namespace kerbina::cli {

// "takeoff import FILE.krb2 --sheet N PAYLOADS.txt -o OUT.krb2 [--data-root DIR]" (the words
// after "takeoff"). The exit status.
int runTakeoff(const std::vector<std::string_view>& words, const ToolServices& services);

} // namespace kerbina::cli

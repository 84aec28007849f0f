#pragma once

#include "grid/grid_commands.h"

#include <string>
#include <string_view>

namespace kerbina {

// Menu items can run a command given by name (their hint text). The grid's own commands run
// here; commands that need a window or another subsystem come back by name for the windows.
struct NamedCommandResult {
    CommandResult result;
    // The name, when the command is the windows' to run: "close", "print", "new_data", "datasort",
    // "part_load", "part_save", "uchiwake_title"; on the breakdown list also "csv_out" and
    // "note_in". Empty when the command ran here or does nothing in the current mode.
    std::string windowCommand;
};

// Unknown names, and names that do nothing in the current mode, change nothing.
NamedCommandResult runNamedCommand(GridContext& context, std::string_view name, Selection selection,
                                   bool listMode);

} // namespace kerbina

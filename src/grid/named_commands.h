#pragma once

#include "grid/grid_commands.h"

#include <string_view>

namespace kerbina {

// Menu items can run a command given by name (their hint text). The grid's own commands run
// here; commands that need a window or another subsystem come back as an action for the window.
enum class WindowAction {
    None,
    Close,             // "close": close the main window
    Print,             // "print": the current sheet, or the breakdown list in list mode
    OpenDataEntry,     // "new_data": the line data-entry dialog
    PipingAggregation, // "datasort"
    ChoosePartsToLoad, // "part_load": choose a ".prt" file, then loadPartsFile
    ChoosePartsToSave, // "part_save": choose a ".prt" file, then savePartsFile
    RenameItem,        // "uchiwake_title": the current item (sheet) or the selected one (list)
    CsvOutput,         // "csv_out" (list mode)
    NoteInput,         // "note_in" (list mode)
};

struct NamedCommandResult {
    CommandResult result;
    WindowAction action = WindowAction::None;
};

// Unknown names, and names that do nothing in the current mode, change nothing.
NamedCommandResult runNamedCommand(GridContext& context, std::string_view name, Selection selection,
                                   bool listMode);

} // namespace kerbina

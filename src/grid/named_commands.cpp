#include "grid/named_commands.h"

#include "grid/item_commands.h"
#include "grid/row_commands.h"

namespace kerbina {
namespace {

NamedCommandResult ran(CommandResult result) {
    return NamedCommandResult{result, {}};
}

// A command the windows run; `name` empty for one that does nothing here.
NamedCommandResult action(Selection selection, std::string_view name) {
    CommandResult result;
    result.selection = selection;
    return NamedCommandResult{result, std::string(name)};
}

NamedCommandResult runInList(GridContext& context, std::string_view name, Selection selection) {
    if (name == "insert") {
        return ran(insertItem(context, selection));
    }
    if (name == "delete") {
        return ran(deleteItem(context, selection));
    }
    if (name == "csv_out") {
        return action(selection, "csv_out");
    }
    if (name == "note_in") {
        return action(selection, "note_in");
    }
    return action(selection, {});
}

NamedCommandResult runInSheet(GridContext& context, std::string_view name, Selection selection) {
    if (name == "erase") {
        if (holdsGeneratedLines(context.state, selection)) {
            context.host.notify("ここでは修正できないデータが含まれています");
            return action(selection, {});
        }
        return ran(eraseLines(context, selection));
    }
    if (name == "swap") {
        return ran(swapWithMovedLine(context, selection));
    }
    if (name == "copy") {
        return ran(copyLines(context, selection));
    }
    if (name == "move_up") {
        return ran(moveLineUp(context, selection));
    }
    if (name == "move_down") {
        return ran(moveLineDown(context, selection));
    }
    if (name == "insert") {
        return ran(insertLines(context, selection));
    }
    if (name == "new_data") {
        return action(selection, "new_data");
    }
    if (name == "datasort") {
        return action(selection, "datasort");
    }
    if (name == "part_load") {
        return action(selection, "part_load");
    }
    if (name == "part_save") {
        return action(selection, "part_save");
    }
    return action(selection, {});
}

} // namespace

NamedCommandResult runNamedCommand(GridContext& context, std::string_view name, Selection selection,
                                   bool listMode) {
    const DocumentState& state = context.state;
    if (name == "top_line") {
        return ran(goToFirstLine(state, selection, listMode));
    }
    if (name == "all_cancel") {
        // Both modes: select row 1.
        CommandResult result;
        result.selection = Selection{1, 1};
        return ran(result);
    }
    if (name == "all_select") {
        return ran(selectAll(state, selection, listMode));
    }
    if (name == "Last_Line") {
        return ran(goToLastLine(state, selection, listMode, !listMode));
    }
    if (name == "close") {
        return action(selection, "close");
    }
    if (name == "print") {
        return action(selection, "print");
    }
    if (name == "uchiwake_title") {
        return action(selection, "uchiwake_title");
    }
    if (name == "undo") {
        CommandResult result;
        result.selection = selection;
        result.changed = context.cycle.undo(listMode);
        result.itemsChanged = listMode && result.changed;
        return ran(result);
    }
    return listMode ? runInList(context, name, selection) : runInSheet(context, name, selection);
}

} // namespace kerbina

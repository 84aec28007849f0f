#pragma once

#include "grid/grid_commands.h"

#include <string>

namespace kerbina {

// Commands on the breakdown list (tab 0). An item travels with its files: the sheet file, the
// take-off file and the aggregation settings file of its number. Each works on the item in the
// selection's first row, asks and reports through the host, and ends with the list pass and
// saveItemList; the window then rebuilds the sheet tabs and shows the list.

// Remembers the item and the bytes of its files as they are now.
CommandResult copyItem(GridContext& context, Selection selection);
// Copy, then Delete (with its question).
CommandResult cutItem(GridContext& context, Selection selection);
// Puts the remembered item and its files at the selected row, appending items up to it.
CommandResult pasteItem(GridContext& context, Selection selection);
// Moves the items from the selected one on down one number and puts an empty item there.
CommandResult insertItem(GridContext& context, Selection selection);
// The step of Insert without its question and snapshot: the items from `row` (an existing item)
// on move down one number with their files, the ranges follow them, and an empty work item takes
// `row`. The open sheet's number follows its item.
void insertEmptyItem(GridContext& context, int row);
// Removes the selected item; the list never becomes empty.
CommandResult deleteItem(GridContext& context, Selection selection);

// "内訳名入力": gives `item` (appended when missing) a new name, cut to the field's width. The
// list is snapshotted first so the rename can be undone on the list; in sheet mode the open sheet
// is written as well, since its title line carries the name. The window rebuilds the tabs and
// shows the name; nothing else moves.
CommandResult renameItem(GridContext& context, Selection selection, int item,
                         const std::string& name, bool listMode);

} // namespace kerbina

#pragma once

#include "grid/grid_commands.h"

#include <optional>
#include <string>

namespace kerbina {

// The structure commands of the breakdown list (tab 0): hierarchy parents, small sums, mid sums,
// the sum, the reduction, the consumption tax and the item notes, and what a double-click on an
// item does. Each asks and refuses through context.host, checks the rows it will write before it
// asks, takes the list snapshot before it changes items and ends with the list pass and the list
// written (finishListChange). They write items only: the open sheet keeps its number (it moves
// with its item when an item is inserted above it) and its lines. The row a command creates
// becomes the selection.

// What the list commands read from the environment settings.
struct ListSettings {
    std::string smallSumName = "［小　計］";
    std::string midSumName = "【中　計】";
    std::string sumName = "【合　計】";
    Currency taxRate = Currency::fromWhole(10); // [Tax_Value], in percent
    bool reductionReducesCost = false;          // [CALC_OPT5]: a reduction lowers the net total too
};

// "階  層": a hierarchy parent inserted above the selected items, which go one level down.
CommandResult addHierarchy(GridContext& context, Selection selection);
// "小　計": a small sum over the selected items, below them.
CommandResult addListSmallSum(GridContext& context, Selection selection,
                              const ListSettings& settings);
// "中　計": a mid sum below the selected item; over several items, after the last item.
CommandResult addListMidSum(GridContext& context, Selection selection,
                            const ListSettings& settings);
// "合計線": the sum at the selected item (which must hold no data); over several items, after the
// last item.
CommandResult addListSumLine(GridContext& context, Selection selection,
                             const ListSettings& settings);
// "減　額": a reduction at the selected item, its amount asked without a sign.
CommandResult addListReduction(GridContext& context, Selection selection,
                               const ListSettings& settings);
// "消費税": the consumption tax item at the selected item, asking whether the net side is charged
// the same tax. Refused while the sheets carry tax lines.
CommandResult addListTax(GridContext& context, Selection selection, const ListSettings& settings);
// "備考入力": the note of the selected item (40 bytes), appended when missing. No undo snapshot.
CommandResult editItemNote(GridContext& context, Selection selection);

// A double-click on breakdown item `row`. Items without a sheet are renamed or edited here
// (without an undo snapshot); `openSheet` names the item whose sheet the window opens: the item's
// own, or a new empty work item appended one row past the last.
struct ItemOpening {
    CommandResult result;
    std::optional<int> openSheet;
};
ItemOpening openListItem(GridContext& context, int row);

} // namespace kerbina

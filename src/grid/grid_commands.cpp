#include "grid/grid_commands.h"

#include "document/work_folder.h"
#include "records/line_kinds.h"

namespace fs = std::filesystem;

namespace kerbina {

CommandResult finishChange(GridContext& context, Selection selection) {
    context.cycle.recalculate(false);
    context.cycle.writeSheet();
    CommandResult result;
    result.changed = true;
    result.selection = selection;
    return result;
}

CommandResult finishListChange(GridContext& context, Selection selection) {
    context.cycle.recalculate(true);
    context.cycle.writeList();
    CommandResult result;
    result.changed = true;
    result.itemsChanged = true;
    result.selection = selection;
    return result;
}

ItemRecord& itemCreatedAt(DocumentState& state, int row) {
    while (state.itemMax() < row) {
        state.items.push_back(newSheetItem());
    }
    return state.items[static_cast<std::size_t>(row)];
}

fs::path itemSheetFile(const fs::path& workFolder, int item) {
    return workFolder / sheetFileName(item);
}

fs::path itemPickupFile(const fs::path& workFolder, int item) {
    return workFolder / pickupFileName(item);
}

fs::path itemAggregationFile(const fs::path& workFolder, int item) {
    return workFolder / aggregationFileName(item);
}

} // namespace kerbina

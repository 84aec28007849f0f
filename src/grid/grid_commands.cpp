#include "grid/grid_commands.h"

#include "document/work_folder.h"

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

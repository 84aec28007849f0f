#include "grid/grid_commands.h"

#include "document/work_folder.h"

namespace fs = std::filesystem;

namespace kerbina {

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

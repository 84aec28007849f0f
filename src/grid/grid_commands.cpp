#include "grid/grid_commands.h"

namespace fs = std::filesystem;

namespace kerbina {

fs::path itemSheetFile(const fs::path& workFolder, int item) {
    return workFolder / ("WITEM" + std::to_string(item) + ".WRK");
}

fs::path itemPickupFile(const fs::path& workFolder, int item) {
    return workFolder / ("WITEM" + std::to_string(item) + ".PUP");
}

fs::path itemAggregationFile(const fs::path& workFolder, int item) {
    return workFolder / ("DATASORT" + std::to_string(item) + ".WRK");
}

} // namespace kerbina

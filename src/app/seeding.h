#pragma once

#include "storage/module_presence.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace kerbina {

// True when the companion program `baseName` (or baseName + ".exe") is a file in installFolder.
bool companionProgramExists(const std::filesystem::path& installFolder, std::string_view baseName);
ModulePresence detectModules(const std::filesystem::path& installFolder);

// A data root is new when it does not exist yet or holds nothing but the instance lock file,
// which the lock creates before the folders are looked at.
bool isNewDataRoot(const std::filesystem::path& dataRoot);

// What one seeding run changed on disk.
struct SeedResult {
    std::vector<std::filesystem::path> createdFolders;
    std::vector<std::filesystem::path> copiedFiles;
};

// Lays out the data root and fills it from the seed tree in installFolder:
// - a new data root gets data, style, conf, printdata, temp and kerbina_data, with the seed files
//   of style, conf, sampledata (into kerbina_data) and data;
// - temp, conf, backup, part and printdata are created when missing;
// - style, part/見積定型 and part/特記事項 (*.prt only) are created and filled when missing;
// - a present piping module gets ex_data with its three seed files and style/ex_data, a present
//   duct module dx_data with its seed file and style/dx_data.
// Files are copied only where the target is missing, so user files are never overwritten and a
// second run changes nothing. A copy or folder that cannot be made is skipped: the program then
// starts with what it has, as it does with an incomplete installation.
SeedResult seedDataRoot(const std::filesystem::path& installFolder,
                        const std::filesystem::path& dataRoot, ModulePresence modules);

} // namespace kerbina

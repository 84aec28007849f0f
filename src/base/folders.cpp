#include "base/folders.h"

#include "base/conf_file.h"
#include "base/platform_paths.h"

#include <string>

namespace kerbina {

std::filesystem::path dataRootIn(const std::filesystem::path& commonAppData) {
    return commonAppData / "Norfell" / "kerbina_xe5";
}

std::filesystem::path defaultDatabaseFolderIn(const std::filesystem::path& commonAppData) {
    return commonAppData / "Norfell" / "database";
}

std::filesystem::path configuredOrDefault(std::string_view configured,
                                          const std::filesystem::path& fallback) {
    return configured.empty() ? fallback : pathFromText(configured);
}

std::filesystem::path dataRoot() {
    return dataRootIn(commonAppDataFolder());
}

std::filesystem::path databaseFolder(const std::filesystem::path& dataRoot) {
    // The default database folder sits beside the data root ("<common>/Norfell/kerbina_xe5" and
    // "<common>/Norfell/database"), also for a data root given on a command line.
    std::filesystem::path root = dataRoot.lexically_normal();
    if (root.filename().empty()) {
        root = root.parent_path();
    }
    return configuredOrDefault(readNetworkFolder(dataRoot), root.parent_path() / "database");
}

std::filesystem::path quotationFolder(const std::filesystem::path& dataRoot) {
    return configuredOrDefault(readConfValue(dataRoot, "[Data_Dir]"), dataRoot / "kerbina_data");
}

AppFolders locateFolders() {
    AppFolders folders;
    folders.installFolder = installFolder();
    folders.dataRoot = dataRoot();
    folders.databaseFolder = databaseFolder(folders.dataRoot);
    folders.quotationFolder = quotationFolder(folders.dataRoot);
    return folders;
}

} // namespace kerbina

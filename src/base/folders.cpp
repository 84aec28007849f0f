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
    return configuredOrDefault(readNetworkFolder(dataRoot),
                               defaultDatabaseFolderIn(commonAppDataFolder()));
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

#pragma once

#include "base/path_text.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kerbina {

// The four folders every part of the program builds its paths from. They are computed once at
// start-up and read-only afterwards.
//   installFolder    seed files and companion programs (platform_paths.h)
//   dataRoot         everything the program writes: common data folder + "/Norfell/kerbina_xe5"
//   databaseFolder   "[Network_Dir]" of conf/Network_conf.conf, else common data folder +
//                    "/Norfell/database"
//   quotationFolder  "[Data_Dir]" of conf/Kerbina.conf, else dataRoot + "/kerbina_data"
struct AppFolders {
    std::filesystem::path installFolder;
    std::filesystem::path dataRoot;
    std::filesystem::path databaseFolder;
    std::filesystem::path quotationFolder;
};

std::filesystem::path dataRootIn(const std::filesystem::path& commonAppData);
std::filesystem::path defaultDatabaseFolderIn(const std::filesystem::path& commonAppData);
// The configured folder when the text is not empty, else the default.
std::filesystem::path configuredOrDefault(std::string_view configured,
                                          const std::filesystem::path& fallback);

// The data root of this machine (from the environment).
std::filesystem::path dataRoot();
// The database folder named by the network folder file of `dataRoot`, else the "database" folder
// beside `dataRoot`.
std::filesystem::path databaseFolder(const std::filesystem::path& dataRoot);
// The quotation folder named by "[Data_Dir]" (first match), else dataRoot + "/kerbina_data".
std::filesystem::path quotationFolder(const std::filesystem::path& dataRoot);
// All four, as they stand on disk now.
AppFolders locateFolders();

} // namespace kerbina

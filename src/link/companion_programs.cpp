#include "link/companion_programs.h"

#include "base/folders.h"
#include "base/path_text.h"

namespace kerbina {

namespace fs = std::filesystem;

std::optional<fs::path> companionProgram(const fs::path& installFolder, std::string_view baseName) {
    for (const fs::path& candidate : {installFolder / std::string(baseName),
                                      installFolder / (std::string(baseName) + ".exe")}) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::string companionMissingText(std::string_view baseName) {
    return "プログラム「" + std::string(baseName) + "」が見つかりません。";
}

std::string standardPriceArgument(const AppFolders& folders, const fs::path& databaseFile) {
    std::string argument;
    for (const std::string& field :
         {pathText(folders.dataRoot), pathText(folders.quotationFolder), pathText(databaseFile),
          std::string("0"), pathText(folders.databaseFolder)}) {
        argument += field;
        argument += ';';
    }
    return argument;
}

std::string accessoryPriceArgument(int tag, const fs::path& databaseFile) {
    return std::to_string(tag) + ";1;0;0;" + pathText(databaseFile.parent_path() / fs::path()) +
           ";";
}

} // namespace kerbina

#include "app/startup.h"

#include "base/conf_file.h"
#include "base/file_io.h"

#include <system_error>

namespace kerbina {

namespace {

// The fixed master password that opens the program whatever password the user configured (for
// the support desk when a user has forgotten theirs).
constexpr std::string_view kMasterPassword = "Krb-Open#26";

} // namespace

DatabaseFolderChoice chooseDatabaseFolder(const std::filesystem::path& dataRoot,
                                          const std::filesystem::path& commonAppData) {
    const std::string configured = readNetworkFolder(dataRoot);
    if (configured.empty()) {
        return {useDefaultDatabaseFolder(commonAppData), false};
    }
    const std::filesystem::path folder = pathFromText(configured);
    std::error_code error;
    return {folder, !std::filesystem::is_directory(folder, error)};
}

std::filesystem::path useDefaultDatabaseFolder(const std::filesystem::path& commonAppData) {
    const std::filesystem::path folder = defaultDatabaseFolderIn(commonAppData);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        throw FileError("データベースフォルダーを作成できませんでした: " + pathText(folder));
    }
    return folder;
}

bool startupPasswordRequired(const std::filesystem::path& dataRoot) {
    return readConfValue(dataRoot, "[EDIT_OPT4]") == "TRUE";
}

bool startupPasswordAccepted(const std::filesystem::path& dataRoot,
                             const std::optional<std::string>& entry) {
    const std::string typed = entry.value_or(std::string());
    return typed == readConfValue(dataRoot, "[EDIT_OPT5]") || typed == kMasterPassword;
}

SettingsSources gatherSettingsSources(const std::filesystem::path& dataRoot, Database& quotations,
                                      const std::string& coverTitle1,
                                      const std::string& coverTitle2) {
    SettingsSources sources;
    sources.settingsLines = readSettingsFileLines(dataRoot);
    try {
        const SqlRows rows = quotations.queryRows("SELECT * FROM krbconf where conf='KERBINA';");
        if (!rows.empty()) {
            std::string joined;
            for (const SqlRow& row : rows) {
                for (const std::string& column : row.columns) {
                    if (!joined.empty()) {
                        joined += "\r\n";
                    }
                    joined += column;
                }
            }
            sources.numberingRow = joined;
        }
    } catch (const DatabaseError&) {
        // Without a readable numbering row the numbering options keep their values.
    }
    sources.bundledPrintStyle = bundledPrintStyle(dataRoot);
    sources.coverTitle1 = coverTitle1;
    sources.coverTitle2 = coverTitle2;
    return sources;
}

} // namespace kerbina

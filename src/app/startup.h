#pragma once

#include "app/seeding.h"
#include "base/folders.h"
#include "settings/main_settings.h"
#include "storage/database.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kerbina {

// The database folder as the network folder file names it. A configured folder that does not
// exist is reported instead of being created (a typing error or an unplugged drive must not
// silently start an empty database beside the real one); the default folder is created.
struct DatabaseFolderChoice {
    std::filesystem::path folder;
    bool configuredFolderMissing = false;
};
DatabaseFolderChoice chooseDatabaseFolder(const std::filesystem::path& dataRoot,
                                          const std::filesystem::path& commonAppData);
// The default database folder, created when missing (raises FileError when it cannot be made).
std::filesystem::path useDefaultDatabaseFolder(const std::filesystem::path& commonAppData);

// Start-up password: asked when "[EDIT_OPT4]" is "TRUE". A cancelled box counts as an empty entry.
bool startupPasswordRequired(const std::filesystem::path& dataRoot);
bool startupPasswordAccepted(const std::filesystem::path& dataRoot,
                             const std::optional<std::string>& entry);

// Everything readSettings reads, taken from the data root and the numbering row of the quotation
// database ("SELECT * FROM krbconf where conf='KERBINA';"). A failed query counts as no row.
SettingsSources gatherSettingsSources(const std::filesystem::path& dataRoot, Database& quotations,
                                      const std::string& coverTitle1,
                                      const std::string& coverTitle2);

} // namespace kerbina

#include "storage/database_files.h"

#include "base/file_io.h"

#include <system_error>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

// A file of no bytes holds no tables: what an interrupted copy leaves behind.
bool isMissing(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) {
        return true;
    }
    return fs::is_regular_file(status) && fs::file_size(file, error) == 0 && !error;
}

// Puts the shipped template in place of a missing or empty database. The copy is linked in only
// while the name is free, so a database another program has just put there is never replaced.
// A failure leaves the target as it was; the caller then creates the database itself or goes on
// without it.
void copyTemplate(const fs::path& source, const fs::path& target) {
    std::error_code error;
    if (!fs::is_regular_file(source, error) || fs::file_size(source, error) == 0 || error) {
        return;
    }
    if (fs::exists(target, error) && fs::file_size(target, error) == 0 && !error) {
        fs::remove(target, error);
    }
    copyFileIfAbsent(source, target);
}

bool isNeeded(const DatabaseFileDef& definition, ModulePresence modules) {
    switch (definition.file) {
    case DatabaseFile::Quotation:
    case DatabaseFile::Address:
        return true;
    case DatabaseFile::Piping:
        return modules.piping;
    case DatabaseFile::DuctData:
    case DatabaseFile::DuctVhs:
        return modules.duct;
    }
    return false;
}

} // namespace

fs::path databaseFilePath(const fs::path& databaseFolder, DatabaseFile file) {
    return databaseFolder / fs::path(databaseFileDef(file).fileName);
}

void prepareDatabaseFiles(const fs::path& databaseFolder, const fs::path& installFolder,
                          ModulePresence modules, UserPrompt& reporter) {
    std::error_code error;
    fs::create_directories(databaseFolder, error);
    for (const DatabaseFileDef& definition : databaseFiles()) {
        if (!isNeeded(definition, modules)) {
            continue;
        }
        const fs::path target = databaseFilePath(databaseFolder, definition.file);
        if (!isMissing(target)) {
            continue;
        }
        copyTemplate(installFolder / "database" / fs::path(definition.fileName), target);
        if (definition.createdWhenMissing && isMissing(target)) {
            SqliteFileDatabase database(target, reporter);
            createDatabaseTables(database, definition);
        }
    }
}

} // namespace kerbina

#pragma once

#include "storage/database.h"
#include "storage/module_presence.h"
#include "storage/schema.h"

#include <filesystem>

namespace kerbina {

// The path of one database file in the database folder.
std::filesystem::path databaseFilePath(const std::filesystem::path& databaseFolder,
                                       DatabaseFile file);

// Makes the database folder ready at start-up, before any statement runs. Each file that is
// missing there (an empty file left by an interrupted copy counts as missing) is copied from the
// installation's "database" folder. The quotation and address databases that are still missing
// are then created, each on its own, with their tables and seed rows; the module files are only
// ever copied, and only for the modules present. Creation errors go to `reporter`.
void prepareDatabaseFiles(const std::filesystem::path& databaseFolder,
                          const std::filesystem::path& installFolder, ModulePresence modules,
                          UserPrompt& reporter);

} // namespace kerbina

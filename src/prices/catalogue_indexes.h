#pragma once

#include <chrono>
#include <filesystem>

namespace kerbina {

// Gives the catalogue's lookups an index over the columns they filter by (group, category, name)
// and the 仕様 text (ITEMSIZE), so that a category, a name list or a row of a catalogue of
// 100,000 rows is found at once, and a search ("contains", which no index can seek) reads the
// group's names and 仕様 texts from the index alone, fetching only the rows that match.
//
// The index is part of the quotation database file, which other workstations and programs write
// too: it is created with "IF NOT EXISTS" (running again changes nothing), adds no column and
// changes no row, so every other writer goes on as before; SQLite keeps it up to date for them.
// The catalogue works without it, only slower, so this never stands in the program's way: when
// the file is busy beyond `busyWait`, read-only, damaged or has no catalogue table, nothing is
// created, nothing is said, and the result is false.
bool ensureCatalogueIndexes(const std::filesystem::path& quotationDatabaseFile,
                            std::chrono::milliseconds busyWait = std::chrono::milliseconds(200));

} // namespace kerbina

#include "prices/catalogue_indexes.h"

#include "storage/sqlite_connection.h"

namespace kerbina {

bool ensureCatalogueIndexes(const std::filesystem::path& quotationDatabaseFile,
                            std::chrono::milliseconds busyWait) {
    try {
        SqliteConnection connection(quotationDatabaseFile, SqliteOpenMode::ReadWrite);
        connection.requireWritable();
        connection.setBusyTimeout(busyWait);
        connection.execute("CREATE INDEX IF NOT EXISTS tanka_lookup ON "
                           "tanka(GROUPID,CATEGORY,ITEMNAME,ITEMSIZE);");
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

} // namespace kerbina

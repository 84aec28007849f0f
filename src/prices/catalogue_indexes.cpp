#include "prices/catalogue_indexes.h"

#include "storage/sqlite_connection.h"

namespace kerbina {

bool ensureCatalogueIndexes(const std::filesystem::path& quotationDatabaseFile,
                            std::chrono::milliseconds busyWait) {
    try {
        SqliteConnection connection(quotationDatabaseFile, SqliteOpenMode::ReadWrite);
        connection.requireWritable();
        connection.setBusyTimeout(busyWait);
        connection.execute("CREATE INDEX IF NOT EXISTS tanka_group_category_name ON "
                           "tanka(GROUPID,CATEGORY,ITEMNAME);");
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

} // namespace kerbina

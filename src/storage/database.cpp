#include "storage/database.h"

#include "storage/sqlite_connection.h"

namespace kerbina {

const std::string& SqlRow::field(std::size_t n) const {
    static const std::string empty;
    return n >= 1 && n <= columns.size() ? columns[n - 1] : empty;
}

bool Database::SqlExec(std::string_view sql, const SqlParams& params) {
    try {
        execute(sql, params);
        return true;
    } catch (const std::exception& error) {
        reporter_.reportError(kSqlErrorText, error.what());
        return false;
    }
}

SqlRows SqliteFileDatabase::SqlSelect(std::string_view sql, const SqlParams& params) {
    TSQLiteDatabase connection(file_);
    connection.setBusyTimeout(busyTimeout_);
    return connection.GetTable(sql, params);
}

void SqliteFileDatabase::execute(std::string_view sql, const SqlParams& params) {
    TSQLiteDatabase connection(file_);
    connection.setBusyTimeout(busyTimeout_);
    connection.ExecSQL(sql, params);
}

} // namespace kerbina

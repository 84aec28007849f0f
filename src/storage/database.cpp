#include "storage/database.h"

#include "storage/sqlite_connection.h"

#include <sqlite3.h>

namespace kerbina {

const std::string& SqlRow::field(std::size_t n) const {
    static const std::string empty;
    return n >= 1 && n <= columns.size() ? columns[n - 1] : empty;
}

bool Database::executeOrReport(std::string_view sql, const SqlParams& params) {
    try {
        execute(sql, params);
        return true;
    } catch (const DatabaseError& error) {
        reporter_.reportError(kSqlErrorText, databaseFaultMessage(error));
        return false;
    }
}

std::string databaseFaultMessage(const DatabaseError& error) {
    const char* what = nullptr;
    const char* todo = nullptr;
    switch (error.code() & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        what = "データベースは他のコンピューターが使用中です。";
        todo = "しばらく待ってから、もう一度操作してください。";
        break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        what = "データベースファイルが壊れているか、データベースではありません。";
        todo = "このファイルを別の場所に移すか、バックアップから戻してから、もう一度起動してくださ"
               "い。";
        break;
    case SQLITE_FULL:
    case SQLITE_IOERR:
        what = "データベースファイルに書き込めません。ディスクの空き容量が不足している可能性があり"
               "ます。";
        todo = "ディスクの空き容量を確保してから、もう一度操作してください。";
        break;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
        what = "データベースファイルを開けないか、書き込みが許可されていません。";
        todo = "フォルダーとファイルのアクセス権限を確かめてください。";
        break;
    default:
        what = "データベースの操作に失敗しました。";
        todo = "もう一度操作してください。繰り返すときは、管理者に連絡してください。";
        break;
    }
    std::string message = what;
    message += "\n";
    message += error.location();
    message += "\n";
    message += todo;
    if (error.code() != 0) {
        message += "\n(SQLite ";
        message += std::to_string(error.code());
        message += ": ";
        message += sqlite3_errstr(error.code());
        message += ")";
    }
    return message;
}

std::string SqliteFileDatabase::location() const {
    const std::u8string text = file_.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

SqlRows SqliteFileDatabase::queryRows(std::string_view sql, const SqlParams& params) {
    try {
        TSQLiteDatabase connection(file_);
        connection.setBusyTimeout(busyTimeout_);
        return connection.GetTable(sql, params);
    } catch (DatabaseError& error) {
        error.setLocation(location());
        throw;
    }
}

void SqliteFileDatabase::execute(std::string_view sql, const SqlParams& params) {
    try {
        TSQLiteDatabase connection(file_);
        connection.setBusyTimeout(busyTimeout_);
        connection.ExecSQL(sql, params);
    } catch (DatabaseError& error) {
        error.setLocation(location());
        throw;
    }
}

} // namespace kerbina

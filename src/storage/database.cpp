#include "storage/database.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "storage/sqlite_connection.h"

#include <cstdint>

namespace kerbina {

const std::string& SqlRow::field(std::size_t n) const {
    static const std::string empty;
    return n >= 1 && n <= columns.size() ? columns[n - 1] : empty;
}

std::vector<std::string> firstFields(const SqlRows& rows) {
    std::vector<std::string> texts;
    texts.reserve(rows.size());
    for (const SqlRow& row : rows) {
        texts.push_back(row.field(1));
    }
    return texts;
}

bool Database::executeOrReport(std::string_view sql, const SqlParams& params) {
    try {
        execute(sql, params);
        return true;
    } catch (const DatabaseError& error) {
        report(error);
        return false;
    }
}

void Database::report(const DatabaseError& error) {
    reporter_.reportError(kSqlErrorText, databaseFaultMessage(error));
}

std::string databaseFaultMessage(const DatabaseError& error) {
    const char* what = nullptr;
    const char* todo = nullptr;
    switch (sqliteFault(error.code())) {
    case SqliteFault::Busy:
        what = "データベースは他のコンピューターが使用中です。";
        todo = "しばらく待ってから、もう一度操作してください。";
        break;
    case SqliteFault::NotADatabase:
    case SqliteFault::Damaged:
        what = "データベースファイルが壊れているか、データベースではありません。";
        todo = "このファイルを別の場所に移すか、バックアップから戻してから、もう一度起動してくださ"
               "い。";
        break;
    case SqliteFault::CannotWrite:
        what = "データベースファイルに書き込めません。ディスクの空き容量が不足している可能性があり"
               "ます。";
        todo = "ディスクの空き容量を確保してから、もう一度操作してください。";
        break;
    case SqliteFault::NoAccess:
        what = "データベースファイルを開けないか、書き込みが許可されていません。";
        todo = "フォルダーとファイルのアクセス権限を確かめてください。";
        break;
    case SqliteFault::Other:
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
        message += sqliteErrorText(error.code());
        message += ")";
    }
    return message;
}

std::string SqliteFileDatabase::location() const {
    return pathText(file_);
}

template <typename Statement> auto SqliteFileDatabase::onConnection(Statement statement) {
    try {
        SqliteConnection connection(file_);
        connection.setBusyTimeout(busyTimeout_);
        return statement(connection);
    } catch (DatabaseError& error) {
        error.setLocation(location());
        throw;
    }
}

SqlRows SqliteFileDatabase::queryRows(std::string_view sql, const SqlParams& params) {
    return onConnection(
        [&](SqliteConnection& connection) { return connection.queryRows(sql, params); });
}

void SqliteFileDatabase::execute(std::string_view sql, const SqlParams& params) {
    onConnection([&](SqliteConnection& connection) { connection.execute(sql, params); });
}

std::string SqliteFileDatabase::changeStamp() const {
    std::string head;
    try {
        head = readFileHead(file_, 100);
    } catch (const std::exception&) {
        return {};
    }
    // Bytes 18 and 19 are 2 in WAL mode; a "-wal" file beside it means the same.
    std::error_code error;
    if (head.size() < 100 || head[18] == 2 || head[19] == 2 ||
        std::filesystem::exists(pathFromText(location() + "-wal"), error)) {
        return {};
    }
    std::uint32_t counter = 0;
    for (std::size_t at = 24; at < 28; ++at) {
        counter = (counter << 8) | static_cast<unsigned char>(head[at]);
    }
    const auto size = std::filesystem::file_size(file_, error);
    return std::to_string(counter) + ":" + std::to_string(error ? 0 : size);
}

} // namespace kerbina

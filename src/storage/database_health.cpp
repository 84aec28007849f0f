#include "storage/database_health.h"

#include "base/path_text.h"
#include "storage/sqlite_connection.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Whether another connection holds the write lock (or more) of the file now. Without waiting:
// the caller decides how long to look again. A file that cannot be opened tells nothing.
bool writeLockHeld(const fs::path& file) {
    try {
        SqliteConnection connection(file, SqliteOpenMode::ReadWrite);
        SqliteTransaction lock(connection);
    } catch (const DatabaseError& error) {
        return sqliteFault(error.code()) == SqliteFault::Busy;
    }
    return false;
}

} // namespace

WriteAccess waitForWriteAccess(const fs::path& file, LockWaitObserver& observer,
                               LockWaitPolicy policy) {
    const steady_clock::time_point started = steady_clock::now();
    bool told = false;
    WriteAccess access = WriteAccess::Free;
    while (writeLockHeld(file)) {
        const auto waited = std::chrono::duration_cast<milliseconds>(steady_clock::now() - started);
        if (waited >= policy.limit) {
            access = WriteAccess::InUse;
            break;
        }
        told = true;
        if (!observer.keepWaiting(waited, policy.limit)) {
            access = WriteAccess::Cancelled;
            break;
        }
        std::this_thread::sleep_for(policy.interval);
    }
    if (told) {
        observer.waitEnded();
    }
    return access;
}

std::string databaseInUseMessage(const fs::path& file) {
    return "データベースは他のプログラムが使用中のため、保存できませんでした。データは保存されて"
           "いません。\n" +
           pathText(file) + "\nしばらく待ってから、もう一度保存してください。";
}

DatabaseCheck checkDatabaseFile(const fs::path& file, CheckDepth depth,
                                std::optional<milliseconds> limit) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return {};
    }
    // Another program's write lock is waited for a little, never for the whole time given.
    constexpr milliseconds kLockWait{1000};
    std::vector<std::string> faults;
    DatabaseCheck check;
    try {
        SqliteConnection connection(file, SqliteOpenMode::ReadOnly);
        connection.setBusyTimeout(kLockWait);
        if (limit) {
            connection.interruptAt(steady_clock::now() + *limit);
        }
        try {
            const SqlRows rows =
                connection.queryRows(depth == CheckDepth::Quick ? "PRAGMA quick_check(20)"
                                                                : "PRAGMA integrity_check(20)");
            for (const SqlRow& row : rows) {
                faults.push_back(row.field(1));
            }
        } catch (const DatabaseError& error) {
            const SqliteFault fault = sqliteFault(error.code());
            if (fault == SqliteFault::Damaged || fault == SqliteFault::NotADatabase) {
                check.result = fault == SqliteFault::Damaged ? DatabaseCheck::Result::Damaged
                                                             : DatabaseCheck::Result::NotADatabase;
                check.detail = connection.lastErrorMessage();
            }
            return check;
        }
    } catch (const DatabaseError&) {
        return check; // not opened
    }
    const bool sound = faults.size() == 1 && faults.front() == "ok";
    check.result = sound ? DatabaseCheck::Result::Sound : DatabaseCheck::Result::Damaged;
    if (!sound) {
        for (const std::string& fault : faults) {
            check.detail += (check.detail.empty() ? "" : "\n") + fault;
        }
    }
    return check;
}

std::string damagedDatabaseMessage(const fs::path& file, const DatabaseCheck& check) {
    std::string message = "見積データベースが壊れています。このデータベースには保存しません。\n" +
                          pathText(file) + "\n";
    if (!check.detail.empty()) {
        message += "(" + check.detail + ")\n";
    }
    message +=
        "このファイルを使うプログラムをすべて終了し、このファイルを別の場所に移してから、バック"
        "アップしておいたデータベースのコピーを戻してください。";
    return message;
}

std::string databaseCheckReport(const fs::path& file, const DatabaseCheck& check) {
    switch (check.result) {
    case DatabaseCheck::Result::Sound:
        return "見積データベースに異常はありません。\n" + pathText(file);
    case DatabaseCheck::Result::Damaged:
    case DatabaseCheck::Result::NotADatabase:
        return damagedDatabaseMessage(file, check);
    case DatabaseCheck::Result::NotChecked:
        break;
    }
    return "見積データベースを検査できませんでした。ファイルがないか、他のプログラムが使用中で"
           "す。\n" +
           pathText(file) + "\nしばらく待ってから、もう一度検査してください。";
}

} // namespace kerbina

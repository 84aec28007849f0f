#include "storage/database_health.h"

#include "base/path_text.h"

#include <algorithm>
#include <sqlite3.h>
#include <thread>
#include <vector>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

// A connection of its own for one look at the file; nothing is ever created.
class Connection {
public:
    Connection(const fs::path& file, int flags) {
        if (sqlite3_open_v2(pathText(file).c_str(), &db_, flags, nullptr) != SQLITE_OK) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
        }
    }
    ~Connection() { sqlite3_close_v2(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

bool isLockCode(int code) {
    return (code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED;
}

// Whether another connection holds the write lock (or more) of the file now. Without waiting:
// the caller decides how long to look again.
bool writeLockHeld(const fs::path& file) {
    const Connection connection(file, SQLITE_OPEN_READWRITE);
    if (connection.handle() == nullptr) {
        return false;
    }
    const int rc = sqlite3_exec(connection.handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_exec(connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    return isLockCode(rc);
}

struct Deadline {
    steady_clock::time_point end;
};

int stopAfterDeadline(void* data) {
    return steady_clock::now() >= static_cast<Deadline*>(data)->end ? 1 : 0;
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
    const Connection connection(file, SQLITE_OPEN_READONLY);
    sqlite3* db = connection.handle();
    if (db == nullptr) {
        return {};
    }
    // Another program's write lock is waited for a little, never for the whole time given.
    constexpr milliseconds kLockWait{1000};
    sqlite3_busy_timeout(db, static_cast<int>(kLockWait.count()));
    Deadline deadline{};
    if (limit) {
        deadline.end = steady_clock::now() + *limit;
        sqlite3_progress_handler(db, 1000, &stopAfterDeadline, &deadline);
    }
    const char* sql =
        depth == CheckDepth::Quick ? "PRAGMA quick_check(20)" : "PRAGMA integrity_check(20)";
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    std::vector<std::string> faults;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            faults.emplace_back(text != nullptr ? text : "");
        }
    }
    sqlite3_finalize(statement);
    DatabaseCheck check;
    if (rc == SQLITE_DONE) {
        const bool sound = faults.size() == 1 && faults.front() == "ok";
        check.result = sound ? DatabaseCheck::Result::Sound : DatabaseCheck::Result::Damaged;
        if (!sound) {
            for (const std::string& fault : faults) {
                check.detail += (check.detail.empty() ? "" : "\n") + fault;
            }
        }
    } else if ((rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB) {
        check.result = (rc & 0xFF) == SQLITE_CORRUPT ? DatabaseCheck::Result::Damaged
                                                     : DatabaseCheck::Result::NotADatabase;
        check.detail = sqlite3_errmsg(db);
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

#include "base/file_io.h"
#include "damaged_database.h"
#include "storage/database_health.h"
#include "storage/schema.h"
#include "storage/sqlite_connection.h"
#include "storage_fixture.h"

#include <functional>
#include <string>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// Counts the looks of a wait and answers them as a script says.
class CountingWait : public LockWaitObserver {
public:
    explicit CountingWait(std::function<bool(int)> answer = [](int) { return true; })
        : answer_(std::move(answer)) {}
    bool keepWaiting(milliseconds, milliseconds) override { return answer_(++looks); }
    void waitEnded() override { ++ended; }

    int looks = 0;
    int ended = 0;

private:
    std::function<bool(int)> answer_;
};

class DatabaseHealthTest : public StorageTest {
protected:
    // A quotation database with enough rows to fill several pages.
    fs::path quotationDatabase() {
        const fs::path file = folder() / "kerbinaXe5.db3";
        SqliteFileDatabase database(file, reporter);
        createDatabaseTables(database, databaseFileDef(DatabaseFile::Quotation));
        for (int row = 0; row < 200; ++row) {
            database.execute("INSERT INTO kerbina (krbnumber, data) VALUES (?, ?)",
                             {"NF" + std::to_string(row), std::string(300, 'x')});
        }
        return file;
    }

    static constexpr LockWaitPolicy kShortWait{milliseconds(300), milliseconds(10)};
};

// A save waits for another program's write lock, as long as the policy says and no longer than
// the user wants; the box is told the wait ended exactly once, and only when there was a wait.
TEST_F(DatabaseHealthTest, ASaveWaitsForTheLockThenGivesUpOrStops) {
    const fs::path file = quotationDatabase();
    {
        CountingWait wait;
        EXPECT_EQ(waitForWriteAccess(file, wait, kShortWait), WriteAccess::Free);
        EXPECT_EQ(wait.looks, 0);
        EXPECT_EQ(wait.ended, 0);
    }
    SqliteConnection other(file);
    other.execute("BEGIN IMMEDIATE");
    {
        CountingWait wait;
        EXPECT_EQ(waitForWriteAccess(file, wait, kShortWait), WriteAccess::InUse);
        EXPECT_GT(wait.looks, 1);
        EXPECT_EQ(wait.ended, 1);
    }
    {
        CountingWait wait([](int) { return false; }); // 中止 at once
        EXPECT_EQ(waitForWriteAccess(file, wait, LockWaitPolicy{}), WriteAccess::Cancelled);
        EXPECT_EQ(wait.looks, 1);
        EXPECT_EQ(wait.ended, 1);
    }
    {
        // The other program commits during the wait: the save goes on.
        CountingWait wait([&other](int look) {
            if (look == 3) {
                other.execute("COMMIT");
            }
            return true;
        });
        EXPECT_EQ(waitForWriteAccess(file, wait, LockWaitPolicy{}), WriteAccess::Free);
        EXPECT_EQ(wait.looks, 3);
        EXPECT_EQ(wait.ended, 1);
    }
    // A reader does not stop a save.
    other.execute("BEGIN");
    other.queryRows("SELECT count(*) FROM kerbina");
    CountingWait wait;
    EXPECT_EQ(waitForWriteAccess(file, wait, kShortWait), WriteAccess::Free);
}

TEST_F(DatabaseHealthTest, TheCheckFindsADamagedPageAndTellsWhatToDo) {
    using Result = DatabaseCheck::Result;
    const fs::path file = quotationDatabase();
    for (const CheckDepth depth : {CheckDepth::Quick, CheckDepth::Full}) {
        EXPECT_EQ(checkDatabaseFile(file, depth, milliseconds(5000)).result, Result::Sound);
    }
    EXPECT_EQ(checkDatabaseFile(folder() / "absent.db3", CheckDepth::Quick, std::nullopt).result,
              Result::NotChecked);
    EXPECT_FALSE(fs::exists(folder() / "absent.db3"));

    // A page of rows overwritten with 0xFF, as a failing disk leaves it.
    ASSERT_NO_FATAL_FAILURE(damageLastDatabasePage(file, 4));
    for (const CheckDepth depth : {CheckDepth::Quick, CheckDepth::Full}) {
        const DatabaseCheck check = checkDatabaseFile(file, depth, milliseconds(5000));
        EXPECT_EQ(check.result, Result::Damaged);
        EXPECT_FALSE(check.detail.empty());
    }
    const std::string message =
        damagedDatabaseMessage(file, checkDatabaseFile(file, CheckDepth::Quick, std::nullopt));
    EXPECT_NE(message.find("壊れています"), std::string::npos) << message;
    EXPECT_NE(message.find("バックアップ"), std::string::npos) << message;

    const fs::path notADatabase = folder() / "text.db3";
    writeFileAtomically(notADatabase, std::string(8192, 'a'));
    EXPECT_EQ(checkDatabaseFile(notADatabase, CheckDepth::Quick, std::nullopt).result,
              Result::NotADatabase);
}

// A check that meets another program's exclusive lock tells nothing rather than "damaged".
TEST_F(DatabaseHealthTest, ALockedDatabaseIsNotChecked) {
    const fs::path file = quotationDatabase();
    SqliteConnection other(file);
    other.execute("BEGIN EXCLUSIVE");
    EXPECT_EQ(checkDatabaseFile(file, CheckDepth::Quick, milliseconds(5000)).result,
              DatabaseCheck::Result::NotChecked);
}

} // namespace
} // namespace kerbina

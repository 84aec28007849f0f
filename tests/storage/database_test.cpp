#include "storage/database.h"
#include "storage/sqlite_connection.h"
#include "storage_fixture.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace kerbina {
namespace {

using namespace std::chrono_literals;

class DatabaseTest : public StorageTest {
protected:
    std::filesystem::path file() const { return folder() / "test.db3"; }
};

TEST_F(DatabaseTest, ValuesWithQuotesAndSeparatorsRoundTrip) {
    SqliteFileDatabase db(file(), reporter);
    ASSERT_TRUE(
        db.executeOrReport("CREATE TABLE kerbina(krbnumber VARCHAR(12) PRIMARY KEY,ATESAKI_1 "
                           "VARCHAR (50),data text)"));
    const std::string name = "O'Brien; \"東京\" 設備'';--";
    const std::string data = "[Version]=2.00\r\nline;one\r\n'); DROP TABLE kerbina;--";
    ASSERT_TRUE(db.executeOrReport("INSERT INTO kerbina(krbnumber,ATESAKI_1,data) VALUES(?,?,?);",
                                   {"NF0000001", name, data}));

    const SqlRows rows =
        db.queryRows("SELECT krbnumber, ATESAKI_1, data FROM kerbina WHERE ATESAKI_1 = ?", {name});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns, (std::vector<std::string>{"NF0000001", name, data}));
    EXPECT_EQ(rows[0].field(2), name);
    EXPECT_EQ(rows[0].field(4), "");
    EXPECT_EQ(rows[0].field(0), "");
    EXPECT_TRUE(
        db.queryRows("SELECT krbnumber FROM kerbina WHERE krbnumber = ?", {"none"}).empty());
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(DatabaseTest, ColumnTextFollowsTheDeclaredType) {
    const struct {
        const char* declared;
        SqlValue stored;
        const char* text;
    } cases[] = {
        {"NUMERIC", "1500", "1500"},
        {"NUMERIC", Currency::fromText("1234.5"), "1234.5"},
        {"NUMERIC", "0.1", "0.1"},
        {"NUMERIC", {}, ""},
        {"FLOAT", "1e20", "100000000000000000000"},
        {"REAL", "3", "3"},
        {"DOUBLE", "-0.25", "-0.25"},
        {"INTEGER", "42", "42"},
        {"BOOLEAN", 1, "1"},
        {"BOOLEAN", "2.7", "2"},
        // Money texts in integer columns keep their decimals.
        {"integer", "1500", "1500"},
        {"integer", Currency::fromText("0.5"), "0.5"},
        {"integer", 7, "7"},
        {"integer", {}, ""},
        {"VARCHAR (50)", "007", "007"},
        {"date", "2024-01-05 00:00:00", "2024-01-05 00:00:00"},
        {"text", "", ""},
    };
    SqliteFileDatabase db(file(), reporter);
    for (const auto& row : cases) {
        // Test code only: the declared type comes from the table above.
        ASSERT_TRUE(db.executeOrReport("DROP TABLE IF EXISTS t"));
        ASSERT_TRUE(db.executeOrReport(std::string("CREATE TABLE t(v ") + row.declared + ")"));
        ASSERT_TRUE(db.executeOrReport("INSERT INTO t(v) VALUES(?)", {row.stored}));
        const SqlRows rows = db.queryRows("SELECT v FROM t");
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].field(1), row.text) << row.declared;
    }
    // Expressions have no declared type and go by their first value.
    const SqlRows rows = db.queryRows("SELECT 1 + 1, 1.5 * 2, 'a' || 'b', NULL");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns, (std::vector<std::string>{"2", "3", "ab", ""}));
}

TEST_F(DatabaseTest, FailedStatementReportsErrorOnceAndChangesNothing) {
    SqliteFileDatabase db(file(), reporter);
    ASSERT_TRUE(
        db.executeOrReport("CREATE TABLE krbconf (conf VARCHAR(20) PRIMARY KEY,number integer)"));
    ASSERT_TRUE(db.executeOrReport("INSERT INTO krbconf(conf,number) VALUES(?,?)", {"KERBINA", 5}));

    const struct {
        const char* sql;
        SqlParams params;
        std::string detail;
    } cases[] = {
        {"INSERT INTO krbconf(conf,number) VALUES(?,?)",
         {"KERBINA", 6},
         "Error executing SQL statement.\rError [19]: Abort due to contraint violation.\r\"INSERT "
         "INTO krbconf(conf,number) VALUES(?,?)\": UNIQUE constraint failed: krbconf.conf"},
        {"UPDATE krbcnf SET number=?",
         {7},
         "Error executing SQL.\rError [1]: SQL error or missing database.\r\"UPDATE krbcnf SET "
         "number=?\": no such table: krbcnf"},
        {"UPDATE krbconf SET number=? WHERE conf=?", {7}, "Error executing SQL.\rError [25]: "},
        {"UPDATE krbconf SET number=8; DELETE FROM krbconf",
         {},
         "Error executing SQL.\rError [21]: "},
        {"SELECT number FROM krbconf", {}, "Error executing SQL statement.\rError [100]: "},
    };
    for (const auto& row : cases) {
        try {
            db.execute(row.sql, row.params);
            ADD_FAILURE() << row.sql;
        } catch (const DatabaseError& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, row.detail.size()), row.detail);
        }
        // The user is told in plain words where and what to do; the statement never shows.
        reporter.reports.clear();
        EXPECT_FALSE(db.executeOrReport(row.sql, row.params)) << row.sql;
        ASSERT_EQ(reporter.reports.size(), 1u) << row.sql;
        EXPECT_EQ(reporter.reports[0].first, "ERROR");
        const std::string& shown = reporter.reports[0].second;
        EXPECT_TRUE(shown.starts_with("データベースの操作に失敗しました。\n" + db.location()))
            << shown;
        EXPECT_EQ(shown.find(row.sql), std::string::npos) << shown;
    }
    const SqlRows rows = db.queryRows("SELECT conf, number FROM krbconf;");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns, (std::vector<std::string>{"KERBINA", "5"}));

    reporter.reports.clear();
    const std::filesystem::path unreachable = folder() / "missing" / "x.db3";
    SqliteFileDatabase nowhere(unreachable, reporter);
    EXPECT_FALSE(nowhere.executeOrReport("CREATE TABLE t(v text)"));
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_TRUE(reporter.reports[0].second.starts_with(
        "データベースファイルを開けないか、書き込みが許可されていません。\n" +
        unreachable.string()))
        << reporter.reports[0].second;

    // A file that is not a database: one message saying so, with the file and what to do.
    const std::filesystem::path damaged = folder() / "damaged.db3";
    std::ofstream(damaged) << std::string(4096, 'x');
    SqliteFileDatabase notADatabase(damaged, reporter);
    reporter.reports.clear();
    EXPECT_FALSE(notADatabase.executeOrReport("CREATE TABLE t(v text)"));
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_TRUE(reporter.reports[0].second.starts_with(
        "データベースファイルが壊れているか、データベースではありません。\n" + damaged.string()))
        << reporter.reports[0].second;
    EXPECT_EQ(reporter.reports[0].second.find("CREATE"), std::string::npos);
}

TEST_F(DatabaseTest, FailedQueryRaisesWithoutReporting) {
    SqliteFileDatabase db(file(), reporter);
    try {
        db.queryRows("SELECT * FROM kerbina");
        FAIL() << "no error raised";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Could not prepare SQL statement.\rError [1]: SQL error or missing database.\r"
                  "\"SELECT * FROM kerbina\": no such table: kerbina");
    }
    EXPECT_TRUE(reporter.reports.empty());
}

// Another workstation in the middle of a write: a statement waits for the busy timeout, then
// fails and reports; once the other side is gone, its unfinished write has been rolled back.
TEST_F(DatabaseTest, LockedDatabaseFailsAfterTheBusyTimeout) {
    SqliteFileDatabase db(file(), reporter, 200ms);
    ASSERT_TRUE(
        db.executeOrReport("CREATE TABLE krbconf(conf VARCHAR(20) PRIMARY KEY,number integer)"));
    {
        SqliteConnection other(file());
        other.execute("BEGIN IMMEDIATE");
        other.execute("INSERT INTO krbconf(conf,number) VALUES('KRBCOPY',1)");

        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(
            db.executeOrReport("INSERT INTO krbconf(conf,number) VALUES(?,?)", {"KERBINA", 0}));
        EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
        ASSERT_EQ(reporter.reports.size(), 1u);
        EXPECT_EQ(reporter.reports[0].first, "ERROR");
        EXPECT_TRUE(reporter.reports[0].second.starts_with(
            "データベースは他のコンピューターが使用中です。\n" + db.location()))
            << reporter.reports[0].second;
    }
    EXPECT_TRUE(db.queryRows("SELECT conf FROM krbconf").empty());
    EXPECT_TRUE(db.executeOrReport("INSERT INTO krbconf(conf,number) VALUES(?,?)", {"KERBINA", 0}));
}

TEST_F(DatabaseTest, StatementWaitsForALockReleasedWithinTheTimeout) {
    SqliteFileDatabase db(file(), reporter);
    ASSERT_TRUE(
        db.executeOrReport("CREATE TABLE krbconf(conf VARCHAR(20) PRIMARY KEY,number integer)"));
    SqliteConnection other(file());
    other.execute("BEGIN IMMEDIATE");
    std::thread release([&other] {
        std::this_thread::sleep_for(150ms);
        other.execute("COMMIT");
    });
    const bool written =
        db.executeOrReport("INSERT INTO krbconf(conf,number) VALUES(?,?)", {"KERBINA", 0});
    release.join();
    EXPECT_TRUE(written);
    EXPECT_TRUE(reporter.reports.empty());
}

} // namespace
} // namespace kerbina

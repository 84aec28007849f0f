#include "scripted_prompt.h"
#include "settings/numbering_row.h"
#include "settings/register_settings.h"
#include "settings/settings_files.h"
#include "settings_fixture.h"
#include "storage/database.h"
#include "storage/schema.h"

#include <functional>
#include <memory>

namespace kerbina {
namespace {

using Change = std::function<void(EnvironmentSettings&)>;

TEST(NumberingRowRead, NotesSetOnlyTheKeysTheyMayCarry) {
    const Change unchanged = [](auto&) {
    };
    const struct {
        const char* notes;
        Change change;
    } cases[] = {
        {"[CI_8]=x\r\n",
         [](auto& s) {
             s.unitList[7] = "x";
         }},
        {"[CI_1]=\n",
         [](auto& s) {
             s.unitList[0] = "";
         }},
        {"[CI_9]=y\r\n[GROUP_NAME1]=g\r\n[TITLE1]=t", unchanged},
        {"[EDIT_OPT1]=FALSE",
         [](auto& s) {
             s.automaticNumbering = false;
         }},
        {"[EDIT_OPT1]=false\r\n[NUMBER_OPT4]=1\r\n[NUMBER_OPT5]=TRUE ", unchanged},
        {"[NUMBER_OPT4]=TRUE\n[NUMBER_OPT5]=TRUE\n",
         [](auto& s) {
             s.numberingPerCustomer = s.offerNumberAfterCustomerPick = true;
         }},
        {"[EXGROUP3]=z=1\r\n[EXGROUP3]=z=2",
         [](auto& s) {
             s.pipingGroupNames[2] = "z=2";
         }},
        {"[tankaBtnName2]=w;v\r\n[tankabtnName3]=no",
         [](auto& s) {
             s.priceButtonNames[1] = "w;v";
         }},
    };
    for (const auto& row : cases) {
        EnvironmentSettings read;
        applyNumberingRow(read, NumberingRow{"AA", "7", "0", row.notes});
        EnvironmentSettings expected;
        row.change(expected);
        EXPECT_EQ(read, expected) << row.notes;
    }
}

TEST(NumberingRowRead, WidthAndCounterAreDecimalNumbers) {
    const struct {
        const char* keta;
        const char* number;
        std::int64_t expectedKeta;
        std::int64_t expectedNumber;
    } cases[] = {
        {"", "", 0, 0},
        {"9", "120", 9, 120},
        {"abc", "1.9", 7, 1}, // no number: the box keeps its value
        {"5", "x", 5, 33},
    };
    for (const auto& row : cases) {
        EnvironmentSettings read;
        read.numberCounter = read.numberAsLoaded = 33;
        applyNumberingRow(read, NumberingRow{"P", row.keta, row.number, ""});
        EXPECT_EQ(read.numberPrefix, "P");
        EXPECT_EQ(read.numberWidth, row.expectedKeta) << row.keta;
        EXPECT_EQ(read.numberCounter, row.expectedNumber) << row.number;
        EXPECT_EQ(read.numberAsLoaded, row.expectedNumber) << row.number;
    }
}

class DatabaseNumberingTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        databaseFile = std::make_unique<SqliteFileDatabase>(root() / "kerbinaXe5.db3", reporter);
        store = std::make_unique<DatabaseNumberingRowStore>(*databaseFile);
        ASSERT_TRUE(createDatabaseTables(database(), databaseFileDef(DatabaseFile::Quotation)));
        writeTextLines(conf("Kerbina.conf"), {"[TITLE1]=受渡場所"});
    }

    std::string storedNumber() {
        return database()
            .queryRows("SELECT number FROM krbconf WHERE conf='KERBINA'")
            .front()
            .field(1);
    }
    void issueNumbersUpTo(int number) {
        database().execute("UPDATE krbconf SET number=? WHERE conf='KERBINA'", {number});
    }

    Database& database() { return *databaseFile; }

    ScriptedPrompt reporter = ScriptedPrompt::answering(false);
    std::unique_ptr<SqliteFileDatabase> databaseFile;
    std::unique_ptr<DatabaseNumberingRowStore> store;
};

TEST_F(DatabaseNumberingTest, CounterIsNeverWrittenBackBelowIssuedNumbers) {
    EnvironmentSettings settings;
    readEnvironmentSettings(settings, root(), *store);
    EXPECT_EQ(settings.numberPrefix, "NF");
    EXPECT_EQ(settings.numberCounter, 0);

    settings.priceButtonNames[0] = "登録;単価";
    issueNumbersUpTo(5);
    registerSettings(settings, root(), *store, settings);
    EXPECT_EQ(storedNumber(), "5");

    EnvironmentSettings reread;
    readEnvironmentSettings(reread, root(), *store);
    EXPECT_EQ(reread.priceButtonNames[0], "登録;単価"); // a ";" does not end the notes
    EXPECT_EQ(reread.numberCounter, 5);
    EXPECT_EQ(reread.numberWidth, 7);

    // The user sets the counter on purpose: that is written, as a number.
    reread.numberCounter = 100;
    registerSettings(reread, root(), *store, reread);
    EXPECT_EQ(storedNumber(), "100");
    EXPECT_EQ(database().queryRows("SELECT typeof(keta), typeof(number) FROM krbconf").front(),
              (SqlRow{{"integer", "integer"}}));
    issueNumbersUpTo(104);
    registerSettings(reread, root(), *store, reread);
    EXPECT_EQ(storedNumber(), "104");
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(DatabaseNumberingTest, AMissingRowIsInsertedAndTheDialogShowsIssuedNumbers) {
    database().execute("DELETE FROM krbconf");
    EnvironmentSettings settings;
    settings.numberPrefix = "見積";
    registerSettings(settings, root(), *store, settings);
    EXPECT_EQ(database().queryRows("SELECT header,keta,number,typeof(number) FROM krbconf "
                                   "WHERE conf='KERBINA'"),
              (SqlRows{SqlRow{{"見積", "7", "0", "integer"}}}));

    // Numbers issued while the dialog was closed appear at the next show and stay issued.
    issueNumbersUpTo(8);
    readForShow(settings, root(), root() / "database", *store);
    EXPECT_EQ(settings.numberCounter, 8);
    registerSettings(settings, root(), *store, settings);
    EXPECT_EQ(storedNumber(), "8");
    EXPECT_EQ(database().queryRows("SELECT count(*) FROM krbconf").front().field(1), "1");
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(DatabaseNumberingTest, AFailedUpdateIsReportedAndTheFilesAreStillWritten) {
    database().execute("DROP TABLE krbconf");
    EnvironmentSettings settings;
    settings.siteNameTitle = "現場";
    const RegisterOutcome outcome = registerSettings(settings, root(), *store, settings);
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_EQ(reporter.reports[0].first, "ERROR");
    EXPECT_EQ(outcome.message, std::nullopt);
    EXPECT_EQ(lines("Kerbina.conf").front(), "[TITLE1]=現場");
}

} // namespace
} // namespace kerbina

#include "storage/database_files.h"
#include "storage/schema.h"
#include "storage_fixture.h"

#include <cctype>
#include <fstream>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

class DatabaseFilesTest : public StorageTest {
protected:
    fs::path databaseFolder() const { return folder() / "database"; }
    fs::path installFolder() const { return folder() / "install"; }
    fs::path path(DatabaseFile file) const { return databaseFilePath(databaseFolder(), file); }

    SqlRows tableNames(DatabaseFile file) {
        SqliteFileDatabase db(path(file), reporter);
        return db.queryRows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                            "LIKE 'sqlite%' ORDER BY rowid");
    }

    // A template in the installation: a database holding one table named `marker`.
    void installTemplate(DatabaseFile file) {
        const fs::path folder = installFolder() / "database";
        fs::create_directories(folder);
        SqliteFileDatabase db(folder / fs::path(databaseFileDef(file).fileName), reporter);
        ASSERT_TRUE(db.executeOrReport("CREATE TABLE marker(name text)"));
    }

    void prepare(ModulePresence modules = {}) {
        prepareDatabaseFiles(databaseFolder(), installFolder(), modules, reporter);
    }
};

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

SqlRows namesOf(std::initializer_list<std::string_view> names) {
    SqlRows rows;
    for (std::string_view name : names) {
        rows.push_back({{std::string(name)}});
    }
    return rows;
}

TEST_F(DatabaseFilesTest, CreatedTablesMatchTheSchema) {
    prepare({.piping = true, .duct = true});
    EXPECT_TRUE(reporter.reports.empty());
    for (const DatabaseFileDef& definition : databaseFiles()) {
        if (!definition.createdWhenMissing) {
            // Module databases come only from the installation, never made up.
            EXPECT_FALSE(fs::exists(path(definition.file))) << definition.fileName;
            continue;
        }
        SqlRows expectedTables;
        for (const TableDef& table : definition.tables) {
            expectedTables.push_back({{std::string(table.name)}});
        }
        EXPECT_EQ(tableNames(definition.file), expectedTables) << definition.fileName;

        SqliteFileDatabase db(path(definition.file), reporter);
        for (const TableDef& table : definition.tables) {
            // SQLite reports the standard type names in upper case ("integer" as "INTEGER");
            // the spelling written is kept in the stored creation statement.
            SqlRows expected;
            for (const ColumnDef& column : table.columns) {
                expected.push_back({{std::string(column.name), upper(column.declaredType),
                                     column.constraint.empty() ? "0" : "1"}});
            }
            EXPECT_EQ(db.queryRows("SELECT name, upper(type), pk FROM pragma_table_info(?)",
                                   {std::string(table.name)}),
                      expected)
                << table.name;
            const SqlRows created = db.queryRows("SELECT sql FROM sqlite_master WHERE name = ?",
                                                 {std::string(table.name)});
            ASSERT_EQ(created.size(), 1u);
            for (const ColumnDef& column : table.columns) {
                const std::string written =
                    std::string(column.name) + " " + std::string(column.declaredType);
                const std::string& sql = created[0].field(1);
                EXPECT_TRUE(sql.find("(" + written) != std::string::npos ||
                            sql.find("," + written) != std::string::npos)
                    << written;
            }
        }
    }
}

TEST_F(DatabaseFilesTest, SeedRowIsInsertedOnceAndStoredAsNumbers) {
    const DatabaseFileDef& quotation = databaseFileDef(DatabaseFile::Quotation);
    SqliteFileDatabase db(path(DatabaseFile::Quotation), reporter);
    fs::create_directories(databaseFolder());
    EXPECT_TRUE(createDatabaseTables(db, quotation));
    EXPECT_TRUE(createDatabaseTables(db, quotation));
    EXPECT_TRUE(reporter.reports.empty());

    const SqlRows rows = db.queryRows("SELECT conf, header, keta, number, notes, typeof(keta), "
                                      "typeof(number) FROM krbconf");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns,
              (std::vector<std::string>{"KERBINA", "NF", "7", "0", "", "integer", "integer"}));
}

TEST_F(DatabaseFilesTest, TemplatesAreCopiedForPresentModulesOnly) {
    for (const DatabaseFileDef& definition : databaseFiles()) {
        installTemplate(definition.file);
    }
    prepare({.piping = true, .duct = false});

    for (DatabaseFile file :
         {DatabaseFile::Quotation, DatabaseFile::Address, DatabaseFile::Piping}) {
        EXPECT_EQ(tableNames(file), namesOf({"marker"}));
    }
    EXPECT_FALSE(fs::exists(path(DatabaseFile::DuctData)));
    EXPECT_FALSE(fs::exists(path(DatabaseFile::DuctVhs)));

    prepare({.piping = true, .duct = true});
    EXPECT_EQ(tableNames(DatabaseFile::DuctData), namesOf({"marker"}));
    EXPECT_EQ(tableNames(DatabaseFile::DuctVhs), namesOf({"marker"}));
    EXPECT_TRUE(reporter.reports.empty());
    for (const auto& entry : fs::directory_iterator(databaseFolder())) {
        EXPECT_EQ(entry.path().extension(), ".db3") << "left behind: " << entry.path();
    }
}

// An empty file is what an interrupted copy leaves; it is replaced by the template when there is
// one and by a new database when there is not.
TEST_F(DatabaseFilesTest, EmptyFileLeftByFailedCopyIsRepaired) {
    for (const bool withTemplate : {false, true}) {
        fs::remove_all(folder());
        fs::create_directories(databaseFolder());
        if (withTemplate) {
            installTemplate(DatabaseFile::Quotation);
            installTemplate(DatabaseFile::Piping);
        }
        std::ofstream(path(DatabaseFile::Quotation)).close();
        std::ofstream(path(DatabaseFile::Piping)).close();
        ASSERT_EQ(fs::file_size(path(DatabaseFile::Quotation)), 0u);

        prepare({.piping = withTemplate});
        const SqlRows tables = tableNames(DatabaseFile::Quotation);
        if (withTemplate) {
            EXPECT_EQ(tables, namesOf({"marker"}));
            EXPECT_EQ(tableNames(DatabaseFile::Piping), namesOf({"marker"}));
        } else {
            EXPECT_EQ(tables, namesOf({"kerbina", "masteritems", "tanka", "krbconf", "krbparts"}));
        }
        EXPECT_EQ(tableNames(DatabaseFile::Address), namesOf({"address", "company"}));
    }
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(DatabaseFilesTest, MissingAddressDatabaseIsCreatedBesideExistingQuotationDatabase) {
    fs::create_directories(databaseFolder());
    SqliteFileDatabase quotation(path(DatabaseFile::Quotation), reporter);
    ASSERT_TRUE(
        quotation.executeOrReport("CREATE TABLE kerbina(krbnumber VARCHAR(12) PRIMARY KEY)"));
    ASSERT_TRUE(
        quotation.executeOrReport("INSERT INTO kerbina(krbnumber) VALUES(?)", {"NF0000001"}));

    prepare();

    EXPECT_EQ(tableNames(DatabaseFile::Address), namesOf({"address", "company"}));
    // The quotation database is in use: left exactly as it was.
    EXPECT_EQ(tableNames(DatabaseFile::Quotation), namesOf({"kerbina"}));
    EXPECT_EQ(quotation.queryRows("SELECT krbnumber FROM kerbina"), namesOf({"NF0000001"}));
    EXPECT_TRUE(reporter.reports.empty());
}

} // namespace
} // namespace kerbina

#include "document/file_io.h"
#include "document/line_kinds.h"
#include "document/quotation_file.h"
#include "document/work_folder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <string>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test under the test run's data folder.
fs::path freshFolder() {
    const char* appData = std::getenv("KERBINA_APPDATA");
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::path(appData != nullptr ? appData : fs::temp_directory_path()) /
                            "work_folder_test" / info->test_suite_name() / info->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void put(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every entry of the folder: file name → content, folders as "<dir>".
std::map<std::string, std::string> listing(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        entries[entry.path().filename().string()] =
            entry.is_directory() ? "<dir>" : contentOf(entry.path());
    }
    return entries;
}

TEST(WorkFolder, WildcardOperationsIgnoreCaseAndLeaveOtherFiles) {
    const struct {
        const char* what;
        void (*operation)(const fs::path&);
        std::map<std::string, std::string> before;
        std::map<std::string, std::string> after;
    } cases[] = {
        {"clear before opening a file",
         &clearWorkFolder,
         {{"HEAD.WRK", "h"},
          {"HEAD_TITLE.WRK", "t"},
          {"WITEM1.WRK", "w1"},
          {"witem2.wrk", "w2"},
          {"DATASORT1.WRK", "d1"},
          {"WITEM1.PUP", "p1"},
          {"witem3.Pup", "p3"},
          {"1WITEM1.UND", "u"},
          {"HEAD.UND", "hu"},
          {"notes.txt", "n"},
          {"odd.WRK", "<dir>"}},
         {{"1WITEM1.UND", "u"}, {"HEAD.UND", "hu"}, {"notes.txt", "n"}, {"odd.WRK", "<dir>"}}},
        {"keep the previous quotation as backups",
         &keepWorkFilesAsBackups,
         {{"HEAD.WRK", "new head"},
          {"HEAD.bak", "old head"},
          {"WITEM1.WRK", "w1"},
          {"witem2.wrk", "w2"},
          {"WITEM1.PUP", "p1"},
          {"old.BUP", "x"},
          {"older.Brk", "y"},
          {"1WITEM1.UND", "u"},
          {"HEAD.UND", "hu"},
          {"1WITEM1.PUND", "pu"},
          {"notes.txt", "n"}},
         {{"HEAD.bak", "new head"},
          {"WITEM1.brk", "w1"},
          {"witem2.brk", "w2"},
          {"WITEM1.bup", "p1"},
          {"1WITEM1.PUND", "pu"},
          {"notes.txt", "n"}}},
    };
    for (const auto& row : cases) {
        const fs::path folder = freshFolder();
        for (const auto& [name, content] : row.before) {
            if (content == "<dir>") {
                fs::create_directory(folder / name);
            } else {
                put(folder / name, content);
            }
        }
        row.operation(folder);
        EXPECT_EQ(listing(folder), row.after) << row.what;
    }
}

TEST(WorkFolder, MissingFolderIsNotAnError) {
    const fs::path missing = freshFolder() / "missing";
    EXPECT_NO_THROW(clearWorkFolder(missing));
    EXPECT_NO_THROW(keepWorkFilesAsBackups(missing));
    EXPECT_NO_THROW(deleteFilesWithExtensions(missing, {".UND"}));
}

TEST(CrashBackup, FirstWriteOfARunKeepsThePreviousRunsFile) {
    const fs::path folder = freshFolder();
    put(backupFilePath(folder), "last state before the crash");

    WorkStore run{"", folder};
    const fs::path target = prepareBackupWrite(run);
    EXPECT_EQ(target, backupFilePath(folder));
    put(target, "new empty quotation");
    put(prepareBackupWrite(run), "first edit");
    EXPECT_EQ(listing(folder), (std::map<std::string, std::string>{
                                   {"backup.krb2", "first edit"},
                                   {"backup_prev.krb2", "last state before the crash"}}));

    WorkStore nextRun{"", folder};
    put(prepareBackupWrite(nextRun), "next run");
    EXPECT_EQ(contentOf(previousBackupFilePath(folder)), "first edit");
}

TEST(CrashBackup, AnEmptyQuotationNeverPushesOutThePreviousBackup) {
    const fs::path folder = freshFolder();
    put(previousBackupFilePath(folder), "state before the crash");
    QuotationData empty;
    empty.header = newHeader(2026, 12, 10);
    empty.items = ItemList{ItemRecord{}, newSheetItem()};
    empty.sheets = {Sheet{}, Sheet{LineRecord{}}};
    writeQuotationFile(backupFilePath(folder), empty, QuotationWriteOptions{});

    // The run before only started and stopped: its empty backup is replaced, the one before stays.
    WorkStore run{"", folder};
    put(prepareBackupWrite(run), "new empty quotation");
    EXPECT_EQ(contentOf(previousBackupFilePath(folder)), "state before the crash");
}

TEST(CrashBackup, FirstRunCreatesTheFolderAndNoPreviousFile) {
    const fs::path folder = freshFolder() / "backup";
    WorkStore run{"", folder};
    put(prepareBackupWrite(run), "q");
    EXPECT_EQ(listing(folder), (std::map<std::string, std::string>{{"backup.krb2", "q"}}));
}

TEST(CrashBackup, PreviousFileThatCannotBeKeptStopsTheWrite) {
    const fs::path folder = freshFolder();
    put(backupFilePath(folder), "last state");
    fs::create_directories(previousBackupFilePath(folder) / "in the way");

    WorkStore run{"", folder};
    EXPECT_THROW(prepareBackupWrite(run), FileError);
    EXPECT_EQ(contentOf(backupFilePath(folder)), "last state");
}

} // namespace
} // namespace kerbina

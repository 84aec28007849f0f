#include "base/file_io.h"
#include "document/quotation_file.h"
#include "document/work_folder.h"
#include "record_builders.h"
#include "records/line_kinds.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <string>
#include <vector>

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

// The names of the rotated backups, newest first.
std::vector<std::string> rotation(const fs::path& folder) {
    std::vector<std::string> names;
    for (const BackupSummary& backup : listBackups(folder)) {
        const std::string name = backup.file.filename().string();
        if (name != "backup.krb2" && name != "backup_prev.krb2") {
            names.push_back(name);
        }
    }
    return names;
}

// Gives a file a last-write time `minutes` after a fixed moment, so that the order of the backups
// does not depend on how fast the test runs.
void stampAt(const fs::path& file, int minutes) {
    fs::last_write_time(
        file, fs::file_time_type(
                  std::chrono::sys_days{std::chrono::year{2026} / 12 / 1}.time_since_epoch()) +
                  std::chrono::minutes(minutes));
}

// One run of the program as far as the backups go: its first write keeps the previous run's file,
// then it writes `content`, stamped `minutes` in.
void run(const fs::path& folder, const std::string& content, int minutes, bool crashBefore) {
    WorkStore store{"", folder};
    store.previousRunUnclean = crashBefore;
    put(prepareBackupWrite(store), content);
    stampAt(backupFilePath(folder), minutes);
}

TEST(CrashBackup, FirstWriteOfARunKeepsThePreviousRunsFile) {
    const fs::path folder = freshFolder();
    put(backupFilePath(folder), "last state before the crash");
    stampAt(backupFilePath(folder), 0);

    WorkStore run{"", folder};
    const fs::path target = prepareBackupWrite(run);
    EXPECT_EQ(target, backupFilePath(folder));
    put(target, "new empty quotation");
    put(prepareBackupWrite(run), "first edit");
    const std::vector<std::string> kept = rotation(folder);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(contentOf(folder / kept[0]), "last state before the crash");
    EXPECT_EQ(contentOf(backupFilePath(folder)), "first edit");
    stampAt(backupFilePath(folder), 1);

    WorkStore nextRun{"", folder};
    put(prepareBackupWrite(nextRun), "next run");
    ASSERT_EQ(rotation(folder).size(), 2u);
    EXPECT_EQ(contentOf(folder / rotation(folder)[0]), "first edit");
}

// The reported fault: crash with edits, start again and open the same file, close, start again:
// the edits were in no backup. Whatever follows the crash, its last state stays.
TEST(CrashBackup, NoSequenceOfStartsAndClosesLosesTheStateBeforeACrash) {
    const fs::path folder = freshFolder();
    run(folder, "the file as opened", 0, false);
    run(folder, "edits, then the crash", 1, false);
    // The run after the crash opens the file again and closes without an edit, many times over,
    // and then does other work for many runs.
    run(folder, "the file as opened", 2, true);
    for (int n = 3; n < 30; ++n) {
        run(folder, n < 8 ? "the file as opened" : "other work " + std::to_string(n), n, false);
    }
    bool found = false;
    for (const BackupSummary& backup : listBackups(folder)) {
        found = found || contentOf(backup.file) == "edits, then the crash";
    }
    EXPECT_TRUE(found);
    EXPECT_LE(rotation(folder).size(), static_cast<std::size_t>(kKeptBackups) + 1);
    EXPECT_TRUE(rotation(folder).back().ends_with("_crash.krb2")) << rotation(folder).back();
}

TEST(CrashBackup, TheRotationKeepsTheLastRunsAndSkipsRepeats) {
    const fs::path folder = freshFolder();
    for (int n = 0; n < 14; ++n) {
        run(folder, "run " + std::to_string(n), n, false);
    }
    // A run that left the same bytes as the newest kept one is not kept twice.
    run(folder, "run 13", 14, false);
    run(folder, "run 13", 15, false);
    const std::vector<std::string> kept = rotation(folder);
    ASSERT_EQ(kept.size(), static_cast<std::size_t>(kKeptBackups));
    EXPECT_EQ(contentOf(folder / kept.front()), "run 13");
    EXPECT_EQ(contentOf(folder / kept.back()), "run 4");
    EXPECT_EQ(contentOf(backupFilePath(folder)), "run 13");
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
    // Every step of keeping the file fails in turn; each failure leaves it as it was.
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 20);
        WorkStore run{"", folder};
        failNthFileCall(n);
        try {
            prepareBackupWrite(run);
            failNthFileCall(0);
            break;
        } catch (const FileError&) {
            failNthFileCall(0);
        }
        EXPECT_EQ(listing(folder),
                  (std::map<std::string, std::string>{{"backup.krb2", "last state"}}))
            << n;
    }
}

QuotationData quotationTotalling(Currency total) {
    QuotationData data = quotationOf(newHeader(2026, 12, 10), {{"配管工事", sheetWithLines({})}});
    data.header.submittedGrandTotal = total;
    return data;
}

TEST(CrashBackup, TheListShowsEveryBackupNewestFirstWithItsTotal) {
    const fs::path folder = freshFolder();
    writeQuotationFile(folder / "backup_20261201_090000.krb2",
                       quotationTotalling(Currency::fromWhole(1200)), QuotationWriteOptions{});
    stampAt(folder / "backup_20261201_090000.krb2", 0);
    writeQuotationFile(folder / "backup_20261201_100000_crash.krb2",
                       quotationTotalling(Currency::fromWhole(3400)), QuotationWriteOptions{});
    stampAt(folder / "backup_20261201_100000_crash.krb2", 60);
    // Cut short: the closing line is missing.
    std::string cut = readFileBytes(folder / "backup_20261201_090000.krb2");
    put(folder / "backup_prev.krb2", cut.substr(0, cut.size() - 5));
    stampAt(folder / "backup_prev.krb2", 30);
    put(backupFilePath(folder), "not a quotation file");
    stampAt(backupFilePath(folder), 90);
    put(folder / "notes.txt", "not a backup");

    const std::vector<BackupSummary> backups = listBackups(folder);
    ASSERT_EQ(backups.size(), 4u);
    const struct {
        const char* name;
        bool damaged;
        bool crashRun;
        Currency total;
    } expected[] = {
        {"backup.krb2", true, false, Currency()},
        {"backup_20261201_100000_crash.krb2", false, true, Currency::fromWhole(3400)},
        {"backup_prev.krb2", true, false, Currency()},
        {"backup_20261201_090000.krb2", false, false, Currency::fromWhole(1200)},
    };
    for (std::size_t i = 0; i < backups.size(); ++i) {
        EXPECT_EQ(backups[i].file.filename().string(), expected[i].name) << i;
        EXPECT_EQ(backups[i].damaged, expected[i].damaged) << i;
        EXPECT_EQ(backups[i].crashRun, expected[i].crashRun) << i;
        EXPECT_EQ(backups[i].grandTotal, expected[i].total) << i;
    }
    EXPECT_TRUE(listBackups(folder / "missing").empty());

    const std::string when = localTimeText(backups[1].written);
    EXPECT_EQ(backupRowText(backups[1]),
              when + "　総合計 3,400　（異常終了）　backup_20261201_100000_crash.krb2");
    EXPECT_EQ(backupRowText(backups[0]),
              localTimeText(backups[0].written) +
                  "　（壊れているか途中までのファイルです）　backup.krb2");
}

TEST(RunMarker, AnUncleanEndIsToldAtTheNextStartWithItsLastBackup) {
    const fs::path root = freshFolder();
    const auto start = [&root] {
        WorkStore store{root / "temp", root / "backup"};
        fs::create_directories(store.workFolder);
        const bool unclean = beginRun(store, root);
        return std::pair{store, unclean};
    };
    {
        auto [store, unclean] = start();
        EXPECT_FALSE(unclean); // a first start
        writeQuotationFile(prepareBackupWrite(store), quotationTotalling(Currency::fromWhole(5000)),
                           QuotationWriteOptions{});
        EXPECT_FALSE(crashBackupToOffer(store));
        // No endRun: the program stops here.
    }
    auto [store, unclean] = start();
    EXPECT_TRUE(unclean);
    put(prepareBackupWrite(store), "the new empty quotation");
    const std::optional<BackupSummary> offered = crashBackupToOffer(store);
    ASSERT_TRUE(offered);
    EXPECT_TRUE(offered->crashRun);
    EXPECT_EQ(offered->grandTotal, Currency::fromWhole(5000));
    EXPECT_EQ(readQuotationFile(offered->file).items[1].name, "配管工事");

    endRun(root);
    EXPECT_FALSE(fs::exists(runMarkerPath(root)));
    EXPECT_FALSE(start().second);
}

TEST(RunMarker, TheStartRemovesWhatKilledWritesLeft) {
    const fs::path root = freshFolder();
    WorkStore store{root / "temp", root / "backup"};
    for (const fs::path& folder :
         {store.workFolder, store.workFolder / "LIST.UND", store.backupFolder, root / "conf"}) {
        fs::create_directories(folder);
        put(folder / "HEAD.WRK.123456.tmp", "half");
        put(folder / "backup.krb2.7.tmp", "half");
    }
    const std::map<std::string, std::string> kept = {{"copydata.tmp", "[Version]=2.00\r\n"},
                                                     {"clipdata.tmp", "x"},
                                                     {"a.b.tmp", "x"},
                                                     {".5.tmp", "x"},
                                                     {"WITEM1.WRK", "w"},
                                                     {"HEAD.WRK.12.tmp.bak", "x"}};
    for (const auto& [name, content] : kept) {
        put(store.workFolder / name, content);
    }
    beginRun(store, root);
    EXPECT_EQ(listing(store.workFolder).size(), kept.size() + 1); // and LIST.UND
    for (const auto& [name, content] : kept) {
        EXPECT_EQ(contentOf(store.workFolder / name), content) << name;
    }
    for (const fs::path& folder : {store.workFolder / "LIST.UND", store.backupFolder}) {
        EXPECT_TRUE(listing(folder).empty()) << folder;
    }
    EXPECT_EQ(listing(root / "conf"), (std::map<std::string, std::string>{}));
}

} // namespace
} // namespace kerbina

#include "base/file_io.h"
#include "calc/totals.h"
#include "document/quotation_file.h"
#include "records/line_kinds.h"
#include "records/record_io.h"
#include "work_store_fixture.h"

#include <cstdint>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using testing_support::folderContents;
using testing_support::kToday;
using testing_support::namesOf;
using testing_support::WorkStoreTest;
using Answer = UserPrompt::Answer;

std::int32_t int32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) {
        bits = (bits << 8) | static_cast<std::uint8_t>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(bits);
}

void appendInt32(std::string& out, std::int32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((static_cast<std::uint32_t>(value) >> shift) & 0xFFu));
    }
}

template <std::size_t N>
void appendRecord(std::string& out, const std::array<std::uint8_t, N>& record) {
    out.append(reinterpret_cast<const char*>(record.data()), N);
}

// A header file as another program could have left it: any stored count, any number of items.
std::string headerFile(const QuotationHeader& header, std::int32_t storedCount,
                       const std::vector<ItemRecord>& items) {
    std::string bytes;
    appendRecord(bytes, encodeHeader(header));
    appendInt32(bytes, storedCount);
    for (const ItemRecord& item : items) {
        appendRecord(bytes, encodeItem(item));
    }
    return bytes;
}

TEST_F(WorkStoreTest, NewQuotationWritesItsFilesAndTheFirstGeneration) {
    startNewQuotation(state, store, host, host.settings(), kToday);

    EXPECT_EQ(state.header.storedYear, 2024 - 1988);
    EXPECT_EQ(state.header.month, 5);
    EXPECT_EQ(state.header.day, 17);
    EXPECT_EQ(state.header.dataLevel, 0);
    EXPECT_EQ(state.header.status, -1);
    EXPECT_EQ(state.itemMax(), 1);
    EXPECT_FALSE(state.modified);
    EXPECT_EQ(host.counters, "1/1");
    // An empty sheet is an empty file; the header file holds the header, the count and one item.
    EXPECT_EQ(fs::file_size(work("WITEM1.WRK")), 0u);
    EXPECT_EQ(fs::file_size(work("1WITEM1.UND")), 0u);
    const std::string head = readFileBytes(work("HEAD.WRK"));
    EXPECT_EQ(head.size(), kHeaderRecordSize + 4 + kItemRecordSize);
    EXPECT_EQ(int32At(head, kHeaderRecordSize), 1);
    EXPECT_TRUE(fs::exists(work("HEAD_TITLE.WRK")));
    EXPECT_TRUE(fs::exists(work("HEAD.UND")));
    EXPECT_EQ(readQuotationFile(backupFilePath(store.backupFolder)).itemMax(), 1);
}

TEST_F(WorkStoreTest, NewDocumentFilesStartsFromTheCurrentSettings) {
    state.settings.amountOffset = Currency();
    state.settings.quantityDecimals = Currency::fromWhole(1000);
    state.allNetTotal = Currency::fromWhole(5);
    newDocumentFiles(state, store.workFolder, kToday);

    EXPECT_EQ(state.header.storedYear, 36);
    EXPECT_EQ(state.header.dataLevel, 15);
    EXPECT_EQ(state.allNetTotal, Currency());
    ASSERT_EQ(state.itemMax(), 1);
    EXPECT_EQ(state.items[1].kind, 10);
    EXPECT_EQ(state.items[1].setAmountRounding, Currency());
    EXPECT_EQ(state.items[1].setQuantityDecimals, Currency::fromWhole(1000));
    EXPECT_EQ(state.lineCount(), 0);
}

TEST_F(WorkStoreTest, EveryWriteAppendsAGeneration) {
    startNewQuotation(state, store, host, host.settings(), kToday);
    for (int edit = 1; edit <= 3; ++edit) {
        state.sheet.push_back(commentLine(std::to_string(edit)));
        saveSheetRecords(state, store, host, RecordMode::Wrk);
    }
    for (int generation = 1; generation <= 4; ++generation) {
        EXPECT_EQ(readSheetFile(work(std::to_string(generation) + "WITEM1.UND")).size(),
                  static_cast<std::size_t>(generation))
            << generation;
    }
    EXPECT_FALSE(fs::exists(work("5WITEM1.UND")));
    EXPECT_EQ(host.counters, "4/4");
    EXPECT_TRUE(state.modified);
}

TEST_F(WorkStoreTest, SnapshotBeforeAChangeLeavesFilesThatHoldItAlone) {
    startNewQuotation(state, store, host, host.settings(), kToday);
    state.sheet.push_back(commentLine("a"));
    saveSheetRecords(state, store, host, RecordMode::Wrk);
    const std::vector<std::string> names = {"HEAD_TITLE.WRK", "HEAD.WRK", "WITEM1.WRK",
                                            "2WITEM1.UND"};
    std::vector<std::optional<FileStamp>> written;
    for (const std::string& name : names) {
        written.push_back(fileStamp(work(name)));
    }
    saveSheetRecords(state, store, host, RecordMode::Und);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(fileStamp(work(names[i])), written[i]) << names[i];
    }

    // Same size, other bytes: written again.
    const std::string sheet = readFileBytes(work("WITEM1.WRK"));
    writeFileAtomically(work("WITEM1.WRK"), std::string(sheet.size(), 'x'));
    saveSheetRecords(state, store, host, RecordMode::Und);
    EXPECT_EQ(readFileBytes(work("WITEM1.WRK")), sheet);
}

TEST_F(WorkStoreTest, SheetFileCarriesTheSheetNumberInMark) {
    startNewQuotation(state, store, host, host.settings(), kToday);
    openSheet(state, store, host, 2);
    LineRecord marked = commentLine("a");
    marked.mark = 7;
    state.sheet.push_back(marked);
    state.sheet.push_back(commentLine("b"));
    saveSheetRecords(state, store, host, RecordMode::Wrk);

    EXPECT_EQ(state.sheet[1].mark, 7);
    EXPECT_EQ(state.sheet[2].mark, 0);
    const std::string bytes = readFileBytes(work("WITEM2.WRK"));
    ASSERT_EQ(bytes.size(), 2 * kLineRecordSize);
    EXPECT_EQ(int32At(bytes, 0), 2);
    EXPECT_EQ(int32At(bytes, kLineRecordSize), 2);
    EXPECT_EQ(readFileBytes(work("2WITEM2.UND")), bytes);
    EXPECT_EQ(namesOf(readSheetFile(work("WITEM2.WRK"))), "a,b");
    EXPECT_EQ(readSheetFile(work("WITEM2.WRK"))[1].mark, 0);
}

TEST_F(WorkStoreTest, FailedWriteIsReportedAndChangesNothing) {
    // A folder in place of the file makes the rename into place fail.
    const auto blockWithFolder = [](const fs::path& file) {
        fs::remove(file);
        fs::create_directories(file / "x");
    };
    const struct {
        const char* what;
        std::function<void(const WorkStore&)> block;
    } cases[] = {
        {"sheet file",
         [&](const WorkStore& s) {
             blockWithFolder(s.workFolder / "WITEM1.WRK");
         }},
        {"header file",
         [&](const WorkStore& s) {
             blockWithFolder(s.workFolder / "HEAD.WRK");
         }},
        {"next snapshot",
         [&](const WorkStore& s) {
             blockWithFolder(s.workFolder / "2WITEM1.UND");
         }},
        {"backup folder",
         [](const WorkStore& s) {
             fs::remove_all(s.backupFolder);
             std::ofstream(s.backupFolder) << "a file where the folder should be";
         }},
    };
    for (const auto& row : cases) {
        fs::remove_all(root);
        fs::create_directories(store.workFolder);
        WorkStore run{store.workFolder, store.backupFolder};
        DocumentState open;
        startNewQuotation(open, run, host, host.settings(), kToday);
        ASSERT_FALSE(open.modified);

        row.block(run);
        const std::map<std::string, std::string> before = folderContents(root);
        const DocumentState memoryBefore = open;
        EXPECT_THROW(runAsOneChange(open, run,
                                    [&] {
                                        open.sheet.push_back(commentLine("edit"));
                                        saveSheetRecords(open, run, host, RecordMode::Wrk);
                                    }),
                     std::runtime_error)
            << row.what;
        EXPECT_FALSE(open.modified) << row.what;
        EXPECT_EQ(open.sheet, memoryBefore.sheet) << row.what;
        EXPECT_EQ(open.undoCount, memoryBefore.undoCount) << row.what;
        EXPECT_EQ(folderContents(root), before) << row.what;
    }
}

TEST_F(WorkStoreTest, LoadSheetReadsOrCreatesTheSheet) {
    state.items = {ItemRecord{}, sheetItem("one"), sheetItem("two"), sheetItem("three")};
    state.items[2].setAmountRounding = Currency::fromRaw(9000);
    state.items[2].netTotal = Currency::fromWhole(300);
    LineRecord marked = commentLine("x");
    marked.mark = 5;
    writeSheetFile(work("WITEM2.WRK"), Sheet{LineRecord{}, marked, commentLine("y")}, 2);
    state.allNetTotal = Currency::fromWhole(1000);

    loadSheet(state, store.workFolder, 2);
    EXPECT_EQ(namesOf(state.sheet), "x,y");
    EXPECT_EQ(state.sheet[1].mark, 0);
    EXPECT_EQ(state.settings.amountOffset, Currency::fromRaw(9000));
    EXPECT_EQ(state.allNetTotal, Currency::fromWhole(700));
    EXPECT_EQ(state.currentSheetNumber, 2);

    loadSheet(state, store.workFolder, 3); // no sheet file yet
    EXPECT_EQ(state.lineCount(), 0);

    loadSheet(state, store.workFolder, 5);
    ASSERT_EQ(state.itemMax(), 5);
    EXPECT_EQ(state.items[4], newSheetItem());
    EXPECT_EQ(state.items[5], newSheetItem());
    EXPECT_EQ(state.items[3].name, "three");
    EXPECT_EQ(state.lineCount(), 0);
    EXPECT_EQ(state.currentSheetNumber, 5);
}

TEST_F(WorkStoreTest, OpenSheetStartsAFreshTapeAtTheOpenedState) {
    startNewQuotation(state, store, host, host.settings(), kToday);
    state.sheet.push_back(commentLine("one"));
    saveSheetRecords(state, store, host, RecordMode::Wrk);
    ASSERT_TRUE(fs::exists(work("2WITEM1.UND")));

    openSheet(state, store, host, 3);
    EXPECT_EQ(state.itemMax(), 3);
    EXPECT_EQ(state.currentSheetNumber, 3);
    EXPECT_EQ(host.counters, "1/1");
    EXPECT_FALSE(fs::exists(work("2WITEM1.UND")));
    EXPECT_TRUE(fs::exists(work("1WITEM3.UND")));

    openSheet(state, store, host, 1);
    EXPECT_EQ(namesOf(state.sheet), "one");
    EXPECT_EQ(namesOf(readSheetFile(work("1WITEM1.UND"))), "one");
}

TEST_F(WorkStoreTest, HeaderFileCountIsBoundedByTheFile) {
    const struct {
        const char* what;
        std::int32_t storedCount;
        std::vector<ItemRecord> items;
        std::vector<std::string> names;
    } cases[] = {
        {"count 0 gives one new sheet item", 0, {}, {""}},
        {"negative count", -5, {sheetItem("a")}, {""}},
        {"count as stored", 2, {sheetItem("a"), sheetItem("b"), sheetItem("c")}, {"a", "b"}},
        {"count beyond the file", 1000000, {sheetItem("a"), sheetItem("b")}, {"a", "b"}},
        {"count beyond an empty file", 7, {}, {""}},
    };
    for (const auto& row : cases) {
        QuotationHeader header;
        header.number = "Q-1";
        header.opt1Int = 1;
        std::ofstream(work("HEAD.WRK"), std::ios::binary)
            << headerFile(header, row.storedCount, row.items);
        DocumentState read;
        read.separateNameSpec = false;
        readHeaderFile(read, store.workFolder, "WRK");

        std::vector<std::string> names;
        for (int n = 1; n <= read.itemMax(); ++n) {
            names.push_back(read.items[static_cast<std::size_t>(n)].name);
        }
        EXPECT_EQ(names, row.names) << row.what;
        EXPECT_EQ(read.header.number, "Q-1") << row.what;
        EXPECT_TRUE(read.separateNameSpec) << row.what;
    }
}

TEST_F(WorkStoreTest, UnreadableHeaderFileChangesNothing) {
    state.items = {ItemRecord{}, sheetItem("kept")};
    EXPECT_THROW(readHeaderFile(state, store.workFolder, "UND"), FileError);
    std::ofstream(work("HEAD.UND"), std::ios::binary) << std::string(kHeaderRecordSize + 3, '\0');
    EXPECT_THROW(readHeaderFile(state, store.workFolder, "UND"), FileError);
    EXPECT_EQ(state.items[1].name, "kept");
}

TEST_F(WorkStoreTest, HeadWriteStoresSettingsOnlyIntoTheSheetsOwnItem) {
    const struct {
        int kind;
        bool receives;
    } cases[] = {{10, true}, {35, true}, {91, false}, {93, false}, {101, false}, {81, false}};
    for (const auto& row : cases) {
        DocumentState open;
        open.items = {ItemRecord{}, sheetItem("sheet"), sheetItem("current", row.kind)};
        open.items[2].submittedTotal = Currency::fromWhole(500);
        open.items[2].setAmountRounding = Currency::fromWhole(3);
        open.currentSheetNumber = 2;
        open.settings.amountOffset = Currency::fromRaw(9000);
        open.settings.totalOffset = Currency::fromRaw(5000);
        open.separateNameSpec = false;
        const ItemRecord before = open.items[2];

        writeHeaderFiles(open, store.workFolder, host);
        DocumentState reread;
        readHeaderFile(reread, store.workFolder, "WRK");

        for (const ItemList* items : {&open.items, &reread.items}) {
            const ItemRecord& item = (*items)[2];
            EXPECT_EQ(item.submittedTotal, Currency::fromWhole(500)) << row.kind;
            if (row.receives) {
                EXPECT_EQ(item.setAmountRounding, Currency::fromRaw(9000)) << row.kind;
                EXPECT_EQ(item.setTotalRounding, Currency::fromRaw(5000)) << row.kind;
            } else {
                EXPECT_EQ(item, before) << row.kind;
            }
        }
        EXPECT_EQ(reread.items[1], open.items[1]);
        EXPECT_EQ(reread.header.opt2Str, ",,,");
        EXPECT_EQ(reread.header.opt1Int, 0);
    }
}

TEST_F(WorkStoreTest, WorkFolderRebuiltFromAQuotationCollectsTheSame) {
    QuotationData data;
    data.header.addressee1 = "山田建設株式会社";
    data.header.number = "2024-0001";
    data.header.submittedGrandTotal = Currency::fromWhole(999);
    data.items = {ItemRecord{}, sheetItem("配管"), sheetItem("ダクト"), sheetItem("空")};
    LineRecord priced = newLine();
    priced.nameSpec = "配管;SGP 25A";
    priced.netQuantity = Currency::fromWhole(12);
    data.sheets = {Sheet{}, Sheet{LineRecord{}, priced, commentLine("c")}, Sheet{},
                   Sheet{LineRecord{}}};
    TakeoffRecord entry;
    entry.sheet = 2;
    entry.nameSpec = "配管;SGP 25A";
    entry.netQuantity = Currency::fromWhole(12);
    data.takeoffEntries = {{2, {entry, entry}}};
    data.configLines = {{3, {"[HN1]=配管工事費", "[HC1]=式"}}};
    data.unitCostBreakdowns = {"A;1"};
    std::ofstream(work("WITEM9.WRK")) << "left from the quotation before";

    writeWorkFolder(data, store.workFolder);
    EXPECT_FALSE(fs::exists(work("WITEM9.WRK")));
    EXPECT_FALSE(fs::exists(work("WITEM2.WRK")));
    EXPECT_EQ(fs::file_size(work("WITEM3.WRK")), 0u);
    EXPECT_EQ(fs::file_size(work("WITEM2.PUP")), 2 * kTakeoffRecordSize);
    for (const char* always : {"WITEM1.PUP", "DATASORT1.WRK"}) {
        EXPECT_EQ(fs::file_size(work(always)), 0u) << always;
    }

    state.items = data.items;
    state.header.submittedGrandTotal = Currency::fromWhole(1234);
    state.unitCostBreakdowns = data.unitCostBreakdowns;
    const QuotationData collected = collectQuotation(state, store.workFolder);

    QuotationHeader expectedHeader = data.header;
    expectedHeader.submittedGrandTotal = Currency::fromWhole(1234);
    EXPECT_EQ(collected.header, expectedHeader);
    EXPECT_EQ(collected.items, data.items);
    EXPECT_EQ(collected.sheets, data.sheets);
    EXPECT_EQ(collected.takeoffEntries, data.takeoffEntries);
    EXPECT_EQ(collected.configLines, data.configLines);
    EXPECT_EQ(collected.unitCostBreakdowns, data.unitCostBreakdowns);
}

TEST_F(WorkStoreTest, BackupOfThePreviousRunSurvivesStartAndNewQuotation) {
    fs::create_directories(store.backupFolder);
    std::ofstream(backupFilePath(store.backupFolder)) << "the last run's quotation";

    startNewQuotation(state, store, host, host.settings(), kToday); // start-up
    state.sheet.push_back(commentLine("edit"));
    saveSheetRecords(state, store, host, RecordMode::Wrk);
    startNewQuotation(state, store, host, host.settings(), kToday); // "新規作成"

    const std::vector<BackupSummary> backups = listBackups(store.backupFolder);
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].file, backupFilePath(store.backupFolder));
    EXPECT_EQ(readFileBytes(backups[1].file), "the last run's quotation");
    EXPECT_EQ(readQuotationFile(backupFilePath(store.backupFolder)).itemMax(), 1);
}

TEST_F(WorkStoreTest, AWriteThatRepeatsTheQuotationIsNotAnEdit) {
    startNewQuotation(state, store, host, host.settings(), kToday);
    state.sheet.push_back(commentLine("a"));
    saveSheetRecords(state, store, host, RecordMode::Wrk);
    state.modified = false; // as after a save

    // Leaving the page writes it again, with the tax of the page in front in the header.
    state.sheetSubmittedTax = Currency::fromWhole(80);
    writeHeaderFiles(state, store.workFolder, host);
    saveSheetRecords(state, store, host, RecordMode::Wrk);
    saveItemList(state, store, ListMode::Wrk);
    EXPECT_FALSE(state.modified);

    state.sheet[1].nameSpec = "b";
    saveSheetRecords(state, store, host, RecordMode::Wrk);
    EXPECT_TRUE(state.modified);
    state.modified = false;
    state.header.addressee1 = "山田建設";
    writeHeaderFiles(state, store.workFolder, host);
    EXPECT_TRUE(state.modified);
}

TEST_F(WorkStoreTest, ListChangeIsAChange) {
    startNewQuotation(state, store, host, host.settings(), kToday);
    saveItemList(state, store, ListMode::Und);
    EXPECT_FALSE(state.modified);
    state.items[1].name = "配管工事";
    saveItemList(state, store, ListMode::Wrk);
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(readQuotationFile(backupFilePath(store.backupFolder)).items[1].name, "配管工事");
}

} // namespace
} // namespace kerbina

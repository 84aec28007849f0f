// A command that fails at any of its file steps leaves the data root byte for byte as it was and
// the document in memory as it was; the same command without the failure gives the same files as
// a run that never failed.
#include "base/file_io.h"
#include "document/direct_read.h"
#include "document/document_events.h"
#include "document/quotation_file.h"
#include "document/work_store.h"
#include "grid/item_commands.h"
#include "grid/row_commands.h"
#include "grid/work_folder_cycle.h"
#include "grid_test_support.h"
#include "records/line_kinds.h"
#include "work_store_fixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace kerbina {
namespace {

using testing_support::folderContents;

Sheet linesNamed(const std::string& name, int count) {
    Sheet sheet{LineRecord{}};
    for (int i = 1; i <= count; ++i) {
        LineRecord line;
        line.nameSpec = name + "-" + std::to_string(i) + ";";
        line.submittedQuantity = Currency::fromWhole(i);
        line.submittedPrice = Currency::fromWhole(100);
        sheet.push_back(line);
    }
    return sheet;
}

// A quotation of four items open on sheet 2, written as the program leaves it after two edits:
// sheet, take-off and aggregation files, the undo snapshot, the list snapshot, the backup, a
// line copy file and an item on the item clipboard.
struct Workspace {
    explicit Workspace(const fs::path& at) : root(at) {
        fs::remove_all(root);
        fs::create_directories(store.workFolder);
        for (int n = 1; n <= 4; ++n) {
            ItemRecord item = newSheetItem();
            item.name = "工事" + std::to_string(n);
            state.items.push_back(item);
            writeSheetFile(store.workFolder / sheetFileName(n),
                           linesNamed("L" + std::to_string(n), n + 1), n);
        }
        writeFileAtomically(store.workFolder / pickupFileName(2), std::string(440, 'p'));
        writeFileAtomically(store.workFolder / aggregationFileName(3), "[HN1]=x\r\n");
        state.currentSheetNumber = 2;
        loadSheet(state, store.workFolder, 2);
        runTotalsPasses(state, documentEvents, false);
        saveSheetRecords(state, store, documentEvents, RecordMode::Wrk);
        state.sheet[1].nameSpec = "変更;";
        saveSheetRecords(state, store, documentEvents, RecordMode::Wrk);
        cycle.takeListSnapshot();
        copyLines(context, Selection{1, 2});
        copyItem(context, Selection{3, 3});
    }

    fs::path root;
    WorkStore store{root / "temp", root / "backup"};
    DocumentState state;
    QuietDocumentEvents documentEvents;
    WorkFolderEditCycle cycle{state, store, documentEvents};
    ScriptedPrompt host;
    GridSession session;
    GridContext context{state, cycle, host, session, store.workFolder};
};

void expectSameDocument(const DocumentState& actual, const DocumentState& expected, int step) {
    EXPECT_EQ(actual.header, expected.header) << "step " << step;
    EXPECT_EQ(actual.items, expected.items) << "step " << step;
    EXPECT_EQ(actual.sheet, expected.sheet) << "step " << step;
    EXPECT_EQ(actual.currentSheetNumber, expected.currentSheetNumber) << "step " << step;
    EXPECT_EQ(actual.undoGeneration, expected.undoGeneration) << "step " << step;
    EXPECT_EQ(actual.undoCount, expected.undoCount) << "step " << step;
    EXPECT_EQ(actual.modified, expected.modified) << "step " << step;
}

TEST(CommandAtomicity, AFailureAtAnyFileStepChangesNothing) {
    const struct {
        const char* what;
        std::function<void(Workspace&)> command;
    } cases[] = {
        {"list insert",
         [](Workspace& w) {
             insertItem(w.context, Selection{2, 2});
         }},
        {"list delete",
         [](Workspace& w) {
             deleteItem(w.context, Selection{1, 1});
         }},
        {"list paste",
         [](Workspace& w) {
             pasteItem(w.context, Selection{2, 2});
         }},
        {"list paste beyond the end",
         [](Workspace& w) {
             pasteItem(w.context, Selection{6, 6});
         }},
        {"rename in sheet mode",
         [](Workspace& w) {
             renameItem(w.context, Selection{1, 1}, 2, "新しい名前", false);
         }},
        {"sheet insert",
         [](Workspace& w) {
             insertLines(w.context, Selection{2, 3});
         }},
        {"sheet delete",
         [](Workspace& w) {
             deleteLines(w.context, Selection{1, 1});
         }},
        {"sheet paste",
         [](Workspace& w) {
             pasteLinesInserting(w.context, Selection{2, 2});
         }},
        {"sheet cut",
         [](Workspace& w) {
             cutLines(w.context, Selection{3, 3});
         }},
    };
    const fs::path base = testing::freshFolder("atomicity");
    QuotationData other;
    other.header = newHeader(2026, 12, 10);
    other.items = {ItemRecord{}, newSheetItem(), newSheetItem(), newSheetItem()};
    other.sheets = {Sheet{}, linesNamed("O1", 2), Sheet{}, linesNamed("O3", 3)};
    writeQuotationFile(base / "other.krb2", other, QuotationWriteOptions{});
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        std::map<std::string, std::string> reference;
        {
            Workspace clean(base / "reference");
            clean.host.answers = {true};
            runAsOneChange(clean.state, clean.store, [&] { row.command(clean); });
            reference = folderContents(clean.root);
        }
        // A failed attempt leaves the workspace as it was, so the next one starts from there.
        auto space = std::make_unique<Workspace>(base / "attempt");
        for (int step = 1;; ++step) {
            ASSERT_LT(step, 1000);
            space->host.answers = {true};
            const std::map<std::string, std::string> before = folderContents(space->root);
            const DocumentState memoryBefore = space->state;
            failNthFileCall(step);
            bool failed = false;
            try {
                runAsOneChange(space->state, space->store, [&] { row.command(*space); });
            } catch (const FileError&) {
                failed = true;
            }
            const bool reached = countedFileCalls() >= step;
            failNthFileCall(0);
            if (failed) {
                EXPECT_EQ(folderContents(space->root), before) << "step " << step;
                expectSameDocument(space->state, memoryBefore, step);
                continue;
            }
            // A step that may fail without failing the command (a read that only saves a write)
            // must still give the clean result.
            EXPECT_EQ(folderContents(space->root), reference) << "step " << step;
            if (!reached) {
                EXPECT_GT(step, 3) << "the command took hardly any file step";
                break;
            }
            space.reset();
            space = std::make_unique<Workspace>(base / "attempt");
        }
    }
}

} // namespace
} // namespace kerbina

#include "base/file_io.h"
#include "calc/totals.h"
#include "document/undo.h"
#include "work_store_fixture.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using testing_support::kToday;
using testing_support::namesOf;

class UndoTest : public testing_support::WorkStoreTest {
protected:
    // A quotation with one line on sheet 1, opened again as after a tab switch.
    void SetUp() override {
        WorkStoreTest::SetUp();
        startNewQuotation(state, store, host, host.settings(), kToday);
        state.sheet.push_back(commentLine("0"));
        saveSheetRecords(state, store, host, RecordMode::Wrk);
        openSheet(state, store, host, 1);
    }

    // One editing command: snapshot, change, totals, write.
    void edit(const std::string& name) {
        saveSheetRecords(state, store, host, RecordMode::Und);
        state.sheet.push_back(commentLine(name));
        recalculateSheet(state);
        recalculateItemList(state);
        saveSheetRecords(state, store, host, RecordMode::Wrk);
    }

    // E edits (the k-th edit of the script appends line k), U undoes, R redoes.
    void run(const std::string& script) {
        int edits = 0;
        for (char step : script) {
            if (step == 'E') {
                edit(std::to_string(++edits));
            } else if (step == 'U') {
                undoSheet(state, store, host);
            } else {
                redoSheet(state, store, host);
            }
        }
    }
};

TEST_F(UndoTest, SheetTape) {
    const struct {
        const char* script;
        const char* counters; // cursor/count
        const char* lines;    // the sheet on screen and in its work file
        int notices;          // "これ以上は戻れません"
    } cases[] = {
        {"", "1/1", "0", 0},
        {"U", "1/1", "0", 1},
        {"R", "1/1", "0", 0},
        {"E", "2/2", "0,1", 0},
        {"EU", "1/2", "0", 0},
        {"EEEUUU", "1/4", "0", 0},
        {"EEEUUUU", "1/4", "0", 1},
        {"EEEUUR", "3/4", "0,1,2", 0},
        {"EUR", "2/2", "0,1", 0},
        {"EURR", "2/2", "0,1", 0},
        // An edit after an undo appends; undo from there returns to the state before the undo.
        {"EUE", "3/3", "0,2", 0},
        {"EUEU", "2/3", "0,1", 0},
        {"EUEUU", "1/3", "0", 0},
    };
    for (const auto& row : cases) {
        SetUp();
        run(row.script);
        EXPECT_EQ(host.counters, row.counters) << row.script;
        EXPECT_EQ(undoCounterText(state), row.counters) << row.script;
        EXPECT_EQ(namesOf(state.sheet), row.lines) << row.script;
        EXPECT_EQ(namesOf(readSheetFile(work("WITEM1.WRK"))), row.lines) << row.script;
        EXPECT_EQ(host.notices, std::vector<std::string>(row.notices, "これ以上は戻れません"))
            << row.script;
        host.notices.clear();
    }
}

TEST_F(UndoTest, MissingSnapshotLeavesCursorAndSheet) {
    run("EEE");
    fs::remove(work("2WITEM1.UND"));
    EXPECT_TRUE(undoSheet(state, store, host));
    EXPECT_FALSE(undoSheet(state, store, host));
    EXPECT_EQ(host.counters, "3/4");
    EXPECT_EQ(namesOf(state.sheet), "0,1,2");

    fs::remove(work("4WITEM1.UND"));
    EXPECT_FALSE(redoSheet(state, store, host));
    EXPECT_EQ(host.counters, "3/4");
    EXPECT_EQ(namesOf(state.sheet), "0,1,2");
    EXPECT_TRUE(host.notices.empty());
}

TEST_F(UndoTest, UndoRestoresAmountsThroughTheTotalsPass) {
    LineRecord priced;
    priced.nameSpec = "p";
    priced.netQuantity = Currency::fromWhole(2);
    priced.submittedQuantity = Currency::fromWhole(2);
    priced.netPrice = Currency::fromWhole(100);
    priced.submittedPrice = Currency::fromWhole(150);
    saveSheetRecords(state, store, host, RecordMode::Und);
    state.sheet.push_back(priced);
    recalculateSheet(state);
    recalculateItemList(state);
    saveSheetRecords(state, store, host, RecordMode::Wrk);
    edit("after");

    ASSERT_TRUE(undoSheet(state, store, host));
    ASSERT_EQ(namesOf(state.sheet), "0,p");
    EXPECT_EQ(state.sheet[2].netAmount, Currency::fromWhole(200));
    EXPECT_EQ(state.sheet[2].submittedAmount, Currency::fromWhole(300));
    EXPECT_EQ(state.items[1].submittedTotal, Currency::fromWhole(300));
}

TEST_F(UndoTest, ListUndoRestoresTheListBeforeTheLastChange) {
    const ItemList before = state.items;
    saveItemList(state, store, ListMode::Und);
    state.items[1].name = "配管工事";
    state.items.push_back(state.items[1]);
    recalculateItemList(state);
    saveItemList(state, store, ListMode::Wrk);

    for (int repeat = 0; repeat < 2; ++repeat) {
        ASSERT_TRUE(undoList(state, store, host));
        EXPECT_EQ(state.itemMax(), 1) << repeat;
        EXPECT_EQ(state.items[1].name, before[1].name) << repeat;
        EXPECT_EQ(host.changes.back().kind, DocumentChange::Kind::ItemsChanged);
        DocumentState written;
        readHeaderFile(written, store.workFolder, "WRK");
        EXPECT_EQ(written.itemMax(), 1) << repeat;
    }
}

// The list snapshot's folder of item-file copies goes with the other snapshots: on a tab switch
// and with a new quotation.
TEST_F(UndoTest, TheListSnapshotFolderGoesWithTheOtherSnapshots) {
    const fs::path snapshot = work("LIST.UND");
    const auto leaveSnapshot = [&] {
        createFolders(snapshot);
        writeFileAtomically(snapshot / "WITEM1.WRK", "copy");
        writeFileAtomically(snapshot / "HEAD.UND", "copy");
    };
    leaveSnapshot();
    openSheet(state, store, host, 1);
    EXPECT_FALSE(fs::exists(snapshot));
    leaveSnapshot();
    startNewQuotation(state, store, host, host.settings(), kToday);
    EXPECT_FALSE(fs::exists(snapshot));
}

TEST_F(UndoTest, ListUndoWithoutSnapshotChangesNothing) {
    // Opening a sheet discards every snapshot, the list's included.
    state.items[1].name = "kept";
    EXPECT_FALSE(undoList(state, store, host));
    EXPECT_EQ(state.items[1].name, "kept");
}

} // namespace
} // namespace kerbina

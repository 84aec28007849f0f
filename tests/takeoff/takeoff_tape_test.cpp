#include "document/work_folder.h"
#include "document/work_store.h"
#include "takeoff/takeoff_tape.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <string>

// The take-off tape: snapshots of a sheet's take-off entries, undone and redone on the take-off
// page.

namespace kerbina {
namespace {

TakeoffList listNamed(const std::string& names) {
    TakeoffList list;
    for (const char name : names) {
        TakeoffRecord entry;
        entry.nameSpec = std::string(1, name) + ";";
        list.entries.push_back(entry);
    }
    return list;
}

std::string namesOf(const std::vector<TakeoffRecord>& entries) {
    std::string names;
    for (const TakeoffRecord& entry : entries) {
        names += entry.nameSpec.substr(0, 1);
    }
    return names;
}

std::string shown(const TakeoffTapeResult& result) {
    return result.list ? namesOf(storedEntries(*result.list)) : "-";
}

TEST(TakeoffTape, UndoReachesTheOpeningStateAndAnEditAfterUndoLosesNothing) {
    TempFolder work;
    DocumentState state;
    const int sheet = 2;
    startTakeoffTape(state, work.path(), sheet, listNamed("a"));
    takeTakeoffSnapshot(state, work.path(), sheet, listNamed("ab"));
    takeTakeoffSnapshot(state, work.path(), sheet, listNamed("abc"));

    EXPECT_EQ(shown(undoTakeoff(state, work.path(), sheet)), "ab");
    EXPECT_EQ(shown(undoTakeoff(state, work.path(), sheet)), "a"); // position 0: as opened
    EXPECT_EQ(namesOf(readTakeoffFile(work.path() / pickupFileName(sheet))), "a");
    EXPECT_EQ(undoTakeoff(state, work.path(), sheet).move, TapeMove::AtTheStart);
    EXPECT_EQ(state.pickupGeneration, 0);

    // An edit after undoing goes to the end of the tape, as on a sheet: every state stays there.
    takeTakeoffSnapshot(state, work.path(), sheet, listNamed("ax"));
    EXPECT_EQ(state.pickupGeneration, 3);
    EXPECT_EQ(redoTakeoff(state, work.path(), sheet).move, TapeMove::NothingThere);
    EXPECT_EQ(shown(undoTakeoff(state, work.path(), sheet)), "abc");
    EXPECT_EQ(shown(redoTakeoff(state, work.path(), sheet)), "ax");

    // A missing snapshot leaves the cursor where it was.
    std::filesystem::remove(work.path() / takeoffSnapshotFileName(2, sheet));
    EXPECT_EQ(undoTakeoff(state, work.path(), sheet).move, TapeMove::NothingThere);
    EXPECT_EQ(state.pickupGeneration, 3);
    EXPECT_EQ(namesOf(readTakeoffFile(work.path() / pickupFileName(sheet))), "ax");
}

} // namespace
} // namespace kerbina

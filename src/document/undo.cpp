#include "document/undo.h"

#include "base/file_io.h"
#include "document/work_store.h"

#include <system_error>

namespace kerbina {

namespace fs = std::filesystem;

namespace {

void reportPosition(const DocumentState& state, DocumentEvents& events) {
    events.changed({DocumentChange::Kind::UndoMoved, 0, undoCounterText(state)});
}

// Moves the cursor by `step` and loads the snapshot there. Without a snapshot file at the new
// position (deleted outside the program) the cursor goes back and the sheet stays as it is.
bool loadSnapshotAt(DocumentState& state, WorkStore& store, DocumentEvents& events, int step,
                    RecordMode mode) {
    state.undoGeneration += step;
    const fs::path file =
        store.workFolder / sheetSnapshotFileName(state.undoGeneration, state.currentSheetNumber);
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        state.undoGeneration -= step;
        reportPosition(state, events);
        return false;
    }
    Sheet sheet;
    try {
        sheet = readSheetFile(file);
    } catch (const FileError&) {
        state.undoGeneration -= step;
        reportPosition(state, events);
        throw;
    }
    reportPosition(state, events);
    // The amounts are left to the totals pass, which recomputes them from the restored lines.
    for (LineRecord& line : sheet) {
        line.netAmount = Currency();
        line.submittedAmount = Currency();
    }
    state.sheet = std::move(sheet);
    runTotalsPasses(state, events, false);
    saveSheetRecords(state, store, events, mode);
    return true;
}

} // namespace

void resetUndo(DocumentState& state, const fs::path& workFolder) {
    deleteFilesWithExtensions(workFolder, {".UND", ".PUND"});
    removeListSnapshot(workFolder);
    state.undoGeneration = 0;
    state.undoCount = 0;
    state.pickupGeneration = 0;
    state.pickupCount = 0;
}

void advanceUndoTape(DocumentState& state) {
    state.undoCount += 1;
    state.undoGeneration = state.undoCount;
}

bool undoSheet(DocumentState& state, WorkStore& store, DocumentEvents& events) {
    if (state.undoGeneration <= 1) {
        events.notify("これ以上は戻れません");
        return false;
    }
    return loadSnapshotAt(state, store, events, -1, RecordMode::Und);
}

bool redoSheet(DocumentState& state, WorkStore& store, DocumentEvents& events) {
    if (state.undoGeneration >= state.undoCount) {
        return false;
    }
    return loadSnapshotAt(state, store, events, +1, RecordMode::Redo);
}

bool undoList(DocumentState& state, WorkStore& store, DocumentEvents& events) {
    std::error_code error;
    if (!fs::is_regular_file(store.workFolder / headerFileName("UND"), error)) {
        return false;
    }
    readHeaderFile(state, store.workFolder, "UND");
    runTotalsPasses(state, events, true);
    saveItemList(state, store, ListMode::Wrk);
    events.changed({DocumentChange::Kind::ItemsChanged});
    return true;
}

std::string undoCounterText(const DocumentState& state) {
    return std::to_string(state.undoGeneration) + "/" + std::to_string(state.undoCount);
}

} // namespace kerbina

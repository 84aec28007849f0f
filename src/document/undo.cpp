#include "document/undo.h"

#include "base/file_io.h"
#include "document/work_store.h"

#include <system_error>

namespace kerbina {

namespace fs = std::filesystem;

namespace {

void showCounters(const DocumentState& state, DocumentHost& host) {
    host.showUndoCounters(undoCounterText(state));
}

// Moves the cursor by `step` and loads the snapshot there. Without a snapshot file at the new
// position (deleted outside the program) the cursor goes back and the sheet stays as it is.
bool loadSnapshotAt(DocumentState& state, WorkStore& store, DocumentHost& host, int step,
                    RecordMode mode) {
    state.undoGeneration += step;
    const fs::path file =
        store.workFolder / sheetSnapshotFileName(state.undoGeneration, state.currentSheetNumber);
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        state.undoGeneration -= step;
        showCounters(state, host);
        return false;
    }
    Sheet sheet;
    try {
        sheet = readSheetFile(file);
    } catch (const FileError&) {
        state.undoGeneration -= step;
        showCounters(state, host);
        throw;
    }
    showCounters(state, host);
    // The amounts are left to the totals pass, which recomputes them from the restored lines.
    for (LineRecord& line : sheet) {
        line.netAmount = Currency();
        line.submittedAmount = Currency();
    }
    state.sheet = std::move(sheet);
    recalculateAndShow(state, host, false);
    saveSheetRecords(state, store, host, mode);
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

bool undoSheet(DocumentState& state, WorkStore& store, DocumentHost& host) {
    if (state.undoGeneration <= 1) {
        host.notify("これ以上は戻れません");
        return false;
    }
    return loadSnapshotAt(state, store, host, -1, RecordMode::Und);
}

bool redoSheet(DocumentState& state, WorkStore& store, DocumentHost& host) {
    if (state.undoGeneration >= state.undoCount) {
        return false;
    }
    return loadSnapshotAt(state, store, host, +1, RecordMode::Redo);
}

bool undoList(DocumentState& state, WorkStore& store, DocumentHost& host) {
    std::error_code error;
    if (!fs::is_regular_file(store.workFolder / headerFileName("UND"), error)) {
        return false;
    }
    readHeaderFile(state, store.workFolder, "UND");
    recalculateAndShow(state, host, true);
    saveItemList(state, store, ListMode::Wrk);
    host.rebuildSheetTabs();
    host.selectTab(0);
    return true;
}

std::string undoCounterText(const DocumentState& state) {
    return std::to_string(state.undoGeneration) + "/" + std::to_string(state.undoCount);
}

} // namespace kerbina

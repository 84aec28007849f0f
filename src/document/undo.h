#pragma once

#include "document/document_events.h"
#include "document/work_folder.h"
#include "records/document_state.h"

#include <filesystem>
#include <string>

namespace kerbina {

// Undo works on snapshot files in the work folder, not on a history of commands.
//
// The open sheet has a tape: the files g "WITEM" n ".UND", one whole copy of sheet n per
// position g. `undoCount` is the number of positions written; `undoGeneration` is the cursor,
// the position whose snapshot matches the sheet in memory. Both are 0 after a reset. Opening a
// sheet or starting a quotation writes position 1, the state the sheet was opened in, so undo never
// goes behind it.
//
// An edit first rewrites the snapshot at the cursor (saveSheetRecords "UND"), changes the lines,
// and then appends its result at `undoCount` + 1 (saveSheetRecords "WRK"), which becomes the
// cursor. Undo moves the cursor back one position and loads that snapshot; redo moves it forward up
// to `undoCount`. The tape is linear in time: an edit after some undos appends after the last
// position instead of cutting the tape at the cursor, so undoing from there first returns to the
// state before the undos and then goes back through the undone states.
//
// The breakdown list has no tape, only "HEAD.UND", written before each list change; list undo
// restores it, and repeating it restores the same list again. Switching sheets discards both.

// Deletes every sheet and take-off snapshot ("*.UND", "*.PUND") and sets all counters to 0.
void resetUndo(DocumentState& state, const std::filesystem::path& workFolder);
// Moves the sheet tape forward after a change ("WRK"): one more position, the cursor on it.
void advanceUndoTape(DocumentState& state);

// "取り消し" and "やり直し" on a sheet tab. Undo at position 1 shows "これ以上は戻れません";
// redo at the end of the tape does nothing. A missing snapshot file leaves the cursor and the
// sheet as they were. Return true when a snapshot was loaded.
bool undoSheet(DocumentState& state, WorkStore& store, DocumentEvents& events);
bool redoSheet(DocumentState& state, WorkStore& store, DocumentEvents& events);
// "取り消し" on the breakdown-list tab: the list as it was before the last list change. Returns
// false, changing nothing, when there is no list snapshot.
bool undoList(DocumentState& state, WorkStore& store, DocumentEvents& events);

// The status bar text of the sheet tape: cursor + "/" + count.
std::string undoCounterText(const DocumentState& state);

} // namespace kerbina

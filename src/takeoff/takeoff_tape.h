#pragma once

#include "records/document_state.h"
#include "takeoff/takeoff_list.h"

#include <filesystem>
#include <optional>

namespace kerbina {

// The take-off tape of the open sheet: numbered snapshots of its take-off entries in the work
// folder ("<k>WITEM<n>.PUND"), with the cursor `pickupGeneration` and the count `pickupCount` of
// the document state. The tape reaches down to position 0, the entries as the take-off page
// opened them.

// Written when the take-off page opens: position 0 of the tape and the sheet's take-off file.
void startTakeoffTape(DocumentState& state, const std::filesystem::path& workFolder, int sheet,
                      const TakeoffList& list);
// After a change: the cursor and the count move on by one, and the entries are written to that
// position of the tape and to the sheet's take-off file.
void takeTakeoffSnapshot(DocumentState& state, const std::filesystem::path& workFolder, int sheet,
                         const TakeoffList& list);

enum class TapeMove {
    Moved,        // the entries of the new position come back
    AtTheStart,   // undo at position 0: "これ以上は戻れません"
    NothingThere, // no snapshot at the next position: the cursor stays where it was
};

struct TakeoffTapeResult {
    TapeMove move = TapeMove::NothingThere;
    std::optional<TakeoffList> list; // with Moved
};

// 取り消し / やり直し on the take-off page. A position with no snapshot leaves the cursor where it
// was, so the next undo or redo starts from the entries on the screen.
TakeoffTapeResult undoTakeoff(DocumentState& state, const std::filesystem::path& workFolder,
                              int sheet);
TakeoffTapeResult redoTakeoff(DocumentState& state, const std::filesystem::path& workFolder,
                              int sheet);

} // namespace kerbina

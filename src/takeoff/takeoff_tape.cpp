#include "takeoff/takeoff_tape.h"

#include "document/work_folder.h"
#include "document/work_store.h"

#include <system_error>

namespace kerbina {
namespace {

void writeAt(const std::filesystem::path& workFolder, int position, int sheet,
             const TakeoffList& list) {
    const std::vector<TakeoffRecord> entries = storedEntries(list);
    writeTakeoffFile(workFolder / takeoffSnapshotFileName(position, sheet), entries, sheet);
    writeTakeoffFile(workFolder / pickupFileName(sheet), entries, sheet);
}

TakeoffTapeResult moveTo(DocumentState& state, const std::filesystem::path& workFolder, int sheet,
                         int position) {
    if (position > state.pickupCount) {
        return {};
    }
    const std::filesystem::path snapshot = workFolder / takeoffSnapshotFileName(position, sheet);
    std::error_code error;
    if (!std::filesystem::is_regular_file(snapshot, error)) {
        return {};
    }
    TakeoffList list = takeoffListFromStored(readTakeoffFile(snapshot));
    writeTakeoffFile(workFolder / pickupFileName(sheet), storedEntries(list), sheet);
    state.pickupGeneration = position;
    return {TapeMove::Moved, std::move(list)};
}

} // namespace

void startTakeoffTape(DocumentState& state, const std::filesystem::path& workFolder, int sheet,
                      const TakeoffList& list) {
    state.pickupGeneration = 0;
    state.pickupCount = 0;
    writeAt(workFolder, 0, sheet, list);
}

void takeTakeoffSnapshot(DocumentState& state, const std::filesystem::path& workFolder, int sheet,
                         const TakeoffList& list) {
    writeAt(workFolder, state.pickupCount + 1, sheet, list);
    state.pickupCount += 1;
    state.pickupGeneration = state.pickupCount;
}

TakeoffTapeResult undoTakeoff(DocumentState& state, const std::filesystem::path& workFolder,
                              int sheet) {
    if (state.pickupGeneration < 1) {
        return {TapeMove::AtTheStart, std::nullopt};
    }
    return moveTo(state, workFolder, sheet, state.pickupGeneration - 1);
}

TakeoffTapeResult redoTakeoff(DocumentState& state, const std::filesystem::path& workFolder,
                              int sheet) {
    return moveTo(state, workFolder, sheet, state.pickupGeneration + 1);
}

} // namespace kerbina

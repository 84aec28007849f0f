#pragma once

#include "base/user_prompt.h"
#include "records/document_state.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kerbina {

// What the grid commands share: the selection they work on, what they hand back to the window,
// and the steps every change goes through.

// A block of whole grid rows (1 = the first line or item).
struct Selection {
    int top = 1;
    int bottom = 1;

    friend bool operator==(const Selection&, const Selection&) = default;
};

struct CommandResult {
    bool changed = false; // the document changed and was written: recompute the view and repaint
    Selection selection;  // the selection afterwards
    std::optional<int> scrollTop; // make this row the first visible one
    bool itemsChanged = false;    // list commands: rebuild the sheet tabs and show tab 0
};

// The result of a command that changed nothing: the selection stays where it was.
inline CommandResult nothingChanged(Selection selection) {
    CommandResult result;
    result.selection = selection;
    return result;
}

// The steps around every change, in this order: snapshot, change the records, recalculate, write.
// Commands reach the undo snapshots, the totals passes and the work-file writes only through
// these, so that they stay functions of the document; the window passes WorkFolderEditCycle
// (grid/work_folder_cycle.h), tests may pass one that records the order.
class EditCycle {
public:
    virtual ~EditCycle() = default;

    // saveSheetRecords "UND": the sheet as it is before the change.
    virtual void takeSheetSnapshot() = 0;
    // The totals passes: the sheet pass (not in list mode), then the list pass.
    virtual void recalculate(bool listMode) = 0;
    // saveSheetRecords "WRK": the header, the current sheet, the next undo generation and the
    // backup.
    virtual void writeSheet() = 0;
    // saveItemList "UND", together with the sheet, take-off and aggregation files of every item, so
    // that list undo can bring back the files the list change moves.
    virtual void takeListSnapshot() = 0;
    // saveItemList "WRK".
    virtual void writeList() = 0;
    // Reads the current sheet again from its work file after a list change replaced the file.
    virtual void reloadSheet() = 0;
    // Sheet undo, or the list undo (with the item files) in list mode; true when something was
    // restored.
    virtual bool undo(bool listMode) = 0;
};

// The breakdown item remembered by list Copy or Cut, with the bytes of its files as they were at
// that moment (nothing for a file the item did not have).
struct ItemClipboard {
    ItemRecord item;
    std::optional<std::string> sheetFile;
    std::optional<std::string> pickupFile;
    std::optional<std::string> aggregationFile;
};

// What the commands remember between calls for as long as the program runs.
struct GridSession {
    int lastMoveRow = 0; // the row the last Move up / Move down took its line from
    std::optional<ItemClipboard> itemClipboard;
};

struct GridContext {
    DocumentState& state;
    EditCycle& cycle;
    UserPrompt& host;
    GridSession& session;
    std::filesystem::path workFolder; // dataRoot + "/temp"
};

// The end of every command that changed lines of the open sheet: the totals passes, then the work
// files; the selection afterwards is `selection`.
CommandResult finishChange(GridContext& context, Selection selection);
// The end of every change of the breakdown list on its page: the list pass, then "HEAD.WRK".
CommandResult finishListChange(GridContext& context, Selection selection);

// Breakdown item `row`, after appending empty work items until it exists.
ItemRecord& itemCreatedAt(DocumentState& state, int row);

// Files of breakdown item n in the work folder.
std::filesystem::path itemSheetFile(const std::filesystem::path& workFolder, int item);
std::filesystem::path itemPickupFile(const std::filesystem::path& workFolder, int item);
std::filesystem::path itemAggregationFile(const std::filesystem::path& workFolder, int item);

} // namespace kerbina

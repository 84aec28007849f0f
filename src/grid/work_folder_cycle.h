#pragma once

#include "document/document_events.h"
#include "document/work_folder.h"
#include "grid/grid_commands.h"

namespace kerbina {

// The edit cycle of the running program: snapshots and writes go to the work folder through the
// work-file store; the totals passes report their figures to the document events.
//
// The list snapshot is "HEAD.UND" plus a copy of every item's sheet, take-off and aggregation
// file in the folder "LIST.UND" beside it (with its own copy of "HEAD.UND", so a "HEAD.UND" that
// something else wrote later is never paired with files from an earlier snapshot). List undo puts
// those files back together with the list, so undoing an item insert, delete or paste brings the
// sheets back with their items.
//
// List undo first keeps the list and the item files as they are in the folder "LIST.RDO", and list
// redo puts them back, as long as nothing has been written since the undo: any change through the
// cycle, a "HEAD.WRK" that differs from the one the undo left, or forgetListRedo (a page switch)
// makes redo do nothing.
class WorkFolderEditCycle final : public EditCycle {
public:
    WorkFolderEditCycle(DocumentState& state, WorkStore& store, DocumentEvents& events);

    void takeSheetSnapshot() override;
    void recalculate(bool listMode) override;
    void writeSheet() override;
    void takeListSnapshot() override;
    void writeList() override;
    void reloadSheet() override;
    bool undo(bool listMode) override;
    // The list as the last list undo found it; false, changing nothing, when there is none.
    bool redoList();
    void forgetListRedo() { redoKept_ = false; }

private:
    bool restoreListFiles();
    void keepListForRedo();
    // Whether the list redo keeps is still the one to bring back.
    bool redoKept() const;

    DocumentState& state_;
    WorkStore& store_;
    DocumentEvents& events_;
    bool redoKept_ = false;
};

} // namespace kerbina

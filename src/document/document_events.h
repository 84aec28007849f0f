#pragma once

#include "base/user_prompt.h"
#include "records/records.h"

#include <string>
#include <utility>
#include <vector>

namespace kerbina {

struct DocumentState;
struct RecalcOutcome;

// One thing an operation changed in the open quotation, in the order it changed. A window turns
// these into screen updates; the document never says how anything is shown.
//
// Rows are numbered as the document numbers them: line n of sheet n's lines (1 = the first
// line), or item n of the breakdown list when `sheet` is 0.
struct DocumentChange {
    enum class Kind {
        QuotationStarted, // a new quotation replaced the open one: one empty sheet, no totals
        HeaderReplaced,   // the header now is another quotation's (a new one, a file read)
        HeaderWritten,    // `text`: the quotation number, as the header files now hold it
        ItemsChanged,     // the breakdown list changed or was read again
        SheetOpened,      // `sheet` is the open sheet now; `text`: the name of its item
        SettingsChanged,  // the calculation settings of the open sheet changed
        ColumnsChanged,   // the 名称 and 仕様 columns are kept apart or together now
        TotalsChanged,    // the totals passes ran
        UndoMoved,        // `text`: the undo tape position ("3/4")
        RowsChanged,      // rows `first`..`last` of `sheet` hold something else
        RowsInserted,     // rows `first`..`last` of `sheet` are new; the rows from `first` on
                          // moved down by their count
        RowsRemoved,      // rows `first`..`last` of `sheet` (as numbered before) are gone; the
                          // rows below moved up
        PageChosen,       // `sheet`: the page worked on is chosen: 0 the breakdown list, n sheet n
        PageEntered,      // the page worked on was entered (the list, or the open sheet)
        FileChanged,      // the quotation's own file changed (QuotationSession::ownFile)
    };

    DocumentChange(Kind changed, int changedSheet = 0, std::string changedText = {})
        : kind(changed), sheet(changedSheet), text(std::move(changedText)) {}
    DocumentChange(Kind changed, int changedSheet, int firstRow, int lastRow)
        : kind(changed), sheet(changedSheet), first(firstRow), last(lastRow) {}

    Kind kind;
    int sheet = 0;
    int first = 0;
    int last = 0;
    std::string text;

    friend bool operator==(const DocumentChange&, const DocumentChange&) = default;
};
using DocumentChanges = std::vector<DocumentChange>;

// What became of the rows of sheet `sheet` (0: the breakdown list) between `before` and `after`,
// appended to `changes` as few row changes as cover it: the rows that differ between the equal
// rows at the top and at the bottom changed, and where the lists differ in length the rest of them
// was inserted or removed. Index 0 of a list (the scratch slot, the placeholder item) is no row.
void appendRowChanges(const Sheet& before, const Sheet& after, int sheet, DocumentChanges& changes);
void appendRowChanges(const ItemList& before, const ItemList& after, DocumentChanges& changes);

// Where the operations of the work-file store, undo and the opening of files report what they
// changed, and how they ask the user (UserPrompt). The session implements it; tests script it.
// It is never asked to show anything, to save or to read settings: whoever drives an operation
// does those steps itself, before or after it.
class DocumentEvents : public UserPrompt {
public:
    virtual void changed(DocumentChange change) = 0;
    // The totals passes ran (TotalsChanged): their figures, and the error of a pass that stopped.
    virtual void recalculated(const RecalcOutcome& outcome, bool listMode) = 0;
    // How many entries the page worked on has room for; the totals pass asks for more when the
    // list in front outgrows it.
    virtual int roomForEntries() const = 0;
    // Edits of the header made outside the document in memory (a form showing its fields), put
    // into it before the header files are written.
    virtual void takeHeaderEdits(QuotationHeader& header) = 0;
};

// Events nobody watches, a prompt that answers No. For work done without a session (benchmarks,
// tests of the commands).
class QuietDocumentEvents : public DocumentEvents {
public:
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    bool askYesNo(const std::string&) override { return false; }
    bool askYesNoDefaultNo(const std::string&) override { return false; }
    void notify(const std::string&) override {}
    void reportError(std::string_view, std::string_view) override {}
    void changed(DocumentChange) override {}
    void recalculated(const RecalcOutcome&, bool) override {}
    int roomForEntries() const override { return 101; }
    void takeHeaderEdits(QuotationHeader&) override {}
};

} // namespace kerbina

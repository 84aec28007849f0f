#pragma once

#include "base/user_prompt.h"
#include "records/records.h"

#include <string>

namespace kerbina {

struct DocumentState;
struct RecalcOutcome;

// What the work-file store and undo need from the window that shows the open quotation, besides
// asking the user (UserPrompt): where an operation changes what is on screen, it calls one of
// these. The main window implements them; tests script them.
class DocumentHost : public UserPrompt {
public:
    // The cover page: its history lists, its fields, and the quotation number shown on it.
    virtual void updateCoverHistory() = 0;
    virtual void copyCoverToHeader(QuotationHeader& header) = 0;
    virtual void showQuotationNumber(const std::string& number) = 0;
    virtual void loadCoverPage(const QuotationHeader& header) = 0;
    virtual void showCoverTab() = 0;

    // Reads the settings files into the calculation settings and the options of the state.
    virtual void readSettings(DocumentState& state) = 0;
    // Saves the open quotation to the database; false when it was not saved (cancelled or failed).
    virtual bool saveToDatabase() = 0;

    // The sheet tabs and the grid.
    virtual void showSheetTitle(const std::string& itemName) = 0;
    virtual void rebuildSheetTabs() = 0;
    virtual void selectTab(int tab) = 0; // 0: the breakdown list; n: the sheet of item n
    virtual void applyGridLayout() = 0;
    virtual void showModuleTabs() = 0;
    // Repaints the grid (list mode: the breakdown list) and the totals panel after a totals pass,
    // grows the grid when the outcome asks for it, and shows the pass's error when it stopped.
    virtual void refresh(const RecalcOutcome& outcome, bool listMode) = 0;
    virtual int gridRowCount() const = 0;
    // Clears the view for a new quotation: total labels "0", 101 grid rows, row 1 selected at the
    // top, the unit-cost breakdown grid emptied.
    virtual void clearView() = 0;
    // The undo tape position in the status bar ("3/4").
    virtual void showUndoCounters(const std::string& text) = 0;
};

// A host with no window: it answers No, shows nothing and repaints nothing. For work done without
// a window (benchmarks, tests of the commands).
class QuietDocumentHost : public DocumentHost {
public:
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    bool askYesNo(const std::string&) override { return false; }
    bool askYesNoDefaultNo(const std::string&) override { return false; }
    void notify(const std::string&) override {}
    void reportError(std::string_view, std::string_view) override {}
    void updateCoverHistory() override {}
    void copyCoverToHeader(QuotationHeader&) override {}
    void showQuotationNumber(const std::string&) override {}
    void loadCoverPage(const QuotationHeader&) override {}
    void showCoverTab() override {}
    void readSettings(DocumentState&) override {}
    bool saveToDatabase() override { return false; }
    void showSheetTitle(const std::string&) override {}
    void rebuildSheetTabs() override {}
    void selectTab(int) override {}
    void applyGridLayout() override {}
    void showModuleTabs() override {}
    void refresh(const RecalcOutcome&, bool) override {}
    int gridRowCount() const override { return 101; }
    void clearView() override {}
    void showUndoCounters(const std::string&) override {}
};

} // namespace kerbina

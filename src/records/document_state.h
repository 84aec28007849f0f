#pragma once

#include "money/calc_settings.h"
#include "money/currency.h"
#include "records/records.h"

#include <string>
#include <vector>

namespace kerbina {

// The open quotation as the program holds it: the header, the breakdown list and only the
// current sheet; the other sheets live in their work files. The work-file store writes this state
// to the work folder after every change, the totals passes recompute it.
struct DocumentState {
    QuotationHeader header;
    ItemList items{ItemRecord{}}; // [0] placeholder, items 1..ItemMax
    Sheet sheet{LineRecord{}};    // the current sheet; [0] is the scratch slot
    int currentSheetNumber = 1;

    CalcSettings settings;        // current calculation settings (per sheet plus quotation-wide)
    bool itemNameLine = true;     // [Items_Opt_1]: the sheet title line option
    bool separateNameSpec = true; // name and specification in two grid columns

    // Grand totals of all sheets; while a sheet is open they hold the other sheets' totals and
    // the totals pass adds the live sheet.
    Currency allSubmittedTotal;
    Currency allNetTotal;
    Currency sheetSubmittedTax;
    Currency sheetNetTax;
    Currency listSubmittedTax;
    Currency listNetTax;

    // The unit-cost breakdown list (代価表): sorted, unique texts, saved with the quotation.
    std::vector<std::string> unitCostBreakdowns;
    // The last piping aggregation ran with its unit-cost breakdown option: quotation files then
    // refer to breakdown pages in the line notes.
    bool unitCostReferences = false;

    // Undo tapes (see document/undo.h): the open sheet's and its take-off page's.
    int undoGeneration = 0;
    int undoCount = 0;
    int pickupGeneration = 0;
    int pickupCount = 0;
    // The quotation has changes that were not saved: set by every write of the work files after
    // a change, cleared by a new quotation, by opening a file and by a successful save.
    bool modified = false;

    int itemMax() const { return static_cast<int>(items.size()) - 1; }
    int lineCount() const { return static_cast<int>(sheet.size()) - 1; }
};

} // namespace kerbina

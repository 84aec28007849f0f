#pragma once

#include "calc/calc_settings.h"
#include "document/quotation_data.h"

#include <optional>
#include <string>
#include <vector>

namespace kerbina {

// Recomputes a whole quotation held in memory, sheet by sheet and then the breakdown list, the
// way the program does when it opens a quotation and visits every sheet, and reports the result.

struct RecalculationSettings {
    // The settings in effect before the quotation is opened: the per-sheet ones are replaced by
    // each item's own, the grand-total level and offset by the file's [KETA] and [CUTLEVEL], the
    // tax offset by the file's [Tax_opt_1] when it has one.
    CalcSettings calc;
    bool itemNameLine = true; // [Items_Opt_1]
};

// A sheet pass that stopped: the row it names and the message it showed.
struct SheetPassError {
    int row = 0;
    std::string message;
};

struct SheetOutcome {
    int number = 0; // item number of the sheet
    std::optional<SheetPassError> error;
};

// Runs the sheet pass on every item that owns a detail sheet (in item order), storing each sheet's
// lines, totals and settings back into `data`, then the list pass, which stores the grand totals
// in the header. Returns one outcome per sheet that was computed.
std::vector<SheetOutcome> recalculateQuotation(QuotationData& data,
                                               const RecalculationSettings& settings);

// The totals report: a JSON object (UTF-8) with the grand totals, every item and the lines of
// every computed sheet. Money values are strings in the Currency text form.
std::string totalsReportJson(const QuotationData& data, const std::vector<SheetOutcome>& sheets);

} // namespace kerbina

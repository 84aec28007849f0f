#pragma once

#include "money/calc_settings.h"
#include "money/currency.h"
#include "records/document_state.h"
#include "records/quotation_data.h"

#include <map>
#include <optional>
#include <string>

namespace kerbina {

// The totals passes: the sheet pass recomputes the current sheet from top to bottom, the list
// pass the breakdown list and the grand totals. Both are deterministic functions of the records
// and the calculation settings; they never ask or show anything, they return what the window
// has to show.

// A 範囲計(金額非表示) line (kind 93) may only sum plain priced lines. When its range holds
// anything else the sheet pass stops at that line; the window shows the message.
struct RangeSumError {
    int row = 0; // the range-sum line
    std::string message;
};

// An amount beyond the Currency range, met by a totals pass: on row `row` of the sheet of item
// `sheet`, or, with `sheet` 0, on row `row` of the breakdown list. The message names both.
class AmountOverflow : public CurrencyOverflow {
public:
    AmountOverflow(int sheet, int row, const std::string& itemName);
    int sheet() const { return sheet_; }
    int row() const { return row_; }

private:
    int sheet_;
    int row_;
};

struct SheetPassResult {
    bool empty = false; // both sheet totals are 0
    // The sheet's running totals; when the pass stopped, as far as it got.
    Currency netTotal;
    Currency submittedTotal;
    std::optional<RangeSumError> error;
    bool titleLineInserted = false; // a kind-100 line carrying the item name now heads the sheet
};

struct ListPassResult {
    Currency allLabor; // submitted labour totals of the counted items, reductions subtracted
};

// Told by the sheet pass of every amount that goes into the sheet's submitted total, and where it
// comes from, in the order the pass adds them: together they make the total exactly. A reduction
// comes with its amount negated; the welfare lines come as one sum, when the total takes them.
class SubmittedTotalObserver {
public:
    virtual ~SubmittedTotalObserver() = default;
    virtual void lineCounted(const LineRecord& line, Currency submitted) = 0;
    virtual void welfareCounted(Currency submitted) = 0;
    virtual void taxCounted(Currency submitted) = 0;
};

// Told by the list pass of every amount that goes into the submitted grand total, in the order
// the pass adds them: together they make the grand total exactly. A reduction comes with its
// amount negated. It is told too what the sum items show: the parts of a hierarchy parent or a
// 小計 (a reduction negated), and when a 計 item takes what was counted since the one before.
class GrandTotalObserver {
public:
    virtual ~GrandTotalObserver() = default;
    virtual void itemCounted(int item, Currency submitted) = 0;
    virtual void itemSummed(int sum, int part, Currency submitted) = 0;
    virtual void countedSinceShown(int sum) = 0;
    // The welfare items' sum, when the grand total takes it.
    virtual void welfareCounted(Currency submitted) = 0;
    virtual void taxCounted(Currency submitted) = 0;
};

// Sheet pass over state.sheet with state.settings. Stores the sheet totals and tax into the
// current item when that item owns a sheet. Both passes raise AmountOverflow when an amount leaves
// the Currency range.
SheetPassResult recalculateSheet(DocumentState& state, SubmittedTotalObserver* observer = nullptr);
// List pass over state.items; stores the grand totals in the header and in state.
ListPassResult recalculateItemList(DocumentState& state, GrandTotalObserver* observer = nullptr);

// The six per-sheet settings travel in the sheet's item (amount, expense and labour offsets,
// quantity decimals, total level and total offset). Loading makes item `itemNumber`'s settings
// current; storing writes the current settings back into the current item, but only into an item
// that owns a sheet (expense, tax and welfare items keep their rates and levels in those fields).
void loadSheetSettings(DocumentState& state, int itemNumber);
// What the calculation settings dialog shows: the current settings, with the grand-total level and
// offset of the open quotation itself ([KETA], 0 shown as 1, and [CUTLEVEL]) rather than those
// the settings file gives a new quotation.
CalcSettings settingsShownInDialog(const DocumentState& state);
// "設定実行" of the calculation settings dialog: the chosen settings become current, and the
// header takes the grand-total level (as a whole number) and offset. A level that stays what the
// header already computes with keeps its stored value, so confirming without a change leaves the
// quotation as it was.
void applyCalcSettings(DocumentState& state, const CalcSettings& chosen);
void storeSheetSettings(DocumentState& state);

// Recomputes a whole quotation held in memory the way the program does it sheet by sheet: every
// item that owns a sheet, in item order, becomes the current sheet with its own settings, gets the
// sheet pass and keeps the settings the pass repaired; then the list pass runs. `settings`
// supplies the quotation-wide settings; the quotation's own tax offset replaces theirs when it
// has one, and one without takes theirs as its own. Returns each sheet's pass result by item
// number.
std::map<int, SheetPassResult>
recalculateQuotation(QuotationData& data, const CalcSettings& settings, bool itemNameLine);

// "  0%" when the submitted total is 0, "100%" when the net total is 0, else
// 100 − Int(net ÷ submitted × 100) followed by "%".
std::string marginText(Currency net, Currency submitted);

struct SheetFigures {
    Currency net;
    Currency submitted;
    Currency difference; // submitted − net
    std::string margin;
};

// What the totals panel and the labels of the main window show.
struct TotalsPanel {
    std::optional<SheetFigures> sheet; // blank in list mode
    SheetFigures all;                  // the whole quotation
    Currency allLabor;
};

struct RecalcOutcome {
    TotalsPanel panel;
    std::optional<RangeSumError> error; // for the window to show after repainting
    // The grid needs at least as many rows as the list in front has entries (its placeholder
    // included, standing for the header row); when it has fewer it grows to that number plus 10.
    std::optional<int> growGridTo;
};

// Every editing command ends here: the sheet pass unless in list mode, always the list pass, then
// the figures of the totals panel and the grid growth for `gridRowCount` current rows.
RecalcOutcome recalculateTotals(DocumentState& state, bool listMode, int gridRowCount);

} // namespace kerbina

#pragma once

#include "money/calc_settings.h"
#include "money/currency.h"
#include "records/records.h"

#include <utility>

namespace kerbina {

// The setting fields of an item record (offsets 144..192) mean different things by item kind.
// Each meaning is read and written here; only the record formats touch the fields themselves.

// Sheet items (10, 30..39): the six per-sheet calculation settings their sheet is computed with
// (offsets 144, 152, 160, 168, 176, 192). Reading sets only those six of `settings`.
void readSheetSettings(const ItemRecord& item, CalcSettings& settings);
void writeSheetSettings(ItemRecord& item, const CalcSettings& settings);
// The quantity decimals alone (160): 10, 100 or 1000.
Currency sheetQuantityDecimals(const ItemRecord& item);

// Hierarchy parents (20..29), small sums (95) and welfare sums (102): the first and last item
// number of the range they cover (144, 152), as stored.
struct ItemRange {
    Currency first;
    Currency last;
};
ItemRange itemRange(const ItemRecord& item);
// The range's item numbers: the stored values truncated to whole numbers, within the int range.
std::pair<int, int> itemRangeNumbers(const ItemRecord& item);
void setItemRange(ItemRecord& item, int first, int last);

// List-level expenses (81..84).
struct ExpenseRates {
    Currency netRate;        // 144, percent
    Currency submittedRate;  // 152, percent
    Currency roundingLevel;  // 160, a level code for the submitted amount
    Currency unitCode;       // 168: 1 "％", 2 "式"
    Currency roundingOffset; // 192
};
ExpenseRates expenseRates(const ItemRecord& item);
void setExpenseRates(ItemRecord& item, const ExpenseRates& rates);

// The list-level consumption tax (93).
struct TaxSetting {
    Currency ratePercent;      // 160
    bool chargedOnNet = false; // 144 exactly 1: the net side carries the tax as well, else 0
};
TaxSetting taxSetting(const ItemRecord& item);
void setTaxSetting(ItemRecord& item, const TaxSetting& tax);

// Statutory welfare items (101): amount = base × labourRate% × employerRate% × workerRate%.
struct WelfareRates {
    Currency labourRate;   // 144, 労務費率
    Currency employerRate; // 152, 法定福利費事業主負担 (or one insurance's rate)
    Currency workerRate;   // 192, 適用労働者率
};
WelfareRates welfareRates(const ItemRecord& item);
void setWelfareRates(ItemRecord& item, const WelfareRates& rates);

// Welfare and welfare sum items (101, 102): the formula text is shown with the name (sub-kind 1)
// instead of in the note.
bool showsFormulaWithName(const ItemRecord& item);
void setShowsFormulaWithName(ItemRecord& item, bool withName);

// Comment items (96): the placement code of the note (sub-kind); codes 15 and 30 show it in the
// total column, any other code in the note column.
Currency commentPlacement(const ItemRecord& item);
void setCommentPlacement(ItemRecord& item, Currency placement);
bool showsNoteInTotalColumn(const ItemRecord& item);

// The four setting fields as the item message of the expense and welfare dialogs carries them
// (144, 152, 160, 168), whatever they mean for the item's kind.
void setItemMessageSettings(ItemRecord& item, Currency at144, Currency at152, Currency at160,
                            Currency at168);

} // namespace kerbina

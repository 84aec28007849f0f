#pragma once

namespace kerbina {

// Line kinds ("FLAG") of detail-sheet lines. The codes are stored in every work file, quotation
// file and copy file, so they never change; kinds from 100 up are made by the program itself (the
// title line) or by the take-off module, and the line commands do not edit them.
namespace LineKind {
inline constexpr int Empty = 0; // an inserted empty line before anything is typed into it
// Whole-number quantity (10..19).
inline constexpr int WholePriced = 10;               // quantity × price, in the expense base
inline constexpr int WholeReduction = 11;            // 減額: priced like 10, subtracted
inline constexpr int WholePricedOutsideExpense = 12; // like 10, outside the expense base
inline constexpr int WholeAmountTextFirst = 15;      // 15..18: amountText instead of an amount
inline constexpr int WholeAmountTextLast = 18;
// Decimal quantity (20..29).
inline constexpr int DecimalPriced = 20;
inline constexpr int DecimalReduction = 21;
inline constexpr int DecimalPricedOutsideExpense = 22;
inline constexpr int DecimalAmountTextFirst = 25; // 25..28
inline constexpr int DecimalAmountTextLast = 28;
inline constexpr int Comment = 30;
// Range lines: the rows netQuantity..submittedQuantity. The calculated range kinds come in
// tens: x0 counts every line of the range, x1..x6 only the lines of data group 1..6.
inline constexpr int RangeSum = 40;
inline constexpr int RangeAmountTimesRate = 50;        // 50..56
inline constexpr int RangeLaborTimesPrice = 60;        // 60..66
inline constexpr int RangeAdditionalTimesRate = 70;    // 70..76
inline constexpr int LastGroupFilter = 6;              // x6: data group 6
inline constexpr int ExpenseOnTotal = 81;              // running total × rate
inline constexpr int ExpenseOutsideOtherExpenses = 82; // left out when later expenses are based
inline constexpr int ExpenseOnTotalRoundedOff = 83;
inline constexpr int ExpenseWithoutOthersRoundedOff = 84;
inline constexpr int Tax = 90;
inline constexpr int RangeTotalHidingItems = 93;  // 範囲計(各項目計非表示)
inline constexpr int RangeTotalShowingItems = 94; // 範囲計(各項目計表示)
inline constexpr int SmallSum = 95;               // 小計
inline constexpr int MidSum = 96;                 // 中計
inline constexpr int Welfare = 97;                // 法定福利費
inline constexpr int WelfareSum = 98;             // 法定福利計
inline constexpr int SumLine = 99;                // 合計線: ends the line-by-line pass
inline constexpr int Title = 100;                 // row 1 of a sheet: the item's name
inline constexpr int FirstGenerated = 100;        // from here on made by the program
// Take-off lines.
inline constexpr int TakeoffWholePriced = 110;
inline constexpr int TakeoffWholeAmountTextFirst = 115; // 115..118
inline constexpr int TakeoffWholeAmountTextLast = 118;
inline constexpr int TakeoffDecimalPriced = 120;
inline constexpr int TakeoffDecimalAmountTextFirst = 125; // 125..128
inline constexpr int TakeoffDecimalAmountTextLast = 128;
inline constexpr int TakeoffComment = 130;
inline constexpr int TakeoffPricePerHundred = 140; // quantity × price ÷ 100
inline constexpr int TakeoffPriced145 = 145;       // priced like 20
inline constexpr int TakeoffPriced150 = 150;       // priced like 20
inline constexpr int TakeoffLumpSum = 160;         // amount = price
inline constexpr int TakeoffPriced170 = 170;       // quantity × price
inline constexpr int TakeoffHundredths = 180;      // (quantity ÷ 100) × price
inline constexpr int TakeoffRangeTotalHidingItems = 193;
inline constexpr int TakeoffRangeTotalShowingItems = 194;
} // namespace LineKind

// Item kinds of the breakdown list.
namespace ItemKind {
inline constexpr int Sheet = 10;                // an ordinary item with its own sheet
inline constexpr int HierarchyParentFirst = 20; // 20..29: 階層元 at depth kind − 20
inline constexpr int HierarchyParentLast = 29;
inline constexpr int HierarchySheetFirst = 30; // 30..39: an item inside a hierarchy, with a sheet
inline constexpr int HierarchySheetLast = 39;
inline constexpr int ExpenseOnTotal = 81; // 81..84 as the line kinds
inline constexpr int ExpenseOutsideOtherExpenses = 82;
inline constexpr int ExpenseWithoutOthersRoundedOff = 84;
inline constexpr int Reduction = 91;
inline constexpr int Tax = 93;
inline constexpr int SmallSum = 95; // subtotal over the item range
inline constexpr int Comment = 96;  // 特記事項
inline constexpr int SumSincePrevious = 98;
inline constexpr int SumLine = 99;
inline constexpr int Welfare = 101;
inline constexpr int WelfareSum = 102;
} // namespace ItemKind

// Kind sets of lines. Each set is defined here once; kinds_test pins their members.

// Priced: 10, 11, 12, 20, 21, 22, 110, 120, 140, 145, 150, 170, 180.
bool isPriced(int kind);
// Priced as quantity × unit price with no further factor: the priced set without 140 and 180.
bool isPlainPriced(int kind);
bool isReduction(int kind); // 11, 21
// The ordinary lines: the kinds the data-entry dialog's FLAG choices make (10, 11, 12, 15, 20, 21,
// 22, 25, 30). Typing in the grid and the bulk edits change only these.
bool isOrdinaryLine(int kind);
// Hand-entered priced lines without the take-off variants (10, 11, 12, 20, 21, 22).
bool isHandPriced(int kind);
// Range kinds, whose quantities hold the first and last row of a range: 40, 50..56, 60..66,
// 70..76, 93, 94, 193, 194. Row inserts and deletes keep these pointing at the same lines.
bool isRangeKind(int kind);
// The calculated range kinds 50..56, 60..66, 70..76 (laborFactor holds the rounding level).
bool isCalculatedRangeKind(int kind);
bool isRangeAmountTimesRate(int kind);     // 50..56
bool isRangeLaborTimesPrice(int kind);     // 60..66
bool isRangeAdditionalTimesRate(int kind); // 70..76
// 0 for 50, 60, 70 and every other kind; 1..6 for the data-group filtered ranges x1..x6.
int groupFilterOf(int kind);
// Range totals 93, 94, 193, 194, which mark the lines they cover.
bool isRangeTotal(int kind);
// Lines a hiding range total (93) may cover: 0, 10, 11, 20, 21, 110, 120, 145, 150.
bool mayBeHiddenByRangeTotal(int kind);
bool isExpense(int kind);         // 81..84
bool isWelfare(int kind);         // 97, 98
bool isWholeQuantity(int kind);   // 10..19
bool isDecimalQuantity(int kind); // 20..29
// Quantities written with the sheet's quantity decimals in line texts: 20..22, 25..28, 120,
// 125..128, 140, 145, 150.
bool hasDecimalQuantityText(int kind);
// Made by the program (title line) or the take-off module: 100 and above.
bool isGeneratedKind(int kind);

// Kind sets of breakdown items.

// Items that own a detail sheet: 10 and 30..39.
bool ownsSheet(int itemKind);
bool isHierarchyParent(int itemKind); // 20..29
// Items that keep a range of item numbers (first in setAmountRounding, last in
// setExpenseRounding), which item inserts and deletes keep pointing at the same items: hierarchy
// parents 20..29 and small sums 95.
bool hasItemRange(int itemKind);
// Items that never become the current sheet when a quotation is opened: 20..29, 81..84, 91, 93,
// 95, 96, 101.
bool isListOnlyKind(int itemKind);
// Items whose lines the quotation file writer leaves out: 20..29, 81..84, 91, 93, 95, 96, 99.
// The two sets differ in 99 and 101; each is kept as files and opening have always used it.
bool skipsDataSection(int itemKind);

} // namespace kerbina

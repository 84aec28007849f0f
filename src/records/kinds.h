#pragma once

#include <cstdint>
#include <iosfwd>

namespace kerbina {

// Line kinds ("FLAG") of detail-sheet lines. The codes are stored in every work file, quotation
// file and copy file, so they never change; kinds from 100 up are made by the program itself (the
// title line) or by the take-off module, and the line commands do not edit them. A line kind is a
// type of its own, never taken for an item kind (nor the reverse); code() is the stored number.
class LineKind {
public:
    // Implicit, so that readers and tables build kinds from the stored numbers.
    constexpr LineKind(int code = 0) : code_(code) {}
    constexpr int code() const { return code_; }
    friend constexpr bool operator==(const LineKind&, const LineKind&) = default;
    friend std::ostream& operator<<(std::ostream& out, LineKind kind); // the code

    static const LineKind Empty, WholePriced, WholeReduction, WholePricedOutsideExpense,
        WholeAmountTextFirst, WholeAmountTextLast, DecimalPriced, DecimalReduction,
        DecimalPricedOutsideExpense, DecimalAmountTextFirst, DecimalAmountTextLast, Comment,
        RangeSum, RangeAmountTimesRate, RangeLaborTimesPrice, RangeAdditionalTimesRate,
        ExpenseOnTotal, ExpenseOutsideOtherExpenses, ExpenseOnTotalRoundedOff,
        ExpenseWithoutOthersRoundedOff, Tax, RangeTotalHidingItems, RangeTotalShowingItems,
        SmallSum, MidSum, Welfare, WelfareSum, SumLine, Title, FirstGenerated, TakeoffWholePriced,
        TakeoffWholeAmountTextFirst, TakeoffWholeAmountTextLast, TakeoffDecimalPriced,
        TakeoffDecimalAmountTextFirst, TakeoffDecimalAmountTextLast, TakeoffComment,
        TakeoffPricePerHundred, TakeoffPriced145, TakeoffPriced150, TakeoffLumpSum,
        TakeoffPriced170, TakeoffHundredths, TakeoffRangeTotalHidingItems,
        TakeoffRangeTotalShowingItems;

private:
    std::int32_t code_;
};

inline constexpr LineKind LineKind::Empty{
    0}; // an inserted empty line before anything is typed into it
// Whole-number quantity (10..19).
inline constexpr LineKind LineKind::WholePriced{10};    // quantity × price, in the expense base
inline constexpr LineKind LineKind::WholeReduction{11}; // 減額: priced like 10, subtracted
inline constexpr LineKind LineKind::WholePricedOutsideExpense{
    12}; // like 10, outside the expense base
inline constexpr LineKind LineKind::WholeAmountTextFirst{
    15}; // 15..18: amountText instead of an amount
inline constexpr LineKind LineKind::WholeAmountTextLast{18};
// Decimal quantity (20..29).
inline constexpr LineKind LineKind::DecimalPriced{20};
inline constexpr LineKind LineKind::DecimalReduction{21};
inline constexpr LineKind LineKind::DecimalPricedOutsideExpense{22};
inline constexpr LineKind LineKind::DecimalAmountTextFirst{25}; // 25..28
inline constexpr LineKind LineKind::DecimalAmountTextLast{28};
inline constexpr LineKind LineKind::Comment{30};
// Range lines: the rows netQuantity..submittedQuantity. The calculated range kinds come in
// tens: x0 counts every line of the range, x1..x6 only the lines of data group 1..6.
inline constexpr LineKind LineKind::RangeSum{40};
inline constexpr LineKind LineKind::RangeAmountTimesRate{50};     // 50..56
inline constexpr LineKind LineKind::RangeLaborTimesPrice{60};     // 60..66
inline constexpr LineKind LineKind::RangeAdditionalTimesRate{70}; // 70..76
inline constexpr LineKind LineKind::ExpenseOnTotal{81};           // running total × rate
inline constexpr LineKind LineKind::ExpenseOutsideOtherExpenses{
    82}; // left out when later expenses are based
inline constexpr LineKind LineKind::ExpenseOnTotalRoundedOff{83};
inline constexpr LineKind LineKind::ExpenseWithoutOthersRoundedOff{84};
inline constexpr LineKind LineKind::Tax{90};
inline constexpr LineKind LineKind::RangeTotalHidingItems{93};  // 範囲計(各項目計非表示)
inline constexpr LineKind LineKind::RangeTotalShowingItems{94}; // 範囲計(各項目計表示)
inline constexpr LineKind LineKind::SmallSum{95};               // 小計
inline constexpr LineKind LineKind::MidSum{96};                 // 中計
inline constexpr LineKind LineKind::Welfare{97};                // 法定福利費
inline constexpr LineKind LineKind::WelfareSum{98};             // 法定福利計
inline constexpr LineKind LineKind::SumLine{99};         // 合計線: ends the line-by-line pass
inline constexpr LineKind LineKind::Title{100};          // row 1 of a sheet: the item's name
inline constexpr LineKind LineKind::FirstGenerated{100}; // from here on made by the program
// Take-off lines.
inline constexpr LineKind LineKind::TakeoffWholePriced{110};
inline constexpr LineKind LineKind::TakeoffWholeAmountTextFirst{115}; // 115..118
inline constexpr LineKind LineKind::TakeoffWholeAmountTextLast{118};
inline constexpr LineKind LineKind::TakeoffDecimalPriced{120};
inline constexpr LineKind LineKind::TakeoffDecimalAmountTextFirst{125}; // 125..128
inline constexpr LineKind LineKind::TakeoffDecimalAmountTextLast{128};
inline constexpr LineKind LineKind::TakeoffComment{130};
inline constexpr LineKind LineKind::TakeoffPricePerHundred{140}; // quantity × price ÷ 100
inline constexpr LineKind LineKind::TakeoffPriced145{145};       // priced like 20
inline constexpr LineKind LineKind::TakeoffPriced150{150};       // priced like 20
inline constexpr LineKind LineKind::TakeoffLumpSum{160};         // amount = price
inline constexpr LineKind LineKind::TakeoffPriced170{170};       // quantity × price
inline constexpr LineKind LineKind::TakeoffHundredths{180};      // (quantity ÷ 100) × price
inline constexpr LineKind LineKind::TakeoffRangeTotalHidingItems{193};
inline constexpr LineKind LineKind::TakeoffRangeTotalShowingItems{194};

// Item kinds of the breakdown list, stored like the line kinds; some codes are the line kinds'
// numbers with other meanings.
class ItemKind {
public:
    // Implicit, so that readers and tables build kinds from the stored numbers.
    constexpr ItemKind(int code = 0) : code_(code) {}
    constexpr int code() const { return code_; }
    friend constexpr bool operator==(const ItemKind&, const ItemKind&) = default;
    friend std::ostream& operator<<(std::ostream& out, ItemKind kind); // the code

    static const ItemKind Sheet, HierarchyParentFirst, HierarchyParentLast, HierarchySheetFirst,
        HierarchySheetLast, ExpenseOnTotal, ExpenseOutsideOtherExpenses,
        ExpenseWithoutOthersRoundedOff, Reduction, Tax, SmallSum, Comment, SumSincePrevious,
        SumLine, Welfare, WelfareSum;

private:
    std::int32_t code_;
};

inline constexpr ItemKind ItemKind::Sheet{10};                // an ordinary item with its own sheet
inline constexpr ItemKind ItemKind::HierarchyParentFirst{20}; // 20..29: 階層元 at depth kind − 20
inline constexpr ItemKind ItemKind::HierarchyParentLast{29};
inline constexpr ItemKind ItemKind::HierarchySheetFirst{
    30}; // 30..39: an item inside a hierarchy, with a sheet
inline constexpr ItemKind ItemKind::HierarchySheetLast{39};
inline constexpr ItemKind ItemKind::ExpenseOnTotal{81}; // 81..84 as the line kinds
inline constexpr ItemKind ItemKind::ExpenseOutsideOtherExpenses{82};
inline constexpr ItemKind ItemKind::ExpenseWithoutOthersRoundedOff{84};
inline constexpr ItemKind ItemKind::Reduction{91};
inline constexpr ItemKind ItemKind::Tax{93};
inline constexpr ItemKind ItemKind::SmallSum{95}; // subtotal over the item range
inline constexpr ItemKind ItemKind::Comment{96};  // 特記事項
inline constexpr ItemKind ItemKind::SumSincePrevious{98};
inline constexpr ItemKind ItemKind::SumLine{99};
inline constexpr ItemKind ItemKind::Welfare{101};
inline constexpr ItemKind ItemKind::WelfareSum{102};

// first <= kind <= last by code, for the kind families named by their first and last member.
bool kindWithin(LineKind kind, LineKind first, LineKind last);
bool kindWithin(ItemKind kind, ItemKind first, ItemKind last);

// Kind sets of lines. Each set is defined here once; kinds_test pins their members.

// Priced: 10, 11, 12, 20, 21, 22, 110, 120, 140, 145, 150, 170, 180.
bool isPriced(LineKind kind);
// Priced as quantity × unit price with no further factor: the priced set without 140 and 180.
bool isPlainPriced(LineKind kind);
bool isReduction(LineKind kind); // 11, 21
// The ordinary lines: the kinds the data-entry dialog's FLAG choices make (10, 11, 12, 15, 20, 21,
// 22, 25, 30). Typing in the grid and the bulk edits change only these.
bool isOrdinaryLine(LineKind kind);
// Hand-entered priced lines without the take-off variants (10, 11, 12, 20, 21, 22).
bool isHandPriced(LineKind kind);
// Range kinds, whose quantities hold the first and last row of a range: 40, 50..56, 60..66,
// 70..76, 93, 94, 193, 194. Row inserts and deletes keep these pointing at the same lines.
bool isRangeKind(LineKind kind);
// The calculated range kinds 50..56, 60..66, 70..76 (laborFactor holds the rounding level).
bool isCalculatedRangeKind(LineKind kind);
bool isRangeAmountTimesRate(LineKind kind);     // 50..56
bool isRangeLaborTimesPrice(LineKind kind);     // 60..66
bool isRangeAdditionalTimesRate(LineKind kind); // 70..76
// 0 for 50, 60, 70 and every other kind; 1..6 for the data-group filtered ranges x1..x6.
int groupFilterOf(LineKind kind);
// Range totals 93, 94, 193, 194, which mark the lines they cover.
bool isRangeTotal(LineKind kind);
// Lines a hiding range total (93) may cover: 0, 10, 11, 20, 21, 110, 120, 145, 150.
bool mayBeHiddenByRangeTotal(LineKind kind);
bool isExpense(LineKind kind); // 81..84
// The expense kinds by the expense dialog's calculation target, 0..3 for 81..84 (a target outside
// 0..3 counts as the nearest), and the target of an expense kind.
LineKind expenseLineKind(int target);
ItemKind expenseItemKind(int target);
int expenseTarget(LineKind kind);
bool isWelfare(LineKind kind);         // 97, 98
bool isWholeQuantity(LineKind kind);   // 10..19
bool isDecimalQuantity(LineKind kind); // 20..29
// Quantities written with the sheet's quantity decimals in line texts: 20..22, 25..28, 120,
// 125..128, 140, 145, 150.
bool hasDecimalQuantityText(LineKind kind);
// Made by the program (title line) or the take-off module: 100 and above.
bool isGeneratedKind(LineKind kind);
// Lines the take-off produced: 101..200. Editing one by hand makes it a hand-entered line.
bool isTakeoffLine(LineKind kind);

// Kind sets of breakdown items.

// Items that own a detail sheet: 10 and 30..39.
bool ownsSheet(ItemKind itemKind);
bool isHierarchyParent(ItemKind itemKind); // 20..29
bool isHierarchySheet(ItemKind itemKind);  // 30..39
// Depth of a hierarchy parent or hierarchy sheet item: 0..9 (kind − 20, kind − 30); 0 for others.
int hierarchyDepth(ItemKind itemKind);
// The kind an item gets when the hierarchy parent holding it is removed: one level up; a hierarchy
// item at the top level (20, 30) becomes an ordinary sheet item; other kinds stay.
ItemKind oneLevelUp(ItemKind itemKind);
bool isExpenseItem(ItemKind itemKind); // 81..84
// Items a small sum leaves out of its range: 11..29 (11..19 are no item kinds; they have always
// been skipped with the hierarchy parents), 95, 96, 98, and 102, whose welfare the welfare items
// of the range already bring.
bool isSkippedBySmallSum(ItemKind itemKind);
// Items that keep a range of item numbers (first in setAmountRounding, last in
// setExpenseRounding), which item inserts and deletes keep pointing at the same items: hierarchy
// parents 20..29 and small sums 95.
bool hasItemRange(ItemKind itemKind);
// Items that never become the current sheet when a quotation is opened: 20..29, 81..84, 91, 93,
// 95, 96, 101.
bool isListOnlyKind(ItemKind itemKind);
// Items whose lines the quotation file writer leaves out: 20..29, 81..84, 91, 93, 95, 96, 99.
// The two sets differ in 99 and 101; each is kept as files and opening have always used it.
bool skipsDataSection(ItemKind itemKind);

} // namespace kerbina

#include "base/text_codec.h"
#include "calc/totals.h"
#include "calc/totals_internal.h"
#include "money/rounding.h"
#include "records/line_kinds.h"
#include "records/sheet_rows.h"

#include <string_view>

// The sheet pass. Lines are computed from the top in one loop that keeps the running totals,
// the 小計 and 中計 accumulators and the expense sums; the loop ends at the first tax line or sum
// line, so lines below those are left at amount 0. Welfare and tax follow in the order the sheet
// places them.

namespace kerbina {

namespace {

// hiddenFlag 1: the line is summarised by a combining line and stays out of the running totals.
constexpr int kUnlisted = 1;

// priceKind 1: 労務費, a labour-cost line.
constexpr Currency kLaborPrice = Currency::fromRaw(Currency::kScale);

struct Pair {
    Currency net;
    Currency sub;

    void add(Currency n, Currency s) {
        net += n;
        sub += s;
    }
    void subtract(Currency n, Currency s) {
        net -= n;
        sub -= s;
    }
};

bool isValidOffset(Currency offset) {
    return offset == Currency() || offset == Currency::fromRaw(5000) ||
           offset == Currency::fromRaw(9000);
}

bool isValidQuantityDecimals(Currency decimals) {
    return decimals == Currency::fromWhole(10) || decimals == Currency::fromWhole(100) ||
           decimals == Currency::fromWhole(1000);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// The labour factor and quantities of a line as the main loop leaves them. A range line reads the
// lines of its range this way, also those the loop has not reached yet, so a second pass over the
// same sheet computes what the first one did.
struct PreparedFigures {
    Currency laborFactor;
    Currency netQuantity;
    Currency submittedQuantity;
};

class SheetPass {
public:
    SheetPass(DocumentState& state, SubmittedTotalObserver* observer)
        : state_(state), sheet_(state.sheet), settings_(state.settings), item_(currentItem(state)),
          observer_(observer) {}

    SheetPassResult run();
    // The row being computed, for a message when an amount overflows.
    int row() const { return row_; }

private:
    bool ownsItem() const { return item_ != nullptr && ownsSheet(item_->kind); }
    int lastRow() const { return state_.lineCount(); }
    LineRecord& line(int row) { return sheet_[static_cast<std::size_t>(row)]; }

    void start();
    void scan();
    // One line of the main loop; false when the loop ends here or the pass stops.
    bool computeLine(int row);
    void prepare(LineRecord& line);
    PreparedFigures preparedFigures(const LineRecord& line) const;
    std::pair<int, int> rangeBounds(const LineRecord& line) const;
    Pair amountSum(int first, int last, int group);
    void computeLaborRange(LineRecord& line);
    void computeAdditionalRange(LineRecord& line);
    void computeExpense(LineRecord& line);
    bool computeRangeSum(int row, LineRecord& line);
    void addToRunning(const LineRecord& line);
    void welfareStep();
    void addWelfareToRunning();
    void taxStep();
    bool needsTitleLine() const;
    void insertTitleLine();

    DocumentState& state_;
    Sheet& sheet_;
    CalcSettings& settings_;
    ItemRecord* item_;
    SubmittedTotalObserver* observer_;

    Pair running_;
    Pair small_;
    Pair mid_;
    Pair expenses_;
    Pair expenses82_;
    Pair welfare_;
    Pair labor_;

    int row_ = 0;
    int taxRow_ = 0;
    int welfareRow_ = 0;
    int sumRow_ = 0;
    bool endedAtTax_ = false;
    SheetPassResult result_;
};

void SheetPass::start() {
    if (ownsItem()) {
        item_->netTotal = Currency();
        item_->submittedTotal = Currency();
        item_->laborTotal = Currency();
        item_->submittedTax = Currency();
    }
    state_.sheetSubmittedTax = Currency();
    state_.sheetNetTax = Currency();
    if (!isValidOffset(settings_.amountOffset)) {
        settings_.amountOffset = Currency::fromRaw(5000);
    }
    if (!isValidOffset(settings_.expenseOffset)) {
        settings_.expenseOffset = Currency::fromRaw(5000);
    }
    if (!isValidQuantityDecimals(settings_.quantityDecimals)) {
        settings_.quantityDecimals = Currency::fromWhole(100);
    }
}

void SheetPass::scan() {
    for (int row = 1; row <= lastRow(); ++row) {
        LineRecord& l = line(row);
        l.netAmount = Currency();
        l.submittedAmount = Currency();
        if (l.kind == LineKind::Welfare && welfareRow_ == 0) {
            welfareRow_ = row;
        }
        if (welfareRow_ == 0) {
            if (l.kind == LineKind::Tax) {
                taxRow_ = row;
            } else if (l.kind == LineKind::SumLine) {
                sumRow_ = row;
            }
        }
    }
}

PreparedFigures SheetPass::preparedFigures(const LineRecord& l) const {
    const Currency decimals = settings_.quantityDecimals;
    PreparedFigures figures{truncateLaborFactor(l.laborFactor),
                            truncateQuantity(l.netQuantity, l.kind, decimals),
                            truncateQuantity(l.submittedQuantity, l.kind, decimals)};
    // A quantity written in the sheet's fixed decimals is computed as written, so the saved file
    // reopens with the same amounts.
    if (hasDecimalQuantityText(l.kind)) {
        figures.netQuantity = roundQuantityAsShown(figures.netQuantity, decimals);
        figures.submittedQuantity = roundQuantityAsShown(figures.submittedQuantity, decimals);
    }
    return figures;
}

void SheetPass::prepare(LineRecord& l) {
    const PreparedFigures figures = preparedFigures(l);
    l.laborFactor = figures.laborFactor;
    l.netQuantity = figures.netQuantity;
    l.submittedQuantity = figures.submittedQuantity;
    // Expense lines keep their rounding level code in hiddenFlag; unlisted lines keep their mark.
    // Range marks (93, 94, 193, 194) are set afresh by the range sums below.
    if (!isExpense(l.kind) && l.hiddenFlag != kUnlisted) {
        l.hiddenFlag = 0;
    }
    if (l.kind == LineKind::Title) {
        l.nameSpec = item_ != nullptr ? item_->name : std::string();
    }
}

// Bounds outside the sheet fall back to row 1; a last row before the first leaves it empty.
std::pair<int, int> SheetPass::rangeBounds(const LineRecord& l) const {
    auto [first, last] = rangeOf(l);
    if (first < 1 || first > lastRow()) {
        first = 1;
    }
    if (last < 1 || last > lastRow()) {
        last = 1;
    }
    return {first, last};
}

Pair SheetPass::amountSum(int first, int last, int group) {
    Pair sum;
    for (int row = first; row <= last; ++row) {
        const LineRecord& l = line(row);
        if (l.kind == LineKind::SmallSum || (group != 0 && dataGroupOf(l.sortCode) != group)) {
            continue;
        }
        if (isReduction(l.kind)) {
            sum.subtract(l.netAmount, l.submittedAmount);
        } else {
            sum.add(l.netAmount, l.submittedAmount);
        }
    }
    return sum;
}

// 指定範囲歩掛×単価: quantity × labour factor over the range, rounded with the labour-total offset
// to the quantity decimals, becomes the additional price of the line and is then priced.
void SheetPass::computeLaborRange(LineRecord& l) {
    const auto [first, last] = rangeBounds(l);
    const int group = groupFilterOf(l.kind);
    Pair hours;
    for (int row = first; row <= last; ++row) {
        const LineRecord& r = line(row);
        if (r.kind == LineKind::SmallSum || (group != 0 && dataGroupOf(r.sortCode) != group)) {
            continue;
        }
        const PreparedFigures figures = preparedFigures(r);
        const Currency net = figures.netQuantity * figures.laborFactor;
        const Currency sub = figures.submittedQuantity * figures.laborFactor;
        if (isReduction(r.kind)) {
            hours.subtract(net, sub);
        } else {
            hours.add(net, sub);
        }
    }
    const Currency decimals = settings_.quantityDecimals;
    const Currency offset = settings_.laborOffset;
    l.netAdditionalPrice = (hours.net * decimals + offset).truncated() / decimals;
    l.submittedAdditionalPrice = (hours.sub * decimals + offset).truncated() / decimals;
    l.netAmount = lineAmount(l.netAdditionalPrice, l.netPrice, settings_.amountOffset);
    l.submittedAmount =
        lineAmount(l.submittedAdditionalPrice, l.submittedPrice, settings_.amountOffset);
    l.submittedAmount = roundToLevel(l.submittedAmount, l.laborFactor, settings_.expenseOffset);
}

// 指定範囲付帯単価合計×掛率: the additional amounts of the range times the multiplier.
void SheetPass::computeAdditionalRange(LineRecord& l) {
    const auto [first, last] = rangeBounds(l);
    const int group = groupFilterOf(l.kind);
    const Currency a = settings_.amountOffset;
    for (int row = first; row <= last; ++row) {
        const LineRecord& r = line(row);
        if (r.kind == LineKind::SmallSum || isRangeLaborTimesPrice(r.kind) ||
            (group != 0 && dataGroupOf(r.sortCode) != group)) {
            continue;
        }
        const PreparedFigures figures = preparedFigures(r);
        const Currency net = lineAmount(r.netAdditionalPrice, figures.netQuantity, a);
        const Currency sub = lineAmount(r.submittedAdditionalPrice, figures.submittedQuantity, a);
        if (isReduction(r.kind)) {
            l.netAmount -= net;
            l.submittedAmount -= sub;
        } else {
            l.netAmount += net;
            l.submittedAmount += sub;
        }
    }
    l.netAmount = percentOf(l.netAmount, l.netPrice, a);
    l.submittedAmount = percentOf(l.submittedAmount, l.submittedPrice, a);
    l.submittedAmount = roundToLevel(l.submittedAmount, l.laborFactor, settings_.expenseOffset);
}

void SheetPass::computeExpense(LineRecord& l) {
    const Currency e = settings_.expenseOffset;
    Pair base = running_;
    if (l.kind == LineKind::ExpenseOutsideOtherExpenses) {
        base.subtract(expenses_.net, expenses_.sub);
    } else if (l.kind == LineKind::ExpenseWithoutOthersRoundedOff) {
        base.subtract(expenses82_.net + expenses_.net, expenses82_.sub + expenses_.sub);
    }
    l.netAmount = percentOf(base.net, l.netQuantity, e);
    l.submittedAmount = percentOf(base.sub, l.submittedQuantity, e);
    if (l.kind == LineKind::ExpenseOnTotal || l.kind == LineKind::ExpenseOutsideOtherExpenses) {
        // The line's own level code, then the "計算後の有効桁" code kept in hiddenFlag.
        l.submittedAmount = roundToLevel(l.submittedAmount, l.laborFactor, e);
        l.submittedAmount = roundToLevel(l.submittedAmount, Currency::fromWhole(l.hiddenFlag), e);
    } else {
        // 丸込: the expense gives way so that the total including it is a round figure.
        const Currency total = l.submittedAmount + running_.sub;
        if (!total.isZero()) {
            const Currency rounded =
                roundToSetting(total, settings_.totalLevel, settings_.totalOffset);
            l.submittedAmount -= total - rounded;
        }
    }
    expenses_.add(l.netAmount, l.submittedAmount);
    if (l.kind == LineKind::ExpenseOutsideOtherExpenses) {
        expenses82_.add(l.netAmount, l.submittedAmount);
    }
}

// Range sums 93, 94, 193, 194 mark the lines they cover; the hiding kinds clear their amounts so
// that only the sum is printed. False when a 93 covers a calculated line. The mark goes into
// hiddenFlag, which an unlisted line (1) and an expense line (its rounding code) already use:
// those keep their value, or the next pass would count the unlisted line and round the expense
// with the range's kind as its level.
bool SheetPass::computeRangeSum(int row, LineRecord& l) {
    const auto [first, last] = rangeBounds(l);
    if (l.kind == LineKind::RangeTotalHidingItems) {
        for (int r = first; r <= last; ++r) {
            if (!mayBeHiddenByRangeTotal(line(r).kind)) {
                result_.error = RangeSumError{
                    row, "範囲計(金額非表示)に計算項目を含める事はできません。\r\nno:" +
                             std::to_string(row)};
                return false;
            }
        }
    }
    const bool hides = l.kind == LineKind::RangeTotalHidingItems ||
                       l.kind == LineKind::TakeoffRangeTotalHidingItems;
    Pair sum;
    for (int r = first; r <= last; ++r) {
        LineRecord& covered = line(r);
        if (covered.hiddenFlag != kUnlisted && !isExpense(covered.kind)) {
            covered.hiddenFlag = l.kind.code();
        }
        if (covered.kind != LineKind::SmallSum) {
            if (isReduction(covered.kind)) {
                sum.subtract(covered.netAmount, covered.submittedAmount);
            } else {
                sum.add(covered.netAmount, covered.submittedAmount);
            }
        }
        if (hides) {
            covered.netAmount = Currency();
            covered.submittedAmount = Currency();
        }
    }
    l.netAmount = sum.net;
    l.submittedAmount = sum.sub;
    return true;
}

bool SheetPass::computeLine(int row) {
    LineRecord& l = line(row);
    prepare(l);
    const LineKind kind = l.kind;
    const Currency a = settings_.amountOffset;
    if (isPlainPriced(kind)) {
        l.netAmount = lineAmount(l.netPrice, l.netQuantity, a);
        l.submittedAmount = lineAmount(l.submittedPrice, l.submittedQuantity, a);
    } else if (kind == LineKind::TakeoffPricePerHundred || kind == LineKind::TakeoffHundredths) {
        // Quantity per hundred: price × quantity ÷ 100, rounded once.
        l.netAmount = percentOf(l.netPrice, l.netQuantity, a);
        l.submittedAmount = percentOf(l.submittedPrice, l.submittedQuantity, a);
    } else if (kind == LineKind::TakeoffLumpSum) {
        l.netAmount = l.netPrice;
        l.submittedAmount = l.submittedPrice;
    } else if (kind == LineKind::RangeSum || isRangeAmountTimesRate(kind)) {
        const auto [first, last] = rangeBounds(l);
        const Pair sum = amountSum(first, last, groupFilterOf(kind));
        if (kind == LineKind::RangeSum) {
            l.netAmount = sum.net;
            l.submittedAmount = sum.sub;
        } else {
            l.netAmount = percentOf(sum.net, l.netPrice, a);
            l.submittedAmount = percentOf(sum.sub, l.submittedPrice, a);
            l.submittedAmount =
                roundToLevel(l.submittedAmount, l.laborFactor, settings_.expenseOffset);
        }
    } else if (isRangeLaborTimesPrice(kind)) {
        computeLaborRange(l);
    } else if (isRangeAdditionalTimesRate(kind)) {
        computeAdditionalRange(l);
    } else if (isExpense(kind)) {
        computeExpense(l);
    } else if (kind == LineKind::Tax) {
        taxRow_ = row;
        endedAtTax_ = true;
        return false;
    } else if (kind == LineKind::SumLine) {
        return false;
    } else if (isRangeTotal(kind)) {
        if (!computeRangeSum(row, l)) {
            return false;
        }
    } else if (kind == LineKind::SmallSum) {
        l.netAmount = small_.net;
        l.submittedAmount = small_.sub;
    } else if (kind == LineKind::MidSum) {
        l.netAmount = mid_.net;
        l.submittedAmount = mid_.sub;
    }
    if (l.priceKind == kLaborPrice) {
        // A reduction of labour lowers the labour totals as it lowers every other total.
        if (isReduction(kind)) {
            labor_.subtract(l.netAmount, l.submittedAmount);
        } else {
            labor_.add(l.netAmount, l.submittedAmount);
        }
    }
    addToRunning(l);
    return true;
}

void SheetPass::addToRunning(const LineRecord& l) {
    if (l.hiddenFlag == kUnlisted && !isExpense(l.kind)) {
        return;
    }
    switch (l.kind.code()) {
    case LineKind::RangeTotalHidingItems.code():
    case LineKind::RangeTotalShowingItems.code():
    case LineKind::WelfareSum.code():
    case LineKind::TakeoffRangeTotalHidingItems.code():
    case LineKind::TakeoffRangeTotalShowingItems.code():
        return; // their lines are already in the totals
    case LineKind::SmallSum.code():
        small_ = Pair{};
        return;
    case LineKind::MidSum.code():
        mid_ = Pair{};
        return;
    default:
        break;
    }
    for (Pair* total : {&running_, &small_, &mid_}) {
        if (isReduction(l.kind)) {
            total->subtract(l.netAmount, l.submittedAmount);
        } else {
            total->add(l.netAmount, l.submittedAmount);
        }
    }
    if (observer_ != nullptr) {
        observer_->lineCounted(l, isReduction(l.kind) ? -l.submittedAmount : l.submittedAmount);
    }
}

void SheetPass::welfareStep() {
    if (welfareRow_ == 0) {
        return;
    }
    for (int row = welfareRow_; row <= lastRow(); ++row) {
        row_ = row;
        LineRecord& l = line(row);
        if (l.kind == LineKind::Welfare) {
            const Currency r1 = l.netQuantity;
            const Currency r2 = l.submittedQuantity;
            const Currency r3 = l.submittedAdditionalPrice;
            l.netAmount = welfareAmount(running_.net, r1, r2, r3);
            l.submittedAmount = welfareAmount(running_.sub, r1, r2, r3);
            const std::string formula = welfareFormula(running_.sub, r1, r2, r3);
            // Lines made by the welfare dialog with "False" in the amount column keep the formula
            // in the note; older lines carry it as their specification.
            if (l.amountText == "False") {
                l.note = fitToWidth(formula, kLineNoteWidth);
            } else {
                const std::string name(trimmed(splitNameSpec(l.nameSpec).first));
                l.nameSpec = fitToWidth(name + " ;" + formula + ";", kNameSpecWidth);
            }
            welfare_.add(l.netAmount, l.submittedAmount);
        } else if (l.kind == LineKind::WelfareSum) {
            l.netAmount = welfare_.net;
            l.submittedAmount = welfare_.sub;
        }
    }
}

void SheetPass::addWelfareToRunning() {
    running_.add(welfare_.net, welfare_.sub);
    if (observer_ != nullptr && welfareRow_ != 0) {
        observer_->welfareCounted(welfare_.sub);
    }
}

void SheetPass::taxStep() {
    row_ = taxRow_;
    LineRecord& tax = line(taxRow_);
    const Currency rate = tax.submittedQuantity;
    if (!rate.isZero()) {
        tax.submittedAmount = percentOf(running_.sub, rate, settings_.taxOffset);
        if (!tax.netQuantity.isZero()) {
            tax.netQuantity = rate;
            tax.netAmount = tax.submittedAmount;
        } else {
            tax.netQuantity = Currency();
            tax.netPrice = Currency();
        }
    }
    state_.sheetSubmittedTax = tax.submittedAmount;
    state_.sheetNetTax = tax.netAmount;
    if (ownsItem()) {
        item_->submittedTax = state_.sheetSubmittedTax;
    }
    running_.add(tax.netAmount, tax.submittedAmount);
    if (observer_ != nullptr) {
        observer_->taxCounted(tax.submittedAmount);
    }
}

bool SheetPass::needsTitleLine() const {
    return item_ != nullptr && !item_->name.empty() && state_.itemNameLine &&
           !hasReachableTitleLine(sheet_);
}

void SheetPass::insertTitleLine() {
    LineRecord title;
    title.sortCode = Currency();
    title.kind = LineKind::Title;
    title.nameSpec = item_->name;
    insertLine(sheet_, 1, title, RangeJoin::JoinRangeAbove);
    result_.titleLineInserted = true;
}

SheetPassResult SheetPass::run() {
    start();
    // The title line goes in before anything is computed: every range then covers the rows it
    // will cover in the next pass, so a sheet saved and reopened computes to the same amounts.
    if (needsTitleLine()) {
        insertTitleLine();
    }
    scan();
    for (int row = 1; row <= lastRow(); ++row) {
        row_ = row;
        if (!computeLine(row)) {
            break;
        }
    }
    result_.netTotal = running_.net;
    result_.submittedTotal = running_.sub;
    if (result_.error) {
        return result_;
    }

    // Welfare before the tax when the sheet places it above the tax line; a sum line above the
    // welfare lines shows the welfare without adding it to the total.
    const bool sumAboveWelfare = sumRow_ != 0;
    const bool welfareFirst = !sumAboveWelfare && welfareRow_ != 0 && welfareRow_ < taxRow_;
    if (welfareFirst) {
        welfareStep();
        addWelfareToRunning();
    }
    if (endedAtTax_) {
        taxStep();
    }
    if (!welfareFirst) {
        welfareStep();
        if (!sumAboveWelfare) {
            addWelfareToRunning();
        }
    }

    if (ownsItem()) {
        item_->netTotal = running_.net;
        item_->submittedTotal = running_.sub;
        item_->laborTotal = labor_.sub;
    }
    result_.netTotal = running_.net;
    result_.submittedTotal = running_.sub;
    result_.empty = running_.net.isZero() && running_.sub.isZero();
    return result_;
}

} // namespace

SheetPassResult recalculateSheet(DocumentState& state, SubmittedTotalObserver* observer) {
    SheetPass pass(state, observer);
    try {
        return pass.run();
    } catch (const AmountOverflow&) {
        throw;
    } catch (const CurrencyOverflow&) {
        const ItemRecord* item = currentItem(state);
        throw AmountOverflow(state.currentSheetNumber, pass.row(),
                             item != nullptr ? item->name : std::string());
    }
}

} // namespace kerbina

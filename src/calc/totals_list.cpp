#include "base/bounds.h"
#include "base/text_codec.h"
#include "calc/totals.h"
#include "calc/totals_internal.h"
#include "money/rounding.h"
#include "records/item_settings.h"
#include "records/kinds.h"

#include <algorithm>
#include <vector>

// The list pass. Sheet items bring the totals their sheet pass stored; the structure items of the
// list (hierarchy parents, small sums, 計 items) show sums without counting twice; expenses, the
// reduction, welfare and tax work on the grand totals as they stand at their place in the list.
// Expense, tax and welfare items keep their rates in the per-sheet setting fields, read through
// records/item_settings.h.

namespace kerbina {

namespace {

class ListPass {
public:
    ListPass(DocumentState& state, GrandTotalObserver* observer)
        : state_(state), header_(state.header), observer_(observer) {
        // A grand-total offset above 1 is no offset at all: such files meant 四捨五入.
        cut_ =
            header_.cutLevel > Currency::fromWhole(1) ? Currency::fromRaw(5000) : header_.cutLevel;
        level_ = Currency::fromWhole(header_.keta == 0 ? 1 : header_.keta);
    }

    ListPassResult run();
    // The item being computed, for a message when an amount overflows.
    int at() const { return at_; }

private:
    int lastItem() const { return state_.itemMax(); }
    ItemRecord& item(int number) { return state_.items[static_cast<std::size_t>(number)]; }
    // The item range of a hierarchy parent or small sum, limited to the items that exist.
    std::pair<int, int> itemRange(const ItemRecord& it) const {
        const auto [first, last] = itemRangeNumbers(it);
        return {std::max(first, 1), std::min(last, lastItem())};
    }

    // Item `number` goes into the grand totals and the sums since the last 計 item.
    void count(int number, Currency net, Currency sub) {
        allNet_ += net;
        allSub_ += sub;
        sinceNet_ += net;
        sinceSub_ += sub;
        if (observer_ != nullptr) {
            observer_->itemCounted(number, sub);
        }
    }
    // A reduction item is taken off them.
    void countReduction(int number) {
        const ItemRecord& it = item(number);
        allNet_ -= it.netTotal;
        allSub_ -= it.submittedTotal;
        allLabor_ -= it.laborTotal;
        sinceNet_ -= it.netTotal;
        sinceSub_ -= it.submittedTotal;
        if (observer_ != nullptr) {
            observer_->itemCounted(number, -it.submittedTotal);
        }
    }
    void summed(int sum, int part) {
        if (observer_ != nullptr) {
            const ItemRecord& it = item(part);
            observer_->itemSummed(
                sum, part, it.kind == ItemKind::Reduction ? -it.submittedTotal : it.submittedTotal);
        }
    }
    void sumHierarchy(int number);
    void sumSmall(int number);
    void computeExpense(int number);
    void welfareStep(int first);
    void addWelfare();
    void taxStep(ItemRecord& tax);

    DocumentState& state_;
    QuotationHeader& header_;
    GrandTotalObserver* observer_;
    Currency cut_;
    Currency level_;

    Currency allNet_;
    Currency allSub_;
    Currency allLabor_;
    Currency sinceNet_;
    Currency sinceSub_;
    Currency list82Net_;
    Currency list82Sub_;
    Currency welfNet_;
    Currency welfSub_;
    int at_ = 0;
};

void ListPass::sumHierarchy(int number) {
    ItemRecord& parent = item(number);
    const auto [first, last] = itemRange(parent);
    Currency net;
    Currency sub;
    for (int n = first; n <= last; ++n) {
        const ItemRecord& child = item(n);
        if (isHierarchySheet(child.kind)) {
            net += child.netTotal;
            sub += child.submittedTotal;
            summed(number, n);
        }
    }
    parent.netTotal = net;
    parent.submittedTotal = sub;
}

// Hierarchy parents, comments, sums and other small sums inside the range are skipped so that no
// amount counts twice.
void ListPass::sumSmall(int number) {
    ItemRecord& sum = item(number);
    const auto [first, last] = itemRange(sum);
    Currency net;
    Currency sub;
    Currency labor;
    for (int n = first; n <= last; ++n) {
        const ItemRecord& it = item(n);
        if (isSkippedBySmallSum(it.kind)) {
            continue;
        }
        if (it.kind == ItemKind::Reduction) {
            net -= it.netTotal;
            sub -= it.submittedTotal;
            labor -= it.laborTotal;
        } else {
            net += it.netTotal;
            sub += it.submittedTotal;
            labor += it.laborTotal;
        }
        summed(number, n);
    }
    sum.netTotal = net;
    sum.submittedTotal = sub;
    sum.laborTotal = labor;
}

void ListPass::computeExpense(int number) {
    ItemRecord& e = item(number);
    Currency netBase = allNet_;
    Currency subBase = allSub_;
    if (e.kind == ItemKind::ExpenseWithoutOthersRoundedOff) {
        netBase -= list82Net_;
        subBase -= list82Sub_;
    }
    const ExpenseRates rates = expenseRates(e);
    e.netTotal = percentOf(netBase, rates.netRate, cut_);
    e.submittedTotal = percentOf(subBase, rates.submittedRate, cut_);
    if (e.kind == ItemKind::ExpenseOnTotal || e.kind == ItemKind::ExpenseOutsideOtherExpenses) {
        // The level code at 160 is rounded with the grand-total offset, as the percentages are.
        e.submittedTotal = roundToLevel(e.submittedTotal, rates.roundingLevel, cut_);
    } else {
        const Currency total = e.submittedTotal + allSub_;
        if (!total.isZero()) {
            e.submittedTotal -= total - roundToSetting(total, level_, cut_);
        }
    }
    count(number, e.netTotal, e.submittedTotal);
    if (e.kind == ItemKind::ExpenseOutsideOtherExpenses) {
        list82Net_ += e.netTotal;
        list82Sub_ += e.submittedTotal;
    }
    e.laborTotal = Currency();
}

void ListPass::welfareStep(int first) {
    if (first == 0) {
        return;
    }
    for (int n = first; n <= lastItem(); ++n) {
        at_ = n;
        ItemRecord& it = item(n);
        if (it.kind == ItemKind::Welfare) {
            const auto [r1, r2, r3] = welfareRates(it);
            it.netTotal = welfareAmount(allNet_, r1, r2, r3);
            it.submittedTotal = welfareAmount(allSub_, r1, r2, r3);
            it.note = fitToWidth(welfareFormula(allSub_, r1, r2, r3), kItemNoteWidth);
            welfNet_ += it.netTotal;
            welfSub_ += it.submittedTotal;
        } else if (it.kind == ItemKind::WelfareSum) {
            it.netTotal = welfNet_;
            it.submittedTotal = welfSub_;
        }
    }
}

void ListPass::addWelfare() {
    allNet_ += welfNet_;
    allSub_ += welfSub_;
    if (observer_ != nullptr) {
        observer_->welfareCounted(welfSub_);
    }
}

void ListPass::taxStep(ItemRecord& tax) {
    const TaxSetting setting = taxSetting(tax);
    tax.submittedTotal = percentOf(allSub_, setting.ratePercent, state_.settings.taxOffset);
    tax.netTotal = setting.chargedOnNet ? tax.submittedTotal : Currency();
    allNet_ += tax.netTotal;
    allSub_ += tax.submittedTotal;
    state_.listSubmittedTax = tax.submittedTotal;
    state_.listNetTax = tax.netTotal;
    tax.laborTotal = Currency();
    header_.opt2Int = 1;
    if (observer_ != nullptr) {
        observer_->taxCounted(tax.submittedTotal);
    }
}

ListPassResult ListPass::run() {
    state_.listSubmittedTax = Currency();
    state_.listNetTax = Currency();
    header_.opt2Int = 0;

    int taxItem = 0;
    int sumItem = 0;
    int welfareItem = 0;
    for (int n = 1; n <= lastItem(); ++n) {
        const ItemKind kind = item(n).kind;
        if (kind == ItemKind::Tax) {
            taxItem = n;
        } else if (kind == ItemKind::SumLine) {
            sumItem = n;
        } else if ((kind == ItemKind::Welfare || kind == ItemKind::WelfareSum) &&
                   welfareItem == 0) {
            welfareItem = n;
        }
    }

    bool endedAtTax = false;
    std::vector<int> smallSums;
    for (int n = 1; n <= lastItem(); ++n) {
        at_ = n;
        ItemRecord& it = item(n);
        if (it.submittedTax > Currency()) {
            header_.opt2Int = 1;
        }
        const ItemKind kind = it.kind;
        if (kind == ItemKind::Tax) {
            taxItem = n;
            endedAtTax = true;
            break;
        }
        if (kind == ItemKind::SumLine) {
            break;
        }
        if (isHierarchyParent(kind)) {
            sumHierarchy(n);
        } else if (isExpenseItem(kind)) {
            computeExpense(n);
        } else if (kind == ItemKind::Reduction) {
            countReduction(n);
        } else if (kind == ItemKind::SmallSum) {
            smallSums.push_back(n);
        } else if (kind == ItemKind::Comment) {
            it.netTotal = Currency();
            it.submittedTotal = Currency();
            it.laborTotal = Currency();
        } else if (kind == ItemKind::SumSincePrevious) {
            it.netTotal = sinceNet_;
            it.submittedTotal = sinceSub_;
            sinceNet_ = Currency();
            sinceSub_ = Currency();
            if (observer_ != nullptr) {
                observer_->countedSinceShown(n);
            }
        } else if (kind != ItemKind::Welfare && kind != ItemKind::WelfareSum) {
            count(n, it.netTotal, it.submittedTotal);
            allLabor_ += it.laborTotal;
        }
    }

    // The same order as on a sheet: welfare placed above the tax item is taxed, a sum line above
    // the welfare items shows the welfare without adding it.
    const bool sumAboveWelfare = sumItem != 0 && welfareItem != 0 && sumItem < welfareItem;
    const bool welfareFirst = !sumAboveWelfare && welfareItem != 0 && welfareItem < taxItem;
    if (welfareFirst) {
        welfareStep(welfareItem);
        addWelfare();
    }
    if (endedAtTax) {
        at_ = taxItem;
        taxStep(item(taxItem));
    }
    if (!welfareFirst) {
        welfareStep(welfareItem);
        if (!sumAboveWelfare) {
            addWelfare();
        }
    }
    // A small sum counts toward nothing, so it is summed last: its range may reach expense,
    // welfare and tax items below it, whose amounts are only known now.
    for (const int n : smallSums) {
        at_ = n;
        sumSmall(n);
    }

    state_.allNetTotal = allNet_;
    state_.allSubmittedTotal = allSub_;
    header_.netGrandTotal = allNet_;
    header_.submittedGrandTotal = allSub_;
    header_.submittedTaxTotal = state_.listSubmittedTax;
    header_.netTaxTotal = state_.listNetTax;
    return ListPassResult{allLabor_};
}

} // namespace

ListPassResult recalculateItemList(DocumentState& state, GrandTotalObserver* observer) {
    ListPass pass(state, observer);
    try {
        return pass.run();
    } catch (const AmountOverflow&) {
        throw;
    } catch (const CurrencyOverflow&) {
        throw AmountOverflow(0, pass.at(), std::string());
    }
}

} // namespace kerbina

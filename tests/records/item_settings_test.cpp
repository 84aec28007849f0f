#include "records/item_settings.h"
#include "records/record_io.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace kerbina {
namespace {

Currency n(const char* text) {
    return parseNumber(text);
}

// The setting fields at 144, 152, 160, 168, 176, 184 (sub-kind) and 192, in order.
using SettingFields = std::array<Currency, 7>;

SettingFields fieldsOf(const ItemRecord& item) {
    return {item.setAmountRounding, item.setExpenseRounding, item.setQuantityDecimals,
            item.setTotalLevel,     item.setLaborRounding,   item.subKind,
            item.setTotalRounding};
}

// Each meaning written through its accessor lands in its own fields, survives the binary record
// and reads back as written; fields it does not own stay as they were.
TEST(ItemSettings, EachMeaningRoundTripsThroughItsFields) {
    const Currency untouched = n("77");
    const struct {
        const char* meaning;
        std::function<void(ItemRecord&)> write;
        SettingFields fields;
        std::function<bool(const ItemRecord&)> readsBack;
    } cases[] = {
        {"sheet settings",
         [](ItemRecord& item) {
             CalcSettings settings;
             settings.amountOffset = n("0.9");
             settings.expenseOffset = n("0");
             settings.quantityDecimals = n("1000");
             settings.totalLevel = n("100");
             settings.laborOffset = n("0.5");
             settings.totalOffset = n("0.9");
             writeSheetSettings(item, settings);
         },
         {n("0.9"), n("0"), n("1000"), n("100"), n("0.5"), untouched, n("0.9")},
         [](const ItemRecord& item) {
             CalcSettings settings;
             settings.taxOffset = n("0.9");
             readSheetSettings(item, settings);
             return settings.amountOffset == n("0.9") && settings.expenseOffset == n("0") &&
                    settings.quantityDecimals == n("1000") && settings.totalLevel == n("100") &&
                    settings.laborOffset == n("0.5") && settings.totalOffset == n("0.9") &&
                    settings.taxOffset == n("0.9") && sheetQuantityDecimals(item) == n("1000");
         }},
        {"item range",
         [](ItemRecord& item) { setItemRange(item, 3, 12); },
         {n("3"), n("12"), untouched, untouched, untouched, untouched, untouched},
         [](const ItemRecord& item) {
             const ItemRange range = itemRange(item);
             return range.first == n("3") && range.last == n("12") &&
                    itemRangeNumbers(item) == std::pair{3, 12};
         }},
        {"expense rates",
         [](ItemRecord& item) {
             setExpenseRates(item, {n("12.5"), n("10.25"), n("3"), n("2"), n("0.9")});
         },
         {n("12.5"), n("10.25"), n("3"), n("2"), untouched, untouched, n("0.9")},
         [](const ItemRecord& item) {
             const ExpenseRates rates = expenseRates(item);
             return rates.netRate == n("12.5") && rates.submittedRate == n("10.25") &&
                    rates.roundingLevel == n("3") && rates.unitCode == n("2") &&
                    rates.roundingOffset == n("0.9");
         }},
        {"tax charged on both sides",
         [](ItemRecord& item) {
             setTaxSetting(item, {n("10"), true});
         },
         {n("1"), untouched, n("10"), untouched, untouched, untouched, untouched},
         [](const ItemRecord& item) {
             const TaxSetting tax = taxSetting(item);
             return tax.ratePercent == n("10") && tax.chargedOnNet;
         }},
        {"tax on the submitted side only",
         [](ItemRecord& item) {
             setTaxSetting(item, {n("8"), false});
         },
         {n("0"), untouched, n("8"), untouched, untouched, untouched, untouched},
         [](const ItemRecord& item) {
             const TaxSetting tax = taxSetting(item);
             return tax.ratePercent == n("8") && !tax.chargedOnNet;
         }},
        {"welfare rates",
         [](ItemRecord& item) {
             setWelfareRates(item, {n("20"), n("16.5"), n("90")});
         },
         {n("20"), n("16.5"), untouched, untouched, untouched, untouched, n("90")},
         [](const ItemRecord& item) {
             const WelfareRates rates = welfareRates(item);
             return rates.labourRate == n("20") && rates.employerRate == n("16.5") &&
                    rates.workerRate == n("90");
         }},
        {"formula with the name",
         [](ItemRecord& item) { setShowsFormulaWithName(item, true); },
         {untouched, untouched, untouched, untouched, untouched, n("1"), untouched},
         [](const ItemRecord& item) {
             return showsFormulaWithName(item);
         }},
        {"formula in the note",
         [](ItemRecord& item) { setShowsFormulaWithName(item, false); },
         {untouched, untouched, untouched, untouched, untouched, n("0"), untouched},
         [](const ItemRecord& item) {
             return !showsFormulaWithName(item);
         }},
        {"comment note in the total column",
         [](ItemRecord& item) { setCommentPlacement(item, n("30")); },
         {untouched, untouched, untouched, untouched, untouched, n("30"), untouched},
         [](const ItemRecord& item) {
             return commentPlacement(item) == n("30") && showsNoteInTotalColumn(item);
         }},
    };
    for (const auto& row : cases) {
        ItemRecord item;
        item.setAmountRounding = item.setExpenseRounding = item.setQuantityDecimals = untouched;
        item.setTotalLevel = item.setLaborRounding = item.subKind = untouched;
        item.setTotalRounding = untouched;
        row.write(item);
        EXPECT_EQ(fieldsOf(item), row.fields) << row.meaning;
        const ItemRecord reread = decodeItem(encodeItem(item));
        EXPECT_TRUE(row.readsBack(reread)) << row.meaning;
    }
}

TEST(ItemSettings, StoredValuesReadAsTheirMeaning) {
    ItemRecord item;
    item.setAmountRounding = n("3.7");
    item.setExpenseRounding = n("99999999999");
    EXPECT_EQ(itemRangeNumbers(item), std::pair(3, std::numeric_limits<int>::max()));
    // Only exactly 1 at 144 charges the tax on the net side.
    item.setAmountRounding = n("2");
    EXPECT_FALSE(taxSetting(item).chargedOnNet);
    // Comment placements other than 15 and 30 keep the note in its own column.
    for (const char* placement : {"0", "15", "16", "30"}) {
        item.subKind = n(placement);
        EXPECT_EQ(showsNoteInTotalColumn(item), n(placement) == n("15") || n(placement) == n("30"))
            << placement;
    }
}

} // namespace
} // namespace kerbina

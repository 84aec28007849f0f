#pragma once

#include "money/calc_settings.h"
#include "money/currency.h"
#include "records/quotation_data.h"
#include "records/records.h"

#include <optional>
#include <vector>

// The cost of a quotation split by kind of cost, as a contractor's quotation shows it beside each
// breakdown item and on its cover: 材料費, 労務費, 法定福利費 and 経費, on the submitted side.
//
// A line goes to exactly one column: welfare lines (97, 98) and items (101, 102) to 法定福利費,
// expense lines and items (81..84) to 経費, lines with the labour price kind (労務費) to 労務費,
// and everything else to 材料費. The split holds no rules of its own about what counts: the sheet
// pass tells it every amount it adds to a sheet's total and the list pass every amount it adds to
// the grand total and what its sum items show, so a reduction lowers the column of its own price
// kind, 小計/中計 and range totals add nothing, unlisted lines and everything below a tax or sum
// line add nothing, welfare placed below a sum line is left out, exactly as in the totals.
// A sheet's own tax line is part of its item's amount, which the breakdown list counts like any
// other; it goes to 材料費. The breakdown list's tax is no cost: it stays outside the four
// columns, so the columns of an item add up to its total, and the quotation's columns plus the
// list's tax ([TAXGTOTAL]) make the grand total.

namespace kerbina {

struct CostSplit {
    Currency material; // 材料費
    Currency labor;    // 労務費
    Currency welfare;  // 法定福利費
    Currency expenses; // 経費

    Currency total() const { return material + labor + welfare + expenses; }
    CostSplit& operator+=(const CostSplit& other);
    CostSplit& operator-=(const CostSplit& other);
    friend bool operator==(const CostSplit&, const CostSplit&) = default;
};

enum class CostKind { Material, Labor, Welfare, Expenses };

// The column of a detail-sheet line, and of a breakdown item that is no sheet.
CostKind costKindOfLine(const LineRecord& line);
CostKind costKindOfItem(ItemKind itemKind);

// The split of one sheet: its lines as the sheet pass counts them, with the item's own calculation
// settings (`settings` supplies the tax offset). The four columns add up to the item's submitted
// total as the item holds it; should the lines no longer give that total (a sheet stopped at a
// range-sum error), the difference is put to 材料費.
CostSplit sheetCostSplit(const QuotationData& quotation, int item, const CalcSettings& settings);

struct QuotationCostSplit {
    // By item number ([0] unused): the split of every breakdown row that has one. Sheets,
    // expense, welfare and reduction items and the items the grand total adds show their own
    // amount; hierarchy parents and 小計 items the sum of the parts the list pass adds up for
    // them, 計 items what it counted since the previous 計 item. Tax, comment and sum-line items
    // have none, nor sum items with nothing to add up or below the list's tax or sum item.
    std::vector<std::optional<CostSplit>> items;
    CostSplit total; // what the grand total is made of, less the list's tax
    // The breakdown list's own tax and welfare items, as the grand total holds them: tax is
    // [TAXGTOTAL], and total.total() + tax is the grand total. The welfare is part of
    // total.welfare, which also holds the sheets' welfare lines.
    Currency tax;
    Currency welfare;
};

// The split of a whole quotation whose totals are computed (as it is opened, printed or edited).
QuotationCostSplit quotationCostSplit(const QuotationData& quotation, const CalcSettings& settings);

} // namespace kerbina

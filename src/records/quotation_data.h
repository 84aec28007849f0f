#pragma once

#include "money/currency.h"
#include "records/records.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kerbina {

// A whole quotation held in memory: what a quotation file carries, section by section. The
// reader fills it completely and checks it before anything on disk is touched; the writer and the
// work-folder store read from it.
struct QuotationData {
    QuotationHeader header;
    ItemList items;            // [0] placeholder, items 1..ItemMax
    std::vector<Sheet> sheets; // indexed by item number ([0] unused); each sheet's [0] is scratch
    // The take-off entries of each sheet, by sheet number, in list order.
    std::map<int, std::vector<TakeoffRecord>> takeoffEntries;
    // The aggregation settings of each sheet, by sheet number: the lines of its settings file.
    std::map<int, std::vector<std::string>> configLines;
    // The unit-cost breakdown list (代価表): sorted, unique texts.
    std::vector<std::string> unitCostBreakdowns;
    // [Tax_opt_1]: the tax rounding offset the file was written with. Files without the key
    // leave the offset in effect unchanged.
    std::optional<Currency> taxOffset;

    int itemMax() const { return static_cast<int>(items.size()) - 1; }
};

} // namespace kerbina

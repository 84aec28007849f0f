// Take-off payload files come from other tools (kerbina-cli takeoff import), and received
// payloads from companion programs. Any bytes must either be refused whole, leaving the
// quotation as it was, or add entries whose texts fit their fields and whose text form reads
// back as itself; the unit-cost breakdown list stays sorted and unique.
#include "fuzz_support.h"
#include "records/takeoff_text.h"
#include "takeoff/takeoff_import.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_takeoff_payloads", what);
    }
}

kerbina::QuotationData oneSheet() {
    kerbina::QuotationData data;
    data.items.resize(2);
    data.sheets.resize(2);
    data.unitCostBreakdowns = {"複合単価:0000001;a;"};
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    kerbina::QuotationData data = oneSheet();
    const kerbina::QuotationData before = data;
    int added = 0;
    try {
        added = kerbina::importTakeoffPayloads(data, 1, kerbina::fuzz::bytesOf(bytes, size));
    } catch (const kerbina::TakeoffImportError&) {
        check(data.takeoffEntries == before.takeoffEntries &&
                  data.unitCostBreakdowns == before.unitCostBreakdowns,
              "a refused payload file changed the quotation");
        return 0;
    }
    if (added == 0) {
        check(data.takeoffEntries.empty(), "no payload added an entry");
        return 0;
    }
    const auto& entries = data.takeoffEntries.at(1);
    check(static_cast<int>(entries.size()) == added, "the entries added are not the payloads");
    for (const kerbina::TakeoffRecord& entry : entries) {
        check(entry.sheet == 1 && entry.system >= 0 && entry.system <= 9,
              "an entry has another sheet or a system outside 0..9");
        const std::string text = kerbina::takeoffToText(entry);
        check(kerbina::takeoffToText(kerbina::takeoffFromText(text)) == text,
              "an entry's text form did not read back as itself");
    }
    check(std::is_sorted(data.unitCostBreakdowns.begin(), data.unitCostBreakdowns.end()) &&
              std::adjacent_find(data.unitCostBreakdowns.begin(), data.unitCostBreakdowns.end()) ==
                  data.unitCostBreakdowns.end(),
          "the unit-cost breakdown list is not sorted and unique");
    return 0;
}

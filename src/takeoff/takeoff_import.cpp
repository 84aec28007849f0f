#include "takeoff/takeoff_import.h"

#include "base/file_io.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "records/kinds.h"
#include "takeoff/takeoff_list.h"

#include <algorithm>

namespace kerbina {

void addUnitCostBreakdown(std::vector<std::string>& breakdowns, std::string entry) {
    const auto at = std::lower_bound(breakdowns.begin(), breakdowns.end(), entry);
    if (at == breakdowns.end() || *at != entry) {
        breakdowns.insert(at, std::move(entry));
    }
}

int importTakeoffPayloads(QuotationData& data, int sheet, std::string_view payloadFileBytes) {
    if (sheet < 1 || sheet > data.itemMax() ||
        !ownsSheet(data.items[static_cast<std::size_t>(sheet)].kind)) {
        throw TakeoffImportError("シート " + std::to_string(sheet) + " はありません。");
    }
    const std::string text = fromCp932OrUtf8(payloadFileBytes);
    const auto stored = data.takeoffEntries.find(sheet);
    TakeoffList list = takeoffListFromStored(
        stored == data.takeoffEntries.end() ? std::vector<TakeoffRecord>{} : stored->second);
    std::vector<std::string> breakdowns = data.unitCostBreakdowns;
    int added = 0;
    int lineNumber = 0;
    for (const std::string_view line : splitTextLineViews(text)) {
        ++lineNumber;
        if (trimBlanks(line).empty()) {
            continue;
        }
        const auto fail = [&](const std::string& why) {
            return TakeoffImportError(std::to_string(lineNumber) + " 行目: " + why);
        };
        if (line.substr(0, line.find(';')) != "WM_DATAWRITE") {
            throw fail("WM_DATAWRITE で始まっていません: " + excerpt(line, 40));
        }
        ReceivedTakeoff received;
        try {
            received = readReceivedTakeoff(line);
        } catch (const TakeoffPayloadError& error) {
            throw fail(error.what());
        }
        received.entry.sheet = sheet;
        placeReceivedTakeoff(list, received.entry, received.entry.system, 0);
        if (received.unitCostBreakdown) {
            addUnitCostBreakdown(breakdowns, std::move(*received.unitCostBreakdown));
        }
        ++added;
    }
    if (added > 0) {
        data.takeoffEntries[sheet] = storedEntries(list);
        data.unitCostBreakdowns = std::move(breakdowns);
    }
    return added;
}

} // namespace kerbina

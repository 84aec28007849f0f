#include "prices/lookup_panel.h"

#include "records/document_state.h"

#include <algorithm>
#include <vector>

namespace kerbina {

CommandResult writeCataloguePrice(GridContext& context, Selection selection,
                                  const PriceRecord& price, PriceSource source, Currency quantity,
                                  LineWriteMode mode, bool listMode) {
    const LineMessage message =
        priceLineMessage(price, source, quantity, context.state.currentSheetNumber);
    return writeLineFromMessage(context, selection, message, mode, AfterWrite::Save, listMode);
}

int registerSelectedLines(Database& database, PriceGroup group, const DocumentState& state,
                          Selection selection, std::chrono::year_month_day today) {
    const int first = std::max(selection.top, 1);
    const int last = std::min(selection.bottom, state.lineCount());
    std::vector<LineRecord> lines;
    for (int row = first; row <= last; ++row) {
        lines.push_back(state.sheet[static_cast<std::size_t>(row)]);
    }
    return registerLinesAsPrices(database, group, lines, today);
}

} // namespace kerbina

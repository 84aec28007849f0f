#include "grid/item_data.h"

#include "document/work_store.h"
#include "grid/grid_commands.h"
#include "records/line_kinds.h"

#include <algorithm>
#include <system_error>

namespace kerbina {

namespace {

bool isContentLine(const LineRecord& line) {
    if (line.kind == LineKind::Title) {
        return false;
    }
    return line.kind != LineKind::Empty || !line.nameSpec.empty();
}

} // namespace

bool sheetHoldsLines(const DocumentState& state, const std::filesystem::path& workFolder,
                     int item) {
    if (item == state.currentSheetNumber) {
        return std::ranges::any_of(state.sheet.begin() + 1, state.sheet.end(), isContentLine);
    }
    const std::filesystem::path file = itemSheetFile(workFolder, item);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    const Sheet sheet = readSheetFile(file);
    return std::ranges::any_of(sheet.begin() + 1, sheet.end(), isContentLine);
}

bool itemHoldsData(const DocumentState& state, const std::filesystem::path& workFolder, int row,
                   DataCheck check) {
    if (row < 1 || row > state.itemMax()) {
        return false;
    }
    const ItemRecord& item = state.items[static_cast<std::size_t>(row)];
    if (item.kind == ItemKind::Reduction ||
        (check == DataCheck::ExpenseEntry && isExpenseItem(item.kind))) {
        return false;
    }
    return !item.netTotal.isZero() || !item.submittedTotal.isZero() ||
           (ownsSheet(item.kind) && sheetHoldsLines(state, workFolder, row));
}

} // namespace kerbina

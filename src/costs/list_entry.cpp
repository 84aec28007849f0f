#include "costs/list_entry.h"

#include "grid/item_data.h"

namespace kerbina {

std::optional<std::string> listCostEntryRefusal(const DocumentState& state,
                                                const std::filesystem::path& workFolder, int row,
                                                std::string_view firstRowRefusal) {
    if (row <= 1) {
        return std::string(firstRowRefusal);
    }
    if (itemHoldsData(state, workFolder, row, DataCheck::ExpenseEntry)) {
        return "すでに積算データが存在しますので経費にはできません";
    }
    return std::nullopt;
}

} // namespace kerbina

#pragma once

#include "records/document_state.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// Whether an expense or welfare entry may go at breakdown row `row`: row 1 is refused with
// `firstRowRefusal`; an item holding data (totals, or a sheet with lines; reductions and expense
// items excepted) with "すでに積算データが存在しますので経費にはできません".
std::optional<std::string> listCostEntryRefusal(const DocumentState& state,
                                                const std::filesystem::path& workFolder, int row,
                                                std::string_view firstRowRefusal);

} // namespace kerbina

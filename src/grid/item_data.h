#pragma once

#include "records/document_state.h"

#include <filesystem>

namespace kerbina {

// Whether an item of the breakdown list may be turned into something else without losing what
// the user entered. The expense and welfare entries also overwrite expense items (81..84).
enum class DataCheck { Plain, ExpenseEntry };

// Whether breakdown item `row` holds data: an existing item other than a reduction (91) whose net
// or submitted total is not 0, or whose sheet holds lines (a sheet of comments has no totals, yet
// it is data the user typed). A row past the last item holds nothing. With
// DataCheck::ExpenseEntry, expense items (81..84) hold nothing either.
bool itemHoldsData(const DocumentState& state, const std::filesystem::path& workFolder, int row,
                   DataCheck check = DataCheck::Plain);

// Whether item `item`'s sheet (the one in memory when it is the open sheet, else its work file)
// holds a line that says something: neither an empty row nor the title line.
bool sheetHoldsLines(const DocumentState& state, const std::filesystem::path& workFolder, int item);

} // namespace kerbina

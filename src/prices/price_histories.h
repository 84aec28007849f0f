#pragma once

#include "grid/dialog_lists.h"
#include "prices/catalogue.h"
#include "prices/price_editor.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kerbina {

// The texts the price editors remember under the data folder's "conf" folder, one a line, the
// newest first, at most 30. Reading a missing or unreadable file gives no entries: the
// histories are conveniences and never stop an editor.
inline constexpr std::size_t kPriceHistoryLength = 30;

// A non-empty text not yet in the list goes on top; the list then keeps its first 30 entries.
void rememberInPriceHistory(std::vector<std::string>& history, const std::string& text);

// The category, name and specification histories of one editor ("CD_..." or "T_...").
struct PriceEditorHistories {
    std::vector<std::string> categories;
    std::vector<std::string> names;
    std::vector<std::string> specifications;

    friend bool operator==(const PriceEditorHistories&, const PriceEditorHistories&) = default;
};

PriceEditorHistories readPriceEditorHistories(const std::filesystem::path& dataRoot,
                                              const PriceEditorTable& table);
// Each history with entries is written to its file; an empty one leaves its file as it is.
// Raises FileError.
void writePriceEditorHistories(const std::filesystem::path& dataRoot, const PriceEditorTable& table,
                               const PriceEditorHistories& histories);
// The category, name and specification of a stored price go into the histories.
void rememberPriceTexts(PriceEditorHistories& histories, const PriceRecord& price);

// The choices of an editor's amount-column text: the settings' four, the stored texts, then the
// editor's own four, each text once.
std::vector<std::string> amountTextChoices(const AmountSettingTexts& settingTexts,
                                           const std::vector<std::string>& stored);

// The column widths of the editors' price lists ("grid_code.ini": "[Version]=2.00", then
// "[StrColGrid1_Colwidths[<index>]]=<width>" a column). A column without a readable entry reads
// as -1: the list keeps its own width there.
std::vector<int> readPriceListColumnWidths(const std::filesystem::path& dataRoot);
void writePriceListColumnWidths(const std::filesystem::path& dataRoot,
                                const std::vector<int>& widths);

} // namespace kerbina

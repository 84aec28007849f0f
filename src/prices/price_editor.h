#pragma once

#include "grid/line_entry.h"
#include "prices/catalogue.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The code unit price editor (登録単価) and the tree unit price editor (仕様単価) are one editor
// over two groups of the catalogue; this table is all that tells them apart.
struct PriceEditorTable {
    PriceGroup group = PriceGroup::Code;
    // Where the category, name and specification histories are kept: "<prefix>CATEGORY.lst"...
    std::string_view historyPrefix;
    // The name its window position is kept under.
    std::string_view windowKey;
    std::array<std::string_view, 6> headings;
    // The tree editor chooses a name between category and row, and searches name and
    // specification in boxes of their own.
    bool choosesName = false;
    // The code editor keeps its histories after each change, the tree editor when it closes.
    bool historiesOnClose = false;
};

inline constexpr PriceEditorTable kCodePriceEditor{
    .group = PriceGroup::Code,
    .historyPrefix = "CD_",
    .windowKey = "Codetanka_Dlg",
    .headings = {"No", "名       称", "仕　　   様", "単位", "提出単価", "仕切単価"},
};

inline constexpr PriceEditorTable kTreePriceEditor{
    .group = PriceGroup::Tree,
    .historyPrefix = "T_",
    .windowKey = "treetanka_dlg",
    .headings = {"No", "名　称", "仕　様", "単位", "提出単価", "仕切単価"},
    .choosesName = true,
    .historiesOnClose = true,
};

// What narrows the editor's lists: the chosen category (and, in the tree editor, name), and the
// search texts. An empty text narrows nothing.
struct PriceEditorFilter {
    std::string category;
    std::string name;
    // The code editor finds it in the name or the 仕様; the tree editor in the name.
    std::string search;
    // The tree editor's second search box: found in the 仕様.
    std::string searchSpecification;
};

// A row of the editor's price list.
struct PriceEditorRow {
    std::int64_t id = 0;
    std::string name;
    std::string specification;
    std::string unit;
    Currency submittedPrice;
    Currency netPrice;

    friend bool operator==(const PriceEditorRow&, const PriceEditorRow&) = default;
};

// The editor's lists, sorted (categories, names) or in row order (prices), empty texts left out.
// The code editor's categories are every category of its group; the tree editor's follow its
// search texts, and its names the chosen category and the search texts. A chosen category or
// name selects exactly that text. Raise DatabaseError.
std::vector<std::string> editorCategories(Database& database, const PriceEditorTable& table,
                                          const PriceEditorFilter& filter);
std::vector<std::string> editorNames(Database& database, const PriceEditorTable& table,
                                     const PriceEditorFilter& filter);
std::vector<PriceEditorRow> editorPrices(Database& database, const PriceEditorTable& table,
                                         const PriceEditorFilter& filter);

// The editor's own amount-column texts, offered after the settings' and the user's.
inline constexpr std::array<std::string_view, 4> kEditorAmountTexts = {"御支給品", "既設品利用",
                                                                       "撤  去  品", "既 設 品"};

// "新規追加": a new row of `group` with the editor's fields (category, name, specification, unit,
// kind, labour factor, net, list and submitted price, both additional prices, amount text); the
// columns the editor has no field for are 0 or empty; `today` is its creation and change date.
// "修正登録": row `id` of `group` takes the fields, Price2..Price5 and
// Present_Construction2..Present_Construction5 become 0 and `today` its change date.
// "削除": row `id` of `group` is removed.
// Texts lose CR and LF. A failed statement is reported ("ERROR") and the result is false.
bool addCataloguePrice(Database& database, PriceGroup group, const PriceRecord& price,
                       std::chrono::year_month_day today);
bool updateCataloguePrice(Database& database, PriceGroup group, std::int64_t id,
                          const PriceRecord& price, std::chrono::year_month_day today);
bool deleteCataloguePrice(Database& database, PriceGroup group, std::int64_t id);

// The price record a double-click in the editor hands to the line data-entry dialog:
// "[code];" name; specification; unit; net price; submitted price; 0; 0; net additional price;
// submitted additional price; labour factor; index of the kind choice; amount text, each
// followed by ";".
std::string priceRecordText(const PriceRecord& price);
// The same record as the data-entry dialog's fields (quantities 0).
LineEntry priceRecordEntry(const PriceRecord& price);

// The quantity the quantity buttons of the lookup tabs and of the editors write: the button's
// number ("0" writes 0); a double-click writes 1.
inline constexpr int kDoubleClickQuantity = 1;

} // namespace kerbina

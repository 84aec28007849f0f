#pragma once

#include "grid/line_message.h"
#include "records/records.h"
#include "storage/database.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The unit price catalogue: the rows of the quotation database's `tanka` table in one of three
// groups. Every function raises DatabaseError unless it says otherwise; every value is bound, so
// an apostrophe, "%" or "_" in a name is stored and found as itself.
enum class PriceGroup : int {
    Code = 1,        // 登録単価: chosen by category, then row
    Tree = 10,       // 仕様単価: chosen by category, then name, then specification
    Calculated = 20, // 計算単価: rates of the calculated lines
};

// The category given to the rows registered from quotation lines.
inline constexpr std::string_view kRegisteredLinesCategory = "取込データ";

// One catalogue row as the lookups and editors use it. Prices are exact to 1/10000 (a stored
// value with more decimals is rounded half to even).
struct PriceRecord {
    std::int64_t id = 0;
    int group = 0;
    std::string category;
    std::string name;          // ITEMNAME
    std::string specification; // ITEMSIZE
    Currency laborFactor;      // Construction
    std::string unit;          // CI
    int kind = 0;              // FLAG: the line kind given to the price
    Currency netPrice;         // NET_Price
    Currency submittedPrice;   // Price1
    Currency listPrice;        // Fixed_Price
    Currency netAdditionalPrice;
    Currency submittedAdditionalPrice;
    Currency priceKind;     // OPT2 (calculated prices: 0 normal, 1 labour)
    std::string amountText; // OPT3

    friend bool operator==(const PriceRecord&, const PriceRecord&) = default;
};

// A row of the lookup grids: its id and the texts shown for it.
struct PriceListEntry {
    std::int64_t id = 0;
    std::string name;
    std::string specification;

    friend bool operator==(const PriceListEntry&, const PriceListEntry&) = default;
};

// The categories of a group, sorted, without the empty one.
std::vector<std::string> priceCategories(Database& database, PriceGroup group);
// The rows of one category of a group with a name, in row order (the code tab's grid shows name
// and specification side by side).
std::vector<PriceListEntry> pricesInCategory(Database& database, PriceGroup group,
                                             std::string_view category);
// The names of one category of a group, sorted, without the empty one (the tree tab's name list).
std::vector<std::string> priceNames(Database& database, PriceGroup group,
                                    std::string_view category);
// The rows of one name of one category, in row order (the tree tab's grid of specifications).
std::vector<PriceListEntry> pricesOfName(Database& database, PriceGroup group,
                                         std::string_view category, std::string_view name);

// The row `id` of a group; nothing when there is none.
std::optional<PriceRecord> priceRecord(Database& database, PriceGroup group, std::int64_t id);

// The code search: the group-1 rows whose name or specification contains `text`, in row order.
// Nothing is searched for an empty text.
std::vector<PriceRecord> searchCodePrices(Database& database, std::string_view text);
// The tree search: the group-10 rows whose name contains `nameText` and whose specification
// contains `specificationText`; an empty text sets no condition, and two empty texts search
// nothing.
std::vector<PriceRecord> searchTreePrices(Database& database, std::string_view nameText,
                                          std::string_view specificationText);

// Where a price goes into the quotation from: a double-click in a lookup grid (or a quantity
// button) through the editor, or a search that found exactly one row. They differ in the integer
// flag and the amount-column text the line receives.
enum class PriceSource { Editor, SingleSearchHit };

// The line message that puts a price into the quotation: name, specification, unit, the four
// prices, `quantity` as net and submitted quantity, the stored kind, the labour factor and
// `sheetNumber` as mark (0 when no sheet was handed over).
LineMessage priceLineMessage(const PriceRecord& price, PriceSource source, Currency quantity,
                             int sheetNumber);

// The text the catalogue keeps as a row's creation and change date: "2026/12/11".
std::string catalogueDateText(std::chrono::year_month_day date);

// Registers quotation lines as rows of `group` (Code or Tree) in the category "取込データ":
// name and specification are the line's texts before and after its first ";", without CR and
// LF; kind, unit, labour factor, the four prices and the amount-column text come from the line;
// `today` is the creation and change date. An empty line (no text at all) is skipped. A line
// whose statement fails is reported ("ERROR") and the next one is registered all the same.
// Returns the number of rows registered.
int registerLinesAsPrices(Database& database, PriceGroup group, std::span<const LineRecord> lines,
                          std::chrono::year_month_day today);

// The message shown once the selected lines have been registered (also for no line at all).
inline constexpr std::string_view kLinesRegisteredText = "取り込みました。\r\n";

} // namespace kerbina

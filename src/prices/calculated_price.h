#pragma once

#include "base/user_prompt.h"
#include "grid/line_message.h"
#include "records/document_state.h"
#include "storage/database.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// Calculated lines: a line whose amounts the totals pass computes from a range of the lines above
// it (a rate of their amounts, their labour hours at a labour price, a rate of their additional
// amounts), entered in the calculated-price dialog, which also keeps the group-20 rows of the
// catalogue that hold named rates. The dialog collects the values; every rule is here.

// What the dialog computes, as the four commands that open it hand it in.
enum class CalculationType {
    Rate = 1,           // 単価計算: rates of the range's amounts
    Labour = 2,         // 歩掛計算: the range's labour hours times two labour prices
    AdditionalRate = 3, // 付帯単価計算: rates of the range's additional amounts
    PlainLine = 4,      // 通常単価: the entered prices as an ordinary line
};

struct CalculationTypeTexts {
    std::string_view command; // the menu command that opens the dialog with the type
    std::string_view heading; // the dialog's heading
    std::string_view netCaption;
    std::string_view submittedCaption;
};

// The texts of a type.
const CalculationTypeTexts& calculationTypeTexts(CalculationType type);
// The kind of the calculated line without a group filter (50, 60, 70); nothing for PlainLine.
std::optional<LineKind> calculationBaseKind(CalculationType type);

// The dialog's fixed choices.
// The rounding of the calculated line's submitted amount, codes 0..9 (kept in its labour factor).
inline constexpr std::array<std::string_view, 10> kRoundingLevelCaptions{
    "有効:1円単位",    "有効:10円単位",    "有効:100円単位", "有効:1000円単位", "有効:1万円単位",
    "有効:10万円単位", "有効:100万円単位", "有効2桁",        "有効3桁",         "有効4桁"};
inline constexpr std::array<std::string_view, 2> kPriceKindCaptions{"通常", "労務費"};
// The group choice that counts the lines of every data group.
inline constexpr std::string_view kAllGroupsCaption = "全グループ指定";

// The rows a calculated line covers.
struct CalculatedRange {
    int first = 1;
    int last = 1;

    friend bool operator==(const CalculatedRange&, const CalculatedRange&) = default;
};

// Opening the dialog for a new line at the selection: refused on the breakdown list
// ("現在は内訳モードです。") and on the first row ("計算単価は先頭行に入力することはできません。"),
// both with a beep. Otherwise the line goes to the selection's last row, and the proposed range
// runs from the row after the last calculated line (kinds 50 to 79) above it, or row 1, to the row
// above it.
struct CalculatedOpening {
    std::string refusal; // empty when the dialog opens
    int row = 0;         // where the line is written
    CalculatedRange range;
};
CalculatedOpening openCalculatedLine(const DocumentState& state, bool listMode,
                                     Selection selection);

// What the dialog holds.
struct CalculatedEntry {
    CalculationType type = CalculationType::Rate;
    std::string name;
    std::string specification;
    std::string unit;
    Currency netValue;       // the net rate (%), labour price or, for PlainLine, price
    Currency submittedValue; // the same on the submitted side
    std::string note;
    int priceKindChoice = 0; // 0 通常, 1 労務費
    int group = 0;           // 0 every group (全グループ指定), 1..6 one data group
    CalculatedRange range;
    int roundingLevel = 0; // 0..9, kRoundingLevelCaptions
    // PlainLine only: the line kind choice and the two quantities.
    int kindChoice = 0;
    Currency netQuantity;
    Currency submittedQuantity;

    friend bool operator==(const CalculatedEntry&, const CalculatedEntry&) = default;
};

// The entry of a calculated line of the sheet (kinds 50..56, 60..66, 70..76), to edit it again.
CalculatedEntry calculatedEntryFromLine(const LineRecord& line);

struct CalculatedOutcome {
    std::optional<LineMessage> message; // the line to write
    std::string refusal;                // why nothing is written
};

// "積算転記": the line message of an entry. A rate above 500 (types Rate and AdditionalRate) is
// refused ("%の値が大きすぎます。"), and so is a ";" in the name or specification, which would
// split them wrongly. A calculated line is "WM_CALCDATA" of the base kind plus the group, its
// quantities the range's first and last row and its labour factor the rounding level; a plain
// line is "WM_DATAWRITE" of the chosen kind with the two quantities. Both are data group 1
// (11999).
CalculatedOutcome calculatedLineMessage(const CalculatedEntry& entry);

// Writes the line at `row`: a new line goes into an empty line inserted there (or is appended past
// the last line); an edited calculated line is overwritten. Then the totals pass and the sheet
// write, through the edit cycle.
enum class CalculatedWrite { NewLine, EditedLine };
CommandResult writeCalculatedLine(GridContext& context, int row, const LineMessage& message,
                                  CalculatedWrite write);

// ---- the catalogue's calculated prices (group 20) ----

struct CalculatedPrice {
    std::int64_t id = 0;
    std::string category;
    std::string name;
    std::string specification;
    std::string unit;
    Currency netRate;       // NET_Price
    Currency submittedRate; // Price1
    int priceKind = 0;      // OPT2
    std::string note;       // OPT3

    friend bool operator==(const CalculatedPrice&, const CalculatedPrice&) = default;
};

// The categories of the calculated prices, sorted, without the empty one.
std::vector<std::string> calculatedPriceCategories(Database& database);
// The calculated prices of `category` (every one when it is empty) whose name or specification
// contains `search` (no condition when it is empty), in row order.
std::vector<CalculatedPrice> calculatedPrices(Database& database, std::string_view category,
                                              std::string_view search);
std::optional<CalculatedPrice> calculatedPrice(Database& database, std::int64_t id);

// "新規追加": an empty name is refused ("名称を入力してください"); otherwise the category is asked
// ("カテゴリー名を入力してください。", `proposedCategory` filled in) and the row is added with
// `today` as its dates. Returns the new row's id; nothing when refused, cancelled or failed (a
// failure is reported "ERROR").
std::optional<std::int64_t> addCalculatedPrice(Database& database, UserPrompt& prompt,
                                               const CalculatedPrice& price,
                                               std::string_view proposedCategory,
                                               std::chrono::year_month_day today);
// "修正登録": the same checks and question, then row `price.id` takes the fields. True when
// changed.
bool updateCalculatedPrice(Database& database, UserPrompt& prompt, const CalculatedPrice& price,
                           std::string_view proposedCategory);
// "削除": asks "削除していいですか"; on Yes row `id` is deleted. True when deleted.
bool deleteCalculatedPrice(Database& database, UserPrompt& prompt, std::int64_t id);
// "カテゴリー名を変更する": asks the new name ("変更するカテゴリー名を入力してください。") and
// confirms it ("「" + name + "」に変更していいですか"); then the calculated prices of category
// `category` take it. The code and tree prices of a category of the same name keep theirs. An
// empty or unchanged name changes nothing. The new name when renamed.
std::optional<std::string> renameCalculatedCategory(Database& database, UserPrompt& prompt,
                                                    const std::string& category);

} // namespace kerbina

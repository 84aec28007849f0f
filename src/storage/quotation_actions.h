#pragma once

#include "storage/database.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

class SearchIndex;

// The rows the user marked on the list, kept by quotation number: a mark stays on its quotation
// whatever page or order the list shows, and an action never reaches a row by its position.
class QuotationMarks {
public:
    void toggle(const std::string& number);
    void set(const std::string& number, bool marked);
    bool isMarked(const std::string& number) const { return numbers_.contains(number); }
    void clear() { numbers_.clear(); }
    std::size_t count() const { return numbers_.size(); }
    bool empty() const { return numbers_.empty(); }
    // The marked numbers in number order.
    std::vector<std::string> numbers() const { return {numbers_.begin(), numbers_.end()}; }

private:
    std::set<std::string> numbers_;
};

inline constexpr std::string_view kNothingToDeleteMessage = "削除するデータが選択されていません。";
inline constexpr std::string_view kNothingToCopyMessage = "複製するデータが選択されていません。";
inline constexpr std::string_view kNothingToPrintMessage = "印刷するデータが選択されていません。";
inline constexpr std::string_view kNothingToChangeStatusMessage =
    "ステータスを変更するデータが選択されていません。";

// The question before deleting: count + "件、削除していいですか？".
std::string deleteQuestion(std::size_t count);

// The status codes of the list's context menu: "下書きにする" 0 to "発行済にする" 5.
struct StatusMenuItem {
    std::string_view caption;
    int code;
};
inline constexpr StatusMenuItem kStatusMenu[] = {
    {"下書きにする", 0},     {"提出済にする", 1}, {"成約見積にする", 2},
    {"不成約見積にする", 3}, {"請求書にする", 4}, {"発行済にする", 5},
};

struct RowActionResult {
    int done = 0;   // rows deleted or changed
    int failed = 0; // statements that failed (each reported "ERROR" through the database)
};

// Deletes each quotation; a failing statement is reported and the next one goes on. The index,
// when given, drops the rows at once.
RowActionResult deleteQuotations(Database& quotations, const std::vector<std::string>& numbers,
                                 SearchIndex* index = nullptr);

// Sets the status code (0 to 6) of each quotation; any other code changes nothing.
RowActionResult changeQuotationStatus(Database& quotations, const std::vector<std::string>& numbers,
                                      int code, SearchIndex* index = nullptr);

} // namespace kerbina

#include "storage/quotation_actions.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "storage/search_index.h"

#include <array>

namespace kerbina {

void QuotationMarks::toggle(const std::string& number) {
    set(number, !isMarked(number));
}

void QuotationMarks::set(const std::string& number, bool marked) {
    if (marked) {
        numbers_.insert(number);
    } else {
        numbers_.erase(number);
    }
}

std::string deleteQuestion(std::size_t count) {
    return std::to_string(count) + "件、削除していいですか？";
}

RowActionResult deleteQuotations(Database& quotations, const std::vector<std::string>& numbers,
                                 SearchIndex* index) {
    RowActionResult result;
    IndexedWrites writes(quotations, index);
    for (const std::string& number : numbers) {
        const bool done = writes.write(number, "DELETE FROM kerbina where krbnumber=?", {number});
        ++(done ? result.done : result.failed);
    }
    return result;
}

RowActionResult changeQuotationStatus(Database& quotations, const std::vector<std::string>& numbers,
                                      int code, SearchIndex* index) {
    RowActionResult result;
    if (code < 0 || code > 6) {
        return result;
    }
    IndexedWrites writes(quotations, index);
    for (const std::string& number : numbers) {
        const bool done = writes.write(number, "update kerbina SET status=? where krbnumber=?",
                                       {std::to_string(code), number});
        ++(done ? result.done : result.failed);
    }
    return result;
}

} // namespace kerbina

// kerbina-cli list: the quotation list's query from the command line.
#include "cli/list_command.h"

#include "base/folders.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/user_prompt.h"
#include "storage/database.h"
#include "storage/quotation_list.h"
#include "storage/search_index.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace kerbina::cli {

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

// A real calendar day written "yyyy-mm-dd".
bool isDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return false;
    }
    const auto year = parseInteger(text.substr(0, 4));
    const auto month = parseInteger(text.substr(5, 2));
    const auto day = parseInteger(text.substr(8, 2));
    if (!year || !month || !day) {
        return false;
    }
    const std::chrono::year_month_day date{std::chrono::year{static_cast<int>(*year)},
                                           std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    return date.ok();
}

std::optional<Currency> amount(std::string_view text) {
    try {
        if (trimBlanks(text).empty()) {
            return std::nullopt;
        }
        return parseNumber(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A stored number as a JSON number when it is one, else as text.
std::string jsonAmount(const std::string& text) {
    const auto value = amount(text);
    return value ? value->toString() : jsonString(text);
}

struct ListArguments {
    QuotationListRequest request;
    std::optional<std::filesystem::path> dataRoot;
};

std::optional<ListArguments> parseListArguments(const std::vector<std::string_view>& words) {
    ListArguments arguments;
    QuotationFilter& filter = arguments.request.filter;
    bool page = false;
    bool perPage = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (i + 1 >= words.size()) {
            return std::nullopt;
        }
        const std::string_view value = words[++i];
        const auto positive = parseInteger32(value);
        if (word == "--search") {
            filter.searchText = value;
        } else if (word == "--addressee") {
            filter.addressee = value;
        } else if (word == "--from" && isDay(value)) {
            filter.createdFrom = value;
        } else if (word == "--to" && isDay(value)) {
            filter.createdTo = value;
        } else if (word == "--min" && amount(value)) {
            filter.minAmount = amount(value);
        } else if (word == "--max" && amount(value)) {
            filter.maxAmount = amount(value);
        } else if (word == "--status" && positive && *positive >= 0 && *positive <= 6) {
            filter.status = *positive;
        } else if (word == "--sort" && positive && isSortCode(*positive)) {
            arguments.request.sortCode = *positive;
        } else if (word == "--page" && positive && *positive >= 1 && !page) {
            arguments.request.page = *positive;
            page = true;
        } else if (word == "--per-page" && positive && *positive >= 1 && !perPage) {
            arguments.request.rowsPerPage = *positive;
            perPage = true;
        } else if (word == "--data-root" && !arguments.dataRoot) {
            arguments.dataRoot = pathFromText(value);
        } else {
            return std::nullopt;
        }
    }
    if (page && !perPage) {
        return std::nullopt;
    }
    return arguments;
}

void printPage(const QuotationListPage& page) {
    std::cout << "{\n  \"count\": " << page.count << ",\n  \"page\": " << page.page
              << ",\n  \"pages\": " << page.pages << ",\n  \"rows\": [";
    bool first = true;
    for (const QuotationListRow& row : page.rows) {
        const auto status = parseInteger(row.status);
        std::cout << (first ? "\n" : ",\n") << "    {\"number\": " << jsonString(row.number)
                  << ", \"status\": " << (status ? std::to_string(*status) : "null")
                  << ", \"statusText\": " << jsonString(statusText(row.status))
                  << ", \"addressee\": " << jsonString(row.addressee)
                  << ", \"site\": " << jsonString(row.site)
                  << ", \"workName\": " << jsonString(row.workName)
                  << ", \"amount\": " << jsonAmount(row.amount)
                  << ", \"requester\": " << jsonString(row.requester)
                  << ", \"date\": " << jsonString(row.created) << "}";
        first = false;
    }
    std::cout << (first ? "]\n}\n" : "\n  ]\n}\n");
}

} // namespace

int runList(const std::vector<std::string_view>& words) {
    const auto arguments = parseListArguments(words);
    if (!arguments) {
        std::cerr << "kerbina-cli: wrong arguments for list\n";
        return kUsageError;
    }
    const std::filesystem::path root = arguments->dataRoot ? *arguments->dataRoot : dataRoot();
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        std::cerr << "kerbina-cli: " << pathText(root) << ": データフォルダーがありません。\n";
        return kFailed;
    }
    const std::filesystem::path file = databaseFolder(root) / "kerbinaXe5.db3";
    // Reading must never create an empty database where none is.
    if (!std::filesystem::is_regular_file(file, error)) {
        std::cerr << "kerbina-cli: " << pathText(file) << ": 見積データベースがありません。\n";
        return kFailed;
    }
    QuietPrompt quiet;
    SqliteFileDatabase database(file, quiet);
    // The search index speeds up text searches; without it (a read-only folder) the table is
    // searched directly with the same result.
    const std::unique_ptr<SearchIndex> index =
        openSearchIndex(database, SearchIndex::indexFileFor(file));
    try {
        printPage(readQuotationList(database, arguments->request, index.get()));
    } catch (const DatabaseError& failure) {
        std::cerr << "kerbina-cli: " << databaseFaultMessage(failure) << '\n';
        return kFailed;
    }
    return 0;
}

} // namespace kerbina::cli

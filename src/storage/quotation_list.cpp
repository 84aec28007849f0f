#include "storage/quotation_list.h"

#include "storage/schema.h"
#include "storage/search_index.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kerbina {
namespace {

constexpr std::string_view kListColumns =
    "krbnumber,status,atesaki_1,nwhere,CONSTRACT_1,ALLGTOTAL,OUTTANTO,created";

struct SortOrder {
    int code;
    std::string_view clause;
};

// Rows that tie on the sort column keep one order (by number, in the same direction, so that one
// index per column serves both), so paging never shows a row twice or skips one.
constexpr std::array<SortOrder, 16> kSortOrders = {{
    {0, " order by krbnumber desc"},
    {1, " order by krbnumber asc"},
    {2, " order by atesaki_1 desc, krbnumber desc"},
    {3, " order by atesaki_1 asc, krbnumber asc"},
    {4, " order by nwhere desc, krbnumber desc"},
    {5, " order by nwhere asc, krbnumber asc"},
    {6, " order by CONSTRACT_1 desc, krbnumber desc"},
    {7, " order by CONSTRACT_1 asc, krbnumber asc"},
    {8, " order by ALLGTOTAL desc, krbnumber desc"},
    {9, " order by ALLGTOTAL asc, krbnumber asc"},
    {10, " order by OUTTANTO desc, krbnumber desc"},
    {11, " order by OUTTANTO asc, krbnumber asc"},
    {12, " order by created desc, krbnumber desc"},
    {13, " order by created asc, krbnumber asc"},
    {20, " order by STATUS desc, krbnumber desc"},
    {21, " order by STATUS asc, krbnumber asc"},
}};

} // namespace

bool isSortCode(int code) {
    return std::ranges::any_of(kSortOrders,
                               [code](const SortOrder& order) { return order.code == code; });
}

namespace {

std::string_view sortClause(int code) {
    for (const SortOrder& order : kSortOrders) {
        if (order.code == code) {
            return order.clause;
        }
    }
    return kSortOrders[0].clause;
}

struct Clause {
    std::string sql;
    SqlParams params;

    void add(std::string_view condition) {
        sql += sql.empty() ? " where " : " and ";
        sql += condition;
    }
};

enum class TextMatch {
    Like,      // LIKE over the stored text of the quotation table
    IndexRows, // on the index file: the matching rows are looked up one by one
    IndexTest, // on the index file: the rows are read in list order and each is tested
};

// Filters other than the search text.
bool hasColumnFilters(const QuotationFilter& filter) {
    return !filter.addressee.empty() || !filter.tag.empty() || filter.status ||
           !filter.createdFrom.empty() || !filter.createdTo.empty() || filter.minAmount ||
           filter.maxAmount;
}

// The filter as a where clause; `index` answers the search text unless the match is Like.
Clause filterClause(const QuotationFilter& filter, TextMatch match,
                    const SearchIndex* index = nullptr) {
    Clause clause;
    if (!filter.searchText.empty()) {
        if (match != TextMatch::Like && index != nullptr) {
            clause.add(index->containsCondition(filter.searchText, clause.params,
                                                match == TextMatch::IndexTest));
        } else {
            clause.add("data like ? escape '\\'");
            clause.params.emplace_back(containsPattern(filter.searchText));
        }
    }
    if (!filter.addressee.empty()) {
        clause.add("atesaki_1 = ?");
        clause.params.emplace_back(filter.addressee);
    }
    if (!filter.tag.empty()) {
        clause.add("tag1str = ?");
        clause.params.emplace_back(filter.tag);
    }
    if (filter.status) {
        clause.add("status = ?");
        clause.params.emplace_back(std::to_string(*filter.status));
    }
    // Dates are stored as "yyyy-mm-dd hh:nn:ss", so text order is date order.
    if (!filter.createdFrom.empty()) {
        clause.add("created >= ?");
        clause.params.emplace_back(filter.createdFrom);
    }
    if (!filter.createdTo.empty()) {
        clause.add("created <= ?");
        clause.params.emplace_back(filter.createdTo + " 23:59:59");
    }
    if (filter.minAmount) {
        clause.add("ALLGTOTAL >= ?");
        clause.params.emplace_back(*filter.minAmount);
    }
    if (filter.maxAmount) {
        clause.add("ALLGTOTAL <= ?");
        clause.params.emplace_back(*filter.maxAmount);
    }
    return clause;
}

QuotationListRow listRow(const SqlRow& row) {
    return {row.field(1), row.field(2), row.field(3), row.field(4),
            row.field(5), row.field(6), row.field(7), row.field(8)};
}

// Where the list queries run: on the index file when there is an index (its list table has every
// list column and an index per sort column), brought in step first; else on the quotation table.
// `index` is null for the table.
struct Source {
    std::string_view table;
    SearchIndex* index;
    Database* quotations;

    SqlRows run(std::string_view sql, const SqlParams& params) const {
        return index != nullptr ? index->queryRows(sql, params)
                                : quotations->queryRows(sql, params);
    }
};

template <typename Query> auto onBestSource(Database& quotations, SearchIndex* index, Query query) {
    if (index != nullptr) {
        index->refresh();
        return query(Source{"list", index, &quotations});
    }
    return query(Source{"kerbina", nullptr, &quotations});
}

// How a page is read on the index: a text found in many rows is tested row by row while the rows
// are read in list order (the first page stops early); a rare one looks its rows up.
constexpr long long kManyMatches = 2000;

// `textMatches` is -1 when the number of matching rows is not known.
TextMatch pageMatch(const Source& source, long long textMatches) {
    if (source.index == nullptr) {
        return TextMatch::Like;
    }
    return textMatches < 0 || textMatches >= kManyMatches ? TextMatch::IndexTest
                                                          : TextMatch::IndexRows;
}

Currency amountOf(const std::string& text) {
    try {
        return parseNumber(text);
    } catch (const std::exception&) {
        return Currency();
    }
}

} // namespace

std::string containsPattern(std::string_view text) {
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') {
            pattern += '\\';
        }
        pattern += c;
    }
    pattern += '%';
    return pattern;
}

std::string statusText(std::string_view code) {
    if (code.size() == 1 && code[0] >= '0' && code[0] <= '6') {
        return std::string(kQuotationStatusTexts[static_cast<std::size_t>(code[0] - '0')]);
    }
    return {};
}

QuotationListPage readQuotationList(Database& quotations, const QuotationListRequest& request,
                                    SearchIndex* index) {
    const QuotationFilter& filter = request.filter;
    return onBestSource(quotations, index, [&](const Source& source) {
        QuotationListPage page;
        const long long textMatches =
            source.index != nullptr ? source.index->textMatchCount(filter.searchText).value_or(-1)
                                    : -1;
        if (textMatches >= 0 && !hasColumnFilters(filter)) {
            page.count = textMatches;
        } else {
            const Clause clause = filterClause(
                filter, source.index != nullptr ? TextMatch::IndexRows : TextMatch::Like,
                source.index);
            const SqlRows counted = source.run(
                "select count(*) from " + std::string(source.table) + clause.sql, clause.params);
            page.count = counted.empty() ? 0 : std::stoll(counted.front().field(1));
        }

        long long perPage = request.rowsPerPage > 0 ? request.rowsPerPage : page.count;
        if (perPage <= 0) {
            perPage = 1;
        }
        const long long pages = std::max<long long>(1, (page.count + perPage - 1) / perPage);
        long long current = request.page == 0 ? 1 : request.page;
        if (current < 0 || current > pages) {
            current = pages;
        }
        page.page = static_cast<int>(current);
        page.pages = static_cast<int>(pages);

        // The count, once known, tells the index how best to read the page.
        Clause clause = filterClause(
            filter, pageMatch(source, textMatches >= 0 ? textMatches : page.count), source.index);
        clause.params.emplace_back(perPage);
        clause.params.emplace_back((current - 1) * perPage);
        const SqlRows rows = source.run(
            "select " + std::string(kListColumns) + " FROM " + std::string(source.table) +
                clause.sql + std::string(sortClause(request.sortCode)) + " limit ? offset ?",
            clause.params);
        for (const SqlRow& row : rows) {
            page.rows.push_back(listRow(row));
            page.pageTotal += amountOf(page.rows.back().amount);
        }
        page.canGoBack = page.count > 0 && current > 1;
        page.canGoForward = page.count > 0 && current < pages;
        page.countText = page.count == 0
                             ? "0件 0/0"
                             : std::to_string(page.count) + "件 " + std::to_string(current) + "/" +
                                   std::to_string(pages);
        return page;
    });
}

std::vector<QuotationListRow> readAllQuotationRows(Database& quotations,
                                                   const QuotationFilter& filter, int sortCode,
                                                   SearchIndex* index) {
    return onBestSource(quotations, index, [&](const Source& source) {
        const Clause clause = filterClause(
            filter, source.index != nullptr ? TextMatch::IndexRows : TextMatch::Like, source.index);
        std::vector<QuotationListRow> result;
        for (const SqlRow& row : source.run("select " + std::string(kListColumns) + " FROM " +
                                                std::string(source.table) + clause.sql +
                                                std::string(sortClause(sortCode)),
                                            clause.params)) {
            result.push_back(listRow(row));
        }
        return result;
    });
}

namespace {

// The distinct non-empty values of a column, the one saved most recently first.
std::vector<std::string> distinctTexts(Database& quotations, SearchIndex* index,
                                       std::string_view column) {
    return onBestSource(quotations, index, [&](const Source& source) {
        std::vector<std::string> texts;
        for (const SqlRow& row :
             source.run("SELECT " + std::string(column) + " FROM " + std::string(source.table) +
                            " GROUP BY " + std::string(column) + " ORDER BY max(modified) desc, " +
                            std::string(column),
                        {})) {
            if (!row.field(1).empty()) {
                texts.push_back(row.field(1));
            }
        }
        return texts;
    });
}

} // namespace

std::vector<std::string> listedAddressees(Database& quotations, SearchIndex* index) {
    return distinctTexts(quotations, index, "atesaki_1");
}

std::vector<std::string> listedTags(Database& quotations, SearchIndex* index) {
    return distinctTexts(quotations, index, "tag1str");
}

namespace {

// One grid column: its title and sort codes; `field` picks its cell from a row.
struct ColumnSpec {
    std::string_view title; // empty for the settings' [TITLE1] / [TITLE2]
    int titleKey;           // 1 or 2 for those titles, else 0
    int descendingCode;
    int ascendingCode;
    std::string QuotationListRow::*field;
};

constexpr std::array<ColumnSpec, 9> kAddresseeLayout = {{
    {"No", 0, -1, -1, &QuotationListRow::status},
    {"見積番号", 0, 0, 1, &QuotationListRow::number},
    {"ステータス", 0, 20, 21, &QuotationListRow::status},
    {"宛  先  名  称", 0, 2, 3, &QuotationListRow::addressee},
    {{}, 2, 4, 5, &QuotationListRow::workName},
    {{}, 1, 6, 7, &QuotationListRow::site},
    {"金    額", 0, 8, 9, &QuotationListRow::amount},
    {"御依頼者", 0, 10, 11, &QuotationListRow::requester},
    {"日  付", 0, 12, 13, &QuotationListRow::created},
}};

std::vector<ColumnSpec> layout(bool showAddressee) {
    std::vector<ColumnSpec> columns(kAddresseeLayout.begin(), kAddresseeLayout.end());
    if (!showAddressee) {
        columns.erase(columns.begin() + 3);
    }
    return columns;
}

} // namespace

std::vector<ListColumn> listColumns(bool showAddressee, std::string_view title1,
                                    std::string_view title2, int sortCode) {
    std::vector<ListColumn> columns;
    for (const ColumnSpec& spec : layout(showAddressee)) {
        ListColumn column{std::string(spec.titleKey == 1   ? title1
                                      : spec.titleKey == 2 ? title2
                                                           : spec.title),
                          spec.descendingCode, spec.ascendingCode};
        if (spec.descendingCode >= 0 && sortCode == spec.descendingCode) {
            column.title += "↓";
        } else if (spec.ascendingCode >= 0 && sortCode == spec.ascendingCode) {
            column.title += "↑";
        }
        columns.push_back(std::move(column));
    }
    return columns;
}

int sortCodeAfterClick(bool showAddressee, int column, int sortCode) {
    const std::vector<ColumnSpec> columns = layout(showAddressee);
    if (column <= 0 || column >= static_cast<int>(columns.size())) {
        return sortCode;
    }
    const ColumnSpec& spec = columns[static_cast<std::size_t>(column)];
    return sortCode == spec.descendingCode ? spec.ascendingCode : spec.descendingCode;
}

std::vector<std::string> listCells(const QuotationListRow& row, bool showAddressee) {
    std::vector<std::string> cells;
    const std::vector<ColumnSpec> columns = layout(showAddressee);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        cells.push_back(i == 2 ? statusText(row.status) : row.*(columns[i].field));
    }
    return cells;
}

std::vector<int> defaultListColumnWidths(bool showAddressee) {
    if (showAddressee) {
        return {15, 110, 110, 250, 250, 230, 100, 100, 100};
    }
    return {15, 110, 110, 250, 250, 150, 100, 100};
}

int rowsPerPageOfChoice(int choice, int visibleRows) {
    constexpr std::array<int, 7> kChoices = {0, 100, 200, 300, 500, 1000, 0};
    if (choice == 0) {
        return std::max(1, visibleRows);
    }
    return choice > 0 && choice < static_cast<int>(kChoices.size())
               ? kChoices[static_cast<std::size_t>(choice)]
               : 0;
}

} // namespace kerbina

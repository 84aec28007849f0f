#pragma once

#include "money/currency.h"
#include "storage/database.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

class SearchIndex;

// What the list page shows of the saved quotations: one filter, one sort order, one page.
// Every filter value reaches the database as a bound parameter; the search text is matched
// literally ("%" and "_" are ordinary characters), case as LIKE treats it (ASCII letters alike).
struct QuotationFilter {
    std::string searchText{};    // rows whose stored quotation text contains it; empty = all
    std::string addressee{};     // exact 宛先名称1; empty = all
    std::string tag{};           // exact tag1str; empty = all
    std::optional<int> status{}; // status code 0 to 6; nothing = "すべて"
    std::string createdFrom{};   // 作成日 from this day on, "yyyy-mm-dd"; empty = no bound
    std::string createdTo{};     // 作成日 up to this day, "yyyy-mm-dd"; empty = no bound
    std::optional<Currency> minAmount{}; // 金額 at least
    std::optional<Currency> maxAmount{}; // 金額 at most
};

// Sort codes: 0/1 number desc/asc, 2/3 addressee, 4/5 work name, 6/7 site, 8/9 amount,
// 10/11 requester, 12/13 date, 20/21 status. An unknown code sorts as 0.
inline constexpr int kDefaultSortCode = 0;
// Whether `code` is one of the sort codes above.
bool isSortCode(int code);

struct QuotationListRequest {
    QuotationFilter filter{};
    int sortCode = kDefaultSortCode;
    int page = 1;        // from 1; -1 means the last page; 0 counts as 1
    int rowsPerPage = 0; // 0 = every row on one page ("すべて")
};

struct QuotationListRow {
    std::string number{};
    std::string status{}; // the stored code as text, "0" to "6" (empty when none)
    std::string addressee{};
    std::string workName{};
    std::string site{};
    std::string amount{}; // the stored 金額 text (ALLGTOTAL)
    std::string requester{};
    std::string created{};

    friend bool operator==(const QuotationListRow&, const QuotationListRow&) = default;
};

struct QuotationListPage {
    std::vector<QuotationListRow> rows;
    long long count = 0; // matching rows over all pages
    int page = 1;
    int pages = 1;
    Currency pageTotal;        // 金額 summed over the rows of this page ("合計:")
    bool canGoBack = false;    // "Page -1" and "Top Page"
    bool canGoForward = false; // "Page+1" and "LastPage"
    std::string countText{};   // count + "件 " + page + "/" + pages, "0件 0/0" when empty
};

// Reads one page of the list. With an index, the rows come from the index file (refreshed first,
// so rows written by other programs are found); without an index from the quotation table (the
// search text by a LIKE scan) with the same result. Raises DatabaseError when the quotation
// table or the index cannot be read.
QuotationListPage readQuotationList(Database& quotations, const QuotationListRequest& request,
                                    SearchIndex* index = nullptr);

// Every matching row in list order, without paging (the spreadsheet and CSV exports).
std::vector<QuotationListRow> readAllQuotationRows(Database& quotations,
                                                   const QuotationFilter& filter, int sortCode,
                                                   SearchIndex* index = nullptr);

// The text of a status code ("1" -> "提出済"); empty for anything else.
std::string statusText(std::string_view code);

// The pattern that makes LIKE find `text` literally anywhere: "%" and "_" and the escape
// character "\" are escaped with "\" (use with ESCAPE '\').
std::string containsPattern(std::string_view text);

// The distinct addressees and tags for the side lists, most recently saved first, empty ones
// left out.
std::vector<std::string> listedAddressees(Database& quotations, SearchIndex* index = nullptr);
std::vector<std::string> listedTags(Database& quotations, SearchIndex* index = nullptr);

// ---- The grid's two layouts ----

struct ListColumn {
    std::string title{}; // with "↓" or "↑" on the current sort column
    int descendingCode;  // -1 for the hidden column 0
    int ascendingCode;
};

// The columns of the grid: 8 without the addressee, 9 with it. `title1` and `title2` are the
// captions "[TITLE1]" and "[TITLE2]" of the settings.
std::vector<ListColumn> listColumns(bool showAddressee, std::string_view title1,
                                    std::string_view title2, int sortCode);
// The sort code after a click on a header cell: descending first, the other direction when the
// column already sorts; the same code for column 0.
int sortCodeAfterClick(bool showAddressee, int column, int sortCode);
// The cells of one row in grid column order (column 0 holds the status code).
std::vector<std::string> listCells(const QuotationListRow& row, bool showAddressee);

// Default column widths of the two layouts.
std::vector<int> defaultListColumnWidths(bool showAddressee);

// Rows per page of a choice of the box "1ページの件数": index 0 is the rows visible now,
// then "100", "200", "300", "500", "1000"; "すべて" (index 6) gives 0.
int rowsPerPageOfChoice(int choice, int visibleRows);

} // namespace kerbina

#include "prices/catalogue.h"

#include "base/text.h"
#include "storage/quotation_list.h"

#include <cstdio>

namespace kerbina {

namespace {

constexpr std::string_view kPriceColumns =
    "SELECT ID,GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,Construction,CI,FLAG,NET_Price,Price1,"
    "Fixed_Price,Net_Construction,Present_Construction1,OPT2,OPT3 FROM tanka WHERE GROUPID=?";

int groupCode(PriceGroup group) {
    return static_cast<int>(group);
}

// A stored number as money: NUMERIC columns read back as plain decimals, rounded here to
// 1/10000. A value no money field can hold reads as 0, like an empty one.
Currency storedNumber(const std::string& text) {
    try {
        return parseNumber(text);
    } catch (const UserError&) {
        return {};
    }
}

PriceRecord priceFromRow(const SqlRow& row) {
    PriceRecord price;
    price.id = parseInteger(row.field(1)).value_or(0);
    price.group = static_cast<int>(parseInteger(row.field(2)).value_or(0));
    price.category = row.field(3);
    price.name = row.field(4);
    price.specification = row.field(5);
    price.laborFactor = storedNumber(row.field(6));
    price.unit = row.field(7);
    price.kind = static_cast<int>(parseInteger(row.field(8)).value_or(0));
    price.netPrice = storedNumber(row.field(9));
    price.submittedPrice = storedNumber(row.field(10));
    price.listPrice = storedNumber(row.field(11));
    price.netAdditionalPrice = storedNumber(row.field(12));
    price.submittedAdditionalPrice = storedNumber(row.field(13));
    price.priceKind = storedNumber(row.field(14));
    price.amountText = row.field(15);
    return price;
}

std::vector<PriceRecord> pricesOf(const SqlRows& rows) {
    std::vector<PriceRecord> prices;
    prices.reserve(rows.size());
    for (const SqlRow& row : rows) {
        prices.push_back(priceFromRow(row));
    }
    return prices;
}

} // namespace

std::vector<std::string> priceCategories(Database& database, PriceGroup group) {
    return firstFields(database.queryRows("SELECT CATEGORY FROM tanka WHERE GROUPID=? AND "
                                          "CATEGORY<>'' GROUP BY CATEGORY ORDER BY CATEGORY;",
                                          {groupCode(group)}));
}

std::vector<PriceListEntry> pricesInCategory(Database& database, PriceGroup group,
                                             std::string_view category) {
    std::vector<PriceListEntry> entries;
    for (const SqlRow& row : database.queryRows(
             "SELECT ID,ITEMNAME,ITEMSIZE FROM tanka WHERE GROUPID=? AND CATEGORY=? AND "
             "ITEMNAME<>'' ORDER BY ID;",
             {groupCode(group), category})) {
        entries.push_back({parseInteger(row.field(1)).value_or(0), row.field(2), row.field(3)});
    }
    return entries;
}

std::vector<std::string> priceNames(Database& database, PriceGroup group,
                                    std::string_view category) {
    return firstFields(
        database.queryRows("SELECT ITEMNAME FROM tanka WHERE GROUPID=? AND CATEGORY=? AND "
                           "ITEMNAME<>'' GROUP BY ITEMNAME ORDER BY ITEMNAME;",
                           {groupCode(group), category}));
}

std::vector<PriceListEntry> pricesOfName(Database& database, PriceGroup group,
                                         std::string_view category, std::string_view name) {
    std::vector<PriceListEntry> entries;
    for (const SqlRow& row : database.queryRows(
             "SELECT ID,ITEMNAME,ITEMSIZE FROM tanka WHERE GROUPID=? AND CATEGORY=? AND "
             "ITEMNAME=? ORDER BY ID;",
             {groupCode(group), category, name})) {
        entries.push_back({parseInteger(row.field(1)).value_or(0), row.field(2), row.field(3)});
    }
    return entries;
}

std::optional<PriceRecord> priceRecord(Database& database, PriceGroup group, std::int64_t id) {
    const SqlRows rows =
        database.queryRows(std::string(kPriceColumns) + " AND ID=?;", {groupCode(group), id});
    if (rows.empty()) {
        return std::nullopt;
    }
    return priceFromRow(rows.front());
}

std::vector<PriceRecord> searchCodePrices(Database& database, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const std::string pattern = containsPattern(text);
    return pricesOf(database.queryRows(std::string(kPriceColumns) +
                                           " AND (ITEMNAME LIKE ? ESCAPE '\\' OR ITEMSIZE LIKE "
                                           "? ESCAPE '\\') ORDER BY ID;",
                                       {groupCode(PriceGroup::Code), pattern, pattern}));
}

std::vector<PriceRecord> searchTreePrices(Database& database, std::string_view nameText,
                                          std::string_view specificationText) {
    if (nameText.empty() && specificationText.empty()) {
        return {};
    }
    std::string sql(kPriceColumns);
    SqlParams params{groupCode(PriceGroup::Tree)};
    if (!nameText.empty()) {
        sql += " AND ITEMNAME LIKE ? ESCAPE '\\'";
        params.emplace_back(containsPattern(nameText));
    }
    if (!specificationText.empty()) {
        sql += " AND ITEMSIZE LIKE ? ESCAPE '\\'";
        params.emplace_back(containsPattern(specificationText));
    }
    return pricesOf(database.queryRows(sql + " ORDER BY ID;", params));
}

LineMessage priceLineMessage(const PriceRecord& price, PriceSource source, Currency quantity,
                             int sheetNumber) {
    LineMessage message;
    message.name = price.name;
    message.specification = price.specification;
    message.unit = price.unit;
    message.netPrice = price.netPrice;
    message.submittedPrice = price.submittedPrice;
    message.netAdditionalPrice = price.netAdditionalPrice;
    message.submittedAdditionalPrice = price.submittedAdditionalPrice;
    message.netQuantity = quantity;
    message.submittedQuantity = quantity;
    message.kind = LineKind(price.kind);
    message.laborFactor = price.laborFactor;
    message.mark = sheetNumber;
    if (source == PriceSource::Editor) {
        message.amountText = price.amountText;
    }
    return message;
}

std::string catalogueDateText(std::chrono::year_month_day date) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d/%02u/%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

int registerLinesAsPrices(Database& database, PriceGroup group, std::span<const LineRecord> lines,
                          std::chrono::year_month_day today) {
    const std::string date = catalogueDateText(today);
    int registered = 0;
    for (const LineRecord& line : lines) {
        const std::string nameSpec = withoutLineBreaks(line.nameSpec);
        const std::size_t separator = nameSpec.find(';');
        const std::string name = nameSpec.substr(0, separator);
        // The specification is the second field: an appended line's text ends with ";" too.
        const std::string specification =
            separator == std::string::npos
                ? std::string()
                : nameSpec.substr(separator + 1, nameSpec.find(';', separator + 1) - separator - 1);
        if (name.empty() && specification.empty()) {
            continue;
        }
        if (database.executeOrReport(
                "INSERT INTO tanka(GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,Construction,CI,FLAG,"
                "NET_Price,Price1,Net_Construction,Present_Construction1,OPT3,created,modefied) "
                "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?);",
                {groupCode(group), kRegisteredLinesCategory, name, specification, line.laborFactor,
                 withoutLineBreaks(line.unit), line.kind.code(), line.netPrice, line.submittedPrice,
                 line.netAdditionalPrice, line.submittedAdditionalPrice,
                 withoutLineBreaks(line.amountText), date, date})) {
            ++registered;
        }
    }
    return registered;
}

} // namespace kerbina

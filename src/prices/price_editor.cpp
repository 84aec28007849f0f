#include "prices/price_editor.h"

#include "base/text.h"
#include "records/line_kinds.h"
#include "storage/quotation_list.h"

#include <algorithm>

namespace kerbina {

namespace {

int groupCode(PriceGroup group) {
    return static_cast<int>(group);
}

// The search conditions of the editor's lists. The code editor finds its one text in the name or
// the 仕様; the tree editor its name text in the name and its 仕様 text in the 仕様.
void addSearch(std::string& sql, SqlParams& params, const PriceEditorTable& table,
               const PriceEditorFilter& filter) {
    if (!table.choosesName) {
        if (!filter.search.empty()) {
            sql += " AND (ITEMNAME LIKE ? ESCAPE '\\' OR ITEMSIZE LIKE ? ESCAPE '\\')";
            params.emplace_back(containsPattern(filter.search));
            params.emplace_back(containsPattern(filter.search));
        }
        return;
    }
    if (!filter.search.empty()) {
        sql += " AND ITEMNAME LIKE ? ESCAPE '\\'";
        params.emplace_back(containsPattern(filter.search));
    }
    if (!filter.searchSpecification.empty()) {
        sql += " AND ITEMSIZE LIKE ? ESCAPE '\\'";
        params.emplace_back(containsPattern(filter.searchSpecification));
    }
}

std::string clean(std::string_view text) {
    return withoutLineBreaks(text);
}

} // namespace

std::vector<std::string> editorCategories(Database& database, const PriceEditorTable& table,
                                          const PriceEditorFilter& filter) {
    std::string sql = "SELECT CATEGORY FROM tanka WHERE GROUPID=? AND CATEGORY<>''";
    SqlParams params{groupCode(table.group)};
    if (table.choosesName) {
        addSearch(sql, params, table, filter);
    }
    return firstFields(database.queryRows(sql + " GROUP BY CATEGORY ORDER BY CATEGORY;", params));
}

std::vector<std::string> editorNames(Database& database, const PriceEditorTable& table,
                                     const PriceEditorFilter& filter) {
    std::string sql = "SELECT ITEMNAME FROM tanka WHERE GROUPID=? AND ITEMNAME<>''";
    SqlParams params{groupCode(table.group)};
    if (!filter.category.empty()) {
        sql += " AND CATEGORY=?";
        params.emplace_back(filter.category);
    }
    addSearch(sql, params, table, filter);
    return firstFields(database.queryRows(sql + " GROUP BY ITEMNAME ORDER BY ITEMNAME;", params));
}

std::vector<PriceEditorRow> editorPrices(Database& database, const PriceEditorTable& table,
                                         const PriceEditorFilter& filter) {
    std::string sql = "SELECT ID,ITEMNAME,ITEMSIZE,CI,Price1,NET_Price FROM tanka WHERE GROUPID=?";
    SqlParams params{groupCode(table.group)};
    if (!filter.category.empty()) {
        sql += " AND CATEGORY=?";
        params.emplace_back(filter.category);
    }
    if (table.choosesName && !filter.name.empty()) {
        sql += " AND ITEMNAME=?";
        params.emplace_back(filter.name);
    }
    addSearch(sql, params, table, filter);
    std::vector<PriceEditorRow> rows;
    for (const SqlRow& row : database.queryRows(sql + " ORDER BY ID;", params)) {
        rows.push_back({parseInteger(row.field(1)).value_or(0), row.field(2), row.field(3),
                        row.field(4), parseNumberOrZero(row.field(5)),
                        parseNumberOrZero(row.field(6))});
    }
    return rows;
}

bool addCataloguePrice(Database& database, PriceGroup group, const PriceRecord& price,
                       std::chrono::year_month_day today) {
    const std::string date = catalogueDateText(today);
    return database.executeOrReport(
        "INSERT INTO tanka(GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,Construction,YOSAN,CI,FLAG,"
        "NET_Price,Net_many,Present_many,Price1,Price2,Price3,Price4,Price5,Fixed_Price,"
        "Net_Construction,Present_Construction1,Present_Construction2,Present_Construction3,"
        "Present_Construction4,Present_Construction5,OPT1,OPT2,OPT3,TAG,edit,created,modefied) "
        "VALUES(?,?,?,?,?,0,?,?,?,0,0,?,0,0,0,0,?,?,?,0,0,0,0,0,0,?,'',0,?,?);",
        {groupCode(group), clean(price.category), clean(price.name), clean(price.specification),
         price.laborFactor, clean(price.unit), price.kind, price.netPrice, price.submittedPrice,
         price.listPrice, price.netAdditionalPrice, price.submittedAdditionalPrice,
         clean(price.amountText), date, date});
}

bool updateCataloguePrice(Database& database, PriceGroup group, std::int64_t id,
                          const PriceRecord& price, std::chrono::year_month_day today) {
    return database.executeOrReport(
        "UPDATE tanka SET CATEGORY=?,ITEMNAME=?,ITEMSIZE=?,Construction=?,CI=?,FLAG=?,"
        "NET_Price=?,Price1=?,Price2=0,Price3=0,Price4=0,Price5=0,Fixed_Price=?,"
        "Net_Construction=?,Present_Construction1=?,Present_Construction2=0,"
        "Present_Construction3=0,Present_Construction4=0,Present_Construction5=0,OPT3=?,"
        "modefied=? WHERE GROUPID=? AND ID=?;",
        {clean(price.category), clean(price.name), clean(price.specification), price.laborFactor,
         clean(price.unit), price.kind, price.netPrice, price.submittedPrice, price.listPrice,
         price.netAdditionalPrice, price.submittedAdditionalPrice, clean(price.amountText),
         catalogueDateText(today), groupCode(group), id});
}

bool deleteCataloguePrice(Database& database, PriceGroup group, std::int64_t id) {
    return database.executeOrReport("DELETE FROM tanka WHERE GROUPID=? AND ID=?;",
                                    {groupCode(group), id});
}

std::string priceRecordText(const PriceRecord& price) {
    std::string text = "[code];";
    for (const std::string& field :
         {price.name, price.specification, price.unit, price.netPrice.toString(),
          price.submittedPrice.toString(), std::string("0"), std::string("0"),
          price.netAdditionalPrice.toString(), price.submittedAdditionalPrice.toString(),
          price.laborFactor.toString(), std::to_string(kindToFlagChoice(price.kind)),
          price.amountText}) {
        text += field;
        text += ';';
    }
    return text;
}

LineEntry priceRecordEntry(const PriceRecord& price) {
    LineEntry entry;
    entry.name = price.name;
    entry.specification = price.specification;
    entry.unit = price.unit;
    entry.netPrice = price.netPrice;
    entry.submittedPrice = price.submittedPrice;
    entry.netAdditionalPrice = price.netAdditionalPrice;
    entry.submittedAdditionalPrice = price.submittedAdditionalPrice;
    entry.laborFactor = price.laborFactor;
    entry.flagChoice = kindToFlagChoice(price.kind);
    entry.amountText = price.amountText;
    return entry;
}

} // namespace kerbina

#include "prices/price_list.h"

#include "base/csv_text.h"
#include "base/file_io.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "storage/sqlite_connection.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace kerbina {

namespace {

using PriceKey = std::tuple<std::string, std::string, std::string>; // category, name, spec

struct StoredPrice {
    std::int64_t id = 0;
    PriceRecord price;
};

// The catalogue rows of a group by category, name and specification: the first of equal ones.
std::map<PriceKey, StoredPrice> storedPrices(Database& database, PriceGroup group) {
    std::map<PriceKey, StoredPrice> stored;
    for (const SqlRow& row : database.queryRows(
             "SELECT ID,CATEGORY,ITEMNAME,ITEMSIZE,CI,NET_Price,Price1,Fixed_Price,Construction "
             "FROM tanka WHERE GROUPID=? ORDER BY ID;",
             {static_cast<int>(group)})) {
        StoredPrice entry;
        entry.id = parseInteger(row.field(1)).value_or(0);
        PriceRecord& price = entry.price;
        price.category = row.field(2);
        price.name = row.field(3);
        price.specification = row.field(4);
        price.unit = row.field(5);
        const auto number = [&](std::size_t n) {
            try {
                return parseNumber(row.field(n));
            } catch (const UserError&) {
                return Currency();
            }
        };
        price.netPrice = number(6);
        price.submittedPrice = number(7);
        price.listPrice = number(8);
        price.laborFactor = number(9);
        stored.try_emplace({price.category, price.name, price.specification}, entry);
    }
    return stored;
}

bool sameValues(const PriceRecord& a, const PriceRecord& b) {
    return a.unit == b.unit && a.netPrice == b.netPrice && a.submittedPrice == b.submittedPrice &&
           a.listPrice == b.listPrice && a.laborFactor == b.laborFactor;
}

// The row's values, or the reason it is refused.
std::string readRow(const PriceListFileRow& row, const std::string& category, PriceRecord& price) {
    price.category = row.category.empty() ? category : row.category;
    price.name = withoutLineBreaks(row.name);
    price.specification = withoutLineBreaks(row.specification);
    price.unit = withoutLineBreaks(row.unit);
    price.category = withoutLineBreaks(price.category);
    if (price.name.empty()) {
        return "名称がありません。";
    }
    const struct {
        const std::string& text;
        int width;
        std::string_view caption;
    } texts[] = {{price.name, kPriceTextWidth, "名称"},
                 {price.specification, kPriceTextWidth, "仕様"},
                 {price.unit, kPriceUnitWidth, "単位"},
                 {price.category, kPriceTextWidth, "カテゴリー"}};
    for (const auto& [text, width, caption] : texts) {
        if (cp932Length(text) > width) {
            return std::string(caption) + "が長すぎます（" + std::to_string(width) +
                   "バイトまで）。";
        }
    }
    const struct {
        const std::string& text;
        Currency& value;
        std::string_view caption;
    } numbers[] = {{row.netPrice, price.netPrice, "仕切単価"},
                   {row.submittedPrice, price.submittedPrice, "提出単価"},
                   {row.listPrice, price.listPrice, "定価"},
                   {row.laborFactor, price.laborFactor, "歩掛"}};
    for (const auto& [text, value, caption] : numbers) {
        try {
            value = parseNumber(text);
        } catch (const UserError&) {
            return std::string(caption) + "が数値ではありません（" + excerpt(text, 20) + "）。";
        }
    }
    return {};
}

} // namespace

int PriceListPreview::count(PriceListAction action) const {
    return static_cast<int>(std::count_if(rows.begin(), rows.end(),
                                          [&](const auto& row) { return row.action == action; }));
}

PriceListPreview previewPriceList(Database& database, PriceGroup group, const std::string& category,
                                  const std::vector<PriceListFileRow>& rows) {
    PriceListPreview preview;
    preview.group = group;
    const std::map<PriceKey, StoredPrice> stored = storedPrices(database, group);
    std::map<PriceKey, int> earlierLines;
    for (const PriceListFileRow& row : rows) {
        PriceListPreviewRow planned;
        planned.line = row.line;
        planned.price.group = static_cast<int>(group);
        planned.reason = readRow(row, category, planned.price);
        const PriceKey key{planned.price.category, planned.price.name, planned.price.specification};
        if (planned.reason.empty()) {
            if (const auto earlier = earlierLines.find(key); earlier != earlierLines.end()) {
                planned.reason = "同じカテゴリー・名称・仕様の行が" +
                                 std::to_string(earlier->second) + "行目にあります。";
            }
        }
        if (!planned.reason.empty()) {
            planned.action = PriceListAction::Refuse;
        } else if (const auto match = stored.find(key); match != stored.end()) {
            planned.id = match->second.id;
            planned.action = sameValues(match->second.price, planned.price)
                                 ? PriceListAction::Unchanged
                                 : PriceListAction::Update;
        }
        if (planned.action != PriceListAction::Refuse) {
            earlierLines.emplace(key, row.line);
        }
        preview.rows.push_back(std::move(planned));
    }
    return preview;
}

void applyPriceList(const std::filesystem::path& databaseFile, const PriceListPreview& preview,
                    std::chrono::year_month_day today) {
    const std::string date = catalogueDateText(today);
    SqliteConnection connection(databaseFile, SqliteOpenMode::ReadWrite);
    connection.requireWritable();
    connection.setBusyTimeout(SqliteFileDatabase::kBusyTimeout);
    SqliteTransaction transaction(connection);
    SqliteStatement insert = connection.prepare(
        "INSERT INTO tanka(GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,Construction,YOSAN,CI,FLAG,"
        "NET_Price,Net_many,Present_many,Price1,Price2,Price3,Price4,Price5,Fixed_Price,"
        "Net_Construction,Present_Construction1,Present_Construction2,Present_Construction3,"
        "Present_Construction4,Present_Construction5,OPT1,OPT2,OPT3,TAG,edit,created,modefied) "
        "VALUES(?,?,?,?,?,0,?,?,?,0,0,?,0,0,0,0,?,0,0,0,0,0,0,0,0,'','',0,?,?);");
    SqliteStatement update =
        connection.prepare("UPDATE tanka SET CI=?,NET_Price=?,Price1=?,Fixed_Price=?,"
                           "Construction=?,modefied=? WHERE ID=?;");
    for (const PriceListPreviewRow& row : preview.rows) {
        const PriceRecord& p = row.price;
        if (row.action == PriceListAction::Add) {
            insert.run({static_cast<int>(preview.group), p.category, p.name, p.specification,
                        p.laborFactor, p.unit, LineKind::WholePriced.code(), p.netPrice,
                        p.submittedPrice, p.listPrice, date, date});
        } else if (row.action == PriceListAction::Update) {
            update.run(
                {p.unit, p.netPrice, p.submittedPrice, p.listPrice, p.laborFactor, date, row.id});
        }
    }
    transaction.commit();
}

void exportPriceList(Database& database, PriceGroup group, const std::filesystem::path& file) {
    std::vector<std::string> header(std::begin(kPriceListHeader), std::end(kPriceListHeader));
    std::string text = csvLine(header) + "\r\n";
    for (const SqlRow& row : database.queryRows(
             "SELECT ITEMNAME,ITEMSIZE,CI,NET_Price,Price1,Fixed_Price,Construction,CATEGORY "
             "FROM tanka WHERE GROUPID=? ORDER BY ID;",
             {static_cast<int>(group)})) {
        std::vector<std::string> values = row.columns;
        for (std::size_t n = 3; n <= 6; ++n) {
            try {
                values[n] = parseNumber(values[n]).toString();
            } catch (const UserError&) {
                values[n] = "0";
            }
        }
        text += csvLine(values) + "\r\n";
    }
    writeFileAtomically(file, toCp932(text));
}

} // namespace kerbina

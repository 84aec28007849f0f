#include "prices/calculated_price.h"

#include "base/text.h"
#include "prices/catalogue.h"
#include "records/kinds.h"
#include "records/line_kinds.h"
#include "storage/quotation_list.h"

#include <algorithm>

namespace kerbina {

namespace {

constexpr int kCalculatedGroup = static_cast<int>(PriceGroup::Calculated);
// A rate above this many percent is taken for a typing mistake.
constexpr std::int64_t kLargestRate = 500;
constexpr CalculationTypeTexts kTypeTexts[] = {
    {"選択範囲に対して単価計算", "選択範囲に対して単価計算", "掛率仕切(%)", "掛率提出(%)"},
    {"選択範囲に対して歩掛計算", "選択範囲に対して歩掛計算", "歩掛単価仕切(\\)",
     "歩掛単価提出(\\)"},
    {"選択範囲に対して付帯単価計算", "選択範囲に対して付帯単価計算", "掛率仕切(%)", "掛率提出(%)"},
    {"計算単価を通常単価で使用", "計算単価用の名称を通常使用", "仕   切", "提   出"},
};

// Kinds 50 to 79 end the range of a calculated line below them.
bool endsCalculatedRange(LineKind kind) {
    return kind.code() >= 50 && kind.code() <= 79;
}

bool refusesRate(const CalculatedEntry& entry) {
    const Currency largest = Currency::fromWhole(kLargestRate);
    return (entry.type == CalculationType::Rate || entry.type == CalculationType::AdditionalRate) &&
           (entry.netValue > largest || entry.submittedValue > largest);
}

CalculatedPrice calculatedPriceFromRow(const SqlRow& row) {
    CalculatedPrice price;
    price.id = parseInteger(row.field(1)).value_or(0);
    price.category = row.field(2);
    price.name = row.field(3);
    price.specification = row.field(4);
    price.unit = row.field(5);
    price.netRate = parseNumberOrZero(row.field(6));
    price.submittedRate = parseNumberOrZero(row.field(7));
    price.priceKind = parseNumberOrZero(row.field(8)).isZero() ? 0 : 1;
    price.note = row.field(9);
    return price;
}

constexpr std::string_view kCalculatedColumns =
    "SELECT ID,CATEGORY,ITEMNAME,ITEMSIZE,CI,NET_Price,Price1,OPT2,OPT3 FROM tanka WHERE GROUPID=?";

// The category a price is stored under: asked, with `proposed` filled in. Nothing when the name
// is missing (said) or the question is cancelled.
std::optional<std::string> askedCategory(UserPrompt& prompt, const CalculatedPrice& price,
                                         std::string_view proposed) {
    if (price.name.empty()) {
        prompt.notify("名称を入力してください");
        return std::nullopt;
    }
    std::string category(proposed);
    if (!prompt.askText("カテゴリー名を入力してください。", category)) {
        return std::nullopt;
    }
    return withoutLineBreaks(category);
}

} // namespace

const CalculationTypeTexts& calculationTypeTexts(CalculationType type) {
    const int index = std::clamp(static_cast<int>(type), 1, 4) - 1;
    return kTypeTexts[index];
}

std::optional<LineKind> calculationBaseKind(CalculationType type) {
    switch (type) {
    case CalculationType::Rate:
        return LineKind::RangeAmountTimesRate;
    case CalculationType::Labour:
        return LineKind::RangeLaborTimesPrice;
    case CalculationType::AdditionalRate:
        return LineKind::RangeAdditionalTimesRate;
    case CalculationType::PlainLine:
        break;
    }
    return std::nullopt;
}

CalculatedOpening openCalculatedLine(const DocumentState& state, bool listMode,
                                     Selection selection) {
    CalculatedOpening opening;
    if (listMode) {
        opening.refusal = "現在は内訳モードです。";
        return opening;
    }
    const int row = selection.bottom;
    if (row <= 1) {
        opening.refusal = "計算単価は先頭行に入力することはできません。";
        return opening;
    }
    int first = 1;
    for (int above = std::min(row - 1, state.lineCount()); above >= 1; --above) {
        if (endsCalculatedRange(state.sheet[static_cast<std::size_t>(above)].kind)) {
            first = above + 1;
            break;
        }
    }
    opening.row = row;
    opening.range = {first, row - 1};
    return opening;
}

CalculatedEntry calculatedEntryFromLine(const LineRecord& line) {
    CalculatedEntry entry;
    const int code = line.kind.code();
    entry.type = isRangeLaborTimesPrice(line.kind)       ? CalculationType::Labour
                 : isRangeAdditionalTimesRate(line.kind) ? CalculationType::AdditionalRate
                                                         : CalculationType::Rate;
    entry.group = code % 10;
    auto [name, specification] = splitNameSpec(line.nameSpec);
    entry.name = std::move(name);
    entry.specification = std::move(specification);
    // An appended line keeps a closing ";" after its 仕様.
    if (entry.specification.ends_with(';')) {
        entry.specification.pop_back();
    }
    entry.unit = line.unit;
    entry.netValue = line.netPrice;
    entry.submittedValue = line.submittedPrice;
    entry.note = line.note;
    entry.priceKindChoice = line.priceKind.isZero() ? 0 : 1;
    const auto [first, last] = rangeOf(line);
    entry.range = {first, last};
    const std::int64_t level = line.laborFactor.wholePart();
    entry.roundingLevel = level >= 0 && level <= 9 ? static_cast<int>(level) : 0;
    return entry;
}

CalculatedOutcome calculatedLineMessage(const CalculatedEntry& entry) {
    if (refusesRate(entry)) {
        return {std::nullopt, "%の値が大きすぎます。"};
    }
    if (entry.name.find(';') != std::string::npos ||
        entry.specification.find(';') != std::string::npos) {
        return {std::nullopt, "名称、仕様に\";\"は使用できません。"};
    }
    LineMessage message;
    message.name = entry.name;
    message.specification = entry.specification;
    message.unit = entry.unit;
    message.netPrice = entry.netValue;
    message.submittedPrice = entry.submittedValue;
    message.groupCode = sortCodeOfGroup(1);
    message.note = entry.note;
    message.priceKind = Currency::fromWhole(entry.priceKindChoice);
    if (const auto base = calculationBaseKind(entry.type)) {
        message.messageName = "WM_CALCDATA";
        message.kind = LineKind(base->code() + std::clamp(entry.group, 0, 6));
        message.netQuantity = Currency::fromWhole(entry.range.first);
        message.submittedQuantity = Currency::fromWhole(entry.range.last);
        message.laborFactor = Currency::fromWhole(std::clamp(entry.roundingLevel, 0, 9));
    } else {
        // A plain line has no rounding level: its labour factor is a labour factor.
        message.messageName = "WM_DATAWRITE";
        message.kind = flagChoiceToKind(entry.kindChoice);
        message.netQuantity = entry.netQuantity;
        message.submittedQuantity = entry.submittedQuantity;
    }
    return {message, {}};
}

CommandResult writeCalculatedLine(GridContext& context, int row, const LineMessage& message,
                                  CalculatedWrite write) {
    return writeLineFromMessage(context, Selection{row, row}, message,
                                write == CalculatedWrite::NewLine ? LineWriteMode::InsertFirst
                                                                  : LineWriteMode::Overwrite,
                                AfterWrite::Save, false);
}

std::vector<std::string> calculatedPriceCategories(Database& database) {
    return priceCategories(database, PriceGroup::Calculated);
}

std::vector<CalculatedPrice> calculatedPrices(Database& database, std::string_view category,
                                              std::string_view search) {
    std::string sql(kCalculatedColumns);
    SqlParams params{kCalculatedGroup};
    if (!category.empty()) {
        sql += " AND CATEGORY=?";
        params.emplace_back(category);
    }
    if (!search.empty()) {
        sql += " AND (ITEMNAME LIKE ? ESCAPE '\\' OR ITEMSIZE LIKE ? ESCAPE '\\')";
        const std::string pattern = containsPattern(search);
        params.emplace_back(pattern);
        params.emplace_back(pattern);
    }
    std::vector<CalculatedPrice> prices;
    for (const SqlRow& row : database.queryRows(sql + " ORDER BY ID;", params)) {
        prices.push_back(calculatedPriceFromRow(row));
    }
    return prices;
}

std::optional<CalculatedPrice> calculatedPrice(Database& database, std::int64_t id) {
    const SqlRows rows =
        database.queryRows(std::string(kCalculatedColumns) + " AND ID=?;", {kCalculatedGroup, id});
    if (rows.empty()) {
        return std::nullopt;
    }
    return calculatedPriceFromRow(rows.front());
}

std::optional<std::int64_t> addCalculatedPrice(Database& database, UserPrompt& prompt,
                                               const CalculatedPrice& price,
                                               std::string_view proposedCategory,
                                               std::chrono::year_month_day today) {
    const auto category = askedCategory(prompt, price, proposedCategory);
    if (!category) {
        return std::nullopt;
    }
    const std::string date = catalogueDateText(today);
    const Currency zero;
    if (!database.executeOrReport(
            "INSERT INTO tanka(GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,Construction,YOSAN,CI,FLAG,"
            "NET_Price,Net_many,Present_many,Price1,Price2,Price3,Price4,Price5,Fixed_Price,"
            "Net_Construction,Present_Construction1,Present_Construction2,Present_Construction3,"
            "Present_Construction4,Present_Construction5,OPT1,OPT2,OPT3,TAG,edit,created,modefied) "
            "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);",
            {kCalculatedGroup,
             *category,
             withoutLineBreaks(price.name),
             withoutLineBreaks(price.specification),
             zero,
             zero,
             withoutLineBreaks(price.unit),
             0,
             price.netRate,
             zero,
             zero,
             price.submittedRate,
             zero,
             zero,
             zero,
             zero,
             zero,
             zero,
             zero,
             zero,
             zero,
             zero,
             zero,
             zero,
             price.priceKind,
             withoutLineBreaks(price.note),
             "",
             0,
             date,
             date})) {
        return std::nullopt;
    }
    return parseInteger(
        database.queryRows("SELECT max(ID) FROM tanka WHERE GROUPID=?;", {kCalculatedGroup})
            .front()
            .field(1));
}

bool updateCalculatedPrice(Database& database, UserPrompt& prompt, const CalculatedPrice& price,
                           std::string_view proposedCategory) {
    const auto category = askedCategory(prompt, price, proposedCategory);
    if (!category) {
        return false;
    }
    return database.executeOrReport(
        "UPDATE tanka SET CATEGORY=?,ITEMNAME=?,ITEMSIZE=?,CI=?,NET_Price=?,Price1=?,OPT2=?,OPT3=? "
        "WHERE GROUPID=? AND ID=?;",
        {*category, withoutLineBreaks(price.name), withoutLineBreaks(price.specification),
         withoutLineBreaks(price.unit), price.netRate, price.submittedRate, price.priceKind,
         withoutLineBreaks(price.note), kCalculatedGroup, price.id});
}

bool deleteCalculatedPrice(Database& database, UserPrompt& prompt, std::int64_t id) {
    if (!prompt.askYesNo("削除していいですか")) {
        return false;
    }
    return database.executeOrReport("DELETE FROM tanka WHERE GROUPID=? AND ID=?;",
                                    {kCalculatedGroup, id});
}

std::optional<std::string> renameCalculatedCategory(Database& database, UserPrompt& prompt,
                                                    const std::string& category) {
    std::string renamed = category;
    if (!prompt.askText("変更するカテゴリー名を入力してください。", renamed)) {
        return std::nullopt;
    }
    renamed = withoutLineBreaks(renamed);
    if (renamed.empty() || renamed == category ||
        !prompt.askYesNo("「" + renamed + "」に変更していいですか")) {
        return std::nullopt;
    }
    if (!database.executeOrReport("UPDATE tanka SET CATEGORY=? WHERE GROUPID=? AND CATEGORY=?;",
                                  {renamed, kCalculatedGroup, category})) {
        return std::nullopt;
    }
    return renamed;
}

} // namespace kerbina

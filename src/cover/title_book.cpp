#include "cover/title_book.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "cover/cover_fields.h"

#include <algorithm>
#include <stdexcept>

namespace kerbina {
namespace {

// The KIND of the addressees this book creates.
constexpr int kAddresseeRowKind = 2;

std::int64_t number(const std::string& text) {
    return parseInteger(text, IntegerText::Lenient).value_or(0);
}

std::int64_t masterFlag(std::string_view kind) {
    if (!isMasterKind(kind)) {
        throw std::invalid_argument("unknown list kind");
    }
    return kind[0] - '0';
}

TitleEntry addresseeOf(const SqlRow& row) {
    // ID, NAMAE1, keisho, sex, club, class, companyid, tagchr1
    return TitleEntry{number(row.field(1)), row.field(2),         row.field(3),
                      row.field(5),         number(row.field(6)), number(row.field(4)),
                      row.field(8),         number(row.field(7))};
}

constexpr std::string_view kAddresseeColumns =
    "SELECT ID,NAMAE1,keisho,sex,club,class,companyid,tagchr1 FROM address";

TitleEntry masterItemOf(const SqlRow& row) {
    // ID, data1, KEISYO, HEADER, KETA, NUMBER, TAG
    return TitleEntry{number(row.field(1)), row.field(2),         row.field(3), row.field(4),
                      number(row.field(5)), number(row.field(6)), row.field(7), 0};
}

constexpr std::string_view kMasterColumns =
    "SELECT ID,data1,KEISYO,HEADER,KETA,NUMBER,TAG FROM masteritems";

} // namespace

bool isAddresseeKind(std::string_view kind) {
    return kind == kAddresseeKind;
}

bool isMasterKind(std::string_view kind) {
    return kind.size() == 1 && kind[0] >= '1' && kind[0] <= '7';
}

bool showsNumberingFields(std::string_view kind, const NumberingOptions& numbering) {
    return isAddresseeKind(kind) && numbering.automatic && numbering.perCustomer;
}

std::string editBoxHeading(std::string_view kind, const NumberingOptions& numbering,
                           const std::string& pickerHeading) {
    return showsNumberingFields(kind, numbering)
               ? "見積番号の先頭記号を入力して下さい[得意先別管理用]"
               : pickerHeading;
}

std::vector<std::string> TitleBook::groups(std::string_view kind) {
    const SqlRows rows =
        isAddresseeKind(kind)
            ? addresses_.queryRows("SELECT tagchr1 FROM address group by tagchr1;")
            : quotations_.queryRows("SELECT tag FROM masteritems where flag=? group by tag;",
                                    {masterFlag(kind)});
    std::vector<std::string> groups;
    for (const SqlRow& row : rows) {
        if (!row.field(1).empty()) {
            groups.push_back(row.field(1));
        }
    }
    std::ranges::sort(groups);
    groups.insert(groups.begin(), std::string(kAllGroups));
    return groups;
}

std::vector<TitleEntry> TitleBook::entries(std::string_view kind, std::string_view group) {
    const bool all = group == kAllGroups;
    std::vector<TitleEntry> entries;
    if (isAddresseeKind(kind)) {
        const std::string sql =
            std::string(kAddresseeColumns) + (all ? "" : " where tagchr1=?") + " order by ID;";
        for (const SqlRow& row :
             addresses_.queryRows(sql, all ? SqlParams{} : SqlParams{std::string(group)})) {
            entries.push_back(addresseeOf(row));
        }
        return entries;
    }
    SqlParams params{masterFlag(kind)};
    if (!all) {
        params.emplace_back(std::string(group));
    }
    const std::string sql =
        std::string(kMasterColumns) + " where flag=?" + (all ? "" : " and tag=?") + " order by ID;";
    for (const SqlRow& row : quotations_.queryRows(sql, params)) {
        entries.push_back(masterItemOf(row));
    }
    return entries;
}

std::optional<TitleEntry> TitleBook::entry(std::string_view kind, std::int64_t id) {
    if (isAddresseeKind(kind)) {
        const SqlRows rows =
            addresses_.queryRows(std::string(kAddresseeColumns) + " where ID=?;", {id});
        return rows.empty() ? std::nullopt : std::optional(addresseeOf(rows.front()));
    }
    const SqlRows rows = quotations_.queryRows(
        std::string(kMasterColumns) + " where ID=? and flag=?;", {id, masterFlag(kind)});
    return rows.empty() ? std::nullopt : std::optional(masterItemOf(rows.front()));
}

bool TitleBook::save(std::string_view kind, const TitleEntry& entry, const std::string& now) {
    if (isAddresseeKind(kind)) {
        if (entry.id == 0) {
            return addresses_.executeOrReport(
                "INSERT INTO address(KIND,NAMAE1,keisho,sex,club,class,companyid,tagchr1) "
                "VALUES(?,?,?,?,?,?,?,?);",
                {kAddresseeRowKind, entry.name, entry.honorific, entry.counter, entry.prefix,
                 entry.width, 0, entry.group});
        }
        return addresses_.executeOrReport(
            "UPDATE address SET NAMAE1=?,keisho=?,sex=?,club=?,class=?,tagchr1=? WHERE ID=?;",
            {entry.name, entry.honorific, entry.counter, entry.prefix, entry.width, entry.group,
             entry.id});
    }
    if (entry.id == 0) {
        return quotations_.executeOrReport(
            "INSERT INTO masteritems(FLAG,data1,data2,TAG,KEISYO,TANKALEVEL,HEADER,KETA,NUMBER,"
            "created,modefied) VALUES(?,?,?,?,?,?,?,?,?,?,?);",
            {masterFlag(kind), entry.name, "", entry.group, entry.honorific, 0, entry.prefix,
             entry.width, entry.counter, now, now});
    }
    return quotations_.executeOrReport(
        "UPDATE masteritems SET data1=?,data2=?,TAG=?,KEISYO=?,TANKALEVEL=?,HEADER=?,KETA=?,"
        "NUMBER=?,modefied=? WHERE ID=? and flag=?;",
        {entry.name, "", entry.group, entry.honorific, 0, entry.prefix, entry.width, entry.counter,
         now, entry.id, masterFlag(kind)});
}

bool TitleBook::remove(std::string_view kind, std::int64_t id) {
    if (isAddresseeKind(kind)) {
        return addresses_.executeOrReport("DELETE FROM address WHERE ID=?;", {id});
    }
    return quotations_.executeOrReport("DELETE FROM masteritems WHERE ID=? and flag=?;",
                                       {id, masterFlag(kind)});
}

std::string pickedText(const TitleEntry& entry) {
    return fitToWidth(entry.name, kPickTextWidth);
}

} // namespace kerbina

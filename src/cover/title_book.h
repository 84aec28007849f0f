#pragma once

#include "settings/environment_settings.h"
#include "storage/database.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The lists a cover field can be picked from: the addressee book (the `address` table of the
// address database, grouped by `tagchr1`, each customer with its own quotation-number counter)
// and seven master lists of texts (the `masteritems` table of the quotation database, told apart
// by FLAG "1".."7", grouped by `TAG`).
inline constexpr std::string_view kAddresseeKind = "宛先";
// The first group of every list: all entries of the kind.
inline constexpr std::string_view kAllGroups = "すべて";

bool isAddresseeKind(std::string_view kind);
// A master list kind is one of "1" to "7".
bool isMasterKind(std::string_view kind);

// One entry of a list. For an addressee: ID, NAMAE1, keisho, the numbering prefix `club`, width
// `class`, counter `sex`, `tagchr1`, `companyid`; for a master item: ID, data1, KEISYO, HEADER,
// KETA, NUMBER, TAG.
struct TitleEntry {
    std::int64_t id = 0; // 0: not stored yet
    std::string name;
    std::string honorific;
    std::string prefix;
    std::int64_t width = 0;
    std::int64_t counter = 0;
    std::string group;
    std::int64_t companyId = 0;

    friend bool operator==(const TitleEntry&, const TitleEntry&) = default;
};

// The widest width and the highest counter the edit dialog takes.
inline constexpr int kMaxNumberWidth = 10;
inline constexpr int kMaxNumberCounter = 999999;

// The numbering fields of the edit dialog ("ヘッダー", "見積番号桁", "初期番号") are shown only for
// addressees while automatic and per-customer numbering are both on.
bool showsNumberingFields(std::string_view kind, const NumberingOptions& numbering);
// The heading of the edit dialog: the numbering request when those fields are shown, else the
// picker's heading.
std::string editBoxHeading(std::string_view kind, const NumberingOptions& numbering,
                           const std::string& pickerHeading);

// Reads and writes the lists. Every value is a bound parameter. Queries raise DatabaseError;
// writes report a failure through the database (executeOrReport) and return false.
class TitleBook {
public:
    TitleBook(Database& quotations, Database& addresses)
        : quotations_(quotations), addresses_(addresses) {}

    // The groups of a kind: kAllGroups, then every non-empty group in order.
    std::vector<std::string> groups(std::string_view kind);
    // The entries of a kind in one group (every entry for kAllGroups), in the order stored.
    std::vector<TitleEntry> entries(std::string_view kind, std::string_view group);
    // One entry; nothing when no entry has that id.
    std::optional<TitleEntry> entry(std::string_view kind, std::int64_t id);
    // Stores an entry: a new one (id 0) is inserted, an existing one updated. `now` is the time
    // the master lists keep as created / modified ("YYYY-MM-DD HH:MM:SS"). An addressee keeps its
    // company id.
    bool save(std::string_view kind, const TitleEntry& entry, const std::string& now);
    bool remove(std::string_view kind, std::int64_t id);

private:
    Database& quotations_;
    Database& addresses_;
};

// The text a chosen entry puts into a cover field: its name cut to 100 CP932 bytes.
std::string pickedText(const TitleEntry& entry);

} // namespace kerbina

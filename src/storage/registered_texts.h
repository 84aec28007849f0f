#pragma once

#include "storage/database.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kerbina {

// The registered texts of the selection dialog: rows of the quotation database's `tanka` table
// in a group of their own (40: comments, 30: breakdown item names).
inline constexpr int kCommentTextGroup = 40;
inline constexpr int kItemNameTextGroup = 30;

struct RegisteredText {
    std::int64_t id = 0;
    std::string name;

    friend bool operator==(const RegisteredText&, const RegisteredText&) = default;
};

// The texts of a group in id order. Raises DatabaseError.
std::vector<RegisteredText> registeredTexts(Database& database, int group);
// "新規追加", "修正登録", "削除": false when the statement failed (the database has reported it).
// `date` is the creation or change date as the table keeps it.
bool addRegisteredText(Database& database, int group, const std::string& name,
                       const std::string& date);
bool renameRegisteredText(Database& database, std::int64_t id, const std::string& name,
                          const std::string& date);
bool deleteRegisteredText(Database& database, std::int64_t id);

} // namespace kerbina

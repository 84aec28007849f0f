#include "storage/registered_texts.h"

#include "base/text.h"

namespace kerbina {

std::vector<RegisteredText> registeredTexts(Database& database, int group) {
    std::vector<RegisteredText> texts;
    for (const SqlRow& row : database.queryRows(
             "SELECT id,itemname FROM tanka where GROUPID=? order by id;", {group})) {
        texts.push_back(RegisteredText{parseInteger(row.field(1)).value_or(0), row.field(2)});
    }
    return texts;
}

bool addRegisteredText(Database& database, int group, const std::string& name,
                       const std::string& date) {
    return database.executeOrReport(
        "INSERT INTO tanka (GROUPID,ITEMNAME,created,modefied) VALUES(?,?,?,?);",
        {group, name, date, date});
}

bool renameRegisteredText(Database& database, std::int64_t id, const std::string& name,
                          const std::string& date) {
    return database.executeOrReport("UPDATE tanka SET ITEMNAME=?,modefied=? WHERE ID=?;",
                                    {name, date, id});
}

bool deleteRegisteredText(Database& database, std::int64_t id) {
    return database.executeOrReport("DELETE FROM tanka WHERE ID=?;", {id});
}

} // namespace kerbina

#pragma once

#include "storage/database.h"
#include "storage/schema.h"

#include <gtest/gtest.h>
#include <string>

namespace kerbina {

// One saved quotation as a row of the quotation table; only what the list tests look at.
struct StoredQuotation {
    std::string number{};
    std::string addressee{};
    std::string workName{};
    std::string site{};
    std::string amount = "0";
    std::string requester{};
    std::string created = "2024-04-01 00:00:00";
    std::string status = "0";
    std::string tag{};
    std::string data{};
    std::string modified = "2024-04-01 10:00:00";
};

// A quotation text as the program stores it: the header lines, then `body`.
inline std::string quotationText(const std::string& number, const std::string& body) {
    return "<TITLE>\r\n[NUMBER]=" + number +
           "\r\n[ULIMIT]=\r\n[MLIMIT]=\r\n[Opt1Str]=\r\n[DY]=36\r\n[DM]=4\r\n[DD]=1\r\n</TITLE>\r\n"
           "<DATA>\r\n" +
           body + "</DATA>\r\n";
}

inline void createQuotationTables(Database& database) {
    ASSERT_TRUE(createDatabaseTables(database, databaseFileDef(DatabaseFile::Quotation)));
}

inline void insertQuotation(Database& database, const StoredQuotation& row) {
    database.execute("INSERT INTO kerbina(krbnumber,ATESAKI_1,NWHERE,CONSTRACT_1,ALLGTOTAL,"
                     "OUTTANTO,created,status,tag1str,data,NUMBER,modified) "
                     "VALUES(?,?,?,?,?,?,?,?,?,?,?,?)",
                     {row.number, row.addressee, row.workName, row.site, row.amount, row.requester,
                      row.created, row.status, row.tag,
                      row.data.empty() ? quotationText(row.number, "") : row.data, row.number,
                      row.modified});
}

} // namespace kerbina

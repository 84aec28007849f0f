#include "storage/quotation_rows.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace kerbina {
namespace {

// The columns in the order the statements list them (the table's own order).
constexpr std::array<std::string_view, 31> kRowColumns = {
    "krbnumber", "ATESAKI_1", "ATESAKI_2", "CONSTRACT_1", "CONSTRACT_2", "ALLGTOTAL", "ALLNTOTAL",
    "TAXGTOTAL", "TAXNTOTAL", "NWHERE",    "MLIMIT",      "ULIMIT",      "TRADE",     "NUMBER",
    "KEISYO",    "created",   "modified",  "INTANTO",     "OUTTANTO",    "DATALEVEL", "KEYCODE",
    "tag1str",   "tag2str",   "tag3str",   "tag1int",     "tag2int",     "tag3int",   "keta",
    "cutlevel",  "status",    "data",
};

std::string insertStatement() {
    std::string names;
    std::string marks;
    for (const std::string_view column : kRowColumns) {
        names += names.empty() ? "" : ",";
        names += column;
        marks += marks.empty() ? "?" : ",?";
    }
    return "INSERT INTO kerbina(" + names + ") VALUES(" + marks + ")";
}

// One statement that inserts the row or, when the number exists, updates every column but the
// key: no other workstation's write can come between a check and the write.
const std::string& upsertStatement() {
    static const std::string statement = [] {
        std::string text = insertStatement() + " ON CONFLICT(krbnumber) DO UPDATE SET ";
        for (std::size_t i = 1; i < kRowColumns.size(); ++i) {
            text += i == 1 ? "" : ",";
            text += std::string(kRowColumns[i]) + "=excluded." + std::string(kRowColumns[i]);
        }
        return text + ";";
    }();
    return statement;
}

// RETURNING gives a row only when the insert happened.
const std::string& insertOnlyStatement() {
    static const std::string statement =
        insertStatement() + " ON CONFLICT(krbnumber) DO NOTHING RETURNING krbnumber;";
    return statement;
}

// "yyyy-mm-dd hh:nn:ss" from the parts as they are, whether or not they make a real date.
std::string dateTime(int year, int month, int day, int hour, int minute, int second) {
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                  minute, second);
    return text.data();
}

// The status code 0 to 6 the list shows; a quotation that never got one (-1, or a damaged value)
// is listed as a draft (0), the first status of every quotation.
std::string statusText(std::int32_t status) {
    return std::to_string(status >= 0 && status <= 6 ? status : 0);
}

} // namespace

std::string dateTimeText(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    if (const std::tm* converted = std::localtime(&seconds)) {
        local = *converted;
    }
    return dateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min, local.tm_sec);
}

std::string quotationDateText(const QuotationHeader& header) {
    return dateTime(header.storedYear + 1988, header.month, header.day, 0, 0, 0);
}

SqlParams quotationRowValues(const QuotationHeader& header, std::string_view data,
                             std::string_view modified) {
    return {
        header.number,
        header.addressee1,
        header.addressee2,
        header.siteName1,
        header.siteName2,
        header.submittedGrandTotal,
        header.netGrandTotal,
        header.submittedTaxTotal,
        header.netTaxTotal,
        header.workName,
        header.validity,
        header.deliveryDate,
        header.tradeTerms,
        header.number,
        header.honorific,
        quotationDateText(header),
        modified,
        header.author,
        header.requester,
        std::to_string(header.dataLevel),
        std::to_string(header.keyCode),
        header.opt1Str,
        header.opt2Str,
        header.opt3Str,
        std::to_string(header.opt1Int),
        std::to_string(header.opt2Int),
        std::to_string(header.opt3Int),
        std::to_string(header.keta),
        header.cutLevel,
        statusText(header.status),
        data,
    };
}

RowWriteResult writeQuotationRow(Database& quotations, const QuotationHeader& header,
                                 std::string_view data, RowWrite mode,
                                 std::chrono::system_clock::time_point now, UserPrompt& prompt) {
    const SqlParams values = quotationRowValues(header, data, dateTimeText(now));
    try {
        if (mode == RowWrite::InsertOrUpdate) {
            quotations.execute(upsertStatement(), values);
            return RowWriteResult::Written;
        }
        return quotations.queryRows(insertOnlyStatement(), values).empty()
                   ? RowWriteResult::NumberTaken
                   : RowWriteResult::Written;
    } catch (const DatabaseError& error) {
        prompt.reportError(kSqlErrorText, databaseFaultMessage(error));
        return RowWriteResult::Failed;
    }
}

bool quotationRowExists(Database& quotations, std::string_view number) {
    const SqlRows rows =
        quotations.queryRows("select count(krbnumber) from kerbina where krbnumber=?;", {number});
    return !rows.empty() && rows.front().field(1) != "0";
}

std::optional<std::string> storedQuotationText(Database& quotations, std::string_view number) {
    const SqlRows rows =
        quotations.queryRows("SELECT data FROM kerbina where krbnumber=?;", {number});
    if (rows.empty()) {
        return std::nullopt;
    }
    return rows.front().field(1);
}

} // namespace kerbina

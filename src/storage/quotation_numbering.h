#pragma once

#include "base/user_prompt.h"
#include "storage/database.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// Quotation numbers. A number is issued from one of two counters: the quotation database's
// krbconf row 'KERBINA' (columns number, header, keta: last number handed out, prefix, width) or,
// with numbering per customer, the customer's row of the addressee book (sex, club, class). The
// counter is advanced and read back in one statement, so two workstations never receive the same
// number; the stored counter stays an integer, as the settings dialog and older programs write it.

// A quotation number is held in the header's NUMBER field and the kerbina table's krbnumber column:
// at most 12 CP932 bytes.
inline constexpr int kQuotationNumberBytes = 12;

inline constexpr std::string_view kNoCustomerText = "得意先が選択されていません。";
inline constexpr std::string_view kNoCounterRowText =
    "見積番号の採番データ（krbconf の KERBINA 行）がデータベースにありません。"
    "見積番号は取得できませんでした。\n環境設定の「登　録」で採番データを作り直してください。";
inline constexpr std::string_view kNoCustomerRowText =
    "選択されている得意先が住所録にありません。見積番号は取得できませんでした。\n"
    "宛先を住所録から選び直してください。";

// The numbering options stored in the krbconf row's notes ([EDIT_OPT1], [NUMBER_OPT4]).
struct NumberingMode {
    bool automatic = false;   // numbers are issued by the program
    bool perCustomer = false; // from the customer's counter in the addressee book

    friend bool operator==(const NumberingMode&, const NumberingMode&) = default;
};

// prefix + zeros + the decimal counter, the zeros bringing the length in characters up to
// `width`; no zeros when prefix and digits already reach it. Not cut: see fitQuotationNumber.
std::string formatQuotationNumber(std::string_view prefix, std::int64_t counter,
                                  std::int64_t width);
// A number as the header holds it: cut to 12 CP932 bytes at a character boundary.
std::string fitQuotationNumber(std::string_view number);

// Issues the next number: advances the counter and gives prefix + zeros + counter, fitted to
// 12 bytes. Per-customer numbering applies when the option is on; it then needs the customer's
// addressee-book id. Nothing is issued, and the user is told why, when the option asks for a
// customer and `customerId` is empty ("得意先が選択されていません。"), when the counter row or
// the customer's row does not exist, or when the database fails ("ERROR" with the fault).
std::optional<std::string> issueQuotationNumber(Database& quotations, Database& addresses,
                                                const NumberingMode& mode,
                                                std::string_view customerId, UserPrompt& prompt);

} // namespace kerbina

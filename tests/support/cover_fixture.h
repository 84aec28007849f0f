#pragma once

#include "records/records.h"

namespace kerbina {

// A header with every cover field filled, Japanese texts included, dated 31 February (not a real
// date: the cover keeps the integers as they are).
inline QuotationHeader filledCoverHeader() {
    QuotationHeader header;
    header.id = "17";
    header.addressee1 = "株式会社北辰設備";
    header.addressee2 = "東京支店";
    header.honorific = "御中";
    header.siteName1 = "本町三丁目ビル";
    header.siteName2 = "新築工事";
    header.workName = "給排水衛生設備工事";
    header.deliveryDate = "別途協議";
    header.tradeTerms = "従来通り";
    header.validity = "３ヶ月";
    header.requester = "佐藤様";
    header.author = "山田";
    header.number = "NF00042";
    header.opt1Str = "至急";
    header.storedYear = 38;
    header.month = 2;
    header.day = 31;
    header.status = 2;
    return header;
}

} // namespace kerbina

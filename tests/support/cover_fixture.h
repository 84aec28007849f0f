#pragma once

#include "records/records.h"

namespace kerbina {

// A header with every cover field filled, Japanese texts included, dated 31 February (not a real
// date: the cover keeps the integers as they are).
inline QuotationHeader filledCoverHeader() {
    QuotationHeader header;
    header.id = "17";
    header.atesaki1 = "株式会社北辰設備";
    header.atesaki2 = "東京支店";
    header.keisyo = "御中";
    header.constract1 = "本町三丁目ビル";
    header.constract2 = "新築工事";
    header.where = "給排水衛生設備工事";
    header.uLimit = "別途協議";
    header.trade = "従来通り";
    header.mLimit = "３ヶ月";
    header.outTanto = "佐藤様";
    header.inTanto = "山田";
    header.number = "NF00042";
    header.opt1Str = "至急";
    header.dy = 38;
    header.dm = 2;
    header.dd = 31;
    header.status = 2;
    return header;
}

} // namespace kerbina

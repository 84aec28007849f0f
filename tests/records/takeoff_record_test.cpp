#include "base/text_codec.h"
#include "records/record_io.h"
#include "records/takeoff_text.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

// Take-off entries: the 440-byte record of the WITEM<n>.PUP files and the text form of the copy
// files and the <PICKUP> section.

namespace kerbina {
namespace {

Currency raw(std::int64_t value) {
    return Currency::fromRaw(value);
}

std::uint32_t int32At(const TakeoffBytes& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return value;
}

std::int64_t currencyAt(const TakeoffBytes& bytes, std::size_t offset) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        value |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
    }
    return static_cast<std::int64_t>(value);
}

std::string textAt(const TakeoffBytes& bytes, std::size_t offset) {
    return fromCp932(
        std::string_view(reinterpret_cast<const char*>(bytes.data() + offset + 1), bytes[offset]));
}

// Every field with a value of its own, so a field written at another's offset shows.
TakeoffRecord numberedEntry() {
    TakeoffRecord e;
    e.sheet = 3;
    e.origin = 1;
    e.system = 9;
    e.nameSpec = "配管用炭素鋼鋼管;SGP 25A";
    e.laborFactor = raw(1);
    e.sortCode = raw(2);
    e.unit = "ｍ";
    e.kind = 120;
    e.category = 10;
    Currency* currencies[] = {&e.netQuantity,    &e.submittedQuantity, &e.netPrice,
                              &e.submittedPrice, &e.netCompositePrice, &e.submittedCompositePrice,
                              &e.spareValue,     &e.netBaseCost,       &e.submittedBaseCost,
                              &e.netFitting,     &e.submittedFitting,  &e.area,
                              &e.ductValue2,     &e.correction,        &e.ductValue4,
                              &e.ratioPipe,      &e.ratioFitting,      &e.ratioJoint,
                              &e.ratioSupport,   &e.ratioChipping,     &e.ratioOther};
    std::int64_t next = 100;
    for (Currency* value : currencies) {
        *value = raw(next++);
    }
    e.note = "備考";
    e.amountText = "御支給品";
    std::int32_t* integers[] = {&e.ductWidth, &e.ductHeight, &e.ductLength, &e.mode1,
                                &e.mode2,     &e.pipeMode,   &e.place};
    std::int32_t nextInteger = 500;
    for (std::int32_t* value : integers) {
        *value = nextInteger++;
    }
    e.priceCode = "複合単価:0001200";
    return e;
}

TEST(TakeoffRecord, EveryFieldAtItsOffset) {
    const TakeoffRecord entry = numberedEntry();
    const TakeoffBytes bytes = encodeTakeoff(entry);

    EXPECT_EQ(int32At(bytes, 0), 3U);
    EXPECT_EQ(int32At(bytes, 4), 1U);
    EXPECT_EQ(int32At(bytes, 8), 9U);
    EXPECT_EQ(textAt(bytes, 12), "配管用炭素鋼鋼管;SGP 25A");
    EXPECT_EQ(currencyAt(bytes, 120), 1);
    EXPECT_EQ(currencyAt(bytes, 128), 2);
    EXPECT_EQ(textAt(bytes, 136), "ｍ");
    EXPECT_EQ(int32At(bytes, 144), 120U);
    EXPECT_EQ(int32At(bytes, 148), 10U);
    const std::size_t currencyOffsets[] = {152, 160, 168, 176, 184, 192, 248, 256, 264, 272, 280,
                                           336, 344, 352, 360, 368, 376, 384, 392, 400, 408};
    std::int64_t expected = 100;
    for (const std::size_t offset : currencyOffsets) {
        EXPECT_EQ(currencyAt(bytes, offset), expected++) << "offset " << offset;
    }
    EXPECT_EQ(textAt(bytes, 200), "備考");
    EXPECT_EQ(textAt(bytes, 288), "御支給品");
    std::uint32_t expectedInteger = 500;
    for (const std::size_t offset : {304, 308, 312, 316, 320, 324, 328}) {
        EXPECT_EQ(int32At(bytes, offset), expectedInteger++) << "offset " << offset;
    }
    EXPECT_EQ(textAt(bytes, 416), "複合単価:0001200");
    // Alignment padding is written as zero.
    for (const std::size_t offset : {241, 242, 247, 301, 302, 303, 332, 335, 437, 439}) {
        EXPECT_EQ(bytes[offset], 0) << "offset " << offset;
    }

    EXPECT_EQ(decodeTakeoff(bytes), entry);
}

// Generated entries, every field random (texts from a few characters, some wider than their
// field): record → entry → record and text → entry → text give the same bytes.
TEST(TakeoffRecord, WriteReadWriteKeepsTheBytes) {
    std::mt19937_64 random(20261211);
    const auto currency = [&] {
        return raw(static_cast<std::int64_t>(random() % 2000000000000ULL) - 1000000000000LL);
    };
    const auto integer = [&] {
        return static_cast<std::int32_t>(random());
    };
    const auto text = [&](int maxCharacters) {
        static const char* const pieces[] = {"a", "配", "ｍ", "Ⅰ", " ", "1", "；", "〓"};
        std::string result;
        const auto length = static_cast<int>(random() % static_cast<unsigned>(maxCharacters + 1));
        for (int i = 0; i < length; ++i) {
            result += pieces[random() % std::size(pieces)];
        }
        return result;
    };
    for (int round = 0; round < 300; ++round) {
        TakeoffRecord e = numberedEntry();
        e.sheet = integer();
        e.origin = integer();
        e.system = integer();
        e.nameSpec = text(20) + ";" + text(60); // the separator always fits
        e.unit = text(4);
        e.kind = integer();
        e.category = integer();
        e.note = text(30);
        e.amountText = text(10);
        e.priceCode = text(15);
        for (Currency* value : {&e.laborFactor, &e.sortCode, &e.netQuantity, &e.netPrice,
                                &e.submittedCompositePrice, &e.correction, &e.ratioOther}) {
            *value = currency();
        }
        e.ductLength = integer();
        e.place = integer();

        const TakeoffBytes bytes = encodeTakeoff(e);
        EXPECT_EQ(encodeTakeoff(decodeTakeoff(bytes)), bytes) << "round " << round;
        const std::string line = takeoffToText(decodeTakeoff(bytes));
        EXPECT_EQ(takeoffToText(takeoffFromText(line)), line) << line;
        EXPECT_EQ(encodeTakeoff(takeoffFromText(line)), bytes) << line;
    }
}

TEST(TakeoffText, FieldsInRecordOrderEachEndedBySeparator) {
    TakeoffRecord entry = numberedEntry();
    entry.note = "支持;吊り";
    EXPECT_EQ(takeoffToText(entry),
              "3;1;9;配管用炭素鋼鋼管;SGP 25A;0.0001;0.0002;ｍ;120;10;0.01;0.0101;0.0102;0.0103;"
              "0.0104;0.0105;支持；吊り;0.0106;0.0107;0.0108;0.0109;0.011;御支給品;500;501;502;503;"
              "504;505;506;0.0111;0.0112;0.0113;0.0114;0.0115;0.0116;0.0117;0.0118;0.0119;0.012;"
              "複合単価:0001200;");

    // A blank entry still writes its name and its 仕様 as two fields.
    TakeoffRecord blank;
    blank.kind = 113;
    const std::string blankText = takeoffToText(blank);
    EXPECT_EQ(blankText.substr(0, 16), "0;0;0;;;0;0;;113");
    blank.nameSpec = ";"; // read back, as every text-form name, as name ";" specification
    EXPECT_EQ(takeoffFromText(blankText), blank);

    // A short line reads its missing fields as empty; a number field holding text is refused.
    TakeoffRecord shortEntry;
    shortEntry.sheet = 2;
    shortEntry.system = 4;
    shortEntry.nameSpec = "VP;50A";
    shortEntry.kind = 0;
    EXPECT_EQ(takeoffFromText("2;1x;4;VP;50A"), shortEntry);
    EXPECT_THROW(takeoffFromText("2;1;4;VP;50A;abc"), NumberFormatError);
}

} // namespace
} // namespace kerbina

#include "records/record_io.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kerbina {
namespace {

// An expected record image, built byte by byte at the offsets of the record tables.
template <std::size_t Size> class Image {
public:
    std::array<std::uint8_t, Size> bytes{};

    void int32(std::size_t offset, std::int32_t value) {
        little(offset, static_cast<std::uint32_t>(value), 4);
    }
    void currency(std::size_t offset, std::int64_t raw) {
        little(offset, static_cast<std::uint64_t>(raw), 8);
    }
    void text(std::size_t offset, std::string_view cp932) {
        bytes[offset] = static_cast<std::uint8_t>(cp932.size());
        put(offset + 1, cp932);
    }
    void put(std::size_t offset, std::string_view raw) {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            bytes.at(offset + i) = static_cast<std::uint8_t>(raw[i]);
        }
    }

private:
    void little(std::size_t offset, std::uint64_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
};

std::string repeat(std::string_view text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) {
        result += text;
    }
    return result;
}

Currency raw(std::int64_t value) {
    return Currency::fromRaw(value);
}

TEST(RecordIo, LineImage) {
    LineRecord line;
    line.mark = 3;
    line.nameSpec = "a" + repeat("配", 50); // 101 bytes: the half character does not fit
    line.laborFactor = raw(1250);
    line.sortCode = raw(119990000);
    line.unit = "ｍ";
    line.kind = 20;
    line.netQuantity = raw(-125000);
    line.submittedQuantity = raw(125000);
    line.netPrice = raw(0x0102030405060708);
    line.submittedPrice = raw(15000000);
    line.reserved176 = raw(7);
    line.netAdditionalPrice = raw(8);
    line.submittedAdditionalPrice = raw(9);
    line.netAmount = raw(-1);
    line.submittedAmount = raw(11);
    line.flag216 = -2;
    line.hiddenFlag = 93;
    line.priceKind = raw(10000);
    line.amountText = "御支給品";
    line.note = "備考";
    line.priceCode = "P-001";

    Image<kLineRecordSize> expected;
    expected.int32(0, 3);
    expected.text(4, "a" + repeat("\x94\x7A", 49));
    expected.currency(112, 1250);
    expected.currency(120, 119990000);
    expected.text(128, "\x82\x8D");
    expected.int32(136, 20);
    expected.currency(144, -125000);
    expected.currency(152, 125000);
    expected.put(160, "\x08\x07\x06\x05\x04\x03\x02\x01");
    expected.currency(168, 15000000);
    expected.currency(176, 7);
    expected.currency(184, 8);
    expected.currency(192, 9);
    expected.currency(200, -1);
    expected.currency(208, 11);
    expected.int32(216, -2);
    expected.int32(220, 93);
    expected.currency(224, 10000);
    expected.text(232, "\x8C\xE4\x8E\x78\x8B\x8B\x95\x69");
    expected.text(245, "\x94\xF5\x8D\x6C");
    expected.text(286, "P-001");

    EXPECT_EQ(encodeLine(line), expected.bytes);
    LineRecord stored = line;
    stored.nameSpec = "a" + repeat("配", 49);
    EXPECT_EQ(decodeLine(expected.bytes), stored);
}

TEST(RecordIo, ItemImage) {
    ItemRecord item;
    item.kind = 30;
    item.name = "空調設備工事";
    item.submittedTotal = raw(1);
    item.netTotal = raw(2);
    item.submittedTax = raw(3);
    item.laborTotal = raw(4);
    item.setAmountRounding = raw(5000);
    item.setExpenseRounding = raw(9000);
    item.setQuantityDecimals = raw(1000000);
    item.setTotalLevel = raw(10000);
    item.setLaborRounding = raw(0);
    item.subKind = raw(150000);
    item.setTotalRounding = raw(-6);
    item.note = repeat("x", 41);

    Image<kItemRecordSize> expected;
    expected.int32(0, 30);
    expected.text(4, "\x8B\xF3\x92\xB2\x90\xDD\x94\xF5\x8D\x48\x8E\x96");
    for (int i = 0; i < 11; ++i) {
        const std::int64_t values[] = {1, 2, 3, 4, 5000, 9000, 1000000, 10000, 0, 150000, -6};
        expected.currency(112 + 8 * i, values[i]);
    }
    expected.text(200, repeat("x", 40));

    EXPECT_EQ(encodeItem(item), expected.bytes);
    item.note = repeat("x", 40);
    EXPECT_EQ(decodeItem(expected.bytes), item);
}

TEST(RecordIo, HeaderImage) {
    QuotationHeader header;
    header.id = "C0001";
    header.addressee1 = "株式会社";
    header.addressee2 = "A2";
    header.siteName1 = "C1";
    header.siteName2 = "C2";
    header.submittedGrandTotal = raw(110);
    header.netGrandTotal = raw(100);
    header.submittedTaxTotal = raw(10);
    header.netTaxTotal = raw(9);
    header.workName = "W";
    header.validity = "30日";
    header.deliveryDate = "U";
    header.tradeTerms = "T";
    header.number = "2024-0001";
    header.honorific = "御中";
    header.storedYear = 36;
    header.month = 4;
    header.day = 1;
    header.author = "I";
    header.requester = "O";
    header.dataLevel = 2;
    header.keyCode = 5;
    header.opt1Str = "tag";
    header.opt2Str = ",,,";
    header.opt3Str = "free";
    header.opt1Int = 1;
    header.opt2Int = 1;
    header.opt3Int = -7;
    header.keta = 1000;
    header.cutLevel = raw(9000);
    header.status = 6;

    Image<kHeaderRecordSize> expected;
    expected.text(0, "C0001");
    expected.text(13, "\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0");
    expected.text(64, "A2");
    expected.text(115, "C1");
    expected.text(166, "C2");
    expected.currency(224, 110);
    expected.currency(232, 100);
    expected.currency(240, 10);
    expected.currency(248, 9);
    expected.text(256, "W");
    expected.text(307, "30\x93\xFA");
    expected.text(348, "U");
    expected.text(389, "T");
    expected.text(430, "2024-0001");
    expected.text(443, "\x8C\xE4\x92\x86");
    expected.int32(456, 36);
    expected.int32(460, 4);
    expected.int32(464, 1);
    expected.text(468, "I");
    expected.text(489, "O");
    expected.int32(512, 2);
    expected.int32(516, 5);
    expected.text(520, "tag");
    expected.text(601, ",,,");
    expected.text(682, "free");
    expected.int32(764, 1);
    expected.int32(768, 1);
    expected.int32(772, -7);
    expected.int32(776, 1000);
    expected.currency(784, 9000);
    expected.int32(792, 6);

    EXPECT_EQ(encodeHeader(header), expected.bytes);
    EXPECT_EQ(decodeHeader(expected.bytes), header);
}

TEST(RecordIo, DamagedLengthBytesAreClamped) {
    LineRecord line;
    line.note = "n";
    line.priceCode = "p";
    LineBytes bytes = encodeLine(line);
    bytes[245] = 255; // note: 40 bytes of capacity, the priceCode field follows
    bytes[286] = 200; // priceCode: the record ends 5 bytes after its capacity
    std::fill(bytes.begin() + 287, bytes.end(), 'z');
    const LineRecord decoded = decodeLine(bytes);
    EXPECT_EQ(decoded.note, std::string("n") + std::string(39, '\0'));
    EXPECT_EQ(decoded.priceCode, repeat("z", 20));

    HeaderBytes header = encodeHeader(QuotationHeader{});
    header[0] = 13; // [id] would run into the length byte of [ATESAKI_1]
    EXPECT_EQ(decodeHeader(header).id.size(), 12u);
}

TEST(RecordIo, HalfACharacterLeftByAnOlderWriterIsDropped) {
    LineBytes bytes = encodeLine(LineRecord{});
    const std::string cut = "a\x94\x7A\x94"; // "a配" and the lead byte of another character
    bytes[4] = static_cast<std::uint8_t>(cut.size());
    std::copy(cut.begin(), cut.end(), bytes.begin() + 5);
    EXPECT_EQ(decodeLine(bytes).nameSpec, "a配");
}

TEST(RecordIo, HeaderRulesOnDecode) {
    const struct {
        std::int32_t keta, dataLevel, keyCode;
        std::int64_t cutLevel;
        std::int32_t expectedKeta, expectedDataLevel, expectedKeyCode;
        std::int64_t expectedCutLevel;
    } cases[] = {
        {0, 0, 0, 5000, 0, 0, 0, 5000},    {1000, 3, 1, 9000, 1000, 3, 1, 9000},
        {7, -4, 5, 10000, 7, 0, 5, 10000}, {1, 1, 6, 15000, 1, 1, 0, 5000},
        {-1, 0, -1, 0, -1, 0, 0, 0},       {1, 0, 3, 10001, 1, 0, 3, 5000},
    };
    for (const auto& row : cases) {
        Image<kHeaderRecordSize> image;
        image.int32(776, row.keta);
        image.int32(512, row.dataLevel);
        image.int32(516, row.keyCode);
        image.currency(784, row.cutLevel);
        const QuotationHeader header = decodeHeader(image.bytes);
        EXPECT_EQ(header.keta, row.expectedKeta) << row.keta;
        EXPECT_EQ(header.dataLevel, row.expectedDataLevel) << row.dataLevel;
        EXPECT_EQ(header.keyCode, row.expectedKeyCode) << row.keyCode;
        EXPECT_EQ(header.cutLevel.raw(), row.expectedCutLevel) << row.cutLevel;
    }
    QuotationHeader negative;
    negative.dataLevel = -3;
    EXPECT_EQ(encodeHeader(negative)[512], 0);
}

} // namespace
} // namespace kerbina

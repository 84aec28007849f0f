#include "base/text_codec.h"
#include "document/krb_import.h"
#include "document/quotation_file.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

// An old-format record built at its documented offsets.
class Record {
public:
    explicit Record(std::size_t size) : bytes_(size, '\xCC') {} // padding holds garbage

    Record& int32(std::size_t offset, std::int32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_[offset + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)));
        }
        return *this;
    }
    Record& money(std::size_t offset, std::string_view value) {
        const auto raw = static_cast<std::uint64_t>(c(value).raw());
        for (int i = 0; i < 8; ++i) {
            bytes_[offset + i] = static_cast<char>(raw >> (8 * i));
        }
        return *this;
    }
    // A length byte and CP932 text; `length` overrides the length byte (a damaged record).
    Record& text(std::size_t offset, std::string_view utf8, int length = -1) {
        const std::string cp932 = toCp932(utf8);
        bytes_[offset] = static_cast<char>(length < 0 ? cp932.size() : length);
        bytes_.replace(offset + 1, cp932.size(), cp932);
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

Record header() {
    Record record(464);
    record.text(0, "C-7")
        .text(13, "山田建設株式会社")
        .text(54, "東西ビル新築工事")
        .money(96, "1650000")
        .money(104, "1200000")
        .text(112, "衛生設備工事")
        .text(143, "提出後3ヶ月")
        .text(164, "別途協議")
        .text(185, "従来通り")
        .text(216, "H-0042")
        .int32(228, 11)
        .int32(232, 6)
        .int32(236, 30)
        .text(240, "佐藤")
        .text(261, "鈴木")
        .int32(284, 3)
        .int32(288, 2)
        .text(292, "タグ")
        .text(373, "自由")
        .int32(456, 1)
        .int32(460, 0);
    return record;
}

Record item(std::int32_t kind, std::string_view name) {
    Record record(140);
    record.int32(0, kind)
        .text(4, name)
        .money(48, "1500000")
        .money(56, "1200000")
        .money(64, "0.5")
        .money(72, "0.9")
        .money(80, "100")
        .money(88, "1000")
        .text(96, "別紙参照");
    return record;
}

Record line(std::int32_t sheet, std::int32_t kind, std::string_view nameSpec) {
    Record record(228);
    record.int32(0, sheet)
        .text(4, nameSpec)
        .money(88, "0.125")
        .money(96, "11999")
        .text(104, "ｍ")
        .int32(112, kind)
        .money(116, "12.5")
        .money(124, "13")
        .money(132, "1500")
        .money(140, "1800")
        .money(148, "20")
        .money(156, "25")
        .int32(180, 4)
        .text(184, "備考");
    return record;
}

Record takeoff(std::int32_t kind) {
    return std::move(Record(216).int32(108, kind));
}

std::string int32Bytes(std::int32_t value) {
    return Record(4).int32(0, value).bytes();
}

std::string oldFile() {
    return header().bytes() + int32Bytes(2) + item(10, "配管工事").bytes() + item(30, "").bytes() +
           line(1, 10, "配管;SGP 25A").bytes() + line(2, 20, "継手;").bytes() +
           line(1, 99, "合計;").bytes() + line(0, 999, "").bytes() + takeoff(110).bytes() +
           takeoff(910).bytes() + takeoff(999).bytes();
}

TEST(KrbImport, ConvertsTheRecordsAtTheirOffsets) {
    const QuotationData data = importVersion1(oldFile());

    const QuotationHeader& h = data.header;
    EXPECT_EQ(h.id, "C-7");
    EXPECT_EQ(h.addressee1, "山田建設株式会社");
    EXPECT_EQ(h.siteName1, "東西ビル新築工事");
    EXPECT_EQ(h.submittedGrandTotal, c("1650000"));
    EXPECT_EQ(h.netGrandTotal, c("1200000"));
    EXPECT_EQ(h.workName, "衛生設備工事");
    EXPECT_EQ(h.validity, "提出後3ヶ月");
    EXPECT_EQ(h.deliveryDate, "別途協議");
    EXPECT_EQ(h.tradeTerms, "従来通り");
    EXPECT_EQ(h.number, "H-0042");
    EXPECT_EQ(h.storedYear, 11);
    EXPECT_EQ(h.month, 6);
    EXPECT_EQ(h.day, 30);
    EXPECT_EQ(h.author, "佐藤");
    EXPECT_EQ(h.requester, "鈴木");
    EXPECT_EQ(h.dataLevel, 3);
    EXPECT_EQ(h.keyCode, 2);
    EXPECT_EQ(h.opt1Str, "タグ");
    EXPECT_EQ(h.opt2Str, "自由");
    EXPECT_EQ(h.opt1Int, 1);
    // Fields the old format lacks keep the values of a new quotation.
    EXPECT_EQ(h.addressee2, "");
    EXPECT_EQ(h.status, -1);
    EXPECT_EQ(h.keta, 1);
    EXPECT_EQ(h.cutLevel, c("0.5"));

    ASSERT_EQ(data.itemMax(), 2);
    const ItemRecord& first = data.items[1];
    EXPECT_EQ(first.kind, 10);
    EXPECT_EQ(first.name, "配管工事");
    EXPECT_EQ(first.submittedTotal, c("1500000"));
    EXPECT_EQ(first.netTotal, c("1200000"));
    EXPECT_EQ(first.setAmountRounding, c("0.5"));
    EXPECT_EQ(first.setExpenseRounding, c("0.9"));
    EXPECT_EQ(first.setQuantityDecimals, c("100"));
    EXPECT_EQ(first.setTotalLevel, c("1000"));
    EXPECT_EQ(first.setLaborRounding, Currency());
    EXPECT_EQ(first.note, "別紙参照");
    EXPECT_EQ(data.items[2].kind, 30);

    ASSERT_EQ(data.sheets.size(), 3u);
    ASSERT_EQ(data.sheets[1].size(), 3u); // sheet 1 met again after sheet 2: appended
    const LineRecord& pipe = data.sheets[1][1];
    EXPECT_EQ(pipe.nameSpec, "配管;SGP 25A");
    EXPECT_EQ(pipe.laborFactor, c("0.125"));
    EXPECT_EQ(pipe.sortCode, c("11999"));
    EXPECT_EQ(pipe.unit, "ｍ");
    EXPECT_EQ(pipe.kind, 10);
    EXPECT_EQ(pipe.netQuantity, c("12.5"));
    EXPECT_EQ(pipe.submittedQuantity, c("13"));
    EXPECT_EQ(pipe.netPrice, c("1500"));
    EXPECT_EQ(pipe.submittedPrice, c("1800"));
    EXPECT_EQ(pipe.netAdditionalPrice, c("20"));
    EXPECT_EQ(pipe.submittedAdditionalPrice, c("25"));
    EXPECT_EQ(pipe.flag216, 4);
    EXPECT_EQ(pipe.note, "備考");
    EXPECT_EQ(pipe.netAmount, Currency());
    EXPECT_EQ(data.sheets[1][2].kind, 99);
    ASSERT_EQ(data.sheets[2].size(), 2u);
    EXPECT_EQ(data.sheets[2][1].nameSpec, "継手;");

    // The converted quotation is an ordinary one from here on.
    const QuotationData reread = readQuotationText(writeQuotationText(data, {}));
    EXPECT_EQ(reread.items, data.items);
    EXPECT_EQ(reread.sheets[2], data.sheets[2]);
}

TEST(KrbImport, TextsAreCutToTheirFieldsEvenWithDamagedLengths) {
    Record damaged = header();
    damaged.text(13, "山田建設", 255); // the length byte claims more than the field holds
    const std::string bytes = damaged.bytes() + int32Bytes(0);
    const QuotationData data = importVersion1(bytes);
    EXPECT_TRUE(data.header.addressee1.starts_with("山田建設"));
    EXPECT_LE(cp932Length(data.header.addressee1), 40);
    ASSERT_EQ(data.itemMax(), 1); // no items: one new sheet item
    EXPECT_EQ(data.items[1], newSheetItem());
}

TEST(KrbImport, DamagedFilesAreRejected) {
    const std::string start = header().bytes() + int32Bytes(1) + item(10, "A").bytes();
    const struct {
        std::string bytes;
        const char* message;
    } cases[] = {
        {"", "Version1"},
        {header().bytes(), "Version1"},
        {header().bytes() + int32Bytes(-1), "内訳の数"},
        {header().bytes() + int32Bytes(1000000), "内訳の数"},
        {start + line(1, 10, "A").bytes().substr(0, 100), "明細の途中"},
        {start + line(0, 10, "A").bytes(), "シート番号"},
        {start + line(5000, 10, "A").bytes(), "シート番号"},
        {start + line(1, 999, "").bytes() + takeoff(110).bytes().substr(0, 50), "拾出"},
    };
    for (const auto& row : cases) {
        try {
            importVersion1(row.bytes);
            ADD_FAILURE() << "accepted: " << row.message;
        } catch (const QuotationFileError& error) {
            EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos)
                << error.what();
        }
    }
}

TEST(KrbImport, ChosenByExtensionInEitherCase) {
    EXPECT_TRUE(isVersion1Path("見積.krb"));
    EXPECT_TRUE(isVersion1Path("/a/B.KRB"));
    EXPECT_FALSE(isVersion1Path("b.krb2"));
    EXPECT_FALSE(isVersion1Path("krb"));
}

} // namespace
} // namespace kerbina

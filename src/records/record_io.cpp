#include "records/record_io.h"

#include "base/text_codec.h"

#include <algorithm>

namespace kerbina {
namespace {

// Field access at fixed offsets. The offsets are template arguments so that a field reaching past
// the end of its record is a compile error, not a stray read or write.
template <std::size_t Size> class RecordWriter {
public:
    explicit RecordWriter(std::array<std::uint8_t, Size>& bytes) : bytes_(bytes) {}

    template <std::size_t Offset> void int32(std::int32_t value) {
        static_assert(Offset + 4 <= Size);
        putLittleEndian(Offset, static_cast<std::uint32_t>(value), 4);
    }
    template <std::size_t Offset> void currency(Currency value) {
        static_assert(Offset + 8 <= Size);
        putLittleEndian(Offset, static_cast<std::uint64_t>(value.raw()), 8);
    }
    // Str[Width]: a length byte, then the text cut to Width CP932 bytes at a character boundary.
    template <std::size_t Offset, int Width> void text(const std::string& utf8) {
        static_assert(Width <= 255 && Offset + 1 + Width <= Size);
        cp932_.clear();
        appendCp932(utf8, cp932_);
        const std::string_view fitted = cutCp932(cp932_, Width);
        bytes_[Offset] = static_cast<std::uint8_t>(fitted.size());
        for (std::size_t i = 0; i < fitted.size(); ++i) {
            bytes_[Offset + 1 + i] = static_cast<std::uint8_t>(fitted[i]);
        }
    }

private:
    void putLittleEndian(std::size_t offset, std::uint64_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }

    std::array<std::uint8_t, Size>& bytes_;
    std::string cp932_; // one buffer for all the texts of the record
};

template <std::size_t Size> class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t, Size> bytes) : bytes_(bytes) {}

    template <std::size_t Offset> std::int32_t int32() const {
        static_assert(Offset + 4 <= Size);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(getLittleEndian(Offset, 4)));
    }
    template <std::size_t Offset> Currency currency() const {
        static_assert(Offset + 8 <= Size);
        return Currency::fromRaw(static_cast<std::int64_t>(getLittleEndian(Offset, 8)));
    }
    // A length byte above the capacity (a damaged file) is clamped to the capacity; a last
    // character cut in half by an older writer is dropped rather than shown as garbage.
    template <std::size_t Offset, int Width> std::string text() const {
        static_assert(Width <= 255 && Offset + 1 + Width <= Size);
        const int length = std::min<int>(bytes_[Offset], Width);
        const std::string_view cp932(reinterpret_cast<const char*>(bytes_.data() + Offset + 1),
                                     static_cast<std::size_t>(length));
        return fromCp932(cutCp932(cp932, length));
    }

private:
    std::uint64_t getLittleEndian(std::size_t offset, int count) const {
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            value |= static_cast<std::uint64_t>(bytes_[offset + i]) << (8 * i);
        }
        return value;
    }

    std::span<const std::uint8_t, Size> bytes_;
};

} // namespace

LineBytes encodeLine(const LineRecord& line) {
    LineBytes bytes{};
    RecordWriter w(bytes);
    w.int32<0>(line.mark);
    w.text<4, kNameSpecWidth>(line.nameSpec);
    w.currency<112>(line.laborFactor);
    w.currency<120>(line.sortCode);
    w.text<128, kUnitWidth>(line.unit);
    w.int32<136>(line.kind.code());
    w.currency<144>(line.netQuantity);
    w.currency<152>(line.submittedQuantity);
    w.currency<160>(line.netPrice);
    w.currency<168>(line.submittedPrice);
    w.currency<176>(line.reserved176);
    w.currency<184>(line.netAdditionalPrice);
    w.currency<192>(line.submittedAdditionalPrice);
    w.currency<200>(line.netAmount);
    w.currency<208>(line.submittedAmount);
    w.int32<216>(line.flag216);
    w.int32<220>(line.hiddenFlag);
    w.currency<224>(line.priceKind);
    w.text<232, kAmountTextWidth>(line.amountText);
    w.text<245, kLineNoteWidth>(line.note);
    w.text<286, kPriceCodeWidth>(line.priceCode);
    return bytes;
}

LineRecord decodeLine(std::span<const std::uint8_t, kLineRecordSize> bytes) {
    const RecordReader r(bytes);
    LineRecord line;
    line.mark = r.int32<0>();
    line.nameSpec = r.text<4, kNameSpecWidth>();
    line.laborFactor = r.currency<112>();
    line.sortCode = r.currency<120>();
    line.unit = r.text<128, kUnitWidth>();
    line.kind = r.int32<136>();
    line.netQuantity = r.currency<144>();
    line.submittedQuantity = r.currency<152>();
    line.netPrice = r.currency<160>();
    line.submittedPrice = r.currency<168>();
    line.reserved176 = r.currency<176>();
    line.netAdditionalPrice = r.currency<184>();
    line.submittedAdditionalPrice = r.currency<192>();
    line.netAmount = r.currency<200>();
    line.submittedAmount = r.currency<208>();
    line.flag216 = r.int32<216>();
    line.hiddenFlag = r.int32<220>();
    line.priceKind = r.currency<224>();
    line.amountText = r.text<232, kAmountTextWidth>();
    line.note = r.text<245, kLineNoteWidth>();
    line.priceCode = r.text<286, kPriceCodeWidth>();
    return line;
}

ItemBytes encodeItem(const ItemRecord& item) {
    ItemBytes bytes{};
    RecordWriter w(bytes);
    w.int32<0>(item.kind.code());
    w.text<4, kItemNameWidth>(item.name);
    w.currency<112>(item.submittedTotal);
    w.currency<120>(item.netTotal);
    w.currency<128>(item.submittedTax);
    w.currency<136>(item.laborTotal);
    w.currency<144>(item.setAmountRounding);
    w.currency<152>(item.setExpenseRounding);
    w.currency<160>(item.setQuantityDecimals);
    w.currency<168>(item.setTotalLevel);
    w.currency<176>(item.setLaborRounding);
    w.currency<184>(item.subKind);
    w.currency<192>(item.setTotalRounding);
    w.text<200, kItemNoteWidth>(item.note);
    return bytes;
}

ItemRecord decodeItem(std::span<const std::uint8_t, kItemRecordSize> bytes) {
    const RecordReader r(bytes);
    ItemRecord item;
    item.kind = r.int32<0>();
    item.name = r.text<4, kItemNameWidth>();
    item.submittedTotal = r.currency<112>();
    item.netTotal = r.currency<120>();
    item.submittedTax = r.currency<128>();
    item.laborTotal = r.currency<136>();
    item.setAmountRounding = r.currency<144>();
    item.setExpenseRounding = r.currency<152>();
    item.setQuantityDecimals = r.currency<160>();
    item.setTotalLevel = r.currency<168>();
    item.setLaborRounding = r.currency<176>();
    item.subKind = r.currency<184>();
    item.setTotalRounding = r.currency<192>();
    item.note = r.text<200, kItemNoteWidth>();
    return item;
}

HeaderBytes encodeHeader(const QuotationHeader& header) {
    HeaderBytes bytes{};
    RecordWriter w(bytes);
    w.text<0, 12>(header.id);
    w.text<13, 50>(header.atesaki1);
    w.text<64, 50>(header.atesaki2);
    w.text<115, 50>(header.constract1);
    w.text<166, 50>(header.constract2);
    w.currency<224>(header.allGTotal);
    w.currency<232>(header.allNTotal);
    w.currency<240>(header.taxGTotal);
    w.currency<248>(header.taxNTotal);
    w.text<256, 50>(header.where);
    w.text<307, 40>(header.mLimit);
    w.text<348, 40>(header.uLimit);
    w.text<389, 40>(header.trade);
    w.text<430, 12>(header.number);
    w.text<443, 12>(header.keisyo);
    w.int32<456>(header.dy);
    w.int32<460>(header.dm);
    w.int32<464>(header.dd);
    w.text<468, 20>(header.inTanto);
    w.text<489, 20>(header.outTanto);
    w.int32<512>(std::max(header.dataLevel, 0)); // a negative data level is stored as 0
    w.int32<516>(header.keyCode);
    w.text<520, 80>(header.opt1Str);
    w.text<601, 80>(header.opt2Str);
    w.text<682, 80>(header.opt3Str);
    w.int32<764>(header.opt1Int);
    w.int32<768>(header.opt2Int);
    w.int32<772>(header.opt3Int);
    w.int32<776>(header.keta);
    w.currency<784>(header.cutLevel);
    w.int32<792>(header.status);
    return bytes;
}

QuotationHeader decodeHeader(std::span<const std::uint8_t, kHeaderRecordSize> bytes) {
    const RecordReader r(bytes);
    QuotationHeader header;
    header.id = r.text<0, 12>();
    header.atesaki1 = r.text<13, 50>();
    header.atesaki2 = r.text<64, 50>();
    header.constract1 = r.text<115, 50>();
    header.constract2 = r.text<166, 50>();
    header.allGTotal = r.currency<224>();
    header.allNTotal = r.currency<232>();
    header.taxGTotal = r.currency<240>();
    header.taxNTotal = r.currency<248>();
    header.where = r.text<256, 50>();
    header.mLimit = r.text<307, 40>();
    header.uLimit = r.text<348, 40>();
    header.trade = r.text<389, 40>();
    header.number = r.text<430, 12>();
    header.keisyo = r.text<443, 12>();
    header.dy = r.int32<456>();
    header.dm = r.int32<460>();
    header.dd = r.int32<464>();
    header.inTanto = r.text<468, 20>();
    header.outTanto = r.text<489, 20>();
    header.dataLevel = std::max(r.int32<512>(), 0);
    const std::int32_t keyCode = r.int32<516>();
    header.keyCode = keyCode >= 1 && keyCode <= 5 ? keyCode : 0;
    header.opt1Str = r.text<520, 80>();
    header.opt2Str = r.text<601, 80>();
    header.opt3Str = r.text<682, 80>();
    header.opt1Int = r.int32<764>();
    header.opt2Int = r.int32<768>();
    header.opt3Int = r.int32<772>();
    // [KETA] 0 is kept as stored; the passes compute with it as level 1.
    header.keta = r.int32<776>();
    const Currency cutLevel = r.currency<784>();
    header.cutLevel = cutLevel > Currency::fromWhole(1) ? Currency::fromRaw(5000) : cutLevel;
    header.status = r.int32<792>();
    return header;
}

} // namespace kerbina

#include "records/record_io.h"

#include "base/text_codec.h"

#include <algorithm>
#include <utility>

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
    // A line or item kind, stored as its code.
    template <std::size_t Offset, typename Kind> void kind(Kind value) {
        int32<Offset>(value.code());
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

    template <std::size_t Offset> void int32(std::int32_t& target) const {
        static_assert(Offset + 4 <= Size);
        target = static_cast<std::int32_t>(static_cast<std::uint32_t>(getLittleEndian(Offset, 4)));
    }
    template <std::size_t Offset, typename Kind> void kind(Kind& target) const {
        std::int32_t code = 0;
        int32<Offset>(code);
        target = Kind(code);
    }
    template <std::size_t Offset> void currency(Currency& target) const {
        static_assert(Offset + 8 <= Size);
        target = Currency::fromRaw(static_cast<std::int64_t>(getLittleEndian(Offset, 8)));
    }
    // A length byte above the capacity (a damaged file) is clamped to the capacity; a last
    // character cut in half by an older writer is dropped rather than shown as garbage.
    template <std::size_t Offset, int Width> void text(std::string& target) const {
        static_assert(Width <= 255 && Offset + 1 + Width <= Size);
        const int length = std::min<int>(bytes_[Offset], Width);
        const std::string_view cp932(reinterpret_cast<const char*>(bytes_.data() + Offset + 1),
                                     static_cast<std::size_t>(length));
        target = fromCp932(cutCp932(cp932, length));
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

// The field tables: every field of a record at its offset, in one list that the writer and the
// reader both walk, so a field can never be written at one offset and read at another. `Record`
// is const when writing.
template <typename Record, typename Fields> void forEachLineField(Record& line, Fields& f) {
    f.template int32<0>(line.mark);
    f.template text<4, kNameSpecWidth>(line.nameSpec);
    f.template currency<112>(line.laborFactor);
    f.template currency<120>(line.sortCode);
    f.template text<128, kUnitWidth>(line.unit);
    f.template kind<136>(line.kind);
    f.template currency<144>(line.netQuantity);
    f.template currency<152>(line.submittedQuantity);
    f.template currency<160>(line.netPrice);
    f.template currency<168>(line.submittedPrice);
    f.template currency<176>(line.reserved176);
    f.template currency<184>(line.netAdditionalPrice);
    f.template currency<192>(line.submittedAdditionalPrice);
    f.template currency<200>(line.netAmount);
    f.template currency<208>(line.submittedAmount);
    f.template int32<216>(line.flag216);
    f.template int32<220>(line.hiddenFlag);
    f.template currency<224>(line.priceKind);
    f.template text<232, kAmountTextWidth>(line.amountText);
    f.template text<245, kLineNoteWidth>(line.note);
    f.template text<286, kPriceCodeWidth>(line.priceCode);
}

template <typename Record, typename Fields> void forEachItemField(Record& item, Fields& f) {
    f.template kind<0>(item.kind);
    f.template text<4, kItemNameWidth>(item.name);
    f.template currency<112>(item.submittedTotal);
    f.template currency<120>(item.netTotal);
    f.template currency<128>(item.submittedTax);
    f.template currency<136>(item.laborTotal);
    f.template currency<144>(item.setAmountRounding);
    f.template currency<152>(item.setExpenseRounding);
    f.template currency<160>(item.setQuantityDecimals);
    f.template currency<168>(item.setTotalLevel);
    f.template currency<176>(item.setLaborRounding);
    f.template currency<184>(item.subKind);
    f.template currency<192>(item.setTotalRounding);
    f.template text<200, kItemNoteWidth>(item.note);
}

template <typename Record, typename Fields> void forEachHeaderField(Record& header, Fields& f) {
    f.template text<0, 12>(header.id);
    f.template text<13, 50>(header.addressee1);
    f.template text<64, 50>(header.addressee2);
    f.template text<115, 50>(header.siteName1);
    f.template text<166, 50>(header.siteName2);
    f.template currency<224>(header.submittedGrandTotal);
    f.template currency<232>(header.netGrandTotal);
    f.template currency<240>(header.submittedTaxTotal);
    f.template currency<248>(header.netTaxTotal);
    f.template text<256, 50>(header.workName);
    f.template text<307, 40>(header.validity);
    f.template text<348, 40>(header.deliveryDate);
    f.template text<389, 40>(header.tradeTerms);
    f.template text<430, 12>(header.number);
    f.template text<443, 12>(header.honorific);
    f.template int32<456>(header.storedYear);
    f.template int32<460>(header.month);
    f.template int32<464>(header.day);
    f.template text<468, 20>(header.author);
    f.template text<489, 20>(header.requester);
    f.template int32<512>(header.dataLevel);
    f.template int32<516>(header.keyCode);
    f.template text<520, 80>(header.opt1Str);
    f.template text<601, 80>(header.opt2Str);
    f.template text<682, 80>(header.opt3Str);
    f.template int32<764>(header.opt1Int);
    f.template int32<768>(header.opt2Int);
    f.template int32<772>(header.opt3Int);
    f.template int32<776>(header.keta);
    f.template currency<784>(header.cutLevel);
    f.template int32<792>(header.status);
}

template <typename Record, typename Fields> void forEachTakeoffField(Record& entry, Fields& f) {
    f.template int32<0>(entry.sheet);
    f.template int32<4>(entry.origin);
    f.template int32<8>(entry.system);
    f.template text<12, kNameSpecWidth>(entry.nameSpec);
    f.template currency<120>(entry.laborFactor);
    f.template currency<128>(entry.sortCode);
    f.template text<136, kUnitWidth>(entry.unit);
    f.template kind<144>(entry.kind);
    f.template int32<148>(entry.category);
    f.template currency<152>(entry.netQuantity);
    f.template currency<160>(entry.submittedQuantity);
    f.template currency<168>(entry.netPrice);
    f.template currency<176>(entry.submittedPrice);
    f.template currency<184>(entry.netCompositePrice);
    f.template currency<192>(entry.submittedCompositePrice);
    f.template text<200, kLineNoteWidth>(entry.note);
    f.template currency<248>(entry.spareValue);
    f.template currency<256>(entry.netBaseCost);
    f.template currency<264>(entry.submittedBaseCost);
    f.template currency<272>(entry.netFitting);
    f.template currency<280>(entry.submittedFitting);
    f.template text<288, kAmountTextWidth>(entry.amountText);
    f.template int32<304>(entry.ductWidth);
    f.template int32<308>(entry.ductHeight);
    f.template int32<312>(entry.ductLength);
    f.template int32<316>(entry.mode1);
    f.template int32<320>(entry.mode2);
    f.template int32<324>(entry.pipeMode);
    f.template int32<328>(entry.place);
    f.template currency<336>(entry.area);
    f.template currency<344>(entry.ductValue2);
    f.template currency<352>(entry.correction);
    f.template currency<360>(entry.ductValue4);
    f.template currency<368>(entry.ratioPipe);
    f.template currency<376>(entry.ratioFitting);
    f.template currency<384>(entry.ratioJoint);
    f.template currency<392>(entry.ratioSupport);
    f.template currency<400>(entry.ratioChipping);
    f.template currency<408>(entry.ratioOther);
    f.template text<416, kPriceCodeWidth>(entry.priceCode);
}

} // namespace

LineBytes encodeLine(const LineRecord& line) {
    LineBytes bytes{};
    RecordWriter writer(bytes);
    forEachLineField(line, writer);
    return bytes;
}

LineRecord decodeLine(std::span<const std::uint8_t, kLineRecordSize> bytes) {
    const RecordReader reader(bytes);
    LineRecord line;
    forEachLineField(line, reader);
    return line;
}

ItemBytes encodeItem(const ItemRecord& item) {
    ItemBytes bytes{};
    RecordWriter writer(bytes);
    forEachItemField(item, writer);
    return bytes;
}

ItemRecord decodeItem(std::span<const std::uint8_t, kItemRecordSize> bytes) {
    const RecordReader reader(bytes);
    ItemRecord item;
    forEachItemField(item, reader);
    return item;
}

HeaderBytes encodeHeader(const QuotationHeader& header) {
    HeaderBytes bytes{};
    RecordWriter writer(bytes);
    QuotationHeader stored = header;
    stored.dataLevel = std::max(header.dataLevel, 0); // a negative data level is stored as 0
    forEachHeaderField(std::as_const(stored), writer);
    return bytes;
}

QuotationHeader decodeHeader(std::span<const std::uint8_t, kHeaderRecordSize> bytes) {
    const RecordReader reader(bytes);
    QuotationHeader header;
    forEachHeaderField(header, reader);
    header.dataLevel = std::max(header.dataLevel, 0);
    header.keyCode = header.keyCode >= 1 && header.keyCode <= 5 ? header.keyCode : 0;
    // [KETA] 0 is kept as stored; the passes compute with it as level 1.
    if (header.cutLevel > Currency::fromWhole(1)) {
        header.cutLevel = Currency::fromRaw(5000);
    }
    return header;
}

TakeoffBytes encodeTakeoff(const TakeoffRecord& entry) {
    TakeoffBytes bytes{};
    RecordWriter writer(bytes);
    forEachTakeoffField(entry, writer);
    return bytes;
}

TakeoffRecord decodeTakeoff(std::span<const std::uint8_t, kTakeoffRecordSize> bytes) {
    const RecordReader reader(bytes);
    TakeoffRecord entry;
    forEachTakeoffField(entry, reader);
    return entry;
}

} // namespace kerbina

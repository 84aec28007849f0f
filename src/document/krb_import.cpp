#include "document/krb_import.h"

#include "base/file_io.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "document/quotation_file.h"
#include "records/line_kinds.h"

#include <algorithm>
#include <cstdint>

namespace kerbina {

namespace {

constexpr std::size_t kHeaderSize = 464;
constexpr std::size_t kItemSize = 140;
constexpr std::size_t kLineSize = 228;
constexpr std::size_t kTakeoffSize = 216;
constexpr std::size_t kTakeoffKindOffset = 108;
constexpr std::int32_t kEndKind = 999;

// One record of the old file. Text fields are a length byte and CP932 bytes whose capacity runs
// up to the next field; a length byte beyond that capacity is clamped, so a damaged record never
// reads outside itself.
class OldRecord {
public:
    explicit OldRecord(std::string_view bytes) : bytes_(bytes) {}

    std::int32_t int32At(std::size_t offset) const {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | static_cast<std::uint8_t>(bytes_[offset + i]);
        }
        return static_cast<std::int32_t>(value);
    }

    Currency currencyAt(std::size_t offset) const {
        std::uint64_t value = 0;
        for (int i = 7; i >= 0; --i) {
            value = (value << 8) | static_cast<std::uint8_t>(bytes_[offset + i]);
        }
        return Currency::fromRaw(static_cast<std::int64_t>(value));
    }

    // The text at `offset`, whose capacity ends at `next`, fitted to a field of `width` bytes.
    std::string textAt(std::size_t offset, std::size_t next, int width) const {
        const std::size_t capacity = next - offset - 1;
        const std::size_t length =
            std::min<std::size_t>(static_cast<std::uint8_t>(bytes_[offset]), capacity);
        return fitToWidth(fromCp932(bytes_.substr(offset + 1, length)), width);
    }

private:
    std::string_view bytes_;
};

[[noreturn]] void fail(const std::string& message) {
    throw QuotationFileError(0, message);
}

void readHeader(const OldRecord& record, QuotationHeader& header) {
    header.id = record.textAt(0, 13, 12);
    header.addressee1 = record.textAt(13, 54, 50);
    header.siteName1 = record.textAt(54, 96, 50);
    header.submittedGrandTotal = record.currencyAt(96);
    header.netGrandTotal = record.currencyAt(104);
    header.workName = record.textAt(112, 143, 50);
    header.validity = record.textAt(143, 164, 40);
    header.deliveryDate = record.textAt(164, 185, 40);
    header.tradeTerms = record.textAt(185, 216, 40);
    header.number = record.textAt(216, 228, 12);
    header.storedYear = record.int32At(228);
    header.month = record.int32At(232);
    header.day = record.int32At(236);
    header.author = record.textAt(240, 261, 20);
    header.requester = record.textAt(261, 284, 20);
    header.dataLevel = std::max(record.int32At(284), 0);
    const std::int32_t keyCode = record.int32At(288);
    header.keyCode = (keyCode >= 1 && keyCode <= 5) ? keyCode : 0;
    header.opt1Str = record.textAt(292, 373, 80);
    header.opt2Str = record.textAt(373, 456, 80);
    header.opt1Int = record.int32At(456);
    header.opt2Int = record.int32At(460);
}

ItemRecord readItem(const OldRecord& record) {
    ItemRecord item;
    item.kind = record.int32At(0);
    item.name = record.textAt(4, 48, kItemNameWidth);
    item.submittedTotal = record.currencyAt(48);
    item.netTotal = record.currencyAt(56);
    item.setAmountRounding = record.currencyAt(64);
    item.setExpenseRounding = record.currencyAt(72);
    item.setQuantityDecimals = record.currencyAt(80);
    item.setTotalLevel = record.currencyAt(88);
    item.note = record.textAt(96, 140, kItemNoteWidth);
    return item;
}

LineRecord readLine(const OldRecord& record) {
    LineRecord line;
    line.nameSpec = record.textAt(4, 88, kNameSpecWidth);
    line.laborFactor = record.currencyAt(88);
    line.sortCode = record.currencyAt(96);
    line.unit = record.textAt(104, 112, kUnitWidth);
    line.kind = record.int32At(112);
    line.netQuantity = record.currencyAt(116);
    line.submittedQuantity = record.currencyAt(124);
    line.netPrice = record.currencyAt(132);
    line.submittedPrice = record.currencyAt(140);
    line.netAdditionalPrice = record.currencyAt(148);
    line.submittedAdditionalPrice = record.currencyAt(156);
    line.flag216 = record.int32At(180);
    line.note = record.textAt(184, 228, kLineNoteWidth);
    return line;
}

} // namespace

QuotationData importVersion1(std::string_view bytes) {
    if (bytes.size() < kHeaderSize + 4) {
        fail("Version1のファイルではありません。");
    }
    QuotationData data;
    readHeader(OldRecord(bytes.substr(0, kHeaderSize)), data.header);

    const std::int32_t count = OldRecord(bytes).int32At(kHeaderSize);
    std::size_t position = kHeaderSize + 4;
    if (count < 0 || static_cast<std::size_t>(count) > (bytes.size() - position) / kItemSize) {
        fail("内訳の数が正しくありません: " + std::to_string(count));
    }
    data.items.assign(1, ItemRecord{});
    for (std::int32_t i = 0; i < count; ++i) {
        data.items.push_back(readItem(OldRecord(bytes.substr(position, kItemSize))));
        position += kItemSize;
    }
    if (count == 0) {
        data.items.push_back(newSheetItem());
    }

    // A sheet number can address any item, or a sheet of its own for each line of the file; any
    // larger number is damage, not a sheet.
    const std::size_t sheetLimit =
        std::max<std::size_t>(data.items.size(), (bytes.size() - position) / kLineSize + 1);
    data.sheets.assign(data.items.size(), Sheet{LineRecord{}});
    while (position < bytes.size()) {
        if (bytes.size() - position < kLineSize) {
            fail("明細の途中でファイルが終わっています。");
        }
        const OldRecord record(bytes.substr(position, kLineSize));
        position += kLineSize;
        if (record.int32At(112) == kEndKind) {
            break;
        }
        const std::int32_t sheet = record.int32At(0);
        if (sheet < 1 || static_cast<std::size_t>(sheet) >= sheetLimit) {
            fail("明細のシート番号が正しくありません: " + std::to_string(sheet));
        }
        if (static_cast<std::size_t>(sheet) >= data.sheets.size()) {
            data.sheets.resize(sheet + 1);
        }
        Sheet& lines = data.sheets[sheet];
        if (lines.empty()) {
            lines.emplace_back();
        }
        lines.push_back(readLine(record));
    }

    while (position < bytes.size()) {
        if (bytes.size() - position < kTakeoffSize) {
            fail("拾出データの途中でファイルが終わっています。");
        }
        const OldRecord record(bytes.substr(position, kTakeoffSize));
        position += kTakeoffSize;
        if (record.int32At(kTakeoffKindOffset) == kEndKind) {
            break;
        }
    }
    return data;
}

QuotationData importVersion1File(const std::filesystem::path& path) {
    const std::string bytes = readRegularFile(path);
    try {
        return importVersion1(bytes);
    } catch (const QuotationFileError& error) {
        throw QuotationFileError(path, error);
    }
}

bool isVersion1Path(const std::filesystem::path& path) {
    return equalsIgnoringAsciiCase(path.extension().string(), ".krb");
}

} // namespace kerbina

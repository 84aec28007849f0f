// The work files and undo snapshots are binary records that companion programs also write; a
// damaged record must decode without reading outside itself, and what it decodes to must survive
// being written and read again unchanged from the second cycle on. The same bytes also go through
// the line text form that the quotation file and the line copy files use.
#include "base/text_codec.h"
#include "records/line_text.h"
#include "records/record_io.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "fuzz_work_records: %s\n", what);
    std::abort();
}

// The input padded (or cut) to one record of the given size.
template <std::size_t Size>
std::array<std::uint8_t, Size> recordOf(std::span<const std::uint8_t> in) {
    std::array<std::uint8_t, Size> record{};
    std::copy_n(in.begin(), std::min(in.size(), Size), record.begin());
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::span<const std::uint8_t> input(bytes, size);

    // Bytes that are no CP932 become "〓", which may need more room than they had, so the first
    // write may cut a full field; from then on a record must come back unchanged.
    const auto line = kerbina::decodeLine(recordOf<kerbina::kLineRecordSize>(input));
    const auto lineBytes = kerbina::encodeLine(line);
    if (kerbina::encodeLine(kerbina::decodeLine(lineBytes)) != lineBytes) {
        fault("line record not stable");
    }
    const auto item = kerbina::decodeItem(recordOf<kerbina::kItemRecordSize>(input));
    const auto itemBytes = kerbina::encodeItem(item);
    if (kerbina::encodeItem(kerbina::decodeItem(itemBytes)) != itemBytes) {
        fault("item record not stable");
    }
    const auto header = kerbina::decodeHeader(recordOf<kerbina::kHeaderRecordSize>(input));
    const auto headerBytes = kerbina::encodeHeader(header);
    if (kerbina::encodeHeader(kerbina::decodeHeader(headerBytes)) != headerBytes) {
        fault("header record not stable");
    }

    const std::string text =
        kerbina::fromCp932(std::string_view(reinterpret_cast<const char*>(bytes), size));
    try {
        const auto parsed = kerbina::lineFromText(text);
        const std::string written =
            kerbina::lineToText(parsed.sheetNumber, parsed.line, kerbina::Currency::fromWhole(10));
        const auto again = kerbina::lineFromText(written);
        if (kerbina::lineToText(again.sheetNumber, again.line, kerbina::Currency::fromWhole(10)) !=
            written) {
            fault("line text not stable");
        }
    } catch (const kerbina::NumberFormatError&) {
    } catch (const kerbina::CurrencyOverflow&) {
    }
    return 0;
}

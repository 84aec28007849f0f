#pragma once

#include "records/records.h"

#include <array>
#include <cstdint>
#include <span>

namespace kerbina {

// Binary images of the records, little-endian, field by field at their offsets; padding written
// as zero. Decoding clamps a damaged length byte to the field's capacity and never reads outside
// the record.
using LineBytes = std::array<std::uint8_t, kLineRecordSize>;
using ItemBytes = std::array<std::uint8_t, kItemRecordSize>;
using HeaderBytes = std::array<std::uint8_t, kHeaderRecordSize>;
using TakeoffBytes = std::array<std::uint8_t, kTakeoffRecordSize>;

LineBytes encodeLine(const LineRecord& line);
LineRecord decodeLine(std::span<const std::uint8_t, kLineRecordSize> bytes);
ItemBytes encodeItem(const ItemRecord& item);
ItemRecord decodeItem(std::span<const std::uint8_t, kItemRecordSize> bytes);
HeaderBytes encodeHeader(const QuotationHeader& header);
// Applies the header's rules: [KETA] 0 → 1, [CUTLEVEL] above 1 → 0.5, [DATALEVEL] never
// negative, [KEYCODE] outside 1..5 → 0.
QuotationHeader decodeHeader(std::span<const std::uint8_t, kHeaderRecordSize> bytes);
TakeoffBytes encodeTakeoff(const TakeoffRecord& entry);
TakeoffRecord decodeTakeoff(std::span<const std::uint8_t, kTakeoffRecordSize> bytes);

} // namespace kerbina

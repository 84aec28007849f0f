#include "takeoff/takeoff_list.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "records/line_kinds.h"
#include "records/takeoff_text.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace kerbina {
namespace {

constexpr std::string_view kCopyFileVersion = "[Version]=2.00";
constexpr std::size_t kEntryFieldCount = 42;
constexpr std::size_t kBreakdownFirstField = 50;
constexpr std::size_t kBreakdownLastField = 91;

// The list positions shown in rows top..bottom of the system; empty rows end the range.
std::vector<int> positionsOfRows(const TakeoffList& list, int system, TakeoffRows rows) {
    const std::vector<int> shown = positionsOfSystem(list, system);
    std::vector<int> positions;
    for (int row = std::max(rows.top, 1); row <= rows.bottom; ++row) {
        if (row > static_cast<int>(shown.size())) {
            break;
        }
        positions.push_back(shown[static_cast<std::size_t>(row - 1)]);
    }
    return positions;
}

// The list position before which new entries go for a selected row: its entry's position, or the
// end of the list for an empty row.
std::size_t insertionPoint(const TakeoffList& list, int system, int row) {
    const std::vector<int> shown = positionsOfSystem(list, system);
    if (row >= 1 && row <= static_cast<int>(shown.size())) {
        return static_cast<std::size_t>(shown[static_cast<std::size_t>(row - 1)]);
    }
    return list.entries.size();
}

Currency withSystemDigit(Currency sortCode, int system) {
    return sortCode.truncated() + Currency::fromRaw(static_cast<std::int64_t>(system) * 1000);
}

// The fields of a received payload, 1-based as the message counts them.
class PayloadFields {
public:
    explicit PayloadFields(std::string_view payload) : fields_(splitFields(payload, ';')) {
        // A payload ends each field with ";": the empty text after the last one is no field.
        if (!fields_.empty() && fields_.back().empty()) {
            fields_.pop_back();
        }
    }

    std::size_t size() const { return fields_.size(); }
    std::string_view text(std::size_t number) const {
        return number <= fields_.size() ? fields_[number - 1] : std::string_view();
    }
    Currency currency(std::size_t number) const {
        try {
            return parseNumber(emptyQuotes(text(number)));
        } catch (const NumberFormatError&) {
        } catch (const CurrencyOverflow&) {
        }
        throw TakeoffPayloadError(notANumber(number));
    }
    std::int32_t integer(std::size_t number) const {
        const std::string_view value = emptyQuotes(text(number));
        if (trimBlanks(value).empty()) {
            return 0;
        }
        if (const auto parsed = parseInteger32(value, IntegerText::SpacePadded)) {
            return *parsed;
        }
        throw TakeoffPayloadError(notANumber(number));
    }

private:
    static std::string_view emptyQuotes(std::string_view value) {
        return value == "\"\"" ? std::string_view() : value;
    }
    std::string notANumber(std::size_t number) const {
        return "拾出データの " + std::to_string(number) +
               " 番目の項目が数値ではありません: " + std::string(text(number).substr(0, 40));
    }

    std::vector<std::string_view> fields_;
};

} // namespace

TakeoffList takeoffListFromStored(const std::vector<TakeoffRecord>& stored) {
    TakeoffList list;
    for (const TakeoffRecord& entry : stored) {
        if (entry.kind.code() > 900) {
            continue;
        }
        if (entry.origin == 1 || entry.origin == 2) {
            list.blankOrigin = entry.origin;
        }
        list.entries.push_back(entry);
    }
    return list;
}

std::vector<TakeoffRecord> storedEntries(const TakeoffList& list) {
    return {std::next(list.entries.begin()), list.entries.end()};
}

std::vector<int> positionsOfSystem(const TakeoffList& list, int system) {
    std::vector<int> positions;
    for (int position = 1; position <= list.count(); ++position) {
        if (list.entries[static_cast<std::size_t>(position)].system == system) {
            positions.push_back(position);
        }
    }
    return positions;
}

std::string compositePriceCode(Currency sortCode) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%07lld", static_cast<long long>(sortCode.wholePart()));
    return std::string("複合単価:") + digits;
}

std::vector<std::string> copyTakeoffEntries(const TakeoffList& list, int system, TakeoffRows rows) {
    std::vector<std::string> lines{std::string(kCopyFileVersion)};
    for (const int position : positionsOfRows(list, system, rows)) {
        lines.push_back(takeoffToText(list.entries[static_cast<std::size_t>(position)]));
    }
    return lines;
}

int pasteTakeoffEntries(TakeoffList& list, const std::vector<std::string>& fileLines, int system,
                        int sheet, bool onDetailSheet, int selectedRow) {
    if (fileLines.empty() || trimBlanks(fileLines.front()) != kCopyFileVersion) {
        return 0;
    }
    std::vector<TakeoffRecord> pasted;
    for (std::size_t i = 1; i < fileLines.size(); ++i) {
        if (trimBlanks(fileLines[i]).empty()) {
            continue;
        }
        TakeoffRecord entry;
        try {
            entry = takeoffFromText(fileLines[i]);
        } catch (const NumberFormatError&) {
            throw TakeoffPasteError("貼り付けるデータの " + std::to_string(i + 1) +
                                    " 行目に数値ではない項目があります。何も貼り付けていません。");
        } catch (const CurrencyOverflow&) {
            throw TakeoffPasteError("貼り付けるデータの " + std::to_string(i + 1) +
                                    " 行目の数値が大きすぎます。何も貼り付けていません。");
        }
        entry.sheet = sheet;
        entry.system = system;
        if (onDetailSheet) {
            entry.sortCode = withSystemDigit(entry.sortCode, system);
        }
        pasted.push_back(std::move(entry));
    }
    const std::size_t at = insertionPoint(list, system, selectedRow);
    list.entries.insert(list.entries.begin() + static_cast<std::ptrdiff_t>(at), pasted.begin(),
                        pasted.end());
    return static_cast<int>(pasted.size());
}

void insertBlankTakeoffEntries(TakeoffList& list, int system, TakeoffRows rows) {
    const int count = rows.bottom - rows.top + 1;
    if (count < 1) {
        return;
    }
    TakeoffRecord blank;
    blank.origin = list.blankOrigin;
    blank.system = system;
    blank.sortCode = Currency::fromWhole(kBlankSortCode);
    blank.kind = kBlankKind;
    const std::size_t at = insertionPoint(list, system, rows.top);
    list.entries.insert(list.entries.begin() + static_cast<std::ptrdiff_t>(at),
                        static_cast<std::size_t>(count), blank);
}

void deleteTakeoffEntries(TakeoffList& list, int system, TakeoffRows rows) {
    const std::vector<int> positions = positionsOfRows(list, system, rows);
    // From the last one, so the positions still to go stay where they are.
    for (auto position = positions.rbegin(); position != positions.rend(); ++position) {
        list.entries.erase(list.entries.begin() + *position);
    }
}

std::optional<int> moveTakeoffEntry(TakeoffList& list, int system, int row, int direction) {
    const std::vector<int> shown = positionsOfSystem(list, system);
    const int target = row + direction;
    if (row < 1 || row > static_cast<int>(shown.size()) || target < 1 ||
        target > static_cast<int>(shown.size())) {
        return std::nullopt;
    }
    std::swap(list.entries[static_cast<std::size_t>(shown[static_cast<std::size_t>(row - 1)])],
              list.entries[static_cast<std::size_t>(shown[static_cast<std::size_t>(target - 1)])]);
    return target;
}

void setTakeoffBaseCosts(TakeoffList& list, int system, TakeoffRows rows, Currency net,
                         Currency submitted) {
    for (const int position : positionsOfRows(list, system, rows)) {
        TakeoffRecord& entry = list.entries[static_cast<std::size_t>(position)];
        entry.netBaseCost = net;
        entry.submittedBaseCost = submitted;
    }
}

ReceivedTakeoff readReceivedTakeoff(std::string_view payload) {
    const PayloadFields f(payload);
    if (f.size() < kEntryFieldCount) {
        throw TakeoffPayloadError("拾出データの項目が足りません（" + std::to_string(f.size()) +
                                  " 項目、" + std::to_string(kEntryFieldCount) +
                                  " 項目必要です）。");
    }
    ReceivedTakeoff received;
    TakeoffRecord& e = received.entry;
    e.nameSpec =
        fitToWidth(joinNameSpec(std::string(f.text(2)), std::string(f.text(3))), kNameSpecWidth);
    e.unit = fitToWidth(f.text(4), kUnitWidth);
    e.netPrice = f.currency(5);
    e.submittedPrice = f.currency(6);
    e.netQuantity = f.currency(9);
    e.submittedQuantity = f.currency(10);
    e.netCompositePrice = f.currency(11);
    e.submittedCompositePrice = f.currency(12);
    const std::int32_t kind = f.integer(13);
    e.kind = kind == 120 ? 110 : kind;
    e.sortCode = f.currency(14);
    e.note = fitToWidth(f.text(15), kLineNoteWidth);
    e.category = f.integer(16);
    e.laborFactor = f.currency(17);
    e.spareValue = f.currency(18);
    e.system = f.integer(19);
    e.origin = f.integer(20);
    e.amountText = fitToWidth(f.text(21), kAmountTextWidth);
    std::size_t field = 22;
    for (Currency* cost :
         {&e.netBaseCost, &e.submittedBaseCost, &e.netFitting, &e.submittedFitting}) {
        *cost = Currency::fromWhole(f.integer(field++));
    }
    for (std::int32_t* value :
         {&e.ductWidth, &e.ductHeight, &e.ductLength, &e.mode1, &e.mode2, &e.pipeMode, &e.place}) {
        *value = f.integer(field++);
    }
    for (Currency* value :
         {&e.area, &e.ductValue2, &e.correction, &e.ductValue4, &e.ratioPipe, &e.ratioFitting,
          &e.ratioJoint, &e.ratioSupport, &e.ratioChipping, &e.ratioOther}) {
        *value = f.currency(field++);
    }
    if (e.system < 0 || e.system >= kSystemCount) {
        throw TakeoffPayloadError("拾出データの系統が 0〜9 ではありません: " +
                                  std::to_string(e.system));
    }
    e.priceCode = fitToWidth(compositePriceCode(e.sortCode), kPriceCodeWidth);

    std::string breakdown = compositePriceCode(e.sortCode) + ";";
    bool anyBreakdown = false;
    for (std::size_t n = kBreakdownFirstField; n <= kBreakdownLastField; ++n) {
        anyBreakdown = anyBreakdown || !trimBlanks(f.text(n)).empty();
        appendAsSeparatedField(breakdown, f.text(n));
        breakdown += ';';
    }
    if (anyBreakdown) {
        received.unitCostBreakdown = std::move(breakdown);
    }
    return received;
}

ReceivedPlacement placeReceivedTakeoff(TakeoffList& list, const TakeoffRecord& entry,
                                       int shownSystem, int selectedRow) {
    const std::vector<int> shown = positionsOfSystem(list, shownSystem);
    if (selectedRow >= 1 && selectedRow <= static_cast<int>(shown.size())) {
        list.entries[static_cast<std::size_t>(shown[static_cast<std::size_t>(selectedRow - 1)])] =
            entry;
    } else {
        list.entries.push_back(entry);
    }
    if (entry.system == shownSystem) {
        const int row = selectedRow >= 1 && selectedRow <= static_cast<int>(shown.size())
                            ? selectedRow
                            : static_cast<int>(positionsOfSystem(list, shownSystem).size());
        return {shownSystem, row + 1};
    }
    return {entry.system, static_cast<int>(positionsOfSystem(list, entry.system).size())};
}

} // namespace kerbina

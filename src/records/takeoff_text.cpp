#include "records/takeoff_text.h"

#include "base/text.h"
#include "base/text_codec.h"
#include "records/line_kinds.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kerbina {
namespace {

constexpr std::size_t kFieldCount = 41;

// The fields of the text form in order, one table for the writer and the reader. `Record` is
// const when writing.
template <typename Record, typename Fields> void forEachTakeoffTextField(Record& e, Fields& f) {
    f.integer(e.sheet);
    f.integer(e.origin);
    f.integer(e.system);
    f.nameAndSpecification(e.nameSpec);
    f.currency(e.laborFactor);
    f.currency(e.sortCode);
    f.text(e.unit, kUnitWidth);
    f.kind(e.kind);
    f.integer(e.category);
    for (auto* value : {&e.netQuantity, &e.submittedQuantity, &e.netPrice, &e.submittedPrice,
                        &e.netCompositePrice, &e.submittedCompositePrice}) {
        f.currency(*value);
    }
    f.text(e.note, kLineNoteWidth);
    for (auto* value : {&e.spareValue, &e.netBaseCost, &e.submittedBaseCost, &e.netFitting,
                        &e.submittedFitting}) {
        f.currency(*value);
    }
    f.text(e.amountText, kAmountTextWidth);
    for (auto* value :
         {&e.ductWidth, &e.ductHeight, &e.ductLength, &e.mode1, &e.mode2, &e.pipeMode, &e.place}) {
        f.integer(*value);
    }
    for (auto* value :
         {&e.area, &e.ductValue2, &e.correction, &e.ductValue4, &e.ratioPipe, &e.ratioFitting,
          &e.ratioJoint, &e.ratioSupport, &e.ratioChipping, &e.ratioOther}) {
        f.currency(*value);
    }
    f.text(e.priceCode, kPriceCodeWidth);
}

class TextWriter {
public:
    explicit TextWriter(std::string& out) : out_(out) {}

    void integer(std::int32_t value) { field(std::to_string(value)); }
    void kind(LineKind value) { integer(value.code()); }
    void currency(Currency value) { field(value.toString()); }
    void text(const std::string& value, int) {
        appendAsSeparatedField(out_, value);
        out_ += ';';
    }
    // The 仕様 is the second ";"-field of nameSpec: text after a further ";" is not part of it.
    void nameAndSpecification(const std::string& nameSpec) {
        const auto [name, rest] = splitNameSpec(nameSpec);
        appendWithoutLineBreaks(out_, name);
        out_ += ';';
        text(rest.substr(0, rest.find(';')), 0);
    }

private:
    void field(const std::string& value) {
        out_ += value;
        out_ += ';';
    }

    std::string& out_;
};

class TextReader {
public:
    explicit TextReader(std::string_view text) {
        const std::vector<std::string_view> all = splitFields(text, ';');
        std::copy_n(all.begin(), std::min(all.size(), fields_.size()), fields_.begin());
    }

    void integer(std::int32_t& target) {
        target = parseInteger32(next(), IntegerText::SpacePadded).value_or(0);
    }
    void kind(LineKind& target) {
        std::int32_t code = 0;
        integer(code);
        target = code;
    }
    void currency(Currency& target) { target = parseNumber(next()); }
    void text(std::string& target, int width) { target = fitToWidth(next(), width); }
    void nameAndSpecification(std::string& target) {
        const std::string name(next());
        const std::string specification(next());
        target = fitToWidth(joinNameSpec(name, specification), kNameSpecWidth);
    }

private:
    std::string_view next() { return fields_[at_++]; }

    std::array<std::string_view, kFieldCount> fields_;
    std::size_t at_ = 0;
};

} // namespace

std::string takeoffToText(const TakeoffRecord& entry) {
    std::string text;
    text.reserve(300 + entry.nameSpec.size() + entry.note.size());
    TextWriter writer(text);
    forEachTakeoffTextField(entry, writer);
    return text;
}

TakeoffRecord takeoffFromText(std::string_view text) {
    TakeoffRecord entry;
    TextReader reader(text);
    forEachTakeoffTextField(entry, reader);
    return entry;
}

} // namespace kerbina

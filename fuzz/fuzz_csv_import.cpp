// The CSV import file comes from an editor the user may replace or a file the user may edit by
// hand. Every line of it must either become a line record whose texts fit their fields or raise
// the number error the import reports; and the line the CSV editor writes from a line's fields
// must read back as those fields.
#include "base/text.h"
#include "base/text_codec.h"
#include "money/currency.h"
#include "output/csv_import.h"
#include "records/records.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "fuzz_csv_import: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string text =
        kerbina::fromCp932(std::string_view(reinterpret_cast<const char*>(bytes), size));
    for (const std::string_view line : kerbina::splitFields(text, '\n')) {
        try {
            const kerbina::LineRecord record = kerbina::csvImportLine(line);
            if (kerbina::cp932Length(record.nameSpec) > kerbina::kNameSpecWidth ||
                kerbina::cp932Length(record.unit) > kerbina::kUnitWidth ||
                kerbina::cp932Length(record.note) > kerbina::kLineNoteWidth) {
                fault("a text is wider than its field");
            }
        } catch (const kerbina::NumberFormatError&) {
        }
        // The editor's own line: texts only, so it always reads.
        std::vector<std::string> fields;
        for (const std::string_view field : kerbina::splitFields(line, '\t')) {
            fields.emplace_back(field);
        }
        fields.resize(3);
        const kerbina::LineRecord edited = kerbina::csvImportLine(kerbina::csvImportText(fields));
        const std::string unit = kerbina::fitToWidth(
            std::string(kerbina::trimBlanks(kerbina::asSeparatedField(fields[2]))),
            kerbina::kUnitWidth);
        if (edited.unit != unit) {
            fault("the editor's unit did not read back");
        }
    }
    return 0;
}

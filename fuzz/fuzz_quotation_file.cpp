// Quotation files from anywhere (a user's disk, a mail, a damaged backup) go through the reader.
// It must either reject the file with a QuotationFileError or give what it could read, with the
// problems it read past; the writer must turn that into a file the strict reader accepts with no
// problem at all, and from the second cycle on reading and writing must be stable.
#include "base/text_codec.h"
#include "document/quotation_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "fuzz_quotation_file: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string text =
        kerbina::fromCp932(std::string_view(reinterpret_cast<const char*>(bytes), size));
    kerbina::QuotationData data;
    try {
        kerbina::QuotationReading reading = kerbina::readQuotationTextLeniently(text);
        for (const kerbina::QuotationFileProblem& problem : reading.problems) {
            // Messages quote at most about 80 characters of the file.
            if (problem.message.size() > 600) {
                fault("a problem message quotes too much of the file");
            }
        }
        data = std::move(reading.data);
    } catch (const kerbina::QuotationFileError& error) {
        if (error.detail().size() > 600) {
            fault("an error message quotes too much of the file");
        }
        return 0;
    }
    kerbina::QuotationWriteOptions options;
    options.unitCostReferences = size % 2 == 1;
    try {
        const kerbina::QuotationData first =
            kerbina::readQuotationText(kerbina::writeQuotationText(data, options));
        const std::string second = kerbina::writeQuotationText(first, options);
        const kerbina::QuotationData third = kerbina::readQuotationText(second);
        if (kerbina::writeQuotationText(third, options) != second) {
            fault("writing is not stable from the second cycle on");
        }
        for (int item = 1; item <= third.itemMax(); ++item) {
            options.singleSheet = item;
            options.omitUnlisted = true;
            kerbina::writeQuotationText(third, options);
        }
    } catch (const kerbina::QuotationFileError&) {
        fault("the writer's own file was rejected");
    }
    return 0;
}

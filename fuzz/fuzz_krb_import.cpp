// Old-format (.krb) files are binary records read at fixed offsets: any bytes must either be
// rejected with a QuotationFileError or give a quotation that saves as a readable quotation file.
#include "document/krb_import.h"
#include "document/quotation_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    kerbina::QuotationData data;
    try {
        data =
            kerbina::importVersion1(std::string_view(reinterpret_cast<const char*>(bytes), size));
    } catch (const kerbina::QuotationFileError&) {
        return 0;
    }
    try {
        kerbina::readQuotationText(kerbina::writeQuotationText(data, {}));
    } catch (const kerbina::QuotationFileError& error) {
        std::fprintf(stderr, "fuzz_krb_import: saved import rejected: %s\n", error.what());
        std::abort();
    }
    return 0;
}

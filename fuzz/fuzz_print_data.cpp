// print_Data.dat lies in the data root's print folder, where anything may change it before the
// breakdown printer reads it. Any bytes must give a list the printer lays out; and the file the
// program writes from the quotation's unit-cost breakdowns must bring every entry to the printer
// with every field as written.
#include "base/file_io.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "fuzz_support.h"
#include "output/print_data.h"
#include "printviewer/unit_cost_pages.h"
#include "printviewer/viewer_request.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_print_data", what);
    }
}

int pagesFor(std::size_t entries) {
    const auto perPage = static_cast<std::size_t>(kerbina::UnitCostPages::kEntriesPerPage);
    return std::max(1, static_cast<int>((entries + perPage - 1) / perPage));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::filesystem::path& dataRoot = kerbina::fuzz::scratchFolder();
    const std::filesystem::path file =
        kerbina::printFolder(dataRoot) / std::string(kerbina::kUnitCostPrintFileName);
    const std::string_view input = kerbina::fuzz::bytesOf(bytes, size);

    kerbina::fuzz::putFile(file, input);
    kerbina::UnitCostPages(kerbina::readUnitCostPrintData(dataRoot)).pageCount();

    // The breakdowns as the quotation file holds them: one a line.
    const std::vector<std::string> breakdowns = kerbina::splitTextLines(kerbina::fromCp932(input));
    kerbina::writeUnitCostPrintFiles(dataRoot, dataRoot, breakdowns);
    const std::vector<std::string> read = kerbina::readUnitCostPrintData(dataRoot);
    check(read == kerbina::unitCostPrintLines(breakdowns), "the print file read back differently");
    check(kerbina::UnitCostPages(read).pageCount() == pagesFor(breakdowns.size()),
          "an entry of the print file is not printed");
    return 0;
}

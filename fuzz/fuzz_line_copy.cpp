// Lines travel between sheets, quotations and spreadsheets through the line copy files
// (copydata.tmp, clipdata.tmp and the parts files, which users keep and exchange) and through the
// system clipboard. Any copy file must read without failing; the lines read must write a file
// that reads back as itself; and every line of clipboard text must come through the clipboard
// import file as one line.
#include "base/file_io.h"
#include "base/text_codec.h"
#include "fuzz_support.h"
#include "grid/line_copy_file.h"
#include "money/currency.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_line_copy", what);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::filesystem::path& folder = kerbina::fuzz::scratchFolder();
    const std::filesystem::path copyFile = kerbina::copyDataFile(folder);
    const std::string_view input = kerbina::fuzz::bytesOf(bytes, size);
    const std::array<kerbina::Currency, 3> decimals{kerbina::Currency::fromWhole(10),
                                                    kerbina::Currency::fromWhole(100),
                                                    kerbina::Currency::fromWhole(1000)};
    const kerbina::Currency quantityDecimals = decimals[size % decimals.size()];

    kerbina::fuzz::putFile(copyFile, input);
    if (const auto lines = kerbina::readLineCopyFile(copyFile)) {
        kerbina::writeLineCopyFile(copyFile, *lines, quantityDecimals);
        const std::string written = kerbina::readFileBytes(copyFile);
        const auto again = kerbina::readLineCopyFile(copyFile);
        check(again.has_value(), "the written copy file was refused");
        kerbina::writeLineCopyFile(copyFile, *again, quantityDecimals);
        check(kerbina::readFileBytes(copyFile) == written,
              "the written copy file did not read back as itself");
    }

    // The clipboard's text is UTF-8.
    const std::string text = kerbina::fromCp932(input);
    const std::vector<std::string> clipboardLines = kerbina::splitClipboardText(text);
    std::vector<std::string> file{std::string(kerbina::kCopyFileVersionLine)};
    for (const std::string& line : clipboardLines) {
        file.push_back(kerbina::clipboardLineText(line));
    }
    const std::filesystem::path clipFile = kerbina::clipDataFile(folder);
    kerbina::writeTextLines(clipFile, file);
    const auto pasted = kerbina::readLineCopyFile(clipFile);
    check(pasted.has_value() && pasted->size() == clipboardLines.size(),
          "a line of the clipboard was lost");
    return 0;
}

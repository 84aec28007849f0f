// The print programs are started with one argument that a shell, a shortcut or a script may have
// built or mangled: the viewer's R;"D";"D";"P";"V"; and the unit-cost breakdown printer's D;.
// Any text must either be refused or give a hand-off; and what the program builds from a data
// root, a print style and a version must reach the print program exactly, whatever characters the
// paths hold.
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "fuzz_support.h"
#include "output/print_data.h"
#include "printviewer/viewer_request.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_print_handoff", what);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view input = kerbina::fuzz::bytesOf(bytes, size);
    kerbina::parseViewerArgument(input);
    kerbina::parseUnitCostPrinterArgument(input);

    // A data root, a print style and a version, split from the input at NUL bytes (which no path
    // holds); the reduction mark is one the settings offer.
    std::vector<std::string> parts;
    for (const std::string_view part : kerbina::splitFields(input, '\0')) {
        parts.emplace_back(part);
    }
    parts.resize(3);
    const std::string& root = parts[0];
    if (root.empty() || !kerbina::isUtf8Text(root)) {
        return 0;
    }
    constexpr std::array<std::string_view, 3> kMarks{"△", "▲", "-"};
    const std::string_view mark = kMarks[size % kMarks.size()];
    const std::filesystem::path dataRoot = kerbina::pathFromText(root);

    const auto handoff =
        kerbina::parseViewerArgument(kerbina::viewerArgument(mark, dataRoot, parts[1], parts[2]));
    check(handoff.has_value(), "the viewer's argument was refused");
    check(handoff->reductionMark == mark, "the reduction mark did not come through");
    check(handoff->dataRoot == dataRoot, "the data root did not come through");
    check(handoff->printStyle == parts[1], "the print style did not come through");
    check(handoff->version == parts[2], "the version did not come through");

    const auto printerRoot =
        kerbina::parseUnitCostPrinterArgument(kerbina::unitCostPrinterArgument(dataRoot));
    check(printerRoot == dataRoot, "the data root did not reach the breakdown printer");
    return 0;
}

// The layout and history files under the data root and the work folder are kept between runs and
// edited by hand: the grid's column layouts, the list page's layouts, window positions and the
// cover's history lists. Any bytes must read as a layout or a list without failing; and what is
// written from what was read must read back the same.
#include "base/conf_file.h"
#include "cover/cover_fields.h"
#include "cover/cover_history.h"
#include "fuzz_support.h"
#include "grid/column_layout.h"
#include "storage/list_layout.h"

#include <cstdint>
#include <string>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_layout_files", what);
    }
}

void checkColumnLayout(const std::filesystem::path& dataRoot, kerbina::GridLayout layout,
                       std::string_view input) {
    kerbina::fuzz::putFile(kerbina::columnLayoutFile(dataRoot, layout), input);
    const auto read = kerbina::readColumnLayout(dataRoot, layout);
    check(read.has_value(), "a column layout file was not read");
    kerbina::saveColumnLayout(dataRoot, layout, *read);
    check(kerbina::readColumnLayout(dataRoot, layout) == read,
          "a column layout read back differently");
}

void checkListLayout(const std::filesystem::path& dataRoot, bool showAddressee,
                     std::string_view input) {
    kerbina::fuzz::putFile(kerbina::listLayoutFile(dataRoot, showAddressee), input);
    const kerbina::ListLayout read = kerbina::readListLayout(dataRoot, showAddressee);
    kerbina::writeListLayout(dataRoot, showAddressee, read);
    const kerbina::ListLayout again = kerbina::readListLayout(dataRoot, showAddressee);
    check(again.columnWidths == read.columnWidths && again.sortCode == read.sortCode &&
              again.rowsChoice == read.rowsChoice &&
              again.addresseeBoxHeight == read.addresseeBoxHeight &&
              again.addresseeListShown == read.addresseeListShown,
          "a list layout read back differently");
}

void checkWindowPosition(const std::filesystem::path& dataRoot, std::string_view input) {
    constexpr std::string_view kWindow = "MainWindow";
    kerbina::fuzz::putFile(kerbina::windowPositionPath(dataRoot, kWindow), input);
    const kerbina::WindowPosition position = kerbina::readWindowPosition(dataRoot, kWindow);
    kerbina::writeWindowPosition(dataRoot, kWindow, position);
    check(kerbina::readWindowPosition(dataRoot, kWindow) == position,
          "a window position read back differently");
}

// Every history file holds the input; writing the lists again where they are missing must give
// the lists that were read.
void checkCoverHistories(const std::filesystem::path& workFolder, std::string_view input) {
    for (const kerbina::CoverTextField& field : kerbina::coverTextFields()) {
        if (!field.historyFile.empty()) {
            kerbina::fuzz::putFile(workFolder / field.historyFile, input);
        }
    }
    kerbina::CoverHistories histories = kerbina::loadCoverHistories(workFolder);
    for (const kerbina::CoverTextField& field : kerbina::coverTextFields()) {
        if (!field.historyFile.empty()) {
            std::filesystem::remove(workFolder / field.historyFile);
        }
    }
    const kerbina::CoverHistories read = histories;
    kerbina::updateCoverHistories(workFolder, histories, kerbina::CoverValues{});
    check(histories.lists == read.lists, "a history list changed without an entry");
    check(kerbina::loadCoverHistories(workFolder).lists == read.lists,
          "a history list read back differently");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::filesystem::path& dataRoot = kerbina::fuzz::scratchFolder();
    const std::string_view input = kerbina::fuzz::bytesOf(bytes, size);
    // One kind of file a run, chosen by the input's length, keeps the runs short.
    switch (size % 4) {
    case 0:
        for (const kerbina::GridLayout layout :
             {kerbina::GridLayout::SheetCombined, kerbina::GridLayout::SheetSeparated,
              kerbina::GridLayout::ItemList}) {
            checkColumnLayout(dataRoot, layout, input);
        }
        break;
    case 1:
        checkListLayout(dataRoot, false, input);
        checkListLayout(dataRoot, true, input);
        break;
    case 2:
        checkWindowPosition(dataRoot, input);
        break;
    default:
        checkCoverHistories(dataRoot / "work", input);
        break;
    }
    return 0;
}

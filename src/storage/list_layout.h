#pragma once

#include <filesystem>
#include <vector>

namespace kerbina {

// The layout file of the list page, one per column layout under the data root:
// conf/filesel_Dlg1.conf without the addressee column, conf/filesel_Dlg2.conf with it.
struct ListLayout {
    std::vector<int> columnWidths;  // one per grid column; column 0 is always 0 (hidden)
    int sortCode = 0;               // "[File_Sort]="
    int rowsChoice = 0;             // "[Row_Num]=": index of the "1ページの件数" choice
    int addresseeBoxHeight = 200;   // "[Splitter2]="
    bool addresseeListShown = true; // "[Atesaki_List]="
};

std::filesystem::path listLayoutFile(const std::filesystem::path& dataRoot, bool showAddressee);

// Reads the layout of one column layout. A width that cannot be read is 50. When the file does
// not exist, the default widths are taken and the file is written with them (a failure to write
// it is ignored: the defaults still apply).
ListLayout readListLayout(const std::filesystem::path& dataRoot, bool showAddressee);

// Writes the file whole, atomically. Raises FileError.
void writeListLayout(const std::filesystem::path& dataRoot, bool showAddressee,
                     const ListLayout& layout);

} // namespace kerbina

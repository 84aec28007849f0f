#include "base/file_io.h"
#include "storage/list_layout.h"
#include "storage_fixture.h"

namespace kerbina {
namespace {

class ListLayoutTest : public StorageTest {};

TEST_F(ListLayoutTest, AMissingFileGetsTheDefaultsWritten) {
    const ListLayout layout = readListLayout(folder(), false);
    EXPECT_EQ(layout.columnWidths, (std::vector<int>{0, 110, 110, 250, 250, 150, 100, 100}));
    EXPECT_EQ(readTextLines(listLayoutFile(folder(), false)),
              (std::vector<std::string>{
                  "[Grid_Colwidths[0]]=0", "[Grid_Colwidths[1]]=110", "[Grid_Colwidths[2]]=110",
                  "[Grid_Colwidths[3]]=250", "[Grid_Colwidths[4]]=250", "[Grid_Colwidths[5]]=150",
                  "[Grid_Colwidths[6]]=100", "[Grid_Colwidths[7]]=100", "[File_Sort]=0",
                  "[Row_Num]=0", "[Splitter2]=200", "[Atesaki_List]=1"}));
    EXPECT_EQ(readListLayout(folder(), true).columnWidths.size(), 9u);
}

TEST_F(ListLayoutTest, ValuesReadBackAndUnreadableWidthsAre50) {
    ListLayout layout = readListLayout(folder(), true);
    layout.columnWidths = {30, 120, 90, 300, 200, 200, 80, 80, 90};
    layout.sortCode = 9;
    layout.rowsChoice = 3;
    layout.addresseeBoxHeight = 321;
    layout.addresseeListShown = false;
    writeListLayout(folder(), true, layout);
    const ListLayout back = readListLayout(folder(), true);
    EXPECT_EQ(back.columnWidths, (std::vector<int>{0, 120, 90, 300, 200, 200, 80, 80, 90}));
    EXPECT_EQ(back.sortCode, 9);
    EXPECT_EQ(back.rowsChoice, 3);
    EXPECT_EQ(back.addresseeBoxHeight, 321);
    EXPECT_FALSE(back.addresseeListShown);

    writeTextLines(listLayoutFile(folder(), false), {"[Grid_Colwidths[2]]=wide", "[File_Sort]=12"});
    const ListLayout damaged = readListLayout(folder(), false);
    EXPECT_EQ(damaged.columnWidths, (std::vector<int>{0, 50, 50, 50, 50, 50, 50, 50}));
    EXPECT_EQ(damaged.sortCode, 12);
}

} // namespace
} // namespace kerbina

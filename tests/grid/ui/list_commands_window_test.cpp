// The breakdown list's structure commands and double-click as the window offers them.
#include "app/ui/main_window.h"
#include "grid/ui/quotation_view.h"
#include "main_window_fixture.h"
#include "records/kinds.h"
#include "widgets/message_box.h"

#include <QAction>
#include <QTabBar>
#include <QTableView>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

QStringList contextMenuNames(const MainWindow& window) {
    QStringList names;
    for (const QAction* action : window.grid()->actions()) {
        names << action->objectName();
    }
    return names;
}

// The list's context menu offers the structure commands; a reduction asked for through the menu
// lands on the selected row; a double-click one row past the last item opens a new sheet there,
// and two rows past is refused.
TEST_F(MainWindowTest, TheBreakdownListOffersItsStructureCommandsAndOpensNewSheets) {
    const auto window = start();
    window->sheetTabs()->setCurrentIndex(0);
    ASSERT_TRUE(window->listMode());
    const QStringList names = contextMenuNames(*window);
    for (const char* name : {"listHierarchy", "listNote", "listReduction", "listTax",
                             "listSmallSum", "listMidSum", "listSumLine"}) {
        EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name;
    }

    selectRow(*window, 2);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    MessageBox::setNextInput(QStringLiteral("出精値引"));
    MessageBox::setNextInput(QStringLiteral("1000"));
    window->action("listReduction")->trigger();
    const DocumentState& document = window->document();
    ASSERT_EQ(document.itemMax(), 2);
    EXPECT_EQ(document.items[2].kind, ItemKind::Reduction);
    EXPECT_EQ(document.items[2].submittedTotal, Currency::fromWhole(1000));
    EXPECT_EQ(cell(*window, 2, 2), QStringLiteral("出精値引"));
    MessageBox::takeShownTexts();
    screenshot(*window, "list_reduction");

    emit window->findChild<QuotationView*>()->rowDoubleClicked(4);
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("内訳行を飛ばす事はできません")});
    EXPECT_TRUE(window->listMode());

    emit window->findChild<QuotationView*>()->rowDoubleClicked(3);
    EXPECT_EQ(document.itemMax(), 3);
    EXPECT_FALSE(window->listMode());
    EXPECT_EQ(document.currentSheetNumber, 3);
    EXPECT_EQ(window->sheetTabs()->currentIndex(), window->sheetTabs()->count() - 1);
}

} // namespace
} // namespace kerbina

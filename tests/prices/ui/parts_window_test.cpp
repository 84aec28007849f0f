#include "calc/totals.h"
#include "main_window_fixture.h"
#include "records/document_state.h"
#include "test_data.h"

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

namespace kerbina {
namespace {

QTreeWidgetItem* itemNamed(QTreeWidget& tree, const QString& name) {
    const auto found = tree.findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
}

// Two lines of one sheet saved through the tab come back in another sheet by a double-click on
// the part: inserted at the selected row, computed and written as one step that undo takes back.
TEST_F(MainWindowTest, APartSavedOnTheTabIsLoadedIntoAnotherSheetByDoubleClick) {
    const auto window = start(exampleQuotation(3));
    auto* page = window->findChild<QWidget*>(QStringLiteral("partsPage"));
    auto* folderTree = window->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    auto* partList = window->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_TRUE(page && folderTree && partList);
    window->showSidePage(page);
    window->sheetTabs()->setCurrentIndex(1);
    const DocumentState& state = window->document();
    ASSERT_GE(state.lineCount(), 2);
    const LineRecord first = state.sheet[1];
    const LineRecord second = state.sheet[2];

    window->selectRows(1, 2);
    window->action("partSave")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("保存するフォルダーを選択してください")});

    folderTree->setCurrentItem(itemNamed(*folderTree, QStringLiteral("見積定型")));
    MessageBox::setNextInput(QStringLiteral("../外"));
    window->action("partSave")->trigger();
    MessageBox::setNextInput(QStringLiteral("二行"));
    window->action("partSave")->trigger();
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0], QStringLiteral("場所:見積定型\nパ－ツファイル名を入力してください。"));
    EXPECT_TRUE(shown[1].startsWith(QStringLiteral("名前に使えない文字が含まれています。")));
    EXPECT_EQ(shown[3], QStringLiteral("パーツファイルを保存しました。"));
    ASSERT_EQ(partList->topLevelItemCount(), 1);
    EXPECT_EQ(partList->topLevelItem(0)->text(0), QStringLiteral("二行"));
    EXPECT_EQ(partList->topLevelItem(0)->text(1), QStringLiteral("見積定型"));

    window->sheetTabs()->setCurrentIndex(2);
    const Sheet before = state.sheet;
    const Currency totalBefore = state.header.submittedGrandTotal;
    ASSERT_GE(before.size(), 3u);
    window->selectRows(2, 2);
    QTreeWidgetItem* part = partList->topLevelItem(0);
    partList->setCurrentItem(part);
    const QPoint at = partList->visualItemRect(part).center();
    // A click first, as a user's double-click begins with one.
    QTest::mouseClick(partList->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(partList->viewport(), Qt::LeftButton, {}, at);

    ASSERT_EQ(state.lineCount(), static_cast<int>(before.size()) - 1 + 2);
    EXPECT_EQ(state.sheet[1], before[1]);
    EXPECT_EQ(state.sheet[2].nameSpec, first.nameSpec);
    EXPECT_EQ(state.sheet[2].submittedAmount, first.submittedAmount);
    EXPECT_EQ(state.sheet[3].nameSpec, second.nameSpec);
    EXPECT_EQ(state.sheet[4], before[2]);
    // The totals are those of the sheet as it now stands.
    EXPECT_NE(state.header.submittedGrandTotal, totalBefore);
    DocumentState recomputed = state;
    recalculateSheet(recomputed);
    recalculateItemList(recomputed);
    EXPECT_EQ(state.header.submittedGrandTotal, recomputed.header.submittedGrandTotal);
    EXPECT_EQ(state.items[2].submittedTotal, recomputed.items[2].submittedTotal);
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());

    window->action("undo")->trigger();
    EXPECT_EQ(state.sheet, before);
    EXPECT_EQ(state.header.submittedGrandTotal, totalBefore);
    screenshot(*window, "parts_tab");

    // Dropped on another folder, the selected part moves there.
    part->setSelected(true);
    // What the list itself puts on a drag of its selection.
    const std::unique_ptr<QMimeData> dragged(
        partList->model()->mimeData(partList->selectionModel()->selectedIndexes()));
    ASSERT_TRUE(dragged);
    const QPoint notes =
        folderTree->visualItemRect(itemNamed(*folderTree, QStringLiteral("特記事項"))).center();
    QDragEnterEvent enter(notes, Qt::MoveAction, dragged.get(), Qt::LeftButton, {});
    QApplication::sendEvent(folderTree->viewport(), &enter);
    QDropEvent drop(QPointF(notes), Qt::MoveAction, dragged.get(), Qt::LeftButton, {});
    QApplication::sendEvent(folderTree->viewport(), &drop);
    EXPECT_EQ(partList->topLevelItemCount(), 0);
    EXPECT_TRUE(fs::is_regular_file(folders.dataRoot / "part" / u8"特記事項" / u8"二行.prt"));
}

} // namespace
} // namespace kerbina

#include "costs/ui/expense_dialog.h"
#include "main_window_fixture.h"
#include "records/item_settings.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace kerbina {
namespace {

class ExpensesInWindowTest : public MainWindowTest {
protected:
    // Runs `command` while `inDialog` works the expense dialog it opens, then closes it.
    void runWithDialog(MainWindow& window, const char* command,
                       const std::function<void(ExpenseDialog&)>& inDialog) {
        QTimer::singleShot(0, [&window, &inDialog] {
            auto* dialog = window.findChild<ExpenseDialog*>();
            ASSERT_NE(dialog, nullptr);
            inDialog(*dialog);
            dialog->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        });
        window.action(command)->trigger();
    }
};

void enter(ExpenseDialog& dialog, const char* net, const char* submitted, int target, int cut) {
    dialog.findChild<QLineEdit*>(QStringLiteral("NBOX"))->setText(QString::fromUtf8(net));
    dialog.findChild<QLineEdit*>(QStringLiteral("GBOX"))->setText(QString::fromUtf8(submitted));
    dialog.findChild<QComboBox*>(QStringLiteral("Target"))->setCurrentIndex(target);
    dialog.findChild<QComboBox*>(QStringLiteral("Cut"))->setCurrentIndex(cut);
}

void calculate(ExpenseDialog& dialog) {
    dialog.findChild<QPushButton*>(QStringLiteral("calculateButton"))->click();
}

// On the list the dialog writes items below each other, each write checked on its own row; back
// on a sheet the same dialog writes a sheet line and shows its patterns again.
TEST_F(ExpensesInWindowTest, TheDialogWritesItemsOnTheListAndLinesOnASheet) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    window->sheetTabs()->setCurrentIndex(0);
    ASSERT_TRUE(window->listMode());

    selectRow(*window, 1);
    window->action("listExpenses")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("先頭行に諸経費を入れる事はできません。")});

    selectRow(*window, 3);
    runWithDialog(*window, "listExpenses", [](ExpenseDialog& dialog) {
        EXPECT_FALSE(dialog.findChild<QTabWidget*>()->isTabVisible(1));
        enter(dialog, "5", "8", 0, 2);
        calculate(dialog);
        enter(dialog, "", "8", 0, 2);
        calculate(dialog); // refused: nothing written, the selection stays
        enter(dialog, "3", "3", 1, 0);
        calculate(dialog);
    });
    const DocumentState& state = window->document();
    ASSERT_EQ(state.itemMax(), 4);
    EXPECT_EQ(state.items[2].kind, ItemKind::Sheet);
    EXPECT_EQ(state.items[3].kind, ItemKind::ExpenseOnTotal);
    EXPECT_EQ(expenseRates(state.items[3]).roundingOffset, Currency::fromWhole(2));
    EXPECT_EQ(state.items[4].kind, ItemKind::ExpenseOutsideOtherExpenses);
    EXPECT_EQ(window->selection(), (Selection{5, 5}));
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("掛け率が入力されていません。")});

    // Each expense item is one step of list undo.
    window->action("listUndo")->trigger();
    ASSERT_EQ(window->document().itemMax(), 3);
    EXPECT_EQ(window->document().items[3].kind, ItemKind::ExpenseOnTotal);

    window->sheetTabs()->setCurrentIndex(1);
    ASSERT_FALSE(window->listMode());
    selectRow(*window, 3);
    runWithDialog(*window, "expenses", [](ExpenseDialog& dialog) {
        EXPECT_TRUE(dialog.findChild<QTabWidget*>()->isTabVisible(1));
        enter(dialog, "5", "8", 1, 2);
        calculate(dialog);
        screenshot(dialog, "expense_dialog");
    });
    ASSERT_GE(window->document().lineCount(), 3);
    const LineRecord& line = window->document().sheet[3];
    EXPECT_EQ(line.kind, LineKind::ExpenseOutsideOtherExpenses);
    EXPECT_EQ(line.hiddenFlag, 2);
    EXPECT_EQ(window->selection(), (Selection{4, 4}));
    screenshot(*window, "expenses_in_window");
}

} // namespace
} // namespace kerbina

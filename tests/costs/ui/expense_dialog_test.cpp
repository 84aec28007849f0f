#include "base/file_io.h"
#include "costs/ui/expense_dialog.h"
#include "costs/ui/expense_pattern_editor.h"
#include "temp_folder.h"
#include "widgets/message_box.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

template <class Widget> Widget* part(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

class ExpenseDialogTest : public ::testing::Test {
protected:
    void SetUp() override { MessageBox::setScripted(true); }
    void TearDown() override { MessageBox::takeShownTexts(); }

    ExpenseDialog::Writes recording() {
        ExpenseDialog::Writes writes;
        writes.entry = [this](const ExpenseEntry& entry) {
            entries.push_back(entry);
        };
        writes.pattern = [this](const std::optional<std::vector<ExpensePatternLine>>& lines) {
            patterns.push_back(lines);
        };
        return writes;
    }

    TempFolder root;
    std::vector<ExpenseEntry> entries;
    std::vector<std::optional<std::vector<ExpensePatternLine>>> patterns;
};

// The buttons fill the entry "計　算" hands on; a target that rounds with the total disables the
// rounding choice, which still goes with the entry.
TEST_F(ExpenseDialogTest, ButtonsFillTheEntryThatCalculateHandsOn) {
    ExpenseDialog dialog(root.path());
    dialog.prepare(ExpenseDialog::Mode::Sheet, QStringLiteral("題"), recording());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("題"));
    EXPECT_EQ(part<QComboBox>(dialog, "X_ci")->currentText(), QStringLiteral("式"));
    EXPECT_EQ(part<QPushButton>(dialog, "kbutton_3")->text(), QStringLiteral("現場管理費"));

    part<QComboBox>(dialog, "Cut")->setCurrentIndex(2);
    part<QPushButton>(dialog, "kbutton_3")->click();
    part<QPushButton>(dialog, "rateButton15")->click();
    EXPECT_EQ(part<QLineEdit>(dialog, "NBOX")->text(), QStringLiteral("15"));
    EXPECT_EQ(part<QLineEdit>(dialog, "GBOX")->text(), QStringLiteral("15"));
    EXPECT_EQ(part<QComboBox>(dialog, "Target")->currentIndex(), 2);
    EXPECT_FALSE(part<QComboBox>(dialog, "Cut")->isEnabled());
    part<QPushButton>(dialog, "calculateButton")->click();

    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].name, "現場管理費");
    EXPECT_EQ(entries[0].submittedRateText, "15");
    EXPECT_EQ(entries[0].targetIndex, 2);
    EXPECT_EQ(entries[0].roundingIndex, 2);
    EXPECT_EQ(entries[0].unit, ExpenseUnit::Lump);

    part<QComboBox>(dialog, "Target")->setCurrentIndex(1);
    EXPECT_TRUE(part<QComboBox>(dialog, "Cut")->isEnabled());
}

TEST_F(ExpenseDialogTest, ARightClickRenamesTheButtonWithTheCurrentTarget) {
    ExpenseDialog dialog(root.path());
    dialog.prepare(ExpenseDialog::Mode::Sheet, QStringLiteral("題"), recording());
    dialog.show();
    part<QComboBox>(dialog, "Target")->setCurrentIndex(3);
    MessageBox::setNextInput(QStringLiteral("共通仮設費"));
    QTest::mouseClick(part<QPushButton>(dialog, "kbutton_5"), Qt::RightButton);

    EXPECT_EQ(part<QPushButton>(dialog, "kbutton_5")->text(), QStringLiteral("共通仮設費"));
    EXPECT_EQ(readExpenseNames(root.path())[4], (ExpenseNameButton{"共通仮設費", 3}));
    EXPECT_EQ(MessageBox::takeShownTexts().back(),
              QStringLiteral("計算対象:経費外抜(端数処理有)\nとして登録しました。"));

    MessageBox::setNextInput(QStringLiteral("a;b"));
    QTest::mouseClick(part<QPushButton>(dialog, "kbutton_6"), Qt::RightButton);
    EXPECT_EQ(readExpenseNames(root.path())[5], (ExpenseNameButton{"諸 経 費", 5}));
    EXPECT_EQ(MessageBox::takeShownTexts().back(), QStringLiteral("「;」は入力できません。"));
}

// Shift-click opens the editor; what it registers is the pattern a plain click then writes, and
// the dialog closes after writing it.
TEST_F(ExpenseDialogTest, PatternsAreEditedWithShiftAndWrittenWithAClick) {
    ExpenseDialog dialog(root.path());
    dialog.prepare(ExpenseDialog::Mode::Sheet, QStringLiteral("題"), recording());
    dialog.show();
    auto* button = part<QPushButton>(dialog, "rkburron_2");
    EXPECT_EQ(button->text(), QString());
    button->click(); // no file yet: nothing happens
    EXPECT_TRUE(patterns.empty());

    QTimer::singleShot(0, [&dialog] {
        auto* editor = dialog.findChild<ExpensePatternEditor*>();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->objectName(), QStringLiteral("Tkeihiplan"));
        part<QLineEdit>(*editor, "row1_1")->setText(QStringLiteral("現場管理費"));
        part<QLineEdit>(*editor, "row1_2")->setText(QStringLiteral("管理"));
        part<QLineEdit>(*editor, "row1_5")->setText(QStringLiteral("2.5"));
        part<QComboBox>(*editor, "row1_6")->setCurrentIndex(1);
        part<QPushButton>(*editor, "registerButton")->click();
    });
    QTest::mouseClick(button, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(button->text(), QStringLiteral("管理(2.5%) "));
    EXPECT_EQ(readTextLines(root.path() / "data" / "keihi_02.dat").size(), 10U);

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(patterns.size(), 1U);
    ASSERT_TRUE(patterns[0]);
    EXPECT_EQ((*patterns[0])[0].kind, 82);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ExpenseDialogTest, ThePatternTabIsThereOnASheetOnly) {
    ExpenseDialog dialog(root.path());
    auto* tabs = dialog.findChild<QTabWidget*>();
    dialog.prepare(ExpenseDialog::Mode::List, QStringLiteral("題"), recording());
    EXPECT_FALSE(tabs->isTabVisible(1));
    part<QComboBox>(dialog, "X_ci")->setCurrentIndex(0);
    dialog.prepare(ExpenseDialog::Mode::Sheet, QStringLiteral("題"), recording());
    EXPECT_TRUE(tabs->isTabVisible(1));
    EXPECT_EQ(part<QComboBox>(dialog, "X_ci")->currentIndex(), 1); // "式" at every showing
}

} // namespace
} // namespace kerbina

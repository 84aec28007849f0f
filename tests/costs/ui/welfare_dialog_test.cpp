#include "base/file_io.h"
#include "costs/ui/welfare_dialog.h"
#include "grid/ui/quotation_view.h"
#include "main_window_fixture.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <functional>

namespace kerbina {
namespace {

// Runs `steps` on the welfare dialog once it shows (modal, over `parent`).
void whenDialogShows(QWidget& parent, const std::function<void(WelfareDialog&)>& steps) {
    QTimer::singleShot(0, &parent, [&parent, steps] {
        auto* dialog = parent.findChild<WelfareDialog*>(QStringLiteral("Tfhouteifukuri"));
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());
        steps(*dialog);
    });
}

template <typename Widget> Widget* field(WelfareDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void click(WelfareDialog& dialog, const char* button) {
    field<QPushButton>(dialog, button)->click();
}

class WelfareDialogTest : public testing::Test {
protected:
    void SetUp() override { MessageBox::setScripted(true); }
    void TearDown() override { MessageBox::takeShownTexts(); }

    TempFolder root;
    QWidget parent;
    WelfareDialog* dialog = new WelfareDialog(root.path(), &parent);
};

TEST_F(WelfareDialogTest, ShowsTheDefaultsAndTheStatusOfItsBase) {
    std::optional<WelfareDialog::Choice> choice;
    whenDialogShows(parent, [](WelfareDialog& shown) {
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("法定福利費"));
        EXPECT_EQ(field<QLineEdit>(shown, "Fukuri1")->text(), QString());
        EXPECT_EQ(field<QComboBox>(shown, "ComboBox1")->currentText(),
                  QStringLiteral("【法定福利費相当額】"));
        EXPECT_EQ(field<QLabel>(shown, "Itemname2")->text(), QStringLiteral("厚生年金保険 "));
        EXPECT_EQ(field<QLineEdit>(shown, "ItemValue1")->text(), QStringLiteral("0"));
        EXPECT_EQ(field<QLabel>(shown, "Sumname")->text(), QStringLiteral("法定福利費事業主負担"));
        EXPECT_EQ(field<QLabel>(shown, "Valuesum")->text(), QStringLiteral("10"));
        EXPECT_EQ(field<QLabel>(shown, "Itemname6")->text(), QStringLiteral("適用労働者率"));
        EXPECT_EQ(field<QLineEdit>(shown, "ItemValue6")->text(), QStringLiteral("100"));
        EXPECT_FALSE(field<QCheckBox>(shown, "CheckBox1")->isChecked());
        EXPECT_EQ(shown.statusText(0), QStringLiteral("労務費:2000000"));
        EXPECT_EQ(shown.statusText(1), QStringLiteral("税抜計:10000000"));
        EXPECT_EQ(shown.statusText(2), QStringLiteral("消費税:1000000"));

        click(shown, "ratioButton");
        EXPECT_EQ(field<QLineEdit>(shown, "Fukuri1")->text(), QStringLiteral("20"));
        field<QLineEdit>(shown, "ItemValue1")->setText(QStringLiteral("9.98"));
        emit field<QLineEdit>(shown, "ItemValue1")->textEdited(QStringLiteral("9.98"));
        EXPECT_EQ(field<QLabel>(shown, "Valuesum")->text(), QStringLiteral("9.98"));
        MessageBox::setNextInput(QStringLiteral("健保"));
        shown.rename(field<QLabel>(shown, "Itemname1"));
        EXPECT_EQ(field<QLabel>(shown, "Itemname1")->text(), QStringLiteral("健保"));
        click(shown, "singleButton");
    });
    choice = dialog->ask(WelfareBase{c("2000000"), c("11000000"), c("1000000")});

    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->layout, WelfareLayout::Single);
    EXPECT_EQ(choice->entry.labourRate, c("20"));
    EXPECT_EQ(choice->entry.employerRate, c("9.98"));
    EXPECT_EQ(choice->entry.insuranceNames[0], "健保");
}

// A write without the rates says so and closes; cancelling keeps the fields, and every closing
// writes the configuration file.
TEST_F(WelfareDialogTest, EveryClosingWritesTheFileAndARefusedWriteCloses) {
    whenDialogShows(parent, [](WelfareDialog& shown) {
        field<QLineEdit>(shown, "ItemValue6")->setText(QStringLiteral("80"));
        click(shown, "expandedButton"); // no labour rate
    });
    EXPECT_FALSE(dialog->ask(WelfareBase{}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("掛け率が入力されていません。")});
    EXPECT_EQ(readTextLines(welfareConfPath(root.path()))[14], "[ITEMVALUE6]=80");

    whenDialogShows(parent, [](WelfareDialog& shown) {
        click(shown, "ratioButton"); // nothing left after the tax: said, the field kept
        EXPECT_EQ(field<QLineEdit>(shown, "ItemValue6")->text(), QStringLiteral("80"));
        field<QLineEdit>(shown, "Fukuri1")->setText(QStringLiteral("16.5"));
        click(shown, "cancelButton");
    });
    EXPECT_FALSE(dialog->ask(WelfareBase{c("10"), c("100"), c("100")}));
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("税抜計が0のため労務費率を計算できません。")});
    EXPECT_EQ(readTextLines(welfareConfPath(root.path()))[8], "[NAVR]=16.5");
}

class WelfareWindowTest : public MainWindowTest {};

// The sheet's command, its refusal once a welfare line exists, and the double-click that enters
// the welfare again.
TEST_F(WelfareWindowTest, SheetCommandAndDoubleClickOnAWelfareLine) {
    auto window = start();
    ASSERT_FALSE(window->listMode());
    selectRow(*window, 2);
    whenDialogShows(*window, [](WelfareDialog& shown) {
        field<QLineEdit>(shown, "Fukuri1")->setText(QStringLiteral("16.5"));
        click(shown, "singleButton");
    });
    window->action(QStringLiteral("welfare"))->trigger();
    ASSERT_GE(window->document().lineCount(), 2);
    EXPECT_EQ(window->document().sheet[2].kind, LineKind::Welfare);
    EXPECT_EQ(window->document().sheet[2].netQuantity, c("16.5"));
    EXPECT_EQ(window->selection(), (Selection{3, 3}));

    window->action(QStringLiteral("welfare"))->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("すでに法定福利費が入力されています")});

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    emit window->quotationView().rowDoubleClicked(2);
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("法定福利費を再入力しますか？")});
    EXPECT_EQ(window->document().sheet[2].kind, LineKind::Welfare);

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    whenDialogShows(*window, [](WelfareDialog& shown) {
        field<QLineEdit>(shown, "ItemValue1")->setText(QStringLiteral("9.98"));
        emit field<QLineEdit>(shown, "ItemValue1")->textEdited(QStringLiteral("9.98"));
        click(shown, "expandedButton");
    });
    emit window->quotationView().rowDoubleClicked(2);
    EXPECT_EQ(window->document().sheet[2].kind, LineKind::Welfare);
    EXPECT_EQ(splitNameSpec(window->document().sheet[2].nameSpec).first, "健康保険");
    EXPECT_EQ(window->document().sheet[3].kind, LineKind::WelfareSum);
}

TEST_F(WelfareWindowTest, ListEntryChecksTheRowAndWritesInListMode) {
    auto window = start();
    window->sheetTabs()->setCurrentIndex(0);
    ASSERT_TRUE(window->listMode());
    selectRow(*window, 1);
    window->action(QStringLiteral("listWelfare"))->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("先頭行に法定福利費を入れる事はできません。")});

    selectRow(*window, 3);
    whenDialogShows(*window, [](WelfareDialog& shown) {
        field<QLineEdit>(shown, "Fukuri1")->setText(QStringLiteral("16.5"));
        click(shown, "formulaButton");
    });
    window->action(QStringLiteral("listWelfare"))->trigger();
    const DocumentState& state = window->document();
    ASSERT_EQ(state.itemMax(), 8);
    EXPECT_EQ(state.items[3].kind, ItemKind::Comment);
    EXPECT_EQ(state.items[4].kind, ItemKind::Welfare);
    EXPECT_EQ(state.items[4].name, "【法定福利費相当額】(A)");
    EXPECT_EQ(window->selection(), (Selection{9, 9}));
}

} // namespace
} // namespace kerbina

#include "grid/ui/quotation_view.h"
#include "main_window_fixture.h"
#include "money_literal.h"
#include "prices/ui/calculated_price_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <functional>

namespace kerbina {
namespace {

class CalculatedPriceWindowTest : public MainWindowTest {
protected:
    // Runs `open` while `inDialog` works the dialog it opens; the dialog is closed afterwards.
    static void withDialog(MainWindow& window,
                           const std::function<void(CalculatedPriceDialog&)>& inDialog,
                           const std::function<void()>& open) {
        bool shown = false;
        QTimer::singleShot(0, [&window, &inDialog, &shown] {
            auto* dialog =
                window.findChild<CalculatedPriceDialog*>(QStringLiteral("Tfcalctanka_Dlg"));
            ASSERT_NE(dialog, nullptr);
            ASSERT_TRUE(dialog->isVisible());
            shown = true;
            inDialog(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        open();
        EXPECT_TRUE(shown);
    }
};

template <typename Widget> Widget* field(CalculatedPriceDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void setText(CalculatedPriceDialog& dialog, const char* name, const char* text) {
    field<QLineEdit>(dialog, name)->setText(QString::fromUtf8(text));
}

void click(CalculatedPriceDialog& dialog, const char* name) {
    field<QPushButton>(dialog, name)->click();
}

QStringList captionsOf(const QMenu& menu) {
    QStringList captions;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            captions << action->text();
        }
    }
    return captions;
}

// Two lines of 1,000, the rate command on row 3: the dialog proposes rows 1 to 2, keeps a named
// rate in the catalogue, and writes a 10 % line there, which the totals pass computes; a
// double-click on it edits the same line.
TEST_F(CalculatedPriceWindowTest, TheRateCommandWritesACalculatedLineThatADoubleClickEdits) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("1;鋼管;;0;11999;ｍ;10;1;1;1000;1000;0;0;0;0;0;0;0;0;;;\r\n"
                       "1;継手;;0;11999;個;10;2;2;500;500;0;0;0;0;0;0;0;0;;;"));
    selectRow(*window, 1);
    window->action("pasteClipboard")->trigger();
    ASSERT_EQ(window->document().lineCount(), 2);
    MessageBox::takeShownTexts();

    // The commands stand before the expenses in "特殊行" and on the sheet's context menu.
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        if (menu->title() == QStringLiteral("特殊行")) {
            const QStringList captions = captionsOf(*menu);
            EXPECT_LT(captions.indexOf(QStringLiteral("計算単価を通常単価で使用")),
                      captions.indexOf(QStringLiteral("諸経費")));
            EXPECT_EQ(captions.indexOf(QStringLiteral("選択範囲に対して歩掛計算")),
                      captions.indexOf(QStringLiteral("選択範囲に対して単価計算")) + 1);
        }
    }
    EXPECT_TRUE(window->grid()->actions().contains(window->action("calculatedAdditionalRate")));

    selectRow(*window, 1);
    window->action("calculatedRate")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("計算単価は先頭行に入力することはできません。")});

    selectRow(*window, 3);
    withDialog(
        *window,
        [](CalculatedPriceDialog& dialog) {
            EXPECT_EQ(field<QLabel>(dialog, "heading")->text(),
                      QStringLiteral("選択範囲に対して単価計算"));
            EXPECT_EQ(field<QSpinBox>(dialog, "rangeFirst")->value(), 1);
            EXPECT_EQ(field<QSpinBox>(dialog, "rangeLast")->value(), 2);
            // A new line starts with the first group; every group is ticked here.
            EXPECT_FALSE(field<QCheckBox>(dialog, "allGroups")->isChecked());
            field<QCheckBox>(dialog, "allGroups")->setChecked(true);
            setText(dialog, "X_Appellation", "雑材料");
            setText(dialog, "netValue", "10");
            setText(dialog, "submittedValue", "10");
            MessageBox::setNextInput(QStringLiteral("共通"));
            click(dialog, "addButton");
            EXPECT_EQ(field<QTableWidget>(dialog, "priceList")->rowCount(), 1);
            screenshot(dialog, "calculated_price_dialog");
            setText(dialog, "submittedValue", "501");
            click(dialog, "transferButton");
            EXPECT_EQ(MessageBox::takeShownTexts(),
                      (QStringList{QStringLiteral("カテゴリー名を入力してください。"),
                                   QStringLiteral("%の値が大きすぎます。")}));
            setText(dialog, "submittedValue", "10");
            click(dialog, "transferButton");
        },
        [&window] { window->action("calculatedRate")->trigger(); });

    const DocumentState& state = window->document();
    ASSERT_EQ(state.lineCount(), 3);
    EXPECT_EQ(state.sheet[3].kind, LineKind::RangeAmountTimesRate);
    EXPECT_EQ(state.sheet[3].netAmount, c("200"));
    EXPECT_EQ(state.sheet[3].submittedAmount, c("200"));

    withDialog(
        *window,
        [](CalculatedPriceDialog& dialog) {
            EXPECT_EQ(field<QLineEdit>(dialog, "X_Appellation")->text(), QStringLiteral("雑材料"));
            EXPECT_EQ(field<QSpinBox>(dialog, "rangeLast")->value(), 2);
            setText(dialog, "submittedValue", "20");
            click(dialog, "transferButton");
        },
        [&window] { emit window->findChild<QuotationView*>()->rowDoubleClicked(3); });
    ASSERT_EQ(window->document().lineCount(), 3);
    EXPECT_EQ(window->document().sheet[3].submittedAmount, c("400"));
    screenshot(*window, "calculated_price");
}

} // namespace
} // namespace kerbina

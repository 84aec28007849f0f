#include "calc/ui/calc_settings_dialog.h"
#include "money_literal.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

QRadioButton* option(CalcSettingsDialog& dialog, const QString& group, const QString& caption) {
    for (auto* box : dialog.findChildren<QGroupBox*>()) {
        if (box->title() != group) {
            continue;
        }
        for (auto* radio : box->findChildren<QRadioButton*>()) {
            if (radio->text() == caption) {
                return radio;
            }
        }
    }
    return nullptr;
}

TEST(CalcSettingsDialog, ShowsTheStoredValuesAndReturnsTheChosenOnes) {
    CalcSettingsDialog dialog;
    CalcSettings current;
    current.quantityDecimals = c("100");
    current.amountOffset = c("0.9");
    current.totalLevel = c("8");
    current.grandTotalLevel = c("0"); // computed as 1
    dialog.load(current);
    EXPECT_TRUE(option(dialog, "数量小数有効桁", "第2位まで")->isChecked());
    EXPECT_TRUE(option(dialog, "金額計算小数以下処理", "切り上げ")->isChecked());
    EXPECT_TRUE(option(dialog, "合計有効桁計算設定", "有効3桁")->isChecked());
    EXPECT_TRUE(option(dialog, "総合計有効桁計算設定", "1")->isChecked());

    option(dialog, "経費算出桁以下処理", "切り捨て")->setChecked(true);
    option(dialog, "総合計有効桁計算設定", "1000")->setChecked(true);
    const CalcSettings chosen = dialog.chosen(current);
    EXPECT_EQ(chosen.expenseOffset, c("0"));
    EXPECT_EQ(chosen.grandTotalLevel, c("1000"));
    EXPECT_EQ(chosen.quantityDecimals, c("100"));
    EXPECT_EQ(chosen.totalLevel, c("8"));
}

TEST(CalcSettingsDialog, AValueMatchingNoOptionKeepsThePreviousChoice) {
    CalcSettingsDialog dialog;
    CalcSettings current;
    current.amountOffset = c("0");
    dialog.load(current);
    current.amountOffset = c("0.3");
    dialog.load(current);
    EXPECT_TRUE(option(dialog, "金額計算小数以下処理", "切り捨て")->isChecked());
}

} // namespace
} // namespace kerbina

#include "calc/ui/calc_settings_dialog.h"

#include "widgets/application_title.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kerbina {

namespace {

const QStringList kOffsetCaptions = {QStringLiteral("四捨五入"), QStringLiteral("切り上げ"),
                                     QStringLiteral("切り捨て")};

QStringList levelCaptions() {
    QStringList captions;
    for (const char* caption : kLevelOptionCaptions) {
        captions << QString::fromUtf8(caption);
    }
    return captions;
}

const QStringList kDecimalsCaptions = {QStringLiteral("第1位まで"), QStringLiteral("第2位まで"),
                                       QStringLiteral("第3位まで")};

const CalcSettingsDialog::Encoding kOffsets{kOffsetCaptions, offsetFromOptionIndex,
                                            optionIndexOfOffset};
const CalcSettingsDialog::Encoding kLevels{levelCaptions(), levelFromOptionIndex,
                                           optionIndexOfLevel};
const CalcSettingsDialog::Encoding kDecimals{kDecimalsCaptions, quantityDecimalsFromOptionIndex,
                                             optionIndexOfQuantityDecimals};

} // namespace

CalcSettingsDialog::CalcSettingsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFCalcSettings_Dlg"));
    setWindowTitle(QStringLiteral("計算処理設定"));
    auto* layout = new QVBoxLayout(this);

    auto* sheetBox = new QGroupBox(QStringLiteral("見積書作成時の設定"), this);
    auto* sheetLayout = new QGridLayout(sheetBox);
    sheetLayout->addWidget(
        addGroup(QStringLiteral("数量小数有効桁"), &CalcSettings::quantityDecimals, kDecimals, 3),
        0, 0);
    sheetLayout->addWidget(
        addGroup(QStringLiteral("金額計算小数以下処理"), &CalcSettings::amountOffset, kOffsets, 3),
        0, 1);
    sheetLayout->addWidget(
        addGroup(QStringLiteral("経費算出桁以下処理"), &CalcSettings::expenseOffset, kOffsets, 3),
        1, 0);
    sheetLayout->addWidget(addGroup(QStringLiteral("(数量×歩掛)集計小数以下処理"),
                                    &CalcSettings::laborOffset, kOffsets, 3),
                           1, 1);
    sheetLayout->addWidget(
        addGroup(QStringLiteral("合計有効桁計算設定"), &CalcSettings::totalLevel, kLevels, 5), 2, 0,
        1, 2);
    sheetLayout->addWidget(
        addGroup(QStringLiteral("合計有効桁以下処理"), &CalcSettings::totalOffset, kOffsets, 3), 3,
        0);
    sheetLayout->addWidget(
        addGroup(QStringLiteral("消費税小数以下処理"), &CalcSettings::taxOffset, kOffsets, 3), 3,
        1);
    layout->addWidget(sheetBox);

    auto* listBox = new QGroupBox(QStringLiteral("内訳一覧表時の設定"), this);
    auto* listLayout = new QGridLayout(listBox);
    listLayout->addWidget(addGroup(QStringLiteral("総合計有効桁計算設定"),
                                   &CalcSettings::grandTotalLevel, kLevels, 5),
                          0, 0, 1, 2);
    listLayout->addWidget(addGroup(QStringLiteral("総合計有効桁以下処理"),
                                   &CalcSettings::grandTotalOffset, kOffsets, 3),
                          1, 0);
    listLayout->addWidget(addGroup(QStringLiteral("総合計経費算出桁以下処理"),
                                   &CalcSettings::grandTotalExpenseOffset, kOffsets, 3),
                          1, 1);
    layout->addWidget(listBox);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    auto* apply = new QPushButton(QStringLiteral("設定実行"), this);
    apply->setObjectName(QStringLiteral("applyButton"));
    apply->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    buttons->addWidget(apply);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* CalcSettingsDialog::addGroup(const QString& caption, Currency CalcSettings::*field,
                                        const Encoding& encoding, int columns) {
    auto* box = new QGroupBox(caption, this);
    auto* grid = new QGridLayout(box);
    auto* buttons = new QButtonGroup(box);
    for (int index = 0; index < encoding.captions.size(); ++index) {
        auto* radio = new QRadioButton(encoding.captions[index], box);
        grid->addWidget(radio, index / columns, index % columns);
        buttons->addButton(radio, index);
    }
    buttons->button(0)->setChecked(true);
    groups_.push_back({field, buttons, &encoding});
    return box;
}

void CalcSettingsDialog::load(const CalcSettings& current) {
    for (const auto& group : groups_) {
        if (const auto index = group.encoding->indexOf(current.*group.field)) {
            group.buttons->button(*index)->setChecked(true);
        }
    }
}

CalcSettings CalcSettingsDialog::chosen(const CalcSettings& current) const {
    CalcSettings result = current;
    for (const auto& group : groups_) {
        if (const auto chosenValue = group.encoding->fromIndex(group.buttons->checkedId())) {
            result.*group.field = *chosenValue;
        }
    }
    return result;
}

std::optional<CalcSettings> CalcSettingsDialog::edit(const CalcSettings& current) {
    load(current);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return chosen(current);
}

} // namespace kerbina

// The seven tabs of the settings dialog, each control bound to its setting.
#include "settings/environment_settings.h"
#include "settings/ui/settings_dialog.h"
#include "settings/ui/settings_dialog_layout.h"
#include "settings/value_forms.h"
#include "widgets/typed_number_fields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <array>

namespace kerbina {

using namespace settings_layout;

QWidget* SettingsDialog::buildGeneralTab() {
    auto* password = new QVBoxLayout;
    password->addWidget(
        boxedText(QStringLiteral("EDIT_OPT5"),
                  [](EnvironmentSettings& s) -> std::string& { return s.startupPassword; }));

    auto* printStyle = new QLineEdit;
    printStyle->setObjectName(QStringLiteral("print_dir"));
    auto* choosePrint = new QPushButton(QStringLiteral("指　定"));
    choosePrint->setObjectName(QStringLiteral("GradBtn8"));
    choosePrint->setAutoDefault(false);
    connect(choosePrint, &QPushButton::clicked, this, &SettingsDialog::choosePrintStyle);
    auto* printLayout = new QHBoxLayout;
    printLayout->addWidget(printStyle, 1);
    printLayout->addWidget(choosePrint);
    bindings_.push_back({[this, printStyle] { printStyle->setText(q(settings_.printStyleFile)); },
                         [this, printStyle] {
                             settings_.printStyleFile = s(printStyle->text());
                         }});
    auto* print = new QVBoxLayout;
    print->addLayout(printLayout);
    print->addWidget(checkBox(QStringLiteral("printCostSplit"),
                              QStringLiteral("材料費等を記載した見積書を印刷する"),
                              &EnvironmentSettings::printCostSplit));
    print->addWidget(checkBox(QStringLiteral("printJapaneseEra"),
                              QStringLiteral("表紙の日付を和暦で印刷する"),
                              &EnvironmentSettings::printJapaneseEra));

    auto* startup = new QVBoxLayout;
    startup->addWidget(checkBox(QStringLiteral("EDIT_OPT4"),
                                QStringLiteral("パスワードの入力を要求する"),
                                &EnvironmentSettings::askPasswordAtStart));

    auto* folder = new QLineEdit;
    folder->setObjectName(QStringLiteral("networkFolder"));
    auto* browse = new QPushButton(QStringLiteral("参照"));
    browse->setObjectName(QStringLiteral("Button3"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &SettingsDialog::chooseNetworkFolder);
    auto* folderLayout = new QHBoxLayout;
    folderLayout->addWidget(folder, 1);
    folderLayout->addWidget(browse);
    databaseCheckButton_ = new QPushButton(QStringLiteral("データベースを検査"));
    databaseCheckButton_->setObjectName(QStringLiteral("checkDatabase"));
    databaseCheckButton_->setAutoDefault(false);
    databaseCheckButton_->setVisible(false);
    connect(databaseCheckButton_, &QPushButton::clicked, this, &SettingsDialog::checkDatabase);
    folderLayout->addWidget(databaseCheckButton_);
    bindings_.push_back({[this, folder] { folder->setText(q(settings_.networkFolder)); },
                         [this, folder] {
                             settings_.networkFolder = s(folder->text());
                         }});

    return column(
        {group(QStringLiteral("ユーザーパスワードの設定"), password),
         group(QStringLiteral("デフォルトの印刷用紙スタイル"), print),
         group(QStringLiteral("起動時オプション"), startup),
         group(QStringLiteral("ネットワークフォルダー(データの共有フォルダー)"), folderLayout)});
}

QWidget* SettingsDialog::buildCoverTab() {
    auto* prefix = new QLineEdit;
    prefix->setObjectName(QStringLiteral("NUMBER_OPT1"));
    prefix->setMaximumWidth(160);
    bindings_.push_back({[this, prefix] { prefix->setText(q(settings_.numberPrefix)); },
                         [this, prefix] {
                             settings_.numberPrefix = s(prefix->text());
                         }});
    auto* numbering = new QFormLayout;
    numbering->addRow(QStringLiteral("記号"), prefix);
    const auto numberBox = [this, numbering](const QString& name, const QString& caption,
                                             std::int64_t EnvironmentSettings::*field) {
        auto* box = new QLineEdit;
        box->setObjectName(name);
        box->setMaximumWidth(160);
        box->setValidator(
            new TypedNumberValidator(QRegularExpression(QStringLiteral("[0-9]{0,15}")), box));
        numbering->addRow(caption, box);
        bindings_.push_back(
            {[this, box, field] { box->setText(QString::number(settings_.*field)); },
             [this, box, field] {
                 settings_.*field = wholeNumberFromText(s(box->text())).value_or(settings_.*field);
             }});
    };
    numberBox(QStringLiteral("NUMBER_OPT2"), QStringLiteral("桁"),
              &EnvironmentSettings::numberWidth);
    numberBox(QStringLiteral("NUMBER_OPT3"), QStringLiteral("初期番号"),
              &EnvironmentSettings::numberCounter);

    auto* automatic = new QVBoxLayout;
    automaticNumbering_ =
        checkBox(QStringLiteral("EDIT_OPT1"), QStringLiteral("自動見積番号を使用する"),
                 &EnvironmentSettings::automaticNumbering);
    perCustomer_ = checkBox(QStringLiteral("NUMBER_OPT4"), QStringLiteral("得意先別に管理する"),
                            &EnvironmentSettings::numberingPerCustomer);
    offerAfterPick_ =
        checkBox(QStringLiteral("NUMBER_OPT5"), QStringLiteral("取得時に最新番号を更新する"),
                 &EnvironmentSettings::offerNumberAfterCustomerPick);
    offerAfterPick_->setVisible(false);
    automatic->addWidget(automaticNumbering_);
    automatic->addWidget(perCustomer_);
    automatic->addWidget(offerAfterPick_);
    connect(automaticNumbering_, &QCheckBox::clicked, this, &SettingsDialog::applyNumberingSwitch);

    auto* title1 = new QVBoxLayout;
    title1->addWidget(
        boxedText(QStringLiteral("title1"),
                  [](EnvironmentSettings& s) -> std::string& { return s.siteNameTitle; }));
    auto* title2 = new QVBoxLayout;
    title2->addWidget(
        boxedText(QStringLiteral("title2"),
                  [](EnvironmentSettings& s) -> std::string& { return s.workNameTitle; }));

    return row(
        {column({group(QStringLiteral("見積番号設定(一元管理)"), numbering),
                 group(QStringLiteral("自動見積番号機能"), automatic)}),
         column({group(QStringLiteral("表紙名称設定１"), title1),
                 group(QStringLiteral("表紙名称設定２"), title2),
                 optionGroup(QStringLiteral("printopt_space"), QStringLiteral("御中の前のスペース"),
                             {QStringLiteral("なし"), QStringLiteral("半角スペース"),
                              QStringLiteral("全角スペース")},
                             &EnvironmentSettings::spaceBeforeHonorific)})});
}

QWidget* SettingsDialog::buildEstimateTab() {
    auto* saving = new QVBoxLayout;
    saving->addWidget(checkBox(QStringLiteral("FILE_OPT1"),
                               QStringLiteral("見積番号をファイル名にする"),
                               &EnvironmentSettings::numberAsFileName));
    QGroupBox* savingGroup = group(QStringLiteral("保存時設定"), saving);
    savingGroup->setVisible(false);

    auto* amounts = new QVBoxLayout;
    for (std::size_t i = 0; i < 4; ++i) {
        amounts->addWidget(
            boxedText(QStringLiteral("KINGAKU_NAME%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.amountTexts[i]; }));
    }

    auto* itemName = new QVBoxLayout;
    itemName->addWidget(checkBox(QStringLiteral("items_opt_1"),
                                 QStringLiteral("自動的に内訳名称を明細書の1行目に追加する"),
                                 &EnvironmentSettings::itemNameAsFirstLine));

    auto* groups = new QFormLayout;
    for (std::size_t i = 0; i < 6; ++i) {
        groups->addRow(
            QString(QChar(u'A' + static_cast<char16_t>(i))),
            boxedText(QStringLiteral("GROUP_NAME%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.groupNameList[i]; }));
    }

    auto* reduction = new QVBoxLayout;
    reduction->addWidget(checkBox(QStringLiteral("CALC_OPT5"), QStringLiteral("原価からも減額する"),
                                  &EnvironmentSettings::reductionReducesCost));

    auto* mark = new QComboBox;
    mark->setObjectName(QStringLiteral("GENGAKU"));
    mark->setEditable(true);
    mark->addItems({QStringLiteral("-"), QStringLiteral("▲"), QStringLiteral("△"),
                    QStringLiteral("－"), QStringLiteral("減")});
    bindings_.push_back({[this, mark] { mark->setCurrentText(q(settings_.reductionMark)); },
                         [this, mark] {
                             settings_.reductionMark = s(mark->currentText());
                         }});
    auto* markLayout = new QVBoxLayout;
    markLayout->addWidget(mark);

    auto* rate = new QLineEdit;
    rate->setObjectName(QStringLiteral("tax_value"));
    rate->setValidator(new TypedNumberValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}(\\.[0-9]{0,4})?")), rate));
    bindings_.push_back({[this, rate] { rate->setText(q(taxRateText(settings_.taxRate))); },
                         [this, rate] {
                             settings_.taxRate =
                                 taxRateFromText(s(rate->text())).value_or(settings_.taxRate);
                         }});
    auto* tax = new QFormLayout;
    tax->addRow(QStringLiteral("消費税率"), rate);

    auto* priceButtons = new QFormLayout;
    const std::array<const char16_t*, 6> priceRows = {u"登録単価→", u"仕様単価→", u"単価計算→",
                                                      u"歩掛計算→", u"付帯単価→", u"通常単価→"};
    for (std::size_t i = 0; i < priceRows.size(); ++i) {
        priceButtons->addRow(QString::fromUtf16(priceRows[i]),
                             boxedText(QStringLiteral("tankabtnName%1").arg(i + 1),
                                       [i](EnvironmentSettings& s) -> std::string& {
                                           return s.priceButtonNames[i];
                                       }));
    }

    auto* units = new QGridLayout;
    for (std::size_t i = 0; i < 9; ++i) {
        units->addWidget(
            boxedText(QStringLiteral("ci%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.unitList[i]; }),
            static_cast<int>(i / 3), static_cast<int>(i % 3));
    }

    auto* sums = new QFormLayout;
    sums->addRow(QStringLiteral("小計→"),
                 boxedText(QStringLiteral("smallSumName"),
                           [](EnvironmentSettings& s) -> std::string& { return s.smallSumName; }));
    sums->addRow(QStringLiteral("中計→"),
                 boxedText(QStringLiteral("midSumName"),
                           [](EnvironmentSettings& s) -> std::string& { return s.midSumName; }));
    sums->addRow(QStringLiteral("合計→"),
                 boxedText(QStringLiteral("AllSumName"),
                           [](EnvironmentSettings& s) -> std::string& { return s.sumName; }));

    return row({column({savingGroup, group(QStringLiteral("金額欄摘要表示文字列設定"), amounts),
                        group(QStringLiteral("内訳名称"), itemName),
                        group(QStringLiteral("積算分類(グループ)名設定"), groups)}),
                column({group(QStringLiteral("内訳減額"), reduction),
                        group(QStringLiteral("減額表示"), markLayout),
                        group(QStringLiteral("消費税"), tax),
                        group(QStringLiteral("単価タブのボタン名称設定"), priceButtons)}),
                column({group(QStringLiteral("入力ダイアログで使用する単位"), units),
                        group(QStringLiteral("合計線の文字列"), sums)})});
}

QWidget* SettingsDialog::buildCalculationTab() {
    const QStringList decimals = {QStringLiteral("第1位まで"), QStringLiteral("第2位まで"),
                                  QStringLiteral("第3位まで")};
    auto* quotation = new QVBoxLayout;
    quotation->addWidget(optionGroup(QStringLiteral("CALC_OPT1"), QStringLiteral("数量小数有効桁"),
                                     decimals, &EnvironmentSettings::quantityDecimalsChoice, 3));
    quotation->addWidget(optionGroup(QStringLiteral("CALC_OPT2"),
                                     QStringLiteral("金額計算小数以下処理"), kRoundingCaptions,
                                     &EnvironmentSettings::amountRoundingChoice, 3));
    quotation->addWidget(
        optionGroup(QStringLiteral("Calc_Opt6"), QStringLiteral("(数量×歩掛)集計小数以下処理"),
                    kRoundingCaptions, &EnvironmentSettings::laborRoundingChoice, 3));
    quotation->addWidget(optionGroup(QStringLiteral("Calc_Opt3"),
                                     QStringLiteral("合計有効桁計算設定"), kLevelCaptions,
                                     &EnvironmentSettings::sheetTotalLevelChoice, 2));
    quotation->addWidget(optionGroup(QStringLiteral("CALC_OPT7"),
                                     QStringLiteral("合計有効桁以下処理"), kRoundingCaptions,
                                     &EnvironmentSettings::sheetTotalRoundingChoice, 3));
    quotation->addWidget(optionGroup(QStringLiteral("Calc_Opt4"),
                                     QStringLiteral("経費算出桁以下処理"), kRoundingCaptions,
                                     &EnvironmentSettings::expenseRoundingChoice, 3));
    quotation->addStretch();

    auto* list = new QVBoxLayout;
    list->addWidget(optionGroup(QStringLiteral("aCalc_Opt3"),
                                QStringLiteral("総合計有効桁計算設定"), kLevelCaptions,
                                &EnvironmentSettings::grandTotalLevelChoice, 2));
    list->addWidget(optionGroup(QStringLiteral("aCALC_OPT7"),
                                QStringLiteral("総合計有効桁以下処理"), kRoundingCaptions,
                                &EnvironmentSettings::grandTotalRoundingChoice, 3));
    list->addWidget(optionGroup(QStringLiteral("ACALC_OPT4"),
                                QStringLiteral("総合計経費算出桁以下処理"), kRoundingCaptions,
                                &EnvironmentSettings::grandTotalExpenseRoundingChoice, 3));
    list->addStretch();

    auto* common = new QVBoxLayout;
    common->addWidget(optionGroup(QStringLiteral("tax_opt_1"), QStringLiteral("消費税小数以下処理"),
                                  kRoundingCaptions, &EnvironmentSettings::taxRoundingChoice, 3));
    common->addStretch();

    return row({group(QStringLiteral("見積書作成時の設定"), quotation),
                group(QStringLiteral("内訳一覧表時の設定"), list),
                group(QStringLiteral("共通設定"), common)});
}

QWidget* SettingsDialog::buildPipingTab() {
    auto* heading = new QLabel(QStringLiteral("単価設定"));
    heading->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; }"));
    auto* names = new QFormLayout;
    for (std::size_t i = 0; i < 6; ++i) {
        names->addRow(QStringLiteral("Group%1").arg(i + 1),
                      boxedText(QStringLiteral("EXGroup%1").arg(i + 1),
                                [i](EnvironmentSettings& s) -> std::string& {
                                    return s.pipingGroupNames[i];
                                }));
    }
    QGroupBox* box = group(QStringLiteral("配管工事・付属品類グループ名"), names);
    box->setObjectName(QStringLiteral("pipingGroups"));
    return column({heading, box});
}

QWidget* SettingsDialog::buildLayoutTab() {
    auto* layout = new QVBoxLayout;
    layout->addWidget(checkBox(QStringLiteral("status_bar"),
                               QStringLiteral("ステータスバーを表示する"),
                               &EnvironmentSettings::statusBarShown));

    auto* entry = new QVBoxLayout;
    entry->addWidget(checkBox(QStringLiteral("EDIT_OPT6"), QStringLiteral("歩掛を使用する"),
                              &EnvironmentSettings::entryShowsLabor));
    entry->addWidget(checkBox(QStringLiteral("EDIT_OPT7"), QStringLiteral("付帯単価を使用する"),
                              &EnvironmentSettings::entryShowsAccessoryPrices));
    entry->addWidget(checkBox(QStringLiteral("EDIT_OPT8"), QStringLiteral("原価を使用する"),
                              &EnvironmentSettings::entryShowsCost));
    entry->addWidget(checkBox(QStringLiteral("EDIT_OPT9"), QStringLiteral("グループ単価を使用する"),
                              &EnvironmentSettings::entryShowsGroupPrices));
    QGroupBox* entryGroup = group(QStringLiteral("積算入力ダイアログ"), entry);
    entryGroup->setVisible(false);

    return column(
        {group(QStringLiteral("レイアウト"), layout), entryGroup,
         optionGroup(QStringLiteral("FILE_OPT2"), QStringLiteral("見積一覧表"),
                     {QStringLiteral("宛先を表示する"), QStringLiteral("宛先を表示しない")},
                     &EnvironmentSettings::listAddresseeChoice),
         optionGroup(
             QStringLiteral("EDIT_OPT2"), QStringLiteral("画面初期設定"),
             {QStringLiteral("名称と仕様を分離する"), QStringLiteral("名称と仕様を分離しない")},
             &EnvironmentSettings::nameSpecColumnsChoice),
         optionGroup(
             QStringLiteral("EDIT_OPT10"), QStringLiteral("積算明細行"),
             {QStringLiteral("行を交互に色を反転しない"), QStringLiteral("行を交互に色を反転する")},
             &EnvironmentSettings::rowShadingChoice)});
}

QWidget* SettingsDialog::buildCompanyTab() {
    const std::array<const char16_t*, 10> labels = {
        u"会 社 名 称 １", u"会 社 名 称 ２", u"業 務 内 容", u"郵便番号", u"住 所 １",
        u"住 所 ２",       u"電 話 番 号",    u"FAX",         u"URL",      u"E-MAIL"};
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        QWidget* box =
            boxedText(QStringLiteral("EDATA%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.companyData[i]; });
        box->setMinimumWidth(360);
        form->addRow(QString::fromUtf16(labels[i]), box);
    }
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->addLayout(form);
    layout->addStretch();
    return widget;
}

} // namespace kerbina

#include "settings/ui/settings_dialog.h"

#include "app/ui/message_box.h"
#include "base/path_text.h"
#include "settings/environment_settings.h"
#include "settings/numbering_row.h"
#include "settings/settings_files.h"
#include "settings/value_forms.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <exception>

namespace kerbina {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string s(const QString& text) {
    return text.toStdString();
}

const QStringList kRoundingCaptions = {QStringLiteral("四捨五入"), QStringLiteral("切り上げ"),
                                       QStringLiteral("切り捨て")};
const QStringList kLevelCaptions = {QStringLiteral("1"),       QStringLiteral("10"),
                                    QStringLiteral("100"),     QStringLiteral("1000"),
                                    QStringLiteral("10000"),   QStringLiteral("100000"),
                                    QStringLiteral("1000000"), QStringLiteral("有効2桁"),
                                    QStringLiteral("有効3桁"), QStringLiteral("有効4桁")};

// A text the user cannot type into: a click opens the input box, whose OK puts the entered text
// (an empty one too) into the box and whose Cancel leaves it.
class BoxedText : public QPushButton {
public:
    explicit BoxedText(QWidget* parent) : QPushButton(parent) {
        setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding: 2px 6px; "
                                     "border: 1px solid #8a9bb0; background: white; }"));
        setMinimumWidth(120);
        connect(this, &QPushButton::clicked, this, [this] {
            if (const auto entered = MessageBox::input(this, QStringLiteral("KERBINA"),
                                                       QStringLiteral("環境設定"), false, text())) {
                setText(*entered);
            }
        });
    }
};

QGroupBox* group(const QString& caption, QLayout* layout) {
    auto* box = new QGroupBox(caption);
    box->setLayout(layout);
    return box;
}

QWidget* column(std::initializer_list<QWidget*> widgets) {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* child : widgets) {
        layout->addWidget(child);
    }
    layout->addStretch();
    return widget;
}

QWidget* row(std::initializer_list<QWidget*> widgets) {
    auto* widget = new QWidget;
    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* child : widgets) {
        layout->addWidget(child, 0, Qt::AlignTop);
    }
    return widget;
}

} // namespace

QString DesktopSettingsChooser::chooseFile(QWidget* parent, const QString& folder,
                                           const QString& filter) {
    return MessageBox::openFileName(parent, QString(), folder, filter);
}

QString DesktopSettingsChooser::chooseFolder(QWidget* parent, const QString& caption,
                                             const QString& start) {
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

Tfconfig_Dlg::Tfconfig_Dlg(EnvironmentSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings),
      desktopChooser_(std::make_unique<DesktopSettingsChooser>()), chooser_(desktopChooser_.get()) {
    setObjectName(QStringLiteral("Tfconfig_Dlg"));
    setWindowTitle(QStringLiteral("ケルビナ-環境設定-"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* band = new QLabel(QStringLiteral("環境設定"));
    band->setObjectName(QStringLiteral("titleBand"));
    band->setStyleSheet(QStringLiteral("QLabel { background: #2f5d8a; color: white; "
                                       "font-size: 15px; font-weight: bold; padding: 6px; }"));
    layout->addWidget(band);

    tabs_ = new QTabWidget;
    tabs_->addTab(buildGeneralTab(), QStringLiteral("全般設定"));
    tabs_->addTab(buildCoverTab(), QStringLiteral("表紙関係"));
    tabs_->addTab(buildEstimateTab(), QStringLiteral("積算関係"));
    tabs_->addTab(buildCalculationTab(), QStringLiteral("計算処理設定"));
    pipingTab_ = buildPipingTab();
    tabs_->addTab(pipingTab_, QStringLiteral("配管工事版"));
    tabs_->addTab(buildLayoutTab(), QStringLiteral("レイアウト"));
    tabs_->addTab(buildCompanyTab(), QStringLiteral("自社情報"));
    layout->addWidget(tabs_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* registerButton = new QPushButton(QStringLiteral("登　録"));
    registerButton->setObjectName(QStringLiteral("Button1"));
    registerButton->setAutoDefault(false);
    auto* cancelButton = new QPushButton(QStringLiteral("キャンセル"));
    cancelButton->setObjectName(QStringLiteral("Button2"));
    cancelButton->setAutoDefault(false);
    buttons->addWidget(registerButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    connect(registerButton, &QPushButton::clicked, this, [this] { registerSettings(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    loadControls();
}

Tfconfig_Dlg::~Tfconfig_Dlg() = default;

QWidget* Tfconfig_Dlg::boxedText(const QString& name,
                                 std::function<std::string&(EnvironmentSettings&)> field) {
    auto* box = new BoxedText(this);
    box->setObjectName(name);
    bindings_.push_back({[this, box, field] { box->setText(q(field(settings_))); },
                         [this, box, field] {
                             field(settings_) = s(box->text());
                         }});
    return box;
}

QCheckBox* Tfconfig_Dlg::checkBox(const QString& name, const QString& caption,
                                  bool EnvironmentSettings::*field) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    bindings_.push_back({[this, box, field] { box->setChecked(settings_.*field); },
                         [this, box, field] {
                             settings_.*field = box->isChecked();
                         }});
    return box;
}

QWidget* Tfconfig_Dlg::optionGroup(const QString& name, const QString& caption,
                                   const QStringList& choices, int EnvironmentSettings::*field,
                                   int columns) {
    auto* layout = new QGridLayout;
    auto* buttons = new QButtonGroup(this);
    const int perColumn = static_cast<int>((choices.size() + columns - 1) / columns);
    for (int i = 0; i < choices.size(); ++i) {
        auto* option = new QRadioButton(choices[i]);
        buttons->addButton(option, i);
        layout->addWidget(option, i % perColumn, i / perColumn);
    }
    QGroupBox* box = group(caption, layout);
    box->setObjectName(name);
    bindings_.push_back({[this, buttons, field] {
                             if (auto* option = buttons->button(settings_.*field)) {
                                 option->setChecked(true);
                             }
                         },
                         [this, buttons, field] {
                             if (buttons->checkedId() >= 0) {
                                 settings_.*field = buttons->checkedId();
                             }
                         }});
    return box;
}

QWidget* Tfconfig_Dlg::buildGeneralTab() {
    auto* password = new QVBoxLayout;
    password->addWidget(
        boxedText(QStringLiteral("EDIT_OPT5"),
                  [](EnvironmentSettings& s) -> std::string& { return s.EDIT_OPT5; }));

    auto* printStyle = new QLineEdit;
    printStyle->setObjectName(QStringLiteral("print_dir"));
    auto* choosePrint = new QPushButton(QStringLiteral("指　定"));
    choosePrint->setObjectName(QStringLiteral("GradBtn8"));
    choosePrint->setAutoDefault(false);
    connect(choosePrint, &QPushButton::clicked, this, &Tfconfig_Dlg::choosePrintStyle);
    auto* printLayout = new QHBoxLayout;
    printLayout->addWidget(printStyle, 1);
    printLayout->addWidget(choosePrint);
    bindings_.push_back({[this, printStyle] { printStyle->setText(q(settings_.print_dir)); },
                         [this, printStyle] {
                             settings_.print_dir = s(printStyle->text());
                         }});
    auto* print = new QVBoxLayout;
    print->addLayout(printLayout);
    print->addWidget(checkBox(QStringLiteral("printCostSplit"),
                              QStringLiteral("材料費等を記載した見積書を印刷する"),
                              &EnvironmentSettings::printCostSplit));

    auto* startup = new QVBoxLayout;
    startup->addWidget(checkBox(QStringLiteral("EDIT_OPT4"),
                                QStringLiteral("パスワードの入力を要求する"),
                                &EnvironmentSettings::EDIT_OPT4));

    auto* folder = new QLineEdit;
    folder->setObjectName(QStringLiteral("networkFolder"));
    auto* browse = new QPushButton(QStringLiteral("参照"));
    browse->setObjectName(QStringLiteral("Button3"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &Tfconfig_Dlg::chooseNetworkFolder);
    auto* folderLayout = new QHBoxLayout;
    folderLayout->addWidget(folder, 1);
    folderLayout->addWidget(browse);
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

QWidget* Tfconfig_Dlg::buildCoverTab() {
    auto* prefix = new QLineEdit;
    prefix->setObjectName(QStringLiteral("NUMBER_OPT1"));
    prefix->setMaximumWidth(160);
    bindings_.push_back({[this, prefix] { prefix->setText(q(settings_.NUMBER_OPT1)); },
                         [this, prefix] {
                             settings_.NUMBER_OPT1 = s(prefix->text());
                         }});
    auto* numbering = new QFormLayout;
    numbering->addRow(QStringLiteral("記号"), prefix);
    const auto numberBox = [this, numbering](const QString& name, const QString& caption,
                                             std::int64_t EnvironmentSettings::*field) {
        auto* box = new QLineEdit;
        box->setObjectName(name);
        box->setMaximumWidth(160);
        box->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]{0,15}")), box));
        numbering->addRow(caption, box);
        bindings_.push_back(
            {[this, box, field] { box->setText(QString::number(settings_.*field)); },
             [this, box, field] {
                 settings_.*field = wholeNumberFromText(s(box->text())).value_or(settings_.*field);
             }});
    };
    numberBox(QStringLiteral("NUMBER_OPT2"), QStringLiteral("桁"),
              &EnvironmentSettings::NUMBER_OPT2);
    numberBox(QStringLiteral("NUMBER_OPT3"), QStringLiteral("初期番号"),
              &EnvironmentSettings::NUMBER_OPT3);

    auto* automatic = new QVBoxLayout;
    automaticNumbering_ =
        checkBox(QStringLiteral("EDIT_OPT1"), QStringLiteral("自動見積番号を使用する"),
                 &EnvironmentSettings::EDIT_OPT1);
    perCustomer_ = checkBox(QStringLiteral("NUMBER_OPT4"), QStringLiteral("得意先別に管理する"),
                            &EnvironmentSettings::NUMBER_OPT4);
    offerAfterPick_ =
        checkBox(QStringLiteral("NUMBER_OPT5"), QStringLiteral("取得時に最新番号を更新する"),
                 &EnvironmentSettings::NUMBER_OPT5);
    offerAfterPick_->setVisible(false);
    automatic->addWidget(automaticNumbering_);
    automatic->addWidget(perCustomer_);
    automatic->addWidget(offerAfterPick_);
    connect(automaticNumbering_, &QCheckBox::clicked, this, &Tfconfig_Dlg::applyNumberingSwitch);

    auto* title1 = new QVBoxLayout;
    title1->addWidget(boxedText(QStringLiteral("title1"),
                                [](EnvironmentSettings& s) -> std::string& { return s.title1; }));
    auto* title2 = new QVBoxLayout;
    title2->addWidget(boxedText(QStringLiteral("title2"),
                                [](EnvironmentSettings& s) -> std::string& { return s.title2; }));

    return row(
        {column({group(QStringLiteral("見積番号設定(一元管理)"), numbering),
                 group(QStringLiteral("自動見積番号機能"), automatic)}),
         column({group(QStringLiteral("表紙名称設定１"), title1),
                 group(QStringLiteral("表紙名称設定２"), title2),
                 optionGroup(QStringLiteral("printopt_space"), QStringLiteral("御中の前のスペース"),
                             {QStringLiteral("なし"), QStringLiteral("半角スペース"),
                              QStringLiteral("全角スペース")},
                             &EnvironmentSettings::printopt_space)})});
}

QWidget* Tfconfig_Dlg::buildEstimateTab() {
    auto* saving = new QVBoxLayout;
    saving->addWidget(checkBox(QStringLiteral("FILE_OPT1"),
                               QStringLiteral("見積番号をファイル名にする"),
                               &EnvironmentSettings::FILE_OPT1));
    QGroupBox* savingGroup = group(QStringLiteral("保存時設定"), saving);
    savingGroup->setVisible(false);

    auto* amounts = new QVBoxLayout;
    for (std::size_t i = 0; i < 4; ++i) {
        amounts->addWidget(
            boxedText(QStringLiteral("KINGAKU_NAME%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.KINGAKU_NAME[i]; }));
    }

    auto* itemName = new QVBoxLayout;
    itemName->addWidget(checkBox(QStringLiteral("items_opt_1"),
                                 QStringLiteral("自動的に内訳名称を明細書の1行目に追加する"),
                                 &EnvironmentSettings::items_opt_1));

    auto* groups = new QFormLayout;
    for (std::size_t i = 0; i < 6; ++i) {
        groups->addRow(
            QString(QChar(u'A' + static_cast<char16_t>(i))),
            boxedText(QStringLiteral("GROUP_NAME%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.GROUP_NAME[i]; }));
    }

    auto* reduction = new QVBoxLayout;
    reduction->addWidget(checkBox(QStringLiteral("CALC_OPT5"), QStringLiteral("原価からも減額する"),
                                  &EnvironmentSettings::CALC_OPT5));

    auto* mark = new QComboBox;
    mark->setObjectName(QStringLiteral("GENGAKU"));
    mark->setEditable(true);
    mark->addItems({QStringLiteral("-"), QStringLiteral("▲"), QStringLiteral("△"),
                    QStringLiteral("－"), QStringLiteral("減")});
    bindings_.push_back({[this, mark] { mark->setCurrentText(q(settings_.GENGAKU)); },
                         [this, mark] {
                             settings_.GENGAKU = s(mark->currentText());
                         }});
    auto* markLayout = new QVBoxLayout;
    markLayout->addWidget(mark);

    auto* rate = new QLineEdit;
    rate->setObjectName(QStringLiteral("tax_value"));
    rate->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}(\\.[0-9]{0,4})?")), rate));
    bindings_.push_back({[this, rate] { rate->setText(q(taxRateText(settings_.tax_value))); },
                         [this, rate] {
                             settings_.tax_value =
                                 taxRateFromText(s(rate->text())).value_or(settings_.tax_value);
                         }});
    auto* tax = new QFormLayout;
    tax->addRow(QStringLiteral("消費税率"), rate);

    auto* priceButtons = new QFormLayout;
    const std::array<const char16_t*, 6> priceRows = {u"登録単価→", u"仕様単価→", u"単価計算→",
                                                      u"歩掛計算→", u"付帯単価→", u"通常単価→"};
    for (std::size_t i = 0; i < priceRows.size(); ++i) {
        priceButtons->addRow(
            QString::fromUtf16(priceRows[i]),
            boxedText(QStringLiteral("tankabtnName%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.tankabtnName[i]; }));
    }

    auto* units = new QGridLayout;
    for (std::size_t i = 0; i < 9; ++i) {
        units->addWidget(boxedText(QStringLiteral("ci%1").arg(i + 1),
                                   [i](EnvironmentSettings& s) -> std::string& { return s.ci[i]; }),
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
                           [](EnvironmentSettings& s) -> std::string& { return s.AllSumName; }));

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

QWidget* Tfconfig_Dlg::buildCalculationTab() {
    const QStringList decimals = {QStringLiteral("第1位まで"), QStringLiteral("第2位まで"),
                                  QStringLiteral("第3位まで")};
    auto* quotation = new QVBoxLayout;
    quotation->addWidget(optionGroup(QStringLiteral("CALC_OPT1"), QStringLiteral("数量小数有効桁"),
                                     decimals, &EnvironmentSettings::CALC_OPT1, 3));
    quotation->addWidget(optionGroup(QStringLiteral("CALC_OPT2"),
                                     QStringLiteral("金額計算小数以下処理"), kRoundingCaptions,
                                     &EnvironmentSettings::CALC_OPT2, 3));
    quotation->addWidget(optionGroup(QStringLiteral("Calc_Opt6"),
                                     QStringLiteral("(数量×歩掛)集計小数以下処理"),
                                     kRoundingCaptions, &EnvironmentSettings::Calc_Opt6, 3));
    quotation->addWidget(optionGroup(QStringLiteral("Calc_Opt3"),
                                     QStringLiteral("合計有効桁計算設定"), kLevelCaptions,
                                     &EnvironmentSettings::Calc_Opt3, 2));
    quotation->addWidget(optionGroup(QStringLiteral("CALC_OPT7"),
                                     QStringLiteral("合計有効桁以下処理"), kRoundingCaptions,
                                     &EnvironmentSettings::CALC_OPT7, 3));
    quotation->addWidget(optionGroup(QStringLiteral("Calc_Opt4"),
                                     QStringLiteral("経費算出桁以下処理"), kRoundingCaptions,
                                     &EnvironmentSettings::Calc_Opt4, 3));
    quotation->addStretch();

    auto* list = new QVBoxLayout;
    list->addWidget(optionGroup(QStringLiteral("aCalc_Opt3"),
                                QStringLiteral("総合計有効桁計算設定"), kLevelCaptions,
                                &EnvironmentSettings::aCalc_Opt3, 2));
    list->addWidget(optionGroup(QStringLiteral("aCALC_OPT7"),
                                QStringLiteral("総合計有効桁以下処理"), kRoundingCaptions,
                                &EnvironmentSettings::aCALC_OPT7, 3));
    list->addWidget(optionGroup(QStringLiteral("ACALC_OPT4"),
                                QStringLiteral("総合計経費算出桁以下処理"), kRoundingCaptions,
                                &EnvironmentSettings::ACALC_OPT4, 3));
    list->addStretch();

    auto* common = new QVBoxLayout;
    common->addWidget(optionGroup(QStringLiteral("tax_opt_1"), QStringLiteral("消費税小数以下処理"),
                                  kRoundingCaptions, &EnvironmentSettings::tax_opt_1, 3));
    common->addStretch();

    return row({group(QStringLiteral("見積書作成時の設定"), quotation),
                group(QStringLiteral("内訳一覧表時の設定"), list),
                group(QStringLiteral("共通設定"), common)});
}

QWidget* Tfconfig_Dlg::buildPipingTab() {
    auto* heading = new QLabel(QStringLiteral("単価設定"));
    heading->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; }"));
    auto* names = new QFormLayout;
    for (std::size_t i = 0; i < 6; ++i) {
        names->addRow(
            QStringLiteral("Group%1").arg(i + 1),
            boxedText(QStringLiteral("EXGroup%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.EXGroup[i]; }));
    }
    QGroupBox* box = group(QStringLiteral("配管工事・付属品類グループ名"), names);
    box->setObjectName(QStringLiteral("pipingGroups"));
    return column({heading, box});
}

QWidget* Tfconfig_Dlg::buildLayoutTab() {
    auto* layout = new QVBoxLayout;
    layout->addWidget(checkBox(QStringLiteral("status_bar"),
                               QStringLiteral("ステータスバーを表示する"),
                               &EnvironmentSettings::status_bar));

    auto* entry = new QVBoxLayout;
    entry->addWidget(checkBox(QStringLiteral("EDIT_OPT6"), QStringLiteral("歩掛を使用する"),
                              &EnvironmentSettings::EDIT_OPT6));
    entry->addWidget(checkBox(QStringLiteral("EDIT_OPT7"), QStringLiteral("付帯単価を使用する"),
                              &EnvironmentSettings::EDIT_OPT7));
    entry->addWidget(checkBox(QStringLiteral("EDIT_OPT8"), QStringLiteral("原価を使用する"),
                              &EnvironmentSettings::EDIT_OPT8));
    entry->addWidget(checkBox(QStringLiteral("EDIT_OPT9"), QStringLiteral("グループ単価を使用する"),
                              &EnvironmentSettings::EDIT_OPT9));
    QGroupBox* entryGroup = group(QStringLiteral("積算入力ダイアログ"), entry);
    entryGroup->setVisible(false);

    return column(
        {group(QStringLiteral("レイアウト"), layout), entryGroup,
         optionGroup(QStringLiteral("FILE_OPT2"), QStringLiteral("見積一覧表"),
                     {QStringLiteral("宛先を表示する"), QStringLiteral("宛先を表示しない")},
                     &EnvironmentSettings::FILE_OPT2),
         optionGroup(
             QStringLiteral("EDIT_OPT2"), QStringLiteral("画面初期設定"),
             {QStringLiteral("名称と仕様を分離する"), QStringLiteral("名称と仕様を分離しない")},
             &EnvironmentSettings::EDIT_OPT2),
         optionGroup(
             QStringLiteral("EDIT_OPT10"), QStringLiteral("積算明細行"),
             {QStringLiteral("行を交互に色を反転しない"), QStringLiteral("行を交互に色を反転する")},
             &EnvironmentSettings::EDIT_OPT10)});
}

QWidget* Tfconfig_Dlg::buildCompanyTab() {
    const std::array<const char16_t*, 10> labels = {
        u"会 社 名 称 １", u"会 社 名 称 ２", u"業 務 内 容", u"郵便番号", u"住 所 １",
        u"住 所 ２",       u"電 話 番 号",    u"FAX",         u"URL",      u"E-MAIL"};
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        QWidget* box =
            boxedText(QStringLiteral("EDATA%1").arg(i + 1),
                      [i](EnvironmentSettings& s) -> std::string& { return s.EDATA[i]; });
        box->setMinimumWidth(360);
        form->addRow(QString::fromUtf16(labels[i]), box);
    }
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->addLayout(form);
    layout->addStretch();
    return widget;
}

void Tfconfig_Dlg::loadControls() {
    for (const Binding& binding : bindings_) {
        binding.load();
    }
    applyNumberingSwitch();
}

void Tfconfig_Dlg::storeControls() {
    for (const Binding& binding : bindings_) {
        binding.store();
    }
}

void Tfconfig_Dlg::applyNumberingSwitch() {
    const bool enabled = automaticNumbering_->isChecked();
    perCustomer_->setEnabled(enabled);
    offerAfterPick_->setEnabled(enabled);
}

void Tfconfig_Dlg::choosePrintStyle() {
    const QString folder = QString::fromStdString(pathText(folders_.installFolder / "style"));
    const QString chosen =
        chooser_->chooseFile(this, folder, QStringLiteral("印刷スタイル (*.sle)"));
    if (!chosen.isEmpty()) {
        findChild<QLineEdit*>(QStringLiteral("print_dir"))->setText(chosen);
    }
}

void Tfconfig_Dlg::chooseNetworkFolder() {
    auto* folder = findChild<QLineEdit*>(QStringLiteral("networkFolder"));
    const QString chosen =
        chooser_->chooseFolder(this, QStringLiteral("フォルダーを指定して下さい"), folder->text());
    if (!chosen.isEmpty()) {
        folder->setText(q(browsedFolderText(s(chosen))));
    }
}

void Tfconfig_Dlg::prepareShow(const AppFolders& folders, bool pipingModule,
                               NumberingRowStore& numbering) {
    folders_ = folders;
    numbering_ = &numbering;
    try {
        readForShow(settings_, folders.dataRoot, folders.databaseFolder, numbering);
    } catch (const std::exception& error) {
        MessageBox::error(this, QString::fromStdString(error.what()));
    }
    tabs_->setTabVisible(tabs_->indexOf(pipingTab_), pipingModule);
    tabs_->setCurrentIndex(0);
    loadControls();
}

void Tfconfig_Dlg::showModally(const AppFolders& folders, bool pipingModule,
                               NumberingRowStore& numbering) {
    prepareShow(folders, pipingModule, numbering);
    exec();
}

bool Tfconfig_Dlg::registerSettings() {
    storeControls();
    if (numbering_ == nullptr) {
        return false;
    }
    RegisterOutcome outcome;
    try {
        outcome = kerbina::registerSettings(settings_, folders_.dataRoot, *numbering_);
    } catch (const std::exception& error) {
        MessageBox::error(this, QString::fromStdString(error.what()));
        return false;
    }
    if (outcome.message) {
        MessageBox::notify(
            this, q(*outcome.message).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    // The counter may have been written: the box shows what the row now holds.
    loadControls();
    emit registered(outcome);
    return true;
}

void Tfconfig_Dlg::done(int result) {
    // Values changed and not registered stay in force for the rest of the run.
    storeControls();
    QDialog::done(result);
}

} // namespace kerbina

#include "settings/ui/settings_dialog.h"

#include "base/path_text.h"
#include "settings/environment_settings.h"
#include "settings/numbering_row.h"
#include "settings/settings_files.h"
#include "settings/ui/settings_dialog_layout.h"
#include "settings/value_forms.h"
#include "widgets/message_box.h"

#include <QApplication>
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

using namespace settings_layout;

namespace {

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

} // namespace

QString DesktopSettingsChooser::chooseFile(QWidget* parent, const QString& folder,
                                           const QString& filter) {
    return MessageBox::openFileName(parent, QString(), folder, filter);
}

QString DesktopSettingsChooser::chooseFolder(QWidget* parent, const QString& caption,
                                             const QString& start) {
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

SettingsDialog::SettingsDialog(EnvironmentSettings& settings, QWidget* parent)
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

SettingsDialog::~SettingsDialog() = default;

QWidget* SettingsDialog::boxedText(const QString& name,
                                   std::function<std::string&(EnvironmentSettings&)> field) {
    auto* box = new BoxedText(this);
    box->setObjectName(name);
    bindings_.push_back({[this, box, field] { box->setText(q(field(settings_))); },
                         [this, box, field] {
                             field(settings_) = s(box->text());
                         }});
    return box;
}

QCheckBox* SettingsDialog::checkBox(const QString& name, const QString& caption,
                                    bool EnvironmentSettings::*field) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    bindings_.push_back({[this, box, field] { box->setChecked(settings_.*field); },
                         [this, box, field] {
                             settings_.*field = box->isChecked();
                         }});
    return box;
}

QWidget* SettingsDialog::optionGroup(const QString& name, const QString& caption,
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

void SettingsDialog::loadControls() {
    for (const Binding& binding : bindings_) {
        binding.load();
    }
    applyNumberingSwitch();
}

void SettingsDialog::storeControls() {
    for (const Binding& binding : bindings_) {
        binding.store();
    }
}

void SettingsDialog::applyNumberingSwitch() {
    const bool enabled = automaticNumbering_->isChecked();
    perCustomer_->setEnabled(enabled);
    offerAfterPick_->setEnabled(enabled);
}

void SettingsDialog::choosePrintStyle() {
    const QString folder = QString::fromStdString(pathText(folders_.installFolder / "style"));
    const QString chosen =
        chooser_->chooseFile(this, folder, QStringLiteral("印刷スタイル (*.sle)"));
    if (!chosen.isEmpty()) {
        findChild<QLineEdit*>(QStringLiteral("print_dir"))->setText(chosen);
    }
}

void SettingsDialog::chooseNetworkFolder() {
    auto* folder = findChild<QLineEdit*>(QStringLiteral("networkFolder"));
    const QString chosen =
        chooser_->chooseFolder(this, QStringLiteral("フォルダーを指定して下さい"), folder->text());
    if (!chosen.isEmpty()) {
        folder->setText(q(browsedFolderText(s(chosen))));
    }
}

void SettingsDialog::addTab(QWidget* tab, const QString& caption) {
    tabs_->addTab(tab, caption);
}

void SettingsDialog::setDatabaseCheck(std::function<std::string()> check) {
    databaseCheck_ = std::move(check);
    databaseCheckButton_->setVisible(static_cast<bool>(databaseCheck_));
}

void SettingsDialog::checkDatabase() {
    if (!databaseCheck_) {
        return;
    }
    // The full check reads every page: a large database takes a while.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string report = databaseCheck_();
    QApplication::restoreOverrideCursor();
    MessageBox::notify(this, q(report));
}

void SettingsDialog::prepareShow(const AppFolders& folders, bool pipingModule,
                                 NumberingRowStore& numbering) {
    folders_ = folders;
    numbering_ = &numbering;
    try {
        readForShow(settings_, folders.dataRoot, folders.databaseFolder, numbering);
    } catch (const std::exception& error) {
        MessageBox::error(this, QString::fromStdString(error.what()));
    }
    if (!inForce_) {
        inForce_ = std::make_unique<EnvironmentSettings>(settings_);
    }
    tabs_->setTabVisible(tabs_->indexOf(pipingTab_), pipingModule);
    tabs_->setCurrentIndex(0);
    loadControls();
}

void SettingsDialog::showModally(const AppFolders& folders, bool pipingModule,
                                 NumberingRowStore& numbering) {
    prepareShow(folders, pipingModule, numbering);
    exec();
}

bool SettingsDialog::registerSettings() {
    storeControls();
    if (numbering_ == nullptr || !inForce_) {
        return false;
    }
    RegisterOutcome outcome;
    try {
        outcome = kerbina::registerSettings(settings_, folders_.dataRoot, *numbering_, *inForce_);
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

void SettingsDialog::done(int result) {
    // Values changed and not registered stay in force for the rest of the run.
    storeControls();
    QDialog::done(result);
}

} // namespace kerbina

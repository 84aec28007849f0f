#pragma once

#include "base/folders.h"
#include "settings/register_settings.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTabWidget;
class QCheckBox;
class QPushButton;
class QWidget;

namespace kerbina {

struct EnvironmentSettings;
class NumberingRowStore;

// Chooses the print style file and the network folder for the settings dialog. Tests put a
// scripted one in its place.
class SettingsChooser {
public:
    virtual ~SettingsChooser() = default;
    // The chosen file's full path; the empty text when cancelled. `filter` uses Qt's
    // "Name (*.ext)" form.
    virtual QString chooseFile(QWidget* parent, const QString& folder, const QString& filter) = 0;
    // The chosen folder; the empty text when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& caption, const QString& start) = 0;
};

// The file dialogs of the desktop.
class DesktopSettingsChooser final : public SettingsChooser {
public:
    QString chooseFile(QWidget* parent, const QString& folder, const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& start) override;
};

// "環境設定": the installation-wide settings. The dialog edits the EnvironmentSettings it is given,
// which the main window owns for the whole run; the controls are filled from it at every show and
// put back into it whenever the dialog closes, registered or not, so the other windows read what
// the dialog holds. "登　録" writes every store and leaves the dialog open; what takes effect at
// once is handed to the main window through `registered`.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit SettingsDialog(EnvironmentSettings& settings, QWidget* parent = nullptr);
    ~SettingsDialog() override;

    // Replaces the file and folder dialogs; the dialog does not own the chooser.
    void setChooser(SettingsChooser& chooser) { chooser_ = &chooser; }

    // What a show does before the dialog appears: reads the company data and the counter again,
    // fills an empty network folder with the database folder in use, shows the piping tab only
    // with the piping module, and fills the controls. A store that cannot be read is reported;
    // the dialog then shows what it holds.
    void prepareShow(const AppFolders& folders, bool pipingModule, NumberingRowStore& numbering);
    // prepareShow, then the modal run.
    void showModally(const AppFolders& folders, bool pipingModule, NumberingRowStore& numbering);

    // What "データベースを検査" does: checks the quotation database in full and gives the text
    // to show. Without it the button is hidden.
    void setDatabaseCheck(std::function<std::string()> check);
    // A tab another subsystem brings, after the dialog's own.
    void addTab(QWidget* tab, const QString& caption);

    // "登　録": writes USER_DATA.conf, the numbering row, Kerbina.conf and Network_conf.conf from
    // the controls. True when every file was written.
    bool registerSettings();

    void done(int result) override;

signals:
    // After "登　録" wrote the files: what the main window puts into effect at once.
    void registered(const kerbina::RegisterOutcome& outcome);

private:
    struct Binding {
        std::function<void()> load;
        std::function<void()> store;
    };

    QWidget* buildGeneralTab();
    QWidget* buildCoverTab();
    QWidget* buildEstimateTab();
    QWidget* buildCalculationTab();
    QWidget* buildPipingTab();
    QWidget* buildLayoutTab();
    QWidget* buildCompanyTab();

    QWidget* boxedText(const QString& name,
                       std::function<std::string&(EnvironmentSettings&)> field);
    QCheckBox* checkBox(const QString& name, const QString& caption,
                        bool EnvironmentSettings::*field);
    QWidget* optionGroup(const QString& name, const QString& caption, const QStringList& choices,
                         int EnvironmentSettings::*field, int columns = 1);

    void loadControls();
    void storeControls();
    void applyNumberingSwitch();
    void choosePrintStyle();
    void chooseNetworkFolder();
    void checkDatabase();

    EnvironmentSettings& settings_;
    std::vector<Binding> bindings_;
    QTabWidget* tabs_ = nullptr;
    QWidget* pipingTab_ = nullptr;
    QCheckBox* automaticNumbering_ = nullptr;
    QCheckBox* perCustomer_ = nullptr;
    QCheckBox* offerAfterPick_ = nullptr;
    std::unique_ptr<DesktopSettingsChooser> desktopChooser_;
    SettingsChooser* chooser_ = nullptr;
    std::function<std::string()> databaseCheck_;
    QPushButton* databaseCheckButton_ = nullptr;
    AppFolders folders_;
    NumberingRowStore* numbering_ = nullptr;
    // The settings as the first show found them: what the running program works with, against
    // which "登　録" tells whether a restart is needed.
    std::unique_ptr<EnvironmentSettings> inForce_;
};

} // namespace kerbina

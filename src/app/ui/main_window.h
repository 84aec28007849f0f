#pragma once

#include "app/quotation_session.h"
#include "app/seeding.h"
#include "app/ui/subsystems.h"
#include "base/folders.h"
#include "base/user_prompt.h"
#include "grid/grid_cells.h"
#include "records/document_state.h"
#include "settings/environment_settings.h"
#include "widgets/command_set.h"
#include "widgets/subsystem.h"

#include <QMainWindow>
#include <QSet>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTabBar;
class QTabWidget;
class QTableView;
class QTimer;

namespace kerbina {

class CoverPage;
class QuotationListView;
class QuotationView;
class SaveDialog;

// The main window: the shell around the quotation session. It shows the quotation page and the
// cover, builds its own menus and composes the registered subsystems (their side pages, commands,
// line editors and settings tabs), answers the session's questions through the message-box helper
// and repaints what each session operation says it changed.
class MainWindow : public QMainWindow, public UserPrompt, public SubsystemHost {
    Q_OBJECT

public:
    MainWindow(AppFolders folders, ModulePresence modules,
               const std::vector<SubsystemFactory>& subsystems = standardSubsystems(),
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up proper: databases, settings, the start-up password, a new quotation (or the
    // file named on the command line). False when the program must end (a refused password).
    bool startUp(const std::optional<std::filesystem::path>& fileToOpen);

    // For tests and the companion link: the widgets that show the document.
    QTableView* grid() const;
    QTabBar* sheetTabs() const;
    QAction* action(const QString& objectName) const;
    // The item number of a sheet tab (0 for the breakdown list).
    int sheetOfTab(int tab) const;
    bool listMode() const { return display_.listMode; }
    // The quotation list page "見積一覧" (made when first entered) and whether it is in front.
    QuotationListView* quotationList() const;
    bool quotationListShown() const { return coveringPage_ != nullptr; }
    // A companion program's message, offered to each subsystem; true when one handled it.
    bool handleCompanionMessage(int code, std::string_view target, std::string_view text);

    // ---- SubsystemHost ----
    QWidget* dialogParent() override { return this; }
    UserPrompt& prompt() override { return *this; }
    const AppFolders& folders() const override { return folders_; }
    const ModulePresence& modules() const override { return modules_; }
    const DocumentState& document() const override { return state_; }
    const DisplayOptions& displayOptions() const override { return display_; }
    DisplayOptions& editableDisplay() override { return display_; }
    QuotationView& quotationView() override { return *view_; }
    int sidePanelWidth() const override;
    const EnvironmentSettings& environment() const override { return environment_; }
    EnvironmentSettings& editableEnvironment() override { return environment_; }
    const MainSettings& mainSettings() const override { return session_.settings(); }
    Database& quotationDatabase() override { return session_.quotationDatabase(); }
    Database& addressDatabase() override { return session_.addressDatabase(); }
    SearchIndex* searchIndex() override { return session_.searchIndex(); }
    const std::filesystem::path& ownFile() const override { return session_.ownFile(); }
    const std::filesystem::path& backupFolder() override { return session_.store().backupFolder; }
    Selection selection() const override;
    void selectRows(int top, int bottom) override;
    GridContext gridContext() override { return session_.gridContext(); }
    bool runCommand(const std::function<void()>& command) override;
    void runGridCommand(const GridCommand& command) override;
    void applyCalculationSettings(const CalcSettings& chosen) override;
    void setSeparateNameSpec(bool separate) override;
    void layOutGrid() override { applyGridLayout(); }
    void addGridRows(int count) override;
    void showCommandResult(const CommandResult& result) override;
    void changeQuotation(const std::function<void(DocumentState&, WorkStore&)>& work) override;
    void writeCover() override;
    void showQuotationNumber() override;
    void openCoverNumberEntry() override;
    void showItemName(int item) override;
    bool saveToDatabase() override;
    bool offerToSave() override;
    bool openStoredQuotation(const std::string& number) override;
    void openAsUnsavedWork(const std::filesystem::path& file) override;
    std::optional<std::string> issueQuotationNumber(const std::string& customerId) override {
        return session_.issueQuotationNumber(customerId);
    }
    std::optional<std::string> issueCopyNumber(const std::string& sourceNumber) override;
    DatabaseCheck checkQuotationDatabase() override;
    void registerSettings(const RegisterOutcome& outcome) override;
    void environmentEdited() override;
    std::vector<SidePage> settingsTabs() override;
    void showInPlaceOfQuotation(QWidget* page, QMenu* menu) override;
    void showQuotationAgain() override;
    bool quotationCovered() const override { return coveringPage_ != nullptr; }
    void showSidePage(QWidget* page) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // ---- construction ----
    void buildWidgets();
    void buildMenus();
    QAction* addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                        const QList<QKeySequence>& keys, CommandPage page,
                        void (MainWindow::*handler)());
    // The subsystems' commands at `place` of `menu`.
    void addSubsystemCommands(std::string_view place, QMenu* menu);
    void restoreWindowPosition();
    void saveWindowPosition();

    // ---- UserPrompt: the one way the core asks and tells ----
    Answer askYesNoCancel(const std::string& question) override;
    bool askYesNo(const std::string& question) override;
    bool askYesNoDefaultNo(const std::string& question) override;
    bool askText(const std::string& question, std::string& text) override;
    void notify(const std::string& text) override;
    void reportError(std::string_view text, std::string_view detail) override;
    std::optional<std::filesystem::path> chooseFileToOpen(const std::string& caption,
                                                          const std::filesystem::path& start,
                                                          const std::string& filter) override;
    std::optional<std::filesystem::path> chooseFileToSave(const std::string& caption,
                                                          const std::filesystem::path& suggested,
                                                          const std::string& filter,
                                                          const std::string& suffix) override;

    // ---- what the session's operations changed on screen ----
    void apply(const DocumentChanges& changes);
    void applyGridLayout();
    void clearView();
    bool runSaveDialog(SaveContext& context);
    void saveQuotation();

    void showError(const std::exception& error);
    // At start-up after a run that did not end cleanly: asks whether to open that run's last
    // backup (default No) and opens it; true when it was opened.
    bool offerCrashBackup();

    // ---- the page in front ----
    void onTabChanged(int tab);
    void showPageWidgets();
    // The cover page shows the header (a CoverLoaded change), with the captions and numbering in
    // force.
    void showCover();
    void updateTotalsPanel();
    void showCostSplit();
    void setStatusPanel(int panel, const std::string& text);
    void updateMenusForMode();
    // The quotation list page covers the window again after something repainted its chrome.
    void coverWithPage();

    // ---- grid commands ----
    // A named command of the tool page: the core's, else the window's or a subsystem's.
    void runNamed(const QString& name);
    void runWindowCommand(std::string_view name);
    void onGridDoubleClicked(int row);
    void onCellTyped(int row, int column, const QString& text);
    // Offers the line at the selection's first row to the subsystem that edits its kind
    // (double-click, "new_data").
    void openLineEditor();

    // ---- commands ----
    void newQuotation();
    void openQuotationFile();
    void saveQuotationFile();
    void importVersion1File();
    void openWorkFolder();
    void closeProgram();
    void undo();
    void redo();

    void openQuotation(const std::filesystem::path& path, FileRole role);
    void showOpenedQuotation(const SessionOutcome& opened);
    void showOwnFile();

    QuotationSession session_;
    // Short names for what the window reads of the session most.
    AppFolders& folders_ = session_.folders();
    const ModulePresence& modules_ = session_.modules();
    DocumentState& state_ = session_.document();
    DisplayOptions& display_ = session_.display();
    EnvironmentSettings& environment_ = session_.environment();
    SaveDialog* saveDialog_ = nullptr; // made at its first show, kept for the run
    QSize restoredFrameSize_;      // the stored window size, frame included, until the first show
    QSet<QString> reportedFaults_; // database faults shown during the current action
    int commandDepth_ = 0;         // runCommand calls under way
    QTimer* costSplitTimer_ = nullptr; // shows the cost split once the window is idle

    CommandSet commands_;
    std::vector<std::unique_ptr<Subsystem>> subsystems_;
    QuotationView* view_ = nullptr;
    CoverPage* coverPage_ = nullptr;
    QTabWidget* sidePanel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    std::vector<QLabel*> statusPanels_;
    QMenu* editMenu_ = nullptr;
    QMenu* convertMenu_ = nullptr;
    QMenu* listMenu_ = nullptr;
    // The side pages that stand beside the quotation list page rather than the quotation.
    std::vector<QWidget*> quotationListSidePages_;
    // A page standing in place of the quotation page, its menu, and what it turned off, to turn
    // on again when it is left.
    QWidget* coveringPage_ = nullptr;
    QMenu* coveringMenu_ = nullptr;
    std::vector<QAction*> actionsOffForCover_;
    std::vector<bool> sideTabsBeforeCover_;
    int sideTabBeforeCover_ = 0;
};

} // namespace kerbina

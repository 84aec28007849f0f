#pragma once

#include "app/quotation_session.h"
#include "app/seeding.h"
#include "base/folders.h"
#include "base/user_prompt.h"
#include "calc/totals.h"
#include "cover/title_book.h"
#include "document/work_folder.h"
#include "grid/grid_cells.h"
#include "grid/grid_commands.h"
#include "records/document_state.h"
#include "settings/environment_settings.h"
#include "settings/main_settings.h"
#include "storage/database.h"

#include <QMainWindow>
#include <QSet>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
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
class TFCalcSettings_Dlg;
class Tfsave_Dlg;
class TFTITLEDATA;
class TFDataedit_Dlg;
class Tfconfig_Dlg;
struct PrintRequest;
struct QuotationPrintSettings;
struct RegisterOutcome;
class TfDATASELECT_Dlg;

// The main window: the shell around the quotation session. It builds the menus and panels, owns
// every dialog, answers the session's questions through the message-box helper and repaints what
// each session operation says it changed.
class TFKERBINA : public QMainWindow, public UserPrompt {
    Q_OBJECT

public:
    TFKERBINA(AppFolders folders, ModulePresence modules, QWidget* parent = nullptr);
    ~TFKERBINA() override;

    // The start-up proper: databases, settings, the start-up password, a new quotation (or the
    // file named on the command line). False when the program must end (a refused password).
    bool startUp(const std::optional<std::filesystem::path>& fileToOpen);

    // For tests and the companion link: the document and the widgets that show it.
    const DocumentState& document() const { return state_; }
    const DisplayOptions& displayOptions() const { return display_; }
    const EnvironmentSettings& environment() const { return environment_; }
    const AppFolders& folders() const { return folders_; }
    QTableView* grid() const;
    QTabBar* sheetTabs() const;
    QAction* action(const QString& objectName) const;
    // The item number of a sheet tab (0 for the breakdown list).
    int sheetOfTab(int tab) const;
    bool listMode() const { return display_.listMode; }
    // The quotation list page "見積一覧" (made when first entered) and whether it is in front.
    QuotationListView* quotationList() const { return listView_; }
    bool quotationListShown() const { return listPageShown_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // ---- construction ----
    void buildWidgets();
    void buildMenus();
    QAction* addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                        const QKeySequence& shortcut, void (TFKERBINA::*handler)());
    QAction* addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                        const QKeySequence& shortcut, const std::function<void()>& handler);
    // Whether a command acts on the page in front (sheet commands only on a sheet, list commands
    // only on the breakdown list).
    bool commandFitsPage(const QAction* command) const;
    void buildBulkEditMenu(QMenu* menu);
    void buildStructureMenu(QMenu* menu);
    Selection selectionNow() const;
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
    void updateViewChecks();
    void repaintGrid();
    void showModuleTabs();
    void clearView();
    // Shows the save dialog over the open quotation; true when it was saved
    // ("データを保存しました。").
    bool saveToDatabase();
    bool runSaveDialog(SaveContext& context);
    void saveQuotation();

    // Runs one command: any error is shown, and the files and the document are as they were
    // before the command (runAsOneChange).
    // False when the command failed (the error was shown and nothing changed).
    bool runCommand(const std::function<void()>& command);
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
    // The picker of a cover field; made when first used (it needs the databases).
    std::optional<TitleEntry> pickTitle(const std::string& kind, const std::string& heading,
                                        const std::string& current);
    void updateTotalsPanel();
    void showCostSplit();
    void setStatusPanel(int panel, const std::string& text);
    void updateMenusForMode();
    std::pair<int, int> selectedRows() const; // first and last selected grid row (1-based)
    void selectRows(int top, int bottom);

    // ---- grid commands ----
    using GridCommand = std::function<CommandResult(GridContext&, Selection)>;
    // Runs a grid command on the selection and shows its result.
    void runGridCommand(const GridCommand& command);
    void showCommandResult(const CommandResult& result);
    void runNamed(const QString& name);
    void insertRows();
    void eraseRows();
    void deleteRows();
    void moveRowUp();
    void moveRowDown();
    void copyRows();
    void cutRows();
    void pasteInserting();
    void pasteOverwriting();
    void pasteFromClipboard();
    void copyToClipboard();
    void selectAllRows();
    void cancelSelectionCommand();
    void firstLine();
    void lastLine();
    void onGridDoubleClicked(int row);
    void onCellTyped(int row, int column, const QString& text);
    // Opens the editor a line's kind calls for, at the selection's first row (double-click,
    // "new_data", "新規データ入力").
    void openLineEditor();
    void newDataEntry();
    void openDataEntryDialog(int row);
    void selectComment();
    void selectItemName();
    TfDATASELECT_Dlg& textSelectionDialog();
    void renameItemPrompt();

    // ---- commands ----
    void newQuotation();
    void openQuotationFile();
    void saveQuotationFile();
    void importVersion1File();
    void loadBackupFile();
    void openWorkFolder();
    void environmentSettings();
    void applyRegisteredSettings(const RegisterOutcome& outcome);
    void closeProgram();
    void undo();
    void redo();
    void calcSettings();
    void separateNameSpec();
    void combineNameSpec();
    void toggleAdditionalView();
    void showNetView();
    void showSubmittedView();
    void showPriceView(bool net, bool additional);
    void saveColumnWidths();
    void resetColumnWidths();
    void saveListColumnWidths();
    void resetListColumnWidths();
    void addOneGridRow();
    void addTenGridRows();
    void nextSheet();
    void previousSheet();

    // ---- printing and CSV (main_window_print.cpp) ----
    void buildPrintMenu(QMenu* menu);
    QuotationPrintSettings printSettings() const;
    // Starts a print program; one that does not start is reported.
    void startPrint(const PrintRequest& request);
    void printOpenQuotation(bool wholeQuotation);
    void printFromPage();
    void printUnitCostList();
    void exportPageCsv();
    void importCsvFromEditor();
    // ---- the quotation list page (main_window_list.cpp) ----
    void buildListPageMenu();
    void showQuotationList();
    void coverWithListPage();
    void leaveQuotationList();
    void openFromList(const QString& number);
    void copyFromList();
    void printFromList(const QStringList& numbers);
    void exportListCsv();
    void exportListWorkbook();
    void openWrittenWorkbook(const QString& file);
    void setListShowsAddressee(bool show);

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
    Tfsave_Dlg* saveDialog_ = nullptr;          // made at its first show, kept for the run
    Tfconfig_Dlg* environmentDialog_ = nullptr; // made at its first show, kept for the run
    QSize restoredFrameSize_;      // the stored window size, frame included, until the first show
    QSet<QString> reportedFaults_; // database faults shown during the current action
    int commandDepth_ = 0;         // runCommand calls under way
    QTimer* costSplitTimer_ = nullptr; // shows the cost split once the window is idle

    QuotationView* view_ = nullptr;
    CoverPage* coverPage_ = nullptr;
    QTabWidget* sidePanel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    std::vector<QLabel*> statusPanels_;
    std::map<QString, QAction*> actions_;
    QMenu* editMenu_ = nullptr;
    QMenu* convertMenu_ = nullptr;
    QMenu* listMenu_ = nullptr;
    QAction* additionalViewAction_ = nullptr;
    TFCalcSettings_Dlg* calcSettingsDialog_ = nullptr;
    TFDataedit_Dlg* dataEntryDialog_ = nullptr;
    TfDATASELECT_Dlg* textSelectionDialog_ = nullptr; // made when first used: it needs the database
    TFTITLEDATA* titleDataDialog_ = nullptr;          // made when first used, like the above
    QuotationListView* listView_ = nullptr;           // made when the list is first entered
    QMenu* listPageMenu_ = nullptr;
    bool listPageShown_ = false;
    // What the list page turned off, to turn on again when it is left.
    std::vector<QAction*> actionsOffForList_;
    std::vector<bool> sideTabsBeforeList_;
    int sideTabBeforeList_ = 0;
    friend class SheetLineEditor;
};

} // namespace kerbina

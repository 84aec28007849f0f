#pragma once

#include "base/folders.h"
#include "base/user_prompt.h"
#include "calc/cost_split.h"
#include "calc/totals.h"
#include "document/direct_read.h"
#include "document/document_events.h"
#include "document/work_folder.h"
#include "grid/grid_cells.h"
#include "grid/grid_commands.h"
#include "records/document_state.h"
#include "settings/environment_settings.h"
#include "settings/main_settings.h"
#include "storage/database.h"
#include "storage/database_health.h"
#include "storage/module_presence.h"
#include "storage/quotation_numbering.h"
#include "storage/save_flow.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kerbina {

class SearchIndex;
class WorkFolderEditCycle;
struct RegisterOutcome;

// What an operation that can decline (a question answered Cancel, nothing to undo) did.
struct SessionOutcome {
    bool done = false;
    DocumentChanges changes;
};

// What an opened file is to the quotation. An opened .krb2 file becomes the quotation's own file;
// a backup or an old .krb file is only its source, and the next save offers a new name in the
// quotation folder.
enum class FileRole { OwnFile, Source };

// What one user action run through `run` ended with.
struct RunOutcome {
    bool succeeded = true;
    // On failure: what brings a window back to the document, which is as it was before (the page
    // worked on entered again).
    DocumentChanges changes;
    // Notices to show once the action has ended (a range sum the totals pass could not form).
    std::vector<std::string> notices;
    // On failure: the user's message (the files and the document are as they were).
    std::optional<std::string> error;
};

// The user's words for an error that stopped an action: a database fault as its fault message,
// an error meant for the user as its text, a fault of the program itself as a general message
// (its own text is no help to the user).
std::string messageForUser(const std::exception& error);

// The open quotation and everything in force for it: the document in memory, the work-file store
// and its edit cycle, the settings, the databases, the page worked on (the breakdown list or the
// open sheet). The window and the tests drive it alike; kerbina-cli does not: it reads, recomputes
// and writes quotation files through the document layer without a session. Questions go to the
// prompt the session was made with, and each operation returns what it changed in document terms
// (DocumentChange), in order, for a window to turn into screen updates:
//
//   QuotationStarted, HeaderReplaced, HeaderWritten, ItemsChanged, SheetOpened, TotalsChanged,
//   UndoMoved    what the work-file store, undo and the opening of files report as they go;
//   SettingsChanged, ColumnsChanged, PageChosen, PageEntered, FileChanged
//                what the session itself changed: the sheet's settings, the name and
//                specification columns, the page worked on, the quotation's own file;
//   RowsChanged, RowsInserted, RowsRemoved
//                the rows of the page worked on that an operation changed, last: the session
//                compares the page with the one it last handed out, unless the operation entered
//                a page or changed what every row shows (QuotationStarted, PageEntered,
//                SettingsChanged, ColumnsChanged), after which a window shows the page anew.
//
// The session reads the settings files and saves to the database itself, in order around the
// document layer's operations, which never do either.
class QuotationSession {
public:
    static constexpr int kDefaultGridRows = 101;

    QuotationSession(AppFolders folders, ModulePresence modules, UserPrompt& prompt);
    ~QuotationSession();
    QuotationSession(const QuotationSession&) = delete;
    QuotationSession& operator=(const QuotationSession&) = delete;

    DocumentState& document() { return state_; }
    const DocumentState& document() const { return state_; }
    DisplayOptions& display() { return display_; }
    const DisplayOptions& display() const { return display_; }
    EnvironmentSettings& environment() { return environment_; }
    const EnvironmentSettings& environment() const { return environment_; }
    const MainSettings& settings() const { return settings_; }
    AppFolders& folders() { return folders_; }
    const AppFolders& folders() const { return folders_; }
    const ModulePresence& modules() const { return modules_; }
    WorkStore& store() { return store_; }
    const TotalsPanel& totals() const { return panel_; }
    bool listMode() const { return display_.listMode; }
    // The file the quotation was opened from or last saved to (empty when none): the next save
    // offers it.
    const std::filesystem::path& ownFile() const { return ownFile_; }
    // The quotation database; opened by openDatabases.
    Database& quotationDatabase();
    // The search index of the quotation list, beside the quotation database, opened at its first
    // use; nullptr when it cannot be opened (the list then searches the table itself).
    SearchIndex* searchIndex();
    // The addressee book's database (per-customer numbering, the picker); opened when first used.
    Database& addressDatabase();
    // The numbering options in force ([EDIT_OPT1], [NUMBER_OPT4]).
    NumberingMode numbering() const;
    // Issues a new quotation number for the customer of the addressee book `customerId` (empty
    // when none was picked) as the numbering options say; nothing after telling the user why.
    std::optional<std::string> issueQuotationNumber(const std::string& customerId);
    // How many rows the grid shows (at least one more than the page in front has lines).
    int gridRows() const { return gridRows_; }
    void setGridRows(int rows) { gridRows_ = rows; }
    // The grid commands' context over this session's document, edit cycle and prompt. Commands
    // run through it record their changes here: collect them with takeChanges.
    GridContext gridContext();
    // The changes recorded since the last call, with the rows of the page worked on that changed.
    DocumentChanges takeChanges();

    // What only a window has: the cover page's fields (copied into the header before every write),
    // and the save dialog (shown over the context; true when it saved the quotation).
    void setCoverSource(std::function<void(QuotationHeader&)> copyCoverFields);
    // The window calls this once the cover page shows the header of a HeaderReplaced change. From
    // the moment an operation replaces the header until then, the page still shows the previous
    // quotation's cover, and copying that would put it into the new header: no copy is made.
    void coverShown() { coverStale_ = false; }
    void setSaveDialog(std::function<bool(SaveContext&)> runSaveDialog);
    // What a save does while another program holds the quotation database: `observer` (the
    // window's box with 中止) is told while it waits, at most as long as `policy` says. Without
    // one the save waits silently.
    void setLockWait(LockWaitObserver* observer, LockWaitPolicy policy = {});

    // ---- start-up ----
    // Opens the quotation database, making the database files that are missing, and checks the
    // quotation database quickly (kStartCheckLimit). A damaged one is reported, and no save goes
    // there until a full check finds it sound.
    void openDatabases();
    // The full check of the quotation database (環境設定); it also decides whether saves may go
    // there again.
    DatabaseCheck checkQuotationDatabase();
    bool quotationDatabaseDamaged() const { return quotationDatabaseDamaged_; }
    // Reads the user and environment settings files. A file that cannot be read raises; the
    // values read so far stay.
    void readSettingsFiles();
    // Reads the settings in force into the calculation settings and the document's options.
    void readSettings();
    // Starts this run's work folder and crash marker (see beginRun).
    void beginRun();
    // The backup of a run that did not end cleanly, when there is one to offer.
    std::optional<BackupSummary> crashBackup() const;

    // ---- actions ----
    // Runs one user action as one change: its file changes all stay, or, when it throws, none does,
    // the document in memory is as it was, and the outcome carries the message. Nested runs undo
    // only their own part; notices wait until the outermost run ends.
    RunOutcome run(const std::function<void()>& action);

    // The new quotation without the question (start-up, and the first step of opening a file).
    DocumentChanges startNewQuotation(std::chrono::year_month_day today);
    // "新規作成": asks whether to save a modified quotation first; not done when the user
    // cancelled or the save did not happen (nothing changed then).
    SessionOutcome newQuotation(std::chrono::year_month_day today);
    // Reads a quotation file (or an old .krb file) into the work folder and recomputes it; not done
    // when the user declined a damaged file. On success the page it shows is in front. A file of
    // the backup folder opens modified: its work has not been saved anywhere.
    SessionOutcome openQuotationFile(const std::filesystem::path& file, FileRole role,
                                     std::chrono::year_month_day today);
    // Opens the quotation stored under `number` in the quotation database as the open quotation,
    // exactly like a quotation file (checked and recomputed), with the status of its row instead
    // of the one in its text; the cover comes to the front. It never becomes the quotation's own
    // file: its saves go to its row. Not done when there is no such row (the user is told) or the
    // user declined a damaged text; the open quotation is then as it was.
    SessionOutcome openStoredQuotation(const std::string& number,
                                       std::chrono::year_month_day today);
    // A number for the copy of the stored quotation `sourceNumber` from the automatic numbering
    // (per customer when the settings say so: the customer is the addressee-book entry named as
    // the quotation's addressee). Nothing, with the reason shown, when none can be issued.
    std::optional<std::string> issueCopyNumber(const std::string& sourceNumber);
    // "直接ファイルを開く": offers to save a modified quotation first, asks for the file, opens it.
    SessionOutcome openChosenQuotationFile(std::chrono::year_month_day today);
    // "Version1のファイルを開く": after the warning that the open quotation is lost, asks for an
    // old .krb file and converts it; it never becomes the quotation's own file.
    SessionOutcome importChosenVersion1File(std::chrono::year_month_day today);
    // Writes the open quotation to a quotation file (after writing the open sheet); it becomes
    // the quotation's own file.
    DocumentChanges saveQuotationFile(const std::filesystem::path& file);
    // "ファイルに保存": asks where (the quotation's own file, or a name made from it in the
    // quotation folder) and writes there. Not done when the user cancelled; a failed write raises.
    SessionOutcome saveChosenQuotationFile();
    // The save to the database: writes the open sheet, shows the save dialog over the session's
    // databases, numbering options and the open quotation as its work files hold it, and once it
    // saved, tells the list's search index, clears the modified mark and says
    // "データを保存しました。". False when it did not happen. Its changes (the number written)
    // wait in takeChanges. Before the dialog it waits for another program's lock on the
    // quotation database (see setLockWait); a database still held, a wait stopped by the user or
    // a database known to be damaged is told, and nothing is saved.
    bool saveToDatabase();
    // The grand total before tax by kind of cost (材料費, 労務費, 法定福利費, 経費), from every
    // sheet as its work file holds it; nothing when a work file cannot be read.
    std::optional<CostSplit> costSplit() const;
    // Brings a page to the front: 0 the breakdown list, n the sheet of item n. The page that is
    // left is written first.
    DocumentChanges showPage(int sheet);
    // The list or the current sheet entered again (after a view option changed), with its totals.
    DocumentChanges showSheetPage();
    DocumentChanges showListPage();
    // The cover changed on the page in a way the header follows at once (an addressee, a
    // number): the cover goes into the header and the header file is written.
    DocumentChanges writeCover();
    // The totals passes over the page worked on.
    DocumentChanges recalculate();
    SessionOutcome undo();
    SessionOutcome redo();
    // Applies the calculation settings of the dialog (桁設定) and writes the page in front.
    DocumentChanges applyCalculationSettings(const CalcSettings& chosen);
    // What "登　録" of the settings dialog puts into effect at once for the open quotation: the
    // tax rounding, the numbering options, the cover captions and the row shading.
    void applyRegisteredSettings(const RegisterOutcome& outcome);
    // The 名称 and 仕様 columns shown apart or together.
    DocumentChanges setSeparateNameSpec(bool separate);
    // Runs one grid command on the selection.
    std::pair<CommandResult, DocumentChanges>
    runGridCommand(const std::function<CommandResult(GridContext&, Selection)>& command,
                   Selection selection);

private:
    class EventRecorder;

    void readSettingsInto(DocumentState& state);
    // Reads the settings files into the settings in force; what they cannot give stays.
    void readSettingsInForce();
    void applySettingsInForce(DocumentState& state);
    // Reads the settings files once, for a document operation that applies them.
    ApplySettings settingsToApply();
    void startNewQuotationSteps(std::chrono::year_month_day today);
    void record(DocumentChange change);
    // The rows of the page worked on as the last takeChanges handed them out.
    void rememberShownPage();
    void refresh(const RecalcOutcome& outcome, bool listMode);
    void enterPage(bool listMode);
    // Opens a quotation file as the open quotation and brings the page it shows to the front;
    // false when the user declined a damaged file.
    bool loadAndShow(const std::filesystem::path& file, std::optional<int> status,
                     std::chrono::year_month_day today);
    void setOwnFile(std::filesystem::path file);
    bool isInBackupFolder(const std::filesystem::path& file) const;
    // Whether a save may write to the quotation database now; the reason is told when not.
    bool quotationDatabaseWritable();

    AppFolders folders_;
    ModulePresence modules_;
    UserPrompt& prompt_;
    DocumentState state_;
    WorkStore store_;
    MainSettings settings_;
    EnvironmentSettings environment_;
    DisplayOptions display_;
    TotalsPanel panel_;
    int gridRows_ = kDefaultGridRows;
    std::filesystem::path ownFile_;
    std::unique_ptr<Database> quotations_;
    std::unique_ptr<SearchIndex> searchIndex_;
    bool searchIndexTried_ = false;
    std::unique_ptr<Database> addresses_;
    std::unique_ptr<QuotationSaveSource> saveSource_;
    std::unique_ptr<EventRecorder> recorder_;
    std::unique_ptr<WorkFolderEditCycle> cycle_;
    GridSession gridSession_;
    std::function<void(QuotationHeader&)> copyCoverFields_;
    bool coverStale_ = false; // the header was replaced; the cover page does not show it yet
    std::function<bool(SaveContext&)> runSaveDialog_;
    LockWaitObserver* lockWait_ = nullptr;
    LockWaitPolicy lockWaitPolicy_;
    bool quotationDatabaseDamaged_ = false;
    DocumentChanges pendingChanges_;
    bool shownList_ = false;
    Sheet shownLines_;
    ItemList shownItems_;
    int runDepth_ = 0;
    std::optional<std::string> pendingPassError_;
};

} // namespace kerbina

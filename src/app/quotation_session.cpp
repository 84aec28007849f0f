#include "app/quotation_session.h"

#include "app/startup.h"
#include "app/work_folder_save_source.h"
#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "base/user_error.h"
#include "document/document_host.h"
#include "document/quotation_file.h"
#include "document/quotation_file_name.h"
#include "document/undo.h"
#include "document/work_store.h"
#include "grid/work_folder_cycle.h"
#include "settings/numbering_row.h"
#include "settings/register_settings.h"
#include "settings/settings_files.h"
#include "storage/database_files.h"
#include "storage/quotation_numbering.h"
#include "storage/schema.h"
#include "storage/search_index.h"

#include <system_error>
#include <utility>

namespace kerbina {

namespace {

// Where the open quotation can go while its database cannot take it.
constexpr const char* kUnsavedWorkAdvice =
    "\n編集中の見積は「ファイルに保存」で見積ファイルに保存できます。最後に編集した見積は"
    "「バックアップファイルを読み込む」でも開けます。";

} // namespace

std::string messageForUser(const std::exception& error) {
    if (const auto* database = dynamic_cast<const DatabaseError*>(&error)) {
        return databaseFaultMessage(*database);
    }
    if (dynamic_cast<const UserError*>(&error) != nullptr) {
        return error.what();
    }
    return "内部エラーのため、この操作は行われませんでした。";
}

// The work-file store, undo and the opening of files report what they change on screen through a
// DocumentHost; the session's host records it as view changes and passes questions on to the
// session's prompt.
class QuotationSession::ViewRecorder final : public DocumentHost {
public:
    explicit ViewRecorder(QuotationSession& session) : session_(session) {}

    Answer askYesNoCancel(const std::string& question) override {
        return session_.prompt_.askYesNoCancel(question);
    }
    bool askYesNo(const std::string& question) override {
        return session_.prompt_.askYesNo(question);
    }
    bool askYesNoDefaultNo(const std::string& question) override {
        return session_.prompt_.askYesNoDefaultNo(question);
    }
    void notify(const std::string& text) override { session_.prompt_.notify(text); }
    void reportError(std::string_view text, std::string_view detail) override {
        session_.prompt_.reportError(text, detail);
    }
    std::optional<std::filesystem::path> chooseFileToOpen(const std::string& caption,
                                                          const std::filesystem::path& start,
                                                          const std::string& filter) override {
        return session_.prompt_.chooseFileToOpen(caption, start, filter);
    }
    std::optional<std::filesystem::path> chooseFileToSave(const std::string& caption,
                                                          const std::filesystem::path& suggested,
                                                          const std::string& filter,
                                                          const std::string& suffix) override {
        return session_.prompt_.chooseFileToSave(caption, suggested, filter, suffix);
    }

    // The cover's history lists are kept by the cover page itself.
    void updateCoverHistory() override {}
    void copyCoverToHeader(QuotationHeader& header) override {
        if (session_.copyCoverFields_ && !session_.coverStale_) {
            session_.copyCoverFields_(header);
        }
    }
    void showQuotationNumber(const std::string& number) override {
        session_.record({ViewChange::Kind::QuotationNumber, 0, number});
    }
    void loadCoverPage(const QuotationHeader&) override {
        session_.coverStale_ = true;
        session_.record({ViewChange::Kind::CoverLoaded});
    }
    void showCoverTab() override { session_.record({ViewChange::Kind::CoverTabShown}); }
    void readSettings(DocumentState& state) override { session_.readSettingsInto(state); }
    bool saveToDatabase() override { return session_.saveToDatabase(); }
    void showSheetTitle(const std::string& itemName) override {
        session_.record({ViewChange::Kind::SheetTitle, 0, itemName});
    }
    void rebuildSheetTabs() override { session_.record({ViewChange::Kind::TabsRebuilt}); }
    void selectTab(int tab) override { session_.record({ViewChange::Kind::TabSelected, tab}); }
    void applyGridLayout() override { session_.record({ViewChange::Kind::GridLayout}); }
    void showModuleTabs() override { session_.record({ViewChange::Kind::ModuleTabs}); }
    void refresh(const RecalcOutcome& outcome, bool listMode) override {
        session_.refresh(outcome, listMode);
    }
    int gridRowCount() const override { return session_.gridRows_; }
    void clearView() override {
        session_.gridRows_ = kDefaultGridRows;
        session_.record({ViewChange::Kind::Cleared});
    }
    void showUndoCounters(const std::string& text) override {
        session_.record({ViewChange::Kind::UndoCounters, 0, text});
    }

private:
    QuotationSession& session_;
};

QuotationSession::QuotationSession(AppFolders folders, ModulePresence modules, UserPrompt& prompt)
    : folders_(std::move(folders)), modules_(modules), prompt_(prompt),
      recorder_(std::make_unique<ViewRecorder>(*this)),
      cycle_(std::make_unique<WorkFolderEditCycle>(state_, store_, *recorder_)) {
    store_.workFolder = folders_.dataRoot / "temp";
    store_.backupFolder = folders_.dataRoot / "backup";
}

QuotationSession::~QuotationSession() = default;

Database& QuotationSession::quotationDatabase() {
    if (!quotations_) {
        openDatabases();
    }
    return *quotations_;
}

SearchIndex* QuotationSession::searchIndex() {
    if (!searchIndexTried_) {
        searchIndexTried_ = true;
        searchIndex_ = openSearchIndex(quotationDatabase(),
                                       SearchIndex::indexFileFor(databaseFilePath(
                                           folders_.databaseFolder, DatabaseFile::Quotation)));
    }
    return searchIndex_.get();
}

Database& QuotationSession::addressDatabase() {
    if (!addresses_) {
        addresses_ = std::make_unique<SqliteFileDatabase>(
            databaseFilePath(folders_.databaseFolder, DatabaseFile::Address), prompt_);
    }
    return *addresses_;
}

NumberingMode QuotationSession::numbering() const {
    return NumberingMode{settings_.autoNumbering, settings_.perCustomerNumbering};
}

std::optional<std::string> QuotationSession::issueQuotationNumber(const std::string& customerId) {
    return kerbina::issueQuotationNumber(quotationDatabase(), addressDatabase(), numbering(),
                                         customerId, prompt_);
}

std::optional<CostSplit> QuotationSession::costSplit() const {
    try {
        return quotationCostSplit(collectQuotation(state_, store_.workFolder), settings_.calc)
            .total;
    } catch (const std::exception&) {
        // A work file that cannot be read now is told by the next command that needs it.
        return std::nullopt;
    }
}

GridContext QuotationSession::gridContext() {
    return GridContext{state_, *cycle_, prompt_, gridSession_, store_.workFolder};
}

ViewChanges QuotationSession::takeViewChanges() {
    return std::exchange(pendingChanges_, {});
}

void QuotationSession::setCoverSource(std::function<void(QuotationHeader&)> copyCoverFields) {
    copyCoverFields_ = std::move(copyCoverFields);
}

void QuotationSession::setSaveDialog(std::function<bool(SaveContext&)> runSaveDialog) {
    runSaveDialog_ = std::move(runSaveDialog);
}

void QuotationSession::setLockWait(LockWaitObserver* observer, LockWaitPolicy policy) {
    lockWait_ = observer;
    lockWaitPolicy_ = policy;
}

void QuotationSession::record(ViewChange change) {
    // Only the last tab brought to the front counts: an earlier one (the new quotation that opening
    // a file starts with) would switch the page in front once more.
    if (change.kind == ViewChange::Kind::TabSelected ||
        change.kind == ViewChange::Kind::ListTabShown) {
        std::erase_if(pendingChanges_, [](const ViewChange& earlier) {
            return earlier.kind == ViewChange::Kind::TabSelected ||
                   earlier.kind == ViewChange::Kind::ListTabShown;
        });
    }
    pendingChanges_.push_back(std::move(change));
}

void QuotationSession::refresh(const RecalcOutcome& outcome, bool listMode) {
    display_.listMode = listMode;
    panel_ = outcome.panel;
    if (outcome.growGridTo) {
        gridRows_ = *outcome.growGridTo;
    }
    record({ViewChange::Kind::Repainted, outcome.growGridTo.value_or(0)});
    if (!outcome.error) {
        return;
    }
    // One action may run the passes more than once (a tab switch, undo): its error is told once,
    // when the action ends.
    if (runDepth_ > 0) {
        pendingPassError_ = outcome.error->message;
    } else {
        prompt_.notify(outcome.error->message);
    }
}

void QuotationSession::openDatabases() {
    const std::filesystem::path file =
        databaseFilePath(folders_.databaseFolder, DatabaseFile::Quotation);
    searchIndex_.reset(); // it reads through the database it was opened on
    searchIndexTried_ = false;
    quotations_ = std::make_unique<SqliteFileDatabase>(file, prompt_);
    prepareDatabaseFiles(folders_.databaseFolder, folders_.installFolder, modules_, prompt_);
    const DatabaseCheck check = checkDatabaseFile(file, CheckDepth::Quick, kStartCheckLimit);
    quotationDatabaseDamaged_ = check.unusable();
    // A file that is no database at all fails every statement, and each says so: one message.
    if (check.result == DatabaseCheck::Result::Damaged) {
        prompt_.reportError(kSqlErrorText,
                            damagedDatabaseMessage(file, check) + kUnsavedWorkAdvice);
    }
}

DatabaseCheck QuotationSession::checkQuotationDatabase() {
    const DatabaseCheck check =
        checkDatabaseFile(databaseFilePath(folders_.databaseFolder, DatabaseFile::Quotation),
                          CheckDepth::Full, std::nullopt);
    if (check.result != DatabaseCheck::Result::NotChecked) {
        quotationDatabaseDamaged_ = check.unusable();
    }
    return check;
}

bool QuotationSession::quotationDatabaseWritable() {
    const std::filesystem::path file =
        databaseFilePath(folders_.databaseFolder, DatabaseFile::Quotation);
    if (quotationDatabaseDamaged_) {
        prompt_.reportError(kSqlErrorText, damagedDatabaseMessage(file, {}) + kUnsavedWorkAdvice);
        return false;
    }
    class SilentWait final : public LockWaitObserver {
    public:
        bool keepWaiting(std::chrono::milliseconds, std::chrono::milliseconds) override {
            return true;
        }
        void waitEnded() override {}
    };
    SilentWait silent;
    switch (waitForWriteAccess(file, lockWait_ != nullptr ? *lockWait_ : silent, lockWaitPolicy_)) {
    case WriteAccess::Free:
        return true;
    case WriteAccess::InUse:
        prompt_.reportError(kSqlErrorText, databaseInUseMessage(file));
        return false;
    case WriteAccess::Cancelled:
        prompt_.notify(std::string(kSaveCancelledText));
        return false;
    }
    return false;
}

void QuotationSession::readSettingsFiles() {
    DatabaseNumberingRowStore numbering(quotationDatabase());
    readUserSettings(environment_, folders_.dataRoot);
    readEnvironmentSettings(environment_, folders_.dataRoot, numbering);
    display_.alternateRowShading = environment_.alternateRowShading();
}

void QuotationSession::readSettings() {
    readSettingsInto(state_);
}

void QuotationSession::readSettingsInto(DocumentState& state) {
    SettingsSources sources;
    try {
        sources = gatherSettingsSources(folders_.dataRoot, quotationDatabase(), environment_.title1,
                                        environment_.title2);
    } catch (const std::exception& error) {
        // A settings file that cannot be read is told; the values in force stay.
        prompt_.reportError(kSqlErrorText, messageForUser(error));
    }
    // The print style is the settings dialog's value; where it is empty the bundled style fills
    // it, so that a later "登　録" keeps it instead of writing it empty.
    settings_.printStylePath = environment_.print_dir;
    settings_ = kerbina::readSettings(settings_, sources);
    environment_.print_dir = settings_.printStylePath;
    applyToDocument(settings_, state);
    display_.reductionMark = settings_.reductionMark;
}

void QuotationSession::beginRun() {
    kerbina::beginRun(store_, folders_.dataRoot);
}

std::optional<BackupSummary> QuotationSession::crashBackup() const {
    return crashBackupToOffer(store_);
}

RunOutcome QuotationSession::run(const std::function<void()>& action) {
    RunOutcome outcome;
    const TotalsPanel panelBefore = panel_;
    const bool listModeBefore = display_.listMode;
    const int gridRowsBefore = gridRows_;
    ++runDepth_;
    try {
        runAsOneChange(state_, store_, action);
    } catch (const std::exception& error) {
        // The files and the document in memory are back as they were; the screen shows the totals
        // and the page it showed. A range-sum error of the rolled-back change is not told.
        panel_ = panelBefore;
        display_.listMode = listModeBefore;
        gridRows_ = gridRowsBefore;
        pendingPassError_.reset();
        pendingChanges_.clear();
        // The page still shows the cover of the document that is back.
        coverStale_ = false;
        outcome.succeeded = false;
        outcome.error = messageForUser(error);
        outcome.changes = {{ViewChange::Kind::TabsRebuilt},
                           {ViewChange::Kind::PageShown},
                           {ViewChange::Kind::GridLayout},
                           {ViewChange::Kind::TotalsShown}};
    }
    --runDepth_;
    if (outcome.succeeded) {
        outcome.changes = takeViewChanges();
    }
    if (runDepth_ == 0 && pendingPassError_) {
        outcome.notices.push_back(std::move(*pendingPassError_));
        pendingPassError_.reset();
    }
    return outcome;
}

ViewChanges QuotationSession::startNewQuotation(std::chrono::year_month_day today) {
    kerbina::startNewQuotation(state_, store_, *recorder_, today);
    return takeViewChanges();
}

SessionOutcome QuotationSession::newQuotation(std::chrono::year_month_day today) {
    display_.listMode = false;
    SessionOutcome outcome;
    outcome.done = askAndStartNewQuotation(state_, store_, *recorder_, today);
    if (outcome.done) {
        enterPage(false);
        setOwnFile({});
    }
    outcome.changes = takeViewChanges();
    return outcome;
}

bool QuotationSession::isInBackupFolder(const std::filesystem::path& file) const {
    std::error_code error;
    return std::filesystem::equivalent(file.parent_path(), store_.backupFolder, error);
}

void QuotationSession::setOwnFile(std::filesystem::path file) {
    ownFile_ = std::move(file);
    record({ViewChange::Kind::OwnFile});
}

bool QuotationSession::loadAndShow(const std::filesystem::path& file, std::optional<int> status,
                                   std::chrono::year_month_day today) {
    const OpenedView view = loadQuotationFile(state_, store_, *recorder_, file, status, today);
    if (view == OpenedView::Sheet) {
        record({ViewChange::Kind::TabSelected, state_.currentSheetNumber});
        enterPage(false);
    } else if (view == OpenedView::ItemList) {
        record({ViewChange::Kind::ListTabShown});
        enterPage(true);
    }
    return view != OpenedView::NotOpened;
}

SessionOutcome QuotationSession::openQuotationFile(const std::filesystem::path& file, FileRole role,
                                                   std::chrono::year_month_day today) {
    SessionOutcome outcome;
    outcome.done = loadAndShow(file, std::nullopt, today);
    if (outcome.done) {
        // An old .krb file (also when named on the command line) is converted, never written
        // back.
        const bool quotationFile = equalsIgnoringAsciiCase(pathText(file.extension()), ".krb2");
        setOwnFile(role == FileRole::OwnFile && quotationFile ? file : std::filesystem::path());
        // A backup holds work that was never saved (the last run's, after a crash): closing or
        // starting anew must offer to save it as for any edit.
        if (isInBackupFolder(file)) {
            state_.modified = true;
        }
    }
    outcome.changes = takeViewChanges();
    return outcome;
}

SessionOutcome QuotationSession::openStoredQuotation(const std::string& number,
                                                     std::chrono::year_month_day today) {
    const SqlRows rows = quotationDatabase().queryRows(
        "SELECT data,status FROM kerbina WHERE krbnumber=?", {number});
    if (rows.empty()) {
        prompt_.notify("見積番号 " + number + " の見積はデータベースにありません。");
        return {false, takeViewChanges()};
    }
    // The text goes through the quotation file reader as a file would, so a stored quotation opens
    // exactly as its exported file does. The write is checked: a stale file is never read.
    const std::filesystem::path file = store_.workFolder / "dbsavefile.krb2";
    writeFileAtomically(file, toCp932(rows.front().field(1)));
    std::optional<int> status;
    if (const auto code = parseInteger32(rows.front().field(2), IntegerText::Lenient);
        code && *code >= 0 && *code <= 6) {
        status = *code;
    }
    SessionOutcome outcome;
    outcome.done = loadAndShow(file, status, today);
    if (outcome.done) {
        setOwnFile({});
        record({ViewChange::Kind::CoverTabShown});
    }
    outcome.changes = takeViewChanges();
    return outcome;
}

std::optional<std::string> QuotationSession::issueCopyNumber(const std::string& sourceNumber) {
    const NumberingMode mode{.automatic = true, .perCustomer = settings_.perCustomerNumbering};
    std::string customerId;
    if (mode.perCustomer) {
        try {
            const SqlRows names = quotationDatabase().queryRows(
                "SELECT ATESAKI_1 FROM kerbina WHERE krbnumber=?", {sourceNumber});
            if (!names.empty() && !names.front().field(1).empty()) {
                const SqlRows ids = addressDatabase().queryRows(
                    "SELECT ID FROM address WHERE namae1=? ORDER BY ID", {names.front().field(1)});
                customerId = ids.empty() ? std::string() : ids.front().field(1);
            }
        } catch (const DatabaseError& error) {
            prompt_.reportError(kSqlErrorText, databaseFaultMessage(error));
            return std::nullopt;
        }
    }
    return kerbina::issueQuotationNumber(quotationDatabase(), addressDatabase(), mode, customerId,
                                         prompt_);
}

SessionOutcome QuotationSession::openChosenQuotationFile(std::chrono::year_month_day today) {
    if (state_.modified && prompt_.askYesNo("編集中のデータを保存しますか？") &&
        !saveToDatabase()) {
        return {false, takeViewChanges()};
    }
    const auto file = prompt_.chooseFileToOpen("直接ファイルを開く", folders_.quotationFolder,
                                               "ケルビナファイル(krb2) (*.krb2)");
    if (!file) {
        return {false, takeViewChanges()};
    }
    return openQuotationFile(*file, FileRole::OwnFile, today);
}

SessionOutcome QuotationSession::importChosenVersion1File(std::chrono::year_month_day today) {
    if (state_.modified && !prompt_.askYesNo("編集中のデータが失われますが、よろしいですか？")) {
        return {};
    }
    const auto file = prompt_.chooseFileToOpen("Version1のファイルを開く", folders_.quotationFolder,
                                               "ケルビナVersion1(krb) (*.krb *.KRB)");
    if (!file) {
        return {};
    }
    return openQuotationFile(*file, FileRole::Source, today);
}

ViewChanges QuotationSession::saveQuotationFile(const std::filesystem::path& file) {
    saveSheetRecords(state_, store_, *recorder_, RecordMode::Wrk);
    writeQuotationFile(file, collectQuotation(state_, store_.workFolder),
                       QuotationWriteOptions{state_.itemNameLine});
    state_.modified = false;
    setOwnFile(file);
    return takeViewChanges();
}

SessionOutcome QuotationSession::saveChosenQuotationFile() {
    const auto file = prompt_.chooseFileToSave(
        "ファイルに保存", suggestedSavePath(state_, ownFile_, folders_.quotationFolder),
        "ケルビナデータファイル (*.krb2)", "krb2");
    if (!file) {
        return {};
    }
    return {true, saveQuotationFile(*file)};
}

bool QuotationSession::saveToDatabase() {
    if (!runSaveDialog_ || !quotationDatabaseWritable()) {
        return false;
    }
    saveSheetRecords(state_, store_, *recorder_, RecordMode::Wrk);
    if (!saveSource_) {
        saveSource_ = std::make_unique<WorkFolderSaveSource>(state_, store_, *recorder_);
    }
    SaveContext context{quotationDatabase(), addressDatabase(), numbering(), *saveSource_, prompt_};
    SearchIndex* index = searchIndex();
    const std::string stampBefore = index != nullptr ? index->stampBeforeWrite() : std::string();
    if (!runSaveDialog_(context)) {
        return false;
    }
    if (index != nullptr) {
        // The list's search index takes the saved row at once instead of comparing the table at
        // its next read; a fault of the index is reported, and the save stands.
        index->noteChanged(state_.header.number, stampBefore);
    }
    state_.modified = false;
    prompt_.notify(std::string(kSavedText));
    return true;
}

void QuotationSession::enterPage(bool listMode) {
    display_.listMode = listMode;
    record({ViewChange::Kind::PageShown});
    record({ViewChange::Kind::GridLayout});
    recalculateAndShow(state_, *recorder_, listMode);
}

ViewChanges QuotationSession::showPage(int sheet) {
    recorder_->copyCoverToHeader(state_.header);
    writeHeaderFiles(state_, store_.workFolder, *recorder_);
    if (sheet == 0) {
        saveSheetRecords(state_, store_, *recorder_, RecordMode::Wrk);
        enterPage(true);
    } else {
        display_.listMode = false;
        openSheet(state_, store_, *recorder_, sheet);
        enterPage(false);
    }
    return takeViewChanges();
}

ViewChanges QuotationSession::writeCover() {
    recorder_->copyCoverToHeader(state_.header);
    writeHeaderFiles(state_, store_.workFolder, *recorder_);
    return takeViewChanges();
}

ViewChanges QuotationSession::showSheetPage() {
    enterPage(false);
    return takeViewChanges();
}

ViewChanges QuotationSession::showListPage() {
    enterPage(true);
    return takeViewChanges();
}

ViewChanges QuotationSession::recalculate() {
    recalculateAndShow(state_, *recorder_, display_.listMode);
    return takeViewChanges();
}

SessionOutcome QuotationSession::undo() {
    SessionOutcome outcome;
    if (display_.listMode) {
        outcome.done = undoList(state_, store_, *recorder_);
        if (outcome.done) {
            record({ViewChange::Kind::TabsRebuilt});
            enterPage(true);
        }
    } else {
        outcome.done = undoSheet(state_, store_, *recorder_);
        if (outcome.done) {
            recalculateAndShow(state_, *recorder_, false);
        }
    }
    outcome.changes = takeViewChanges();
    return outcome;
}

SessionOutcome QuotationSession::redo() {
    SessionOutcome outcome;
    outcome.done = !display_.listMode && redoSheet(state_, store_, *recorder_);
    if (outcome.done) {
        recalculateAndShow(state_, *recorder_, false);
    }
    outcome.changes = takeViewChanges();
    return outcome;
}

void QuotationSession::applyRegisteredSettings(const RegisterOutcome& outcome) {
    state_.settings.taxOffset = outcome.taxOffset;
    settings_.calc.taxOffset = outcome.taxOffset;
    settings_.autoNumbering = outcome.numbering.automatic;
    settings_.perCustomerNumbering = outcome.numbering.perCustomer;
    settings_.offerNumberAfterCustomerPick = outcome.numbering.offerAfterCustomerPick;
    settings_.coverCaptions = outcome.displayStyle.coverCaptions;
    display_.alternateRowShading = !outcome.displayStyle.horizontalGridLines;
}

ViewChanges QuotationSession::applyCalculationSettings(const CalcSettings& chosen) {
    applyCalcSettings(state_, chosen);
    if (display_.listMode) {
        recalculateSheet(state_);
        recalculateAndShow(state_, *recorder_, true);
        saveItemList(state_, store_, ListMode::Wrk);
    } else {
        recalculateAndShow(state_, *recorder_, false);
        saveSheetRecords(state_, store_, *recorder_, RecordMode::Wrk);
    }
    return takeViewChanges();
}

ViewChanges QuotationSession::setSeparateNameSpec(bool separate) {
    state_.separateNameSpec = separate;
    record({ViewChange::Kind::GridLayout});
    recalculateAndShow(state_, *recorder_, display_.listMode);
    return takeViewChanges();
}

std::pair<CommandResult, ViewChanges> QuotationSession::runGridCommand(
    const std::function<CommandResult(GridContext&, Selection)>& command, Selection selection) {
    GridContext context = gridContext();
    CommandResult result = command(context, selection);
    if (result.itemsChanged) {
        record({ViewChange::Kind::TabsRebuilt});
        record({ViewChange::Kind::ListTabShown});
        enterPage(true);
    }
    return {result, takeViewChanges()};
}

} // namespace kerbina

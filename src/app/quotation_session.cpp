#include "app/quotation_session.h"

#include "app/startup.h"
#include "app/work_folder_save_source.h"
#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "base/user_error.h"
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

#include <algorithm>
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

// The work-file store, undo and the opening of files report what they change through
// DocumentEvents; the session's recorder keeps it as the operation's changes and passes questions
// on to the session's prompt.
class QuotationSession::EventRecorder final : public DocumentEvents {
public:
    explicit EventRecorder(QuotationSession& session) : session_(session) {}

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

    void changed(DocumentChange change) override {
        if (change.kind == DocumentChange::Kind::QuotationStarted) {
            session_.gridRows_ = kDefaultGridRows;
        } else if (change.kind == DocumentChange::Kind::HeaderReplaced) {
            session_.coverStale_ = true;
        }
        session_.record(std::move(change));
    }
    void recalculated(const RecalcOutcome& outcome, bool listMode) override {
        session_.refresh(outcome, listMode);
    }
    int roomForEntries() const override { return session_.gridRows_; }
    void takeHeaderEdits(QuotationHeader& header) override {
        if (session_.copyCoverFields_ && !session_.coverStale_) {
            session_.copyCoverFields_(header);
        }
    }

private:
    QuotationSession& session_;
};

QuotationSession::QuotationSession(AppFolders folders, ModulePresence modules, UserPrompt& prompt)
    : folders_(std::move(folders)), modules_(modules), prompt_(prompt),
      recorder_(std::make_unique<EventRecorder>(*this)),
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

DocumentChanges QuotationSession::takeChanges() {
    // After these a window shows the whole page anew.
    const bool pageShownAnew =
        std::ranges::any_of(pendingChanges_, [](const DocumentChange& change) {
            using Kind = DocumentChange::Kind;
            return change.kind == Kind::QuotationStarted || change.kind == Kind::PageEntered ||
                   change.kind == Kind::SettingsChanged || change.kind == Kind::ColumnsChanged;
        });
    if (!pageShownAnew && shownList_ != display_.listMode) {
        // The totals passes of the other page ran in its place: that page is the one worked on.
        pendingChanges_.emplace_back(DocumentChange::Kind::PageEntered);
    } else if (!pageShownAnew) {
        if (display_.listMode) {
            appendRowChanges(shownItems_, state_.items, pendingChanges_);
        } else {
            appendRowChanges(shownLines_, state_.sheet, state_.currentSheetNumber, pendingChanges_);
        }
    }
    rememberShownPage();
    return std::exchange(pendingChanges_, {});
}

void QuotationSession::rememberShownPage() {
    shownList_ = display_.listMode;
    if (shownList_) {
        shownItems_ = state_.items;
        shownLines_.clear();
    } else {
        shownLines_ = state_.sheet;
        shownItems_.clear();
    }
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

void QuotationSession::record(DocumentChange change) {
    // Only the last page chosen counts: an earlier one (the new quotation that opening a file
    // starts with) would switch the page worked on once more.
    if (change.kind == DocumentChange::Kind::PageChosen) {
        std::erase_if(pendingChanges_, [](const DocumentChange& earlier) {
            return earlier.kind == DocumentChange::Kind::PageChosen;
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
    record({DocumentChange::Kind::TotalsChanged});
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
    readSettingsInForce();
    applySettingsInForce(state);
}

void QuotationSession::readSettingsInForce() {
    SettingsSources sources;
    try {
        sources = gatherSettingsSources(folders_.dataRoot, quotationDatabase(),
                                        environment_.siteNameTitle, environment_.workNameTitle);
    } catch (const std::exception& error) {
        // A settings file that cannot be read is told; the values in force stay.
        prompt_.reportError(kSqlErrorText, messageForUser(error));
    }
    // The print style is the settings dialog's value; where it is empty the bundled style fills
    // it, so that a later "登　録" keeps it instead of writing it empty.
    settings_.printStylePath = environment_.printStyleFile;
    settings_ = kerbina::readSettings(settings_, sources);
    environment_.printStyleFile = settings_.printStylePath;
}

void QuotationSession::applySettingsInForce(DocumentState& state) {
    applyToDocument(settings_, state);
    display_.reductionMark = settings_.reductionMark;
}

ApplySettings QuotationSession::settingsToApply() {
    readSettingsInForce();
    return [this](DocumentState& state) {
        applySettingsInForce(state);
    };
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
        outcome.changes = {{DocumentChange::Kind::ItemsChanged},
                           {DocumentChange::Kind::PageEntered},
                           {DocumentChange::Kind::TotalsChanged}};
        rememberShownPage();
    }
    --runDepth_;
    if (outcome.succeeded) {
        outcome.changes = takeChanges();
    }
    if (runDepth_ == 0 && pendingPassError_) {
        outcome.notices.push_back(std::move(*pendingPassError_));
        pendingPassError_.reset();
    }
    return outcome;
}

void QuotationSession::startNewQuotationSteps(std::chrono::year_month_day today) {
    kerbina::startNewQuotation(state_, store_, *recorder_, settingsToApply(), today);
    record({DocumentChange::Kind::PageChosen, 1});
}

DocumentChanges QuotationSession::startNewQuotation(std::chrono::year_month_day today) {
    startNewQuotationSteps(today);
    return takeChanges();
}

SessionOutcome QuotationSession::newQuotation(std::chrono::year_month_day today) {
    display_.listMode = false;
    SessionOutcome outcome;
    if (state_.modified) {
        switch (prompt_.askYesNoCancel("編集中のデータを保存しますか？")) {
        case UserPrompt::Answer::Cancel:
            outcome.changes = takeChanges();
            return outcome;
        case UserPrompt::Answer::Yes:
            // A save that did not happen must not be followed by discarding the quotation.
            if (!saveToDatabase()) {
                outcome.changes = takeChanges();
                return outcome;
            }
            break;
        case UserPrompt::Answer::No:
            break;
        }
    }
    startNewQuotationSteps(today);
    outcome.done = true;
    enterPage(false);
    setOwnFile({});
    outcome.changes = takeChanges();
    return outcome;
}

bool QuotationSession::isInBackupFolder(const std::filesystem::path& file) const {
    std::error_code error;
    return std::filesystem::equivalent(file.parent_path(), store_.backupFolder, error);
}

void QuotationSession::setOwnFile(std::filesystem::path file) {
    ownFile_ = std::move(file);
    record({DocumentChange::Kind::FileChanged});
}

bool QuotationSession::loadAndShow(const std::filesystem::path& file, std::optional<int> status,
                                   std::chrono::year_month_day today) {
    const OpenedView view =
        loadQuotationFile(state_, store_, *recorder_, settingsToApply(), file, status, today);
    if (view == OpenedView::Sheet) {
        record({DocumentChange::Kind::PageChosen, state_.currentSheetNumber});
        enterPage(false);
    } else if (view == OpenedView::ItemList) {
        record({DocumentChange::Kind::PageChosen, 0});
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
    outcome.changes = takeChanges();
    return outcome;
}

SessionOutcome QuotationSession::openStoredQuotation(const std::string& number,
                                                     std::chrono::year_month_day today) {
    const SqlRows rows = quotationDatabase().queryRows(
        "SELECT data,status FROM kerbina WHERE krbnumber=?", {number});
    if (rows.empty()) {
        prompt_.notify("見積番号 " + number + " の見積はデータベースにありません。");
        return {false, takeChanges()};
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
    }
    outcome.changes = takeChanges();
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
        return {false, takeChanges()};
    }
    const auto file = prompt_.chooseFileToOpen("直接ファイルを開く", folders_.quotationFolder,
                                               "ケルビナファイル(krb2) (*.krb2)");
    if (!file) {
        return {false, takeChanges()};
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

DocumentChanges QuotationSession::saveQuotationFile(const std::filesystem::path& file) {
    saveSheetRecords(state_, store_, *recorder_, RecordMode::Wrk);
    writeQuotationFile(file, collectQuotation(state_, store_.workFolder),
                       QuotationWriteOptions{state_.itemNameLine});
    state_.modified = false;
    setOwnFile(file);
    return takeChanges();
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
    record({DocumentChange::Kind::PageEntered});
    runTotalsPasses(state_, *recorder_, listMode);
}

DocumentChanges QuotationSession::showPage(int sheet) {
    cycle_->forgetListRedo();
    recorder_->takeHeaderEdits(state_.header);
    writeHeaderFiles(state_, store_.workFolder, *recorder_);
    if (sheet == 0) {
        saveSheetRecords(state_, store_, *recorder_, RecordMode::Wrk);
        enterPage(true);
    } else {
        display_.listMode = false;
        openSheet(state_, store_, *recorder_, sheet);
        enterPage(false);
    }
    return takeChanges();
}

DocumentChanges QuotationSession::writeCover() {
    recorder_->takeHeaderEdits(state_.header);
    writeHeaderFiles(state_, store_.workFolder, *recorder_);
    return takeChanges();
}

DocumentChanges QuotationSession::showSheetPage() {
    enterPage(false);
    return takeChanges();
}

DocumentChanges QuotationSession::showListPage() {
    enterPage(true);
    return takeChanges();
}

DocumentChanges QuotationSession::recalculate() {
    runTotalsPasses(state_, *recorder_, display_.listMode);
    return takeChanges();
}

SessionOutcome QuotationSession::undo() {
    SessionOutcome outcome;
    if (display_.listMode) {
        outcome.done = cycle_->undo(true);
        if (outcome.done) {
            enterPage(true);
        }
    } else {
        outcome.done = undoSheet(state_, store_, *recorder_);
        if (outcome.done) {
            runTotalsPasses(state_, *recorder_, false);
        }
    }
    outcome.changes = takeChanges();
    return outcome;
}

SessionOutcome QuotationSession::redo() {
    SessionOutcome outcome;
    if (display_.listMode) {
        outcome.done = cycle_->redoList();
        if (outcome.done) {
            enterPage(true);
        }
    } else {
        outcome.done = redoSheet(state_, store_, *recorder_);
        if (outcome.done) {
            runTotalsPasses(state_, *recorder_, false);
        }
    }
    outcome.changes = takeChanges();
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

DocumentChanges QuotationSession::applyCalculationSettings(const CalcSettings& chosen) {
    applyCalcSettings(state_, chosen);
    record({DocumentChange::Kind::SettingsChanged});
    if (display_.listMode) {
        recalculateSheet(state_);
        runTotalsPasses(state_, *recorder_, true);
        saveItemList(state_, store_, ListMode::Wrk);
    } else {
        runTotalsPasses(state_, *recorder_, false);
        saveSheetRecords(state_, store_, *recorder_, RecordMode::Wrk);
    }
    return takeChanges();
}

DocumentChanges QuotationSession::setSeparateNameSpec(bool separate) {
    state_.separateNameSpec = separate;
    record({DocumentChange::Kind::ColumnsChanged});
    runTotalsPasses(state_, *recorder_, display_.listMode);
    return takeChanges();
}

std::pair<CommandResult, DocumentChanges> QuotationSession::runGridCommand(
    const std::function<CommandResult(GridContext&, Selection)>& command, Selection selection) {
    GridContext context = gridContext();
    CommandResult result = command(context, selection);
    if (result.itemsChanged) {
        record({DocumentChange::Kind::ItemsChanged});
        record({DocumentChange::Kind::PageChosen, 0});
        enterPage(true);
    }
    return {result, takeChanges()};
}

} // namespace kerbina

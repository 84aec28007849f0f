#include "app/quotation_session.h"
#include "base/file_io.h"
#include "damaged_database.h"
#include "grid/line_message.h"
#include "grid/row_commands.h"
#include "money_literal.h"
#include "records/kinds.h"
#include "scripted_prompt.h"
#include "session_fixture.h"
#include "settings/numbering_row.h"
#include "settings/register_settings.h"
#include "storage/database_files.h"
#include "storage/sqlite_connection.h"
#include "test_data.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using Kind = DocumentChange::Kind;

constexpr std::chrono::year_month_day kToday = StartedSession::kToday;

class QuotationSessionTest : public testing::Test {
protected:
    // Writes one priced line over row `row` of the sheet in front, as the data-entry dialog does.
    std::pair<CommandResult, DocumentChanges> writeLine(int row, const std::string& name) {
        LineMessage line;
        line.name = name;
        line.unit = "m";
        line.netQuantity = line.submittedQuantity = c("2");
        line.netPrice = line.submittedPrice = c("1500");
        line.netAmount = line.submittedAmount = c("3000");
        line.kind = LineKind::WholePriced;
        return session->runGridCommand(
            [&](GridContext& context, Selection) {
                return writeLineFromMessage(context, Selection{row, row}, line,
                                            LineWriteMode::Overwrite, AfterWrite::Save, false);
            },
            Selection{row, row});
    }

    // "新規作成" answered はい to the save question, with a save dialog that saves nothing: whether
    // the new quotation went ahead all the same, and whether the dialog was asked for.
    struct NewQuotationTry {
        bool started = false;
        bool saveAsked = false;
    };
    NewQuotationTry newQuotationWithoutSaving() {
        NewQuotationTry attempt;
        prompt.otherwise = true;
        session->setSaveDialog([&](SaveContext&) {
            attempt.saveAsked = true;
            return false;
        });
        attempt.started = session->newQuotation(kToday).done;
        return attempt;
    }

    static bool has(const DocumentChanges& changes, Kind kind) {
        return std::ranges::any_of(
            changes, [kind](const DocumentChange& change) { return change.kind == kind; });
    }

    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    StartedSession started{prompt};
    TempFolder& root = started.root;
    AppFolders& folders = started.folders;
    std::unique_ptr<QuotationSession>& session = started.session;
};

// The whole edit cycle runs without a window: a line written, the list brought to the front and
// back, undone and redone; each step says what it changed on screen instead of painting.
TEST_F(QuotationSessionTest, EditsPagesAndUndoRunHeadlessAndReportWhatChanged) {
    const auto [result, changes] = writeLine(1, "配管");
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(has(changes, Kind::TotalsChanged));
    EXPECT_TRUE(session->document().sheet[1].nameSpec.starts_with("配管"));
    EXPECT_EQ(session->totals().sheet->submitted, c("3000"));
    EXPECT_TRUE(session->document().modified);

    const DocumentChanges list = session->showPage(0);
    EXPECT_TRUE(session->listMode());
    EXPECT_TRUE(has(list, Kind::PageEntered));
    const DocumentChanges sheet = session->showPage(1);
    EXPECT_FALSE(session->listMode());
    EXPECT_TRUE(has(sheet, Kind::UndoMoved));
    EXPECT_TRUE(session->document().sheet[1].nameSpec.starts_with("配管"));

    writeLine(2, "ダクト");
    const SessionOutcome undone = session->undo();
    EXPECT_TRUE(undone.done);
    EXPECT_TRUE(has(undone.changes, Kind::TotalsChanged));
    EXPECT_EQ(session->document().lineCount(), 1);
    EXPECT_TRUE(session->redo().done);
    EXPECT_TRUE(session->document().sheet[2].nameSpec.starts_with("ダクト"));
}

// An edit reports the rows of the sheet it changed, as they are numbered before and after it,
// instead of the whole page; entering a page shows it anew and reports no rows.
TEST_F(QuotationSessionTest, EditsReportTheRowsTheyChanged) {
    writeLine(1, "配管");
    writeLine(2, "ダクト");
    writeLine(3, "保温");
    const auto rowsOf = [](const DocumentChanges& changes) {
        DocumentChanges rows;
        std::ranges::copy_if(changes, std::back_inserter(rows), [](const DocumentChange& change) {
            return change.kind == Kind::RowsChanged || change.kind == Kind::RowsInserted ||
                   change.kind == Kind::RowsRemoved;
        });
        return rows;
    };
    const auto run = [&](const std::function<CommandResult(GridContext&, Selection)>& command,
                         int row) {
        return session->runGridCommand(command, {row, row}).second;
    };

    EXPECT_EQ(rowsOf(writeLine(4, "架台").second),
              (DocumentChanges{{Kind::RowsInserted, 1, 4, 4}}));
    EXPECT_EQ(rowsOf(writeLine(2, "ダクト継手").second),
              (DocumentChanges{{Kind::RowsChanged, 1, 2, 2}}));
    EXPECT_EQ(rowsOf(run(insertLines, 2)), (DocumentChanges{{Kind::RowsInserted, 1, 2, 2}}));
    EXPECT_EQ(rowsOf(run(deleteLines, 2)), (DocumentChanges{{Kind::RowsRemoved, 1, 2, 2}}));
    EXPECT_EQ(rowsOf(run(moveLineDown, 1)), (DocumentChanges{{Kind::RowsChanged, 1, 1, 2}}));
    EXPECT_EQ(rowsOf(session->undo().changes), (DocumentChanges{{Kind::RowsChanged, 1, 1, 2}}));

    const DocumentChanges list = session->showPage(0);
    EXPECT_TRUE(has(list, Kind::PageEntered));
    EXPECT_TRUE(rowsOf(list).empty());
}

// "新規作成" on a modified quotation asks whether to save it first; it starts anew only when the
// answer is いいえ or the save happened.
TEST_F(QuotationSessionTest, ANewQuotationAsksBeforeDiscardingAModifiedOne) {
    const struct {
        bool yes;
        bool cancel;
        bool saveSucceeds;
        bool started;
        int saves;
    } cases[] = {
        {false, true, true, false, 0},
        {true, false, false, false, 1},
        {true, false, true, true, 1},
        {false, false, true, true, 0},
    };
    for (const auto& row : cases) {
        writeLine(1, "配管");
        prompt.questions.clear();
        prompt.otherwise = row.cancel ? UserPrompt::Answer::Cancel
                           : row.yes  ? UserPrompt::Answer::Yes
                                      : UserPrompt::Answer::No;
        int saves = 0;
        session->setSaveDialog([&](SaveContext&) {
            ++saves;
            return row.saveSucceeds;
        });

        EXPECT_EQ(session->newQuotation(kToday).done, row.started);
        EXPECT_EQ(prompt.questions, std::vector<std::string>{"編集中のデータを保存しますか？"});
        EXPECT_EQ(saves, row.saves);
        EXPECT_EQ(session->document().lineCount(), row.started ? 0 : 1);
        EXPECT_EQ(session->document().modified, !row.started);
    }
}

// "登　録" of the settings dialog: the tax rounding, the numbering options, the cover captions and
// the row shading take effect for the open quotation at once, without a restart.
TEST_F(QuotationSessionTest, RegisteredSettingsTakeEffectAtOnce) {
    EnvironmentSettings& environment = session->environment();
    environment.taxRoundingChoice = 1;
    environment.automaticNumbering = false;
    environment.numberingPerCustomer = true;
    environment.rowShadingChoice = 1;
    environment.workNameTitle = "件名";
    DatabaseNumberingRowStore numbering(session->quotationDatabase());
    session->applyRegisteredSettings(
        registerSettings(environment, folders.dataRoot, numbering, environment));

    EXPECT_EQ(session->document().settings.taxOffset, c("0.9"));
    EXPECT_FALSE(session->settings().autoNumbering);
    EXPECT_TRUE(session->settings().perCustomerNumbering);
    EXPECT_FALSE(session->settings().offerNumberAfterCustomerPick);
    EXPECT_EQ(session->settings().coverCaptions.workName, "件名");
    EXPECT_TRUE(session->display().alternateRowShading);
}

// A quotation file opens recomputed, with only the tab of the page it shows brought to the front
// (not first the new quotation's sheet 1); it becomes the quotation's own file, which the next
// save offers, and saving writes the same totals back.
TEST_F(QuotationSessionTest, OpeningAFileRecomputesItShowsOnePageAndOffersItForSaving) {
    const SessionOutcome opened =
        session->openQuotationFile(exampleQuotation(1), FileRole::OwnFile, kToday);
    ASSERT_TRUE(opened.done);
    EXPECT_EQ(session->document().header.submittedGrandTotal, Currency::fromWhole(17883950));
    const auto tabChanges = std::ranges::count_if(opened.changes, [](const DocumentChange& change) {
        return change.kind == Kind::PageChosen;
    });
    EXPECT_EQ(tabChanges, 1);
    EXPECT_EQ(session->ownFile(), exampleQuotation(1));

    EXPECT_FALSE(session->saveChosenQuotationFile().done); // cancelled
    EXPECT_EQ(prompt.fileDialogs.back().start, exampleQuotation(1));
    prompt.fileToSave = root.path() / "saved.krb2";
    const SessionOutcome saved = session->saveChosenQuotationFile();
    EXPECT_TRUE(saved.done);
    EXPECT_TRUE(has(saved.changes, Kind::FileChanged));
    EXPECT_EQ(session->ownFile(), *prompt.fileToSave);
    EXPECT_FALSE(session->document().modified);
    ASSERT_TRUE(session->openQuotationFile(*prompt.fileToSave, FileRole::Source, kToday).done);
    EXPECT_EQ(session->document().header.submittedGrandTotal, Currency::fromWhole(17883950));
    EXPECT_TRUE(session->ownFile().empty()); // a source only: the next save offers a new name
}

// A failed action leaves the document and the page as they were and carries the user's message;
// the changes it returns bring the screen back.
TEST_F(QuotationSessionTest, AFailedActionChangesNothingAndSaysWhy) {
    writeLine(1, "配管");
    const RunOutcome failed = session->run([&] {
        writeLine(2, "ダクト");
        session->showPage(0);
        throw FileError("ファイルに書き込めません。");
    });
    EXPECT_FALSE(failed.succeeded);
    EXPECT_EQ(failed.error, "ファイルに書き込めません。");
    EXPECT_TRUE(has(failed.changes, Kind::ItemsChanged));
    EXPECT_FALSE(session->listMode());
    EXPECT_EQ(session->document().lineCount(), 1);
    EXPECT_EQ(session->totals().sheet->submitted, c("3000"));

    // A fault of the program itself is never shown in its own (English) words.
    const RunOutcome internal = session->run([] { throw std::logic_error("index out of range"); });
    EXPECT_EQ(internal.error, "内部エラーのため、この操作は行われませんでした。");

    // An edit that meets a full disk at its first write says so, and the edit is undone.
    std::optional<std::string> diskFull;
    for (int call = 1; !diskFull && call < 100; ++call) {
        const int linesBefore = session->document().lineCount();
        failNthFileCall(call, FileFault::DiskFull);
        const RunOutcome outcome = session->run([&] { writeLine(2, "ダクト"); });
        failNthFileCall(0);
        if (!outcome.succeeded) {
            diskFull = outcome.error;
            EXPECT_EQ(session->document().lineCount(), linesBefore);
        }
    }
    ASSERT_TRUE(diskFull);
    EXPECT_NE(diskFull->find("ディスクの空き容量が不足しています"), std::string::npos) << *diskFull;
}

// "新規作成" on a modified quotation asks first; a save that does not happen keeps the quotation.
TEST_F(QuotationSessionTest, ANewQuotationWaitsForTheSaveItAskedFor) {
    writeLine(1, "配管");
    const NewQuotationTry attempt = newQuotationWithoutSaving();
    EXPECT_FALSE(attempt.started);
    EXPECT_TRUE(attempt.saveAsked);
    EXPECT_TRUE(session->document().sheet[1].nameSpec.starts_with("配管"));

    session->setSaveDialog([](SaveContext&) { return true; });
    const SessionOutcome started = session->newQuotation(kToday);
    EXPECT_TRUE(started.done);
    EXPECT_TRUE(has(started.changes, Kind::QuotationStarted));
    EXPECT_EQ(session->document().lineCount(), 0);
    EXPECT_FALSE(session->document().modified);
}

// After a crash the last run's backup opens as unsaved work: starting anew (as closing) offers to
// save it first, and it never becomes a file of its own.
TEST_F(QuotationSessionTest, RecoveredWorkIsOfferedForSaving) {
    writeLine(1, "配管");
    session.reset(); // the program stops here, without the clean end of its run
    session = startSession(folders, prompt, kToday);
    EXPECT_FALSE(session->document().modified);

    const std::optional<BackupSummary> backup = session->crashBackup();
    ASSERT_TRUE(backup);
    ASSERT_TRUE(session->openQuotationFile(backup->file, FileRole::Source, kToday).done);
    EXPECT_TRUE(session->document().sheet[1].nameSpec.starts_with("配管"));
    EXPECT_TRUE(session->document().modified);
    EXPECT_TRUE(session->ownFile().empty());

    const NewQuotationTry attempt = newQuotationWithoutSaving();
    EXPECT_FALSE(attempt.started);
    EXPECT_TRUE(attempt.saveAsked);

    // A quotation file of its own opens unmodified, as before.
    session->setSaveDialog([](SaveContext&) { return true; });
    ASSERT_TRUE(session->openQuotationFile(exampleQuotation(1), FileRole::OwnFile, kToday).done);
    EXPECT_FALSE(session->document().modified);
}

// The save's box while another program holds the database: it answers each look as told and
// counts them.
class ScriptedWait final : public LockWaitObserver {
public:
    bool keepWaiting(std::chrono::milliseconds, std::chrono::milliseconds) override {
        ++looks;
        return !stop;
    }
    void waitEnded() override { ++ended; }

    bool stop = false;
    int looks = 0;
    int ended = 0;
};

bool mentions(const std::vector<std::string>& notices, std::string_view text) {
    return std::ranges::any_of(
        notices, [text](const std::string& notice) { return notice.find(text) != notice.npos; });
}

// A save that meets another program's lock waits with the box, then says the database is in use
// and nothing was saved (or that the user stopped it); the save dialog never opens and the
// quotation stays modified. Once the lock is gone the save goes through.
TEST_F(QuotationSessionTest, ASaveThatMeetsALockSaysSoAndSavesNothing) {
    writeLine(1, "配管");
    int dialogs = 0;
    session->setSaveDialog([&](SaveContext&) {
        ++dialogs;
        return true;
    });
    ScriptedWait wait;
    session->setLockWait(
        &wait, LockWaitPolicy{std::chrono::milliseconds(200), std::chrono::milliseconds(10)});
    SqliteConnection other(databaseFilePath(folders.databaseFolder, DatabaseFile::Quotation));
    other.execute("BEGIN IMMEDIATE");

    EXPECT_FALSE(session->saveToDatabase());
    EXPECT_GT(wait.looks, 1);
    EXPECT_EQ(wait.ended, 1);
    EXPECT_TRUE(mentions(prompt.notices, "他のプログラムが使用中"));
    EXPECT_TRUE(mentions(prompt.notices, "保存されていません"));

    prompt.notices.clear();
    wait.stop = true;
    EXPECT_FALSE(session->saveToDatabase());
    EXPECT_EQ(prompt.notices, std::vector<std::string>{std::string(kSaveCancelledText)});
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(session->document().modified);

    other.execute("ROLLBACK");
    wait.stop = false;
    EXPECT_TRUE(session->saveToDatabase());
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(session->document().modified);
}

// A damaged page in the quotation database is told at start with what to do, and no save goes
// into it; once the file is replaced by a sound one, saves go there again.
TEST_F(QuotationSessionTest, ADamagedDatabaseIsToldAtStartAndNeverSavedInto) {
    writeLine(1, "配管");
    const fs::path file = databaseFilePath(folders.databaseFolder, DatabaseFile::Quotation);
    ASSERT_NO_FATAL_FAILURE(damageLastDatabasePage(file, 2));
    const std::string bytes = readFileBytes(file);

    session->openDatabases(); // as the next start does
    EXPECT_TRUE(session->quotationDatabaseDamaged());
    EXPECT_TRUE(mentions(prompt.notices, "見積データベースが壊れています"));
    bool dialogShown = false;
    session->setSaveDialog([&](SaveContext&) {
        dialogShown = true;
        return true;
    });
    prompt.notices.clear();
    EXPECT_FALSE(session->saveToDatabase());
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(mentions(prompt.notices, "保存しません"));
    EXPECT_EQ(session->checkQuotationDatabase().result, DatabaseCheck::Result::Damaged);
    EXPECT_EQ(readFileBytes(file), bytes);

    fs::remove(file);
    session->openDatabases();
    EXPECT_FALSE(session->quotationDatabaseDamaged());
    EXPECT_TRUE(session->saveToDatabase());
    EXPECT_TRUE(dialogShown);
}

} // namespace
} // namespace kerbina

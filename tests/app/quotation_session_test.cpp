#include "app/quotation_session.h"
#include "base/file_io.h"
#include "grid/line_message.h"
#include "money_literal.h"
#include "records/kinds.h"
#include "session_fixture.h"
#include "settings/numbering_row.h"
#include "settings/register_settings.h"
#include "test_data.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using Kind = ViewChange::Kind;

constexpr std::chrono::year_month_day kToday = StartedSession::kToday;

// A prompt that answers Yes or No as told and keeps every notice.
class ScriptedPrompt : public QuietPrompt {
public:
    Answer askYesNoCancel(const std::string&) override { return yes ? Answer::Yes : Answer::No; }
    bool askYesNo(const std::string&) override { return yes; }
    bool askYesNoDefaultNo(const std::string&) override { return yes; }
    void notify(const std::string& text) override { notices.push_back(text); }
    void reportError(std::string_view, std::string_view detail) override {
        notices.emplace_back(detail);
    }

    std::optional<fs::path> chooseFileToSave(const std::string&, const fs::path& suggested,
                                             const std::string&, const std::string&) override {
        offeredFile = suggested;
        return fileToSave;
    }

    bool yes = false;
    std::vector<std::string> notices;
    std::optional<fs::path> fileToSave;
    fs::path offeredFile;
};

class QuotationSessionTest : public testing::Test {
protected:
    // Writes one priced line over row `row` of the sheet in front, as the data-entry dialog does.
    std::pair<CommandResult, ViewChanges> writeLine(int row, const std::string& name) {
        LineMessage line;
        line.name = name;
        line.unit = "m";
        line.netQuantity = line.submittedQuantity = c("2");
        line.netPrice = line.submittedPrice = c("1500");
        line.netAmount = line.submittedAmount = c("3000");
        line.kind = LineKind::WholePriced;
        return session->runGridCommand(
            [&](GridContext& context, Selection) {
                return WriteLineFromMessage(context, Selection{row, row}, line,
                                            LineWriteMode::Overwrite, AfterWrite::Save, false);
            },
            Selection{row, row});
    }

    static bool has(const ViewChanges& changes, Kind kind) {
        return std::ranges::any_of(
            changes, [kind](const ViewChange& change) { return change.kind == kind; });
    }

    ScriptedPrompt prompt;
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
    EXPECT_TRUE(has(changes, Kind::Repainted));
    EXPECT_TRUE(session->document().sheet[1].nameSpec.starts_with("配管"));
    EXPECT_EQ(session->totals().sheet->submitted, c("3000"));
    EXPECT_TRUE(session->document().modified);

    const ViewChanges list = session->showPage(0);
    EXPECT_TRUE(session->listMode());
    EXPECT_TRUE(has(list, Kind::PageShown));
    const ViewChanges sheet = session->showPage(1);
    EXPECT_FALSE(session->listMode());
    EXPECT_TRUE(has(sheet, Kind::UndoCounters));
    EXPECT_TRUE(session->document().sheet[1].nameSpec.starts_with("配管"));

    writeLine(2, "ダクト");
    const SessionOutcome undone = session->undo();
    EXPECT_TRUE(undone.done);
    EXPECT_TRUE(has(undone.changes, Kind::Repainted));
    EXPECT_EQ(session->document().lineCount(), 1);
    EXPECT_TRUE(session->redo().done);
    EXPECT_TRUE(session->document().sheet[2].nameSpec.starts_with("ダクト"));
}

// "登　録" of the settings dialog: the tax rounding, the numbering options, the cover captions and
// the row shading take effect for the open quotation at once, without a restart.
TEST_F(QuotationSessionTest, RegisteredSettingsTakeEffectAtOnce) {
    EnvironmentSettings& environment = session->environment();
    environment.tax_opt_1 = 1;
    environment.EDIT_OPT1 = false;
    environment.NUMBER_OPT4 = true;
    environment.EDIT_OPT10 = 1;
    environment.title2 = "件名";
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
    EXPECT_EQ(session->document().header.allGTotal, Currency::fromWhole(17883950));
    const auto tabChanges = std::ranges::count_if(opened.changes, [](const ViewChange& change) {
        return change.kind == Kind::TabSelected || change.kind == Kind::ListTabShown;
    });
    EXPECT_EQ(tabChanges, 1);
    EXPECT_EQ(session->ownFile(), exampleQuotation(1));

    EXPECT_FALSE(session->saveChosenQuotationFile().done); // cancelled
    EXPECT_EQ(prompt.offeredFile, exampleQuotation(1));
    prompt.fileToSave = root.path() / "saved.krb2";
    const SessionOutcome saved = session->saveChosenQuotationFile();
    EXPECT_TRUE(saved.done);
    EXPECT_TRUE(has(saved.changes, Kind::OwnFile));
    EXPECT_EQ(session->ownFile(), *prompt.fileToSave);
    EXPECT_FALSE(session->document().modified);
    ASSERT_TRUE(session->openQuotationFile(*prompt.fileToSave, FileRole::Source, kToday).done);
    EXPECT_EQ(session->document().header.allGTotal, Currency::fromWhole(17883950));
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
    EXPECT_TRUE(has(failed.changes, Kind::TabsRebuilt));
    EXPECT_FALSE(session->listMode());
    EXPECT_EQ(session->document().lineCount(), 1);
    EXPECT_EQ(session->totals().sheet->submitted, c("3000"));

    // A fault of the program itself is never shown in its own (English) words.
    const RunOutcome internal = session->run([] { throw std::logic_error("index out of range"); });
    EXPECT_EQ(internal.error, "内部エラーのため、この操作は行われませんでした。");
}

// "新規作成" on a modified quotation asks first; a save that does not happen keeps the quotation.
TEST_F(QuotationSessionTest, ANewQuotationWaitsForTheSaveItAskedFor) {
    writeLine(1, "配管");
    prompt.yes = true;
    bool saveAsked = false;
    session->setSaveDialog([&](SaveContext&) {
        saveAsked = true;
        return false;
    });
    EXPECT_FALSE(session->newQuotation(kToday).done);
    EXPECT_TRUE(saveAsked);
    EXPECT_TRUE(session->document().sheet[1].nameSpec.starts_with("配管"));

    session->setSaveDialog([](SaveContext&) { return true; });
    const SessionOutcome started = session->newQuotation(kToday);
    EXPECT_TRUE(started.done);
    EXPECT_TRUE(has(started.changes, Kind::Cleared));
    EXPECT_EQ(session->document().lineCount(), 0);
    EXPECT_FALSE(session->document().modified);
}

} // namespace
} // namespace kerbina

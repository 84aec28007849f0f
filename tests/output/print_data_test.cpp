#include "app/quotation_session.h"
#include "base/file_io.h"
#include "base/text_codec.h"
#include "document/work_store.h"
#include "output/csv_import.h"
#include "output/print_data.h"
#include "scripted_prompt.h"
#include "session_fixture.h"
#include "temp_folder.h"
#include "test_data.h"

#include <cstdlib>
#include <deque>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::year_month_day kToday{std::chrono::year{2026}, std::chrono::month{12},
                                             std::chrono::day{10}};

void expectGolden(const fs::path& written, const std::string& golden) {
    const fs::path expected = testDataFile("output/" + golden);
    if (std::getenv("KERBINA_REGENERATE_GOLDEN") != nullptr) {
        fs::copy_file(written, expected, fs::copy_options::overwrite_existing);
    }
    EXPECT_EQ(readFileBytes(written), readFileBytes(expected)) << golden;
}

TEST(PrintFileName, StaysInThePrintFolder) {
    const struct {
        const char* number;
        const char* name;
    } cases[] = {
        {"A-2026-001", "A-2026-001.dat"},     {"見積0012", "見積0012.dat"},
        {"../../conf/x", ".._.._conf_x.dat"}, {"..", "...dat"},
        {"a\\b:c*d?", "a_b_c_d_.dat"},        {"\"<|>\"\t", "______.dat"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(printFileName(row.number), row.name) << row.number;
        const fs::path file = fs::path("/data/printdata") / printFileName(row.number);
        EXPECT_EQ(file.parent_path(), fs::path("/data/printdata")) << row.number;
    }
}

TEST(PrintBatch, RemovesTheLastBatchButNotTheBreakdownFiles) {
    TempFolder root;
    const fs::path folder = printFolder(root.path());
    fs::create_directories(folder);
    for (const char* name : {"A-001.dat", "B.DAT", "print_Data.dat", "Print.conf", "note.txt"}) {
        writeFileAtomically(folder / name, "x");
    }
    startPrintBatch(root.path());
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Print.conf", "note.txt", "print_Data.dat"}));
}

TEST(NumberCheck, DecidesAndAsksAsTheSettingsSay) {
    const std::string issue(kAskIssueNumber);
    const std::string enter(kAskEnterNumber);
    const std::string noAddressee(kNoAddresseeNotice);
    const struct {
        NumberCheckFacts facts;
        std::deque<ScriptedAnswer> answers;
        NumberCheckResult result;
        std::vector<std::string> shown;
    } cases[] = {
        {{true, true, true, false}, {}, NumberCheckResult::Print, {}},
        {{true, false, false, false}, {}, NumberCheckResult::Print, {}},
        {{false, true, false, false}, {true}, NumberCheckResult::IssueNumber, {issue}},
        {{false, true, false, false}, {false}, NumberCheckResult::Stop, {issue}},
        {{false, true, true, true}, {true}, NumberCheckResult::IssueNumber, {issue}},
        {{false, true, true, false}, {true}, NumberCheckResult::Stop, {issue, noAddressee}},
        {{false, true, true, false}, {false}, NumberCheckResult::Stop, {issue}},
        {{false, false, false, false}, {true}, NumberCheckResult::OpenNumberEntry, {enter}},
        {{false, false, true, true}, {false}, NumberCheckResult::Stop, {enter}},
    };
    int row = 0;
    for (const auto& testCase : cases) {
        ScriptedPrompt prompt;
        prompt.answers = testCase.answers;
        EXPECT_EQ(checkQuotationNumber(testCase.facts, prompt), testCase.result) << "row " << row;
        EXPECT_EQ(prompt.shown, testCase.shown) << "row " << row;
        EXPECT_TRUE(prompt.answers.empty()) << "row " << row;
        ++row;
    }
}

TEST(ViewerArgument, ExactText) {
    EXPECT_EQ(viewerArgument("△", "/home/u/.local/share/Norfell/kerbina_xe5",
                             "/data/style/A4縦STYLE01blue.sle", "Release Version 0.1.0"),
              "△;\"/home/u/.local/share/Norfell/kerbina_xe5\";"
              "\"/home/u/.local/share/Norfell/kerbina_xe5\";"
              "\"/data/style/A4縦STYLE01blue.sle\";\"Release Version 0.1.0\";");
    EXPECT_EQ(viewerArgument("", "/d", "", "V"), ";\"/d\";\"/d\";\"\";\"V\";");
    EXPECT_EQ(unitCostPrinterArgument("/d"), "/d;");
    EXPECT_TRUE(releaseVersionText().starts_with("Release Version "));
}

TEST(UnitCostPrint, ConfAndEntryLines) {
    TempFolder root;
    std::string full = "複合単価:0000123";
    for (int field = 2; field <= 43; ++field) {
        full += ";f" + std::to_string(field);
    }
    full += ";";
    writeUnitCostPrintFiles(root.path() / "data", root.path() / "install",
                            {full, "複合単価:0000200;a;b;"});
    const fs::path folder = printFolder(root.path() / "data");
    EXPECT_EQ(readTextLines(folder / "Print.conf"),
              (std::vector<std::string>{
                  "[Version]=" + releaseVersionText(), "[Application_Title]=代価表印刷",
                  "[STYLE_FILE]=" + (root.path() / "data/style/ex_data/A4横_代価表.dkp").string(),
                  "[Icon_File]=" + (root.path() / "install/Application.ico").string(),
                  "[File_Mask]=dkp"}));
    const std::vector<std::string> lines = readTextLines(folder / "print_Data.dat");
    ASSERT_EQ(lines.size(), 2u);
    std::string first = "1;";
    for (int field = 2; field <= 29; ++field) {
        first += "f" + std::to_string(field) + ";";
    }
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "2;a;b;" + std::string(26, ';'));
}

// The open quotation of a running session: example quotation 2 (nine items, sheets 1 and 9).
class PrintSessionTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            session->openQuotationFile(exampleQuotation(2), FileRole::OwnFile, kToday).done);
        session->document().header.number = "P-0001";
    }

    fs::path print(PrintScope scope) {
        fs::path file;
        const RunOutcome outcome = session->run([&] {
            file = printOpenQuotation(session->document(), session->store(), folders.dataRoot,
                                      scope, session->listMode());
        });
        EXPECT_TRUE(outcome.succeeded) << outcome.error.value_or("");
        return file;
    }

    ScriptedPrompt prompt;
    StartedSession started{prompt};
    TempFolder& root = started.root;
    AppFolders& folders = started.folders;
    std::unique_ptr<QuotationSession>& session = started.session;
};

TEST_F(PrintSessionTest, WholeQuotationGoldenFile) {
    const fs::path file = print(PrintScope::WholeQuotation);
    EXPECT_EQ(file, printFolder(folders.dataRoot) / "P-0001.dat");
    expectGolden(file, "print_whole.dat");
}

TEST_F(PrintSessionTest, OneSheetGoldenFile) {
    session->showPage(9);
    const fs::path file = print(PrintScope::CurrentSheet);
    const std::string text = readFileBytes(file);
    EXPECT_NE(text.find("[ItemMax]=1\r\n"), std::string::npos);
    expectGolden(file, "print_sheet.dat");
}

TEST_F(PrintSessionTest, WhatTheScreenHoldsIsPrinted) {
    // The cover fields reach the header in memory only; the print must not show the old ones.
    session->document().header.workName = "新しい現場";
    session->document().sheet[1].nameSpec = "書き換えた名称;";
    const std::string text = readQuotationFile(print(PrintScope::WholeQuotation)).header.workName;
    EXPECT_EQ(text, "新しい現場");
    const QuotationData printed = readQuotationFile(printFolder(folders.dataRoot) / "P-0001.dat");
    EXPECT_EQ(printed.sheets[1][1].nameSpec, "書き換えた名称;");
}

// A new quotation whose status was never chosen prints as 下書き, not as -1.
TEST_F(PrintSessionTest, ANewQuotationPrintsAsDraft) {
    ASSERT_TRUE(session->newQuotation(kToday).done);
    session->document().header.number = "P-0002";
    ASSERT_EQ(session->document().header.status, -1);
    EXPECT_EQ(readQuotationFile(print(PrintScope::WholeQuotation)).header.status, 0);
    EXPECT_NE(readFileBytes(printFolder(folders.dataRoot) / "P-0002.dat").find("[STATUS]=0\r\n"),
              std::string::npos);
}

TEST_F(PrintSessionTest, ANumberCannotLeaveThePrintFolder) {
    session->document().header.number = "../../x";
    const fs::path file = print(PrintScope::WholeQuotation);
    EXPECT_EQ(file.parent_path(), printFolder(folders.dataRoot));
    EXPECT_FALSE(fs::exists(folders.dataRoot / "x.dat"));
}

TEST_F(PrintSessionTest, StoredQuotationsBecomeOneBatch) {
    writeFileAtomically(printFolder(folders.dataRoot) / "old.dat", "old");
    // The database holds the quotation text in UTF-8; its print file is CP932 like every other.
    const QuotationData example = readQuotationFile(exampleQuotation(2));
    const std::string stored = writeQuotationText(example, {});
    const auto files = writeStoredPrintFiles(folders.dataRoot, {{"A-1", stored}, {"A-2", "２"}});
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(readFileBytes(printFolder(folders.dataRoot) / "A-1.dat"), toCp932(stored));
    EXPECT_EQ(readQuotationFile(files[0]).header.workName, example.header.workName);
    EXPECT_EQ(readFileBytes(printFolder(folders.dataRoot) / "A-2.dat"), "\x82\x51");
    EXPECT_FALSE(fs::exists(printFolder(folders.dataRoot) / "old.dat"));
}

TEST_F(PrintSessionTest, PrintCommandsWriteNothingWithoutANumber) {
    const QuotationPrintSettings settings{
        folders.dataRoot, folders.installFolder, "△", "/style/A4.sle", true, true};
    const PrintRequest viewer{
        folders.installFolder / "printviewer",
        viewerArgument("△", folders.dataRoot, "/style/A4.sle", releaseVersionText())};
    const struct {
        bool automatic;
        bool perCustomer;
        std::string addressee;
        std::deque<ScriptedAnswer> answers;
        bool printed;
        int numberEntries;
    } cases[] = {
        {true, false, "", {false}, false, 0},  // "No" to a new number
        {true, false, "", {true}, true, 0},    // a new number
        {true, true, "", {true}, false, 0},    // per customer, no addressee
        {true, true, "C-01", {true}, true, 0}, // per customer
        {false, false, "", {true}, false, 1},  // typed by hand, on the cover
        {false, false, "", {false}, false, 0},
    };
    int row = 0;
    for (const auto& testCase : cases) {
        fs::remove_all(printFolder(folders.dataRoot));
        session->document().header.number.clear();
        session->document().header.id = testCase.addressee;
        prompt.answers = testCase.answers;
        QuotationPrintSettings used = settings;
        used.automaticNumbering = testCase.automatic;
        used.perCustomer = testCase.perCustomer;
        int entries = 0;
        std::optional<PrintRequest> request;
        const RunOutcome outcome = session->run([&] {
            request = printQuotation(
                session->document(), session->store(), used, PrintScope::WholeQuotation, false,
                prompt, [] { return std::string("N-2026-00001-long"); }, [&] { ++entries; });
        });
        ASSERT_TRUE(outcome.succeeded) << outcome.error.value_or("");
        EXPECT_EQ(entries, testCase.numberEntries) << "row " << row;
        if (testCase.printed) {
            EXPECT_EQ(request, viewer) << "row " << row;
            EXPECT_EQ(session->document().header.number, "N-2026-00001") << "row " << row;
            EXPECT_TRUE(fs::exists(printFolder(folders.dataRoot) / "N-2026-00001.dat"))
                << "row " << row;
        } else {
            EXPECT_FALSE(request) << "row " << row;
            EXPECT_FALSE(fs::exists(printFolder(folders.dataRoot))) << "row " << row;
        }
        ++row;
    }
}

TEST_F(PrintSessionTest, ListAndUnitCostPrints) {
    const QuotationPrintSettings settings{
        folders.dataRoot, folders.installFolder, "△", "", true, false};
    EXPECT_FALSE(printStoredQuotations(settings, {}, prompt));
    EXPECT_EQ(prompt.shown.back(), kNothingMarkedNotice);
    const auto request = printStoredQuotations(settings, {{"A-1", "x"}, {"A-2", "y"}}, prompt);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->program, folders.installFolder / "printviewer");
    EXPECT_EQ(printUnitCostBreakdowns(settings, {"複合単価:0000001;a;"}),
              (PrintRequest{folders.installFolder / "dataprint", folders.dataRoot.string() + ";"}));
    EXPECT_TRUE(fs::exists(printFolder(folders.dataRoot) / "print_Data.dat"));
    EXPECT_TRUE(fs::exists(printFolder(folders.dataRoot) / "A-1.dat"));
}

TEST_F(PrintSessionTest, BreakdownListPrintWritesTheGrandTotals) {
    const QuotationPrintSettings settings{
        folders.dataRoot, folders.installFolder, "△", "", true, false};
    session->showPage(0);
    session->document().header.submittedGrandTotal = Currency::fromWhole(123456);
    PrintRequest request;
    ASSERT_TRUE(session
                    ->run([&] {
                        request =
                            printFromBreakdownList(session->document(), session->store(), settings);
                    })
                    .succeeded);
    EXPECT_EQ(request, (PrintRequest{folders.installFolder / "printviewer", std::nullopt}));
    DocumentState written;
    readHeaderFile(written, folders.dataRoot / "temp", "WRK");
    EXPECT_EQ(written.header.submittedGrandTotal, session->document().allSubmittedTotal);
}

TEST_F(PrintSessionTest, ImportedLinesAreOneUndoStep) {
    const Sheet before = session->document().sheet;
    const auto [result, changes] = session->runGridCommand(
        [&](GridContext& context, Selection selection) {
            return importCsvLines(context, selection, false, [&] {
                writeTextLines(csvImportFile(folders.dataRoot / "temp"),
                               {"取込A;;m;;1;1;100;100", "取込B;;m;;2;2;50;50"});
                return true;
            });
        },
        Selection{2, 2});
    ASSERT_TRUE(result.changed);
    EXPECT_EQ(session->document().sheet[2].nameSpec, "取込A;");
    EXPECT_EQ(session->document().sheet.size(), before.size() + 2);
    // Written to the sheet's work file, and taken back by one undo.
    const Sheet written = readSheetFile(folders.dataRoot / "temp" / sheetFileName(1));
    ASSERT_GE(written.size(), 4u);
    EXPECT_EQ(written[3].nameSpec, "取込B;");
    ASSERT_TRUE(session->undo().done);
    EXPECT_EQ(session->document().sheet, before);
}

} // namespace
} // namespace kerbina

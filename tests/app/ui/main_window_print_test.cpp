#include "base/file_io.h"
#include "base/text_codec.h"
#include "main_window_fixture.h"
#include "output/csv_import.h"
#include "output/print_data.h"
#include "output/ui/csv_editor_dialog.h"
#include "records/kinds.h"
#include "settings/numbering_row.h"
#include "settings/ui/settings_dialog.h"
#include "storage/database_files.h"
#include "test_data.h"
#include "widgets/qt_text.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <chrono>
#include <thread>

namespace kerbina {
namespace {

using Answer = MessageBox::Answer;

// The quotation print files of the print folder.
std::vector<fs::path> printFiles(const fs::path& dataRoot) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(printFolder(dataRoot), error)) {
        if (entry.path().extension() == ".dat") {
            files.push_back(entry.path().filename());
        }
    }
    return files;
}

QString coverNumber(const MainWindow& window) {
    return window.findChild<QLabel*>(QStringLiteral("number"))->text();
}

// Waits for a file that a started program writes.
std::string waitForFile(const fs::path& file) {
    for (int tries = 0; tries < 200 && !fs::exists(file); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return fs::exists(file) ? readFileBytes(file) : std::string();
}

class MainWindowPrintTest : public MainWindowTest {
protected:
    // Turns automatic numbering off in the numbering row, as the settings dialog stores it; the
    // window reads it at start-up.
    void numberByHand(MainWindow& window) {
        SqliteFileDatabase quotations(
            databaseFilePath(folders.databaseFolder, DatabaseFile::Quotation), window);
        DatabaseNumberingRowStore store(quotations);
        NumberingRow row = store.read().value();
        row.notes = "[EDIT_OPT1]=FALSE\r\n";
        ASSERT_TRUE(store.write(row, false));
    }

    // A print viewer that writes its argument count and its argument next to itself.
    fs::path installRecordingViewer() {
        const fs::path viewer = folders.installFolder / "printviewer";
        writeFileAtomically(viewer, "#!/bin/sh\nprintf '%s\\n%s' \"$#\" \"$1\" > \"$0.args\"\n");
        fs::permissions(viewer, fs::perms::owner_all);
        return folders.installFolder / "printviewer.args";
    }
};

// "内訳付で印刷" of a quotation without a number under automatic numbering: the question decides;
// Yes issues the number, shows it on the cover and writes the print file named after it, with the
// cover as typed; No writes nothing. A viewer that is not installed is reported, and a second print
// asks nothing again.
TEST_F(MainWindowPrintTest, PrintAsksForANumberUnderAutomaticNumbering) {
    const QString failed = q(printProgramFailedMessage(folders.installFolder / "printviewer"));
    auto window = start();
    MessageBox::takeShownTexts();
    MessageBox::setNextAnswer(Answer::No);
    window->action("ActionPrint2")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{q(std::string(kAskIssueNumber))});
    EXPECT_EQ(window->document().header.number, "");
    EXPECT_TRUE(printFiles(folders.dataRoot).empty());

    // A cover text typed just before the print is printed.
    window->findChild<QComboBox*>(QStringLiteral("TRADEEDIT"))->setEditText(QStringLiteral("現金"));
    MessageBox::setNextAnswer(Answer::Yes);
    window->action("ActionPrint2")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList({q(std::string(kAskIssueNumber)), failed}));
    const std::string number = window->document().header.number;
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(coverNumber(*window), q(number));
    EXPECT_EQ(printFiles(folders.dataRoot), std::vector<fs::path>{number + ".dat"});
    EXPECT_NE(readFileBytes(printFolder(folders.dataRoot) / (number + ".dat"))
                  .find(toCp932("[TRADE]=現金\r\n")),
              std::string::npos);
    EXPECT_NE(readFileBytes(work("HEAD_TITLE.WRK")).find(number), std::string::npos);

    window->action("ActionPrint2")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{failed});
    EXPECT_EQ(window->document().header.number, number);
}

// Without automatic numbering the print asks for a number, opens the cover's number entry and
// prints nothing; with the number given, "内訳付で印刷" writes the whole quotation and starts the
// viewer with its one argument.
TEST_F(MainWindowPrintTest, ManualNumberThenWholeQuotationToTheViewer) {
    {
        auto first = start();
        numberByHand(*first);
        first->close();
    }
    auto window = start(exampleQuotation(2));
    const fs::path arguments = installRecordingViewer();
    MessageBox::takeShownTexts();

    MessageBox::setNextAnswer(Answer::Yes);
    MessageBox::setNextInput(QStringLiteral("P-0001"));
    window->action("ActionPrint2")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts().value(0), q(std::string(kAskEnterNumber)));
    EXPECT_EQ(window->document().header.number, "P-0001");
    EXPECT_TRUE(printFiles(folders.dataRoot).empty());
    EXPECT_FALSE(fs::exists(arguments));

    window->action("ActionPrint2")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{});
    // The cover taken into the header writes its own forms of the tag and status fields; the
    // number and everything below the header are the whole quotation as the golden file holds it.
    const std::string text = readFileBytes(printFolder(folders.dataRoot) / "P-0001.dat");
    const std::string golden = readFileBytes(testDataFile("output/print_whole.dat"));
    EXPECT_NE(text.find("[NUMBER]=P-0001\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.find("</TITLE>")), golden.substr(golden.find("</TITLE>")));
    EXPECT_EQ(waitForFile(arguments),
              "1\n" + viewerArgument(window->environment().reductionMark, folders.dataRoot,
                                     window->environment().printStyle(), releaseVersionText()));
}

// A print style chosen in 環境設定 is the next print's, and registering it asks for no restart.
TEST_F(MainWindowPrintTest, APrintStyleChosenInTheSettingsIsTheNextPrints) {
    {
        auto first = start();
        numberByHand(*first);
        first->close();
    }
    auto window = start(exampleQuotation(2));
    const fs::path arguments = installRecordingViewer();
    MessageBox::setNextAnswer(Answer::Yes);
    MessageBox::setNextInput(QStringLiteral("P-0002"));
    window->action("ActionPrint2")->trigger();
    MessageBox::takeShownTexts();

    const fs::path style = folders.dataRoot / "style" / "別の様式.sle";
    QTimer::singleShot(0, window.get(), [&window, &style] {
        auto* dialog = window->findChild<SettingsDialog*>();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>(QStringLiteral("print_dir"))
            ->setText(QString::fromStdString(style.string()));
        dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        dialog->reject();
    });
    window->action("environmentSettings")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("環境設定を登録しました。")});

    window->action("ActionPrint2")->trigger();
    EXPECT_EQ(waitForFile(arguments),
              "1\n" + viewerArgument(window->environment().reductionMark, folders.dataRoot,
                                     style.string(), releaseVersionText()));
}

// "表示中の明細を単独で印刷" prints the open sheet alone; the breakdown list's "print" starts the
// viewer without an argument and writes no print file of its own.
TEST_F(MainWindowPrintTest, OneSheetAndTheBreakdownListPrint) {
    {
        auto first = start();
        numberByHand(*first);
        first->close();
    }
    auto window = start(exampleQuotation(2));
    const fs::path arguments = installRecordingViewer();
    MessageBox::setNextAnswer(Answer::Yes);
    MessageBox::setNextInput(QStringLiteral("P-0001"));
    window->action("ActionPrint1")->trigger();
    window->sheetTabs()->setCurrentIndex(window->sheetTabs()->count() - 1);
    const int sheet = window->document().currentSheetNumber;
    ASSERT_GT(sheet, 1);

    window->action("ActionPrint1")->trigger();
    const std::string text = readFileBytes(printFolder(folders.dataRoot) / "P-0001.dat");
    EXPECT_NE(text.find("[ItemMax]=1\r\n"), std::string::npos);
    EXPECT_EQ(waitForFile(arguments).substr(0, 2), "1\n");

    fs::remove(arguments);
    window->sheetTabs()->setCurrentIndex(0);
    ASSERT_TRUE(window->listMode());
    for (auto* button : window->findChildren<QPushButton*>(QStringLiteral("tool_print"))) {
        if (button->isVisible()) {
            button->click();
        }
    }
    EXPECT_EQ(waitForFile(arguments), "0\n");
    EXPECT_EQ(printFiles(folders.dataRoot), std::vector<fs::path>{"P-0001.dat"});
}

// "代価表印刷": an empty list is said so and starts nothing; a quotation's list is written for the
// unit-cost printer, which starts with the data root as its argument.
TEST_F(MainWindowPrintTest, UnitCostListPrint) {
    auto window = start();
    MessageBox::takeShownTexts();
    window->action("ActionEXdaikaprint")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("代価データがありません。")});
    EXPECT_FALSE(fs::exists(printFolder(folders.dataRoot) / "print_Data.dat"));

    std::string text = readFileBytes(exampleQuotation(2));
    const std::string emptyList = "<DAIKA>\r\n</DAIKA>";
    ASSERT_NE(text.find(emptyList), std::string::npos);
    text.replace(text.find(emptyList), emptyList.size(),
                 toCp932("<DAIKA>\r\n複合単価:0000007;配管;SGP 25A;\r\n</DAIKA>"));
    const fs::path file = root.path() / "daika.krb2";
    writeFileAtomically(file, text);
    window = start(file);
    const fs::path printer = folders.installFolder / "dataprint";
    writeFileAtomically(printer, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.args\"\n");
    fs::permissions(printer, fs::perms::owner_all);
    window->action("ActionEXdaikaprint")->trigger();
    EXPECT_EQ(waitForFile(folders.installFolder / "dataprint.args"),
              pathText(folders.dataRoot) + ";");
    EXPECT_EQ(readFileBytes(printFolder(folders.dataRoot) / "print_Data.dat"),
              toCp932("1;配管;SGP 25A;" + std::string(26, ';') + "\r\n"));
}

// Lines typed in the CSV editor come in at the selected row as one change (one undo removes them
// all), and "CSV出力" writes the sheet as the spreadsheet file.
TEST_F(MainWindowPrintTest, ImportFromTheEditorThenExportTheSheet) {
    auto window = start();
    selectRow(*window, 1);
    CsvEditorDialog::setNextRows(std::vector<std::vector<std::string>>{
        {"配管", "SGP 25A", "m", "0", "12", "12", "1000", "1500"},
        {"保温,化粧", "t=25", "ｍ", "", "2", "2.5", "1200", "1234.5"}});
    window->action("ActionCsvImport")->trigger();
    ASSERT_EQ(window->document().lineCount(), 2);
    EXPECT_EQ(window->document().sheet[2].kind, LineKind::DecimalPriced);

    const fs::path csv = root.path() / "sheet.csv";
    MessageBox::takeShownTexts();
    MessageBox::setNextFileName(q(pathText(csv)));
    window->action("ActionCsvOut")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("CSVファイルへ出力しました。")});
    EXPECT_EQ(readFileBytes(csv), toCp932("配管,SGP 25A,m,12,1500,18000,\r\n"
                                          "\"保温,化粧\",t=25,ｍ,2.5,1234.5,3087,\r\n"));

    window->action("undo")->trigger();
    EXPECT_EQ(window->document().lineCount(), 0);
}

// On the breakdown list "CSV出力" writes the list as it shows it, amounts as plain numbers (the sum
// line's amount is the grid's own, not what its item keeps).
TEST_F(MainWindowPrintTest, BreakdownListExport) {
    auto window = start(exampleQuotation(2));
    window->sheetTabs()->setCurrentIndex(0);
    ASSERT_TRUE(window->listMode());
    screenshot(*window, "breakdown_list_tools");
    const fs::path csv = root.path() / "list.csv";
    MessageBox::setNextFileName(q(pathText(csv)));
    window->action("ActionCsvOut")->trigger();
    EXPECT_EQ(readFileBytes(csv),
              toCp932("FG,内 訳 名 称,合計金額,内訳金額,仕    切,差    額,労 務 費,備     考,\r\n"
                      ",,4524497,,2306776,2217721,608501,備考あり,\r\n"
                      ",計,4524497,,2306776,2217721,,,\r\n"
                      ",諸経費,542903,,230677,312226,0,,\r\n"
                      ",諸経費,380055,,253745,126310,0,,\r\n"
                      "¥,合計,5167919,,2647967,2519952,0,,\r\n"
                      "法,法定福利費 ,99770,,51121,48649,,5447455×18.5%×16.5%×60%,\r\n"
                      "法,法定福利費 ,179766,,92110,87656,,5447455×20%×16.5%,\r\n"
                      "法,法定福利計 ,279536,,143231,136305,,,\r\n"
                      ",,2341116,,1560059,781057,111131,,\r\n"));
}

// An editor closed without saving imports nothing; on the breakdown list the import is refused.
TEST_F(MainWindowPrintTest, ImportThatBringsNothing) {
    auto window = start();
    CsvEditorDialog::setNextRows(std::nullopt);
    window->action("ActionCsvImport")->trigger();
    EXPECT_EQ(window->document().lineCount(), 0);

    window->sheetTabs()->setCurrentIndex(0);
    MessageBox::takeShownTexts();
    window->action("ActionCsvImport")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{q(std::string(kCsvListModeNotice))});
}

} // namespace
} // namespace kerbina

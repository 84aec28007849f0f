#include "base/conf_file.h"
#include "base/file_io.h"
#include "calc/totals.h"
#include "calc/ui/calc_settings_dialog.h"
#include "document/quotation_file.h"
#include "document/quotation_file_name.h"
#include "grid/ui/data_entry_dialog.h"
#include "grid/ui/quotation_view.h"
#include "grid/ui/text_selection_dialog.h"
#include "main_window_fixture.h"
#include "money/rounding.h"
#include "records/line_kinds.h"
#include "test_data.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>

namespace kerbina {
namespace {

const char* const kItemLine = "10;工事;0;0;0.5;0.5;10;1;0.5;0;0;;0;0";

// A one-sheet quotation file with the given data lines.
fs::path writeQuotation(const fs::path& file, const std::vector<std::string>& dataLines,
                        const std::vector<std::string>& titleLines = {}) {
    std::vector<std::string> lines{"<TITLE>", "[ItemMax]=1"};
    lines.insert(lines.end(), titleLines.begin(), titleLines.end());
    lines.insert(lines.end(), {"</TITLE>", "<ITEM>", kItemLine, "</ITEM>", "<DATA>"});
    lines.insert(lines.end(), dataLines.begin(), dataLines.end());
    lines.insert(lines.end(), {"</DATA>", "</EOF>"});
    writeTextLines(file, lines);
    return file;
}

int countShown(const QStringList& texts, const QString& part) {
    int count = 0;
    for (const QString& text : texts) {
        count += text.contains(part) ? 1 : 0;
    }
    return count;
}

// A hidden range sum over a calculated line stops the pass; each action that runs the pass,
// however often it runs it, says so once.
TEST_F(MainWindowTest, ARangeSumErrorIsShownOncePerAction) {
    const fs::path file = writeQuotation(root.path() / "range_error.krb2",
                                         {"1;材料;;0;11999;式;10;1;1;1000;1000;0;0;0;0;0;0;0;0;;;",
                                          "1;計算;;0;11999;式;12;1;1;200;200;0;0;0;0;0;0;0;0;;;",
                                          "1;範囲計;;0;11999;;93;1;2;0;0;0;0;0;0;0;0;0;0;;;"});
    const auto window = start(file);
    const QString error = QStringLiteral("範囲計(金額非表示)に計算項目を含める事はできません。");
    EXPECT_EQ(countShown(MessageBox::takeShownTexts(), error), 1);

    window->sheetTabs()->setCurrentIndex(0);
    window->sheetTabs()->setCurrentIndex(1);
    EXPECT_EQ(countShown(MessageBox::takeShownTexts(), error), 1);

    selectRow(*window, 1);
    window->action("insert")->trigger();
    EXPECT_EQ(countShown(MessageBox::takeShownTexts(), error), 1);
    window->action("undo")->trigger();
    EXPECT_EQ(countShown(MessageBox::takeShownTexts(), error), 1);
    window->action("redo")->trigger();
    EXPECT_EQ(countShown(MessageBox::takeShownTexts(), error), 1);
}

// When the write after a change fails, the change is rolled back, and so are the totals shown.
TEST_F(MainWindowTest, AFailedWriteShowsTheTotalsOfTheRestoredQuotation) {
    const auto window = start(writeQuotation(
        root.path() / "priced.krb2", {"1;鋼管;;0;11999;ｍ;10;2;2;1000;1500;0;0;0;0;0;0;0;0;;;"}));
    auto* shownTotal = window->findChild<QLabel*>(QStringLiteral("submittedTotal"));
    const QString before = shownTotal->text();
    ASSERT_EQ(before, QStringLiteral("3,000"));

    // A folder where the backup goes makes the next write fail.
    const fs::path backup = folders.dataRoot / "backup/backup.krb2";
    fs::remove(backup);
    fs::create_directory(backup);
    QGuiApplication::clipboard()->setText(
        QStringLiteral("1;継手;;0;11999;個;10;1;1;500;700;0;0;0;0;0;0;0;0;;;"));
    selectRow(*window, 5);
    window->action("pasteClipboard")->trigger();
    EXPECT_FALSE(MessageBox::takeShownTexts().isEmpty());
    EXPECT_EQ(shownTotal->text(), before);
    EXPECT_EQ(splitNameSpec(window->document().sheet.back().nameSpec).first, "鋼管");
}

TEST_F(MainWindowTest, KeysSwitchSheetsAndRedoAndTheViewMenuShowsItsState) {
    const auto window = start();
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    window->sheetTabs()->setCurrentIndex(0);
    selectRow(*window, 1);
    window->action("listInsert")->trigger();
    ASSERT_EQ(window->sheetTabs()->count(), 3);
    // Sheets without a name show their item number.
    EXPECT_EQ(window->sheetTabs()->tabText(1), QStringLiteral("1"));
    EXPECT_EQ(window->sheetTabs()->tabText(2), QStringLiteral("2"));

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->grid()->setFocus();
    QTest::keyClick(window->grid(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->sheetTabs()->currentIndex(), 1);
    QTest::keyClick(window->grid(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->sheetTabs()->currentIndex(), 2);
    QTest::keyClick(window->grid(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->sheetTabs()->currentIndex(), 1);

    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    ASSERT_EQ(window->document().lineCount(), 1);
    QTest::keyClick(window->grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->document().lineCount(), 0);
    QTest::keyClick(window->grid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(window->document().lineCount(), 1);
    QTest::keyClick(window->grid(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window->grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->document().lineCount(), 1);

    // A new quotation shows name and specification apart, submitted prices, no additional ones.
    EXPECT_TRUE(window->action("separateNameSpec")->isChecked());
    EXPECT_FALSE(window->action("combineNameSpec")->isChecked());
    EXPECT_TRUE(window->action("submittedView")->isChecked());
    EXPECT_FALSE(window->action("additionalView")->isChecked());
    window->action("combineNameSpec")->trigger();
    window->action("netView")->trigger();
    window->action("additionalView")->trigger();
    EXPECT_FALSE(window->action("separateNameSpec")->isChecked());
    EXPECT_TRUE(window->action("combineNameSpec")->isChecked());
    EXPECT_TRUE(window->action("netView")->isChecked());
    EXPECT_FALSE(window->action("submittedView")->isChecked());
    EXPECT_TRUE(window->action("additionalView")->isChecked());
    MessageBox::takeShownTexts();
}

int sumOfWidths(const MainWindow& window) {
    int sum = 0;
    for (int column = 0; column < window.grid()->model()->columnCount(); ++column) {
        sum += window.grid()->columnWidth(column);
    }
    return sum;
}

// Every layout fills the grid at 1280 × 800 and above without scrolling sideways; the narrow
// columns keep their set widths.
TEST_F(MainWindowTest, ColumnsFitTheGridInEveryLayout) {
    const auto window = start();
    for (const QSize size : {QSize(1280, 800), QSize(1600, 1000)}) {
        window->resize(size);
        QApplication::processEvents();
        const int client = window->grid()->viewport()->width();
        window->sheetTabs()->setCurrentIndex(1);
        window->action("combineNameSpec")->trigger();
        EXPECT_EQ(sumOfWidths(*window), client) << "combined";
        EXPECT_EQ(window->grid()->columnWidth(0), 30);
        EXPECT_LT(window->grid()->columnWidth(3), 43); // GR keeps its narrow set width
        window->action("separateNameSpec")->trigger();
        EXPECT_EQ(sumOfWidths(*window), client) << "separated";
        window->sheetTabs()->setCurrentIndex(0);
        EXPECT_EQ(sumOfWidths(*window), client) << "list";
        QApplication::processEvents();
        EXPECT_EQ(window->grid()->horizontalScrollBar()->maximum(), 0);
        screenshot(*window, "main_window_columns");
    }
}

// Confirming the calculation settings without a change leaves the quotation as it was, its own
// grand-total level ([KETA] 7) included.
TEST_F(MainWindowTest, ConfirmingTheCalculationSettingsChangesNothing) {
    const auto window = start(exampleQuotation(5));
    const DocumentState before = window->document();
    ASSERT_EQ(before.header.keta, 7);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CalcSettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>(QStringLiteral("applyButton"))->click();
    });
    window->action("listCalcSettings")->trigger();
    EXPECT_EQ(window->document().header.keta, 7);
    // The grand total computed independently for this quotation (example_5.expected.json).
    EXPECT_EQ(window->document().header.submittedGrandTotal, Currency::fromWhole(6588184));
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// The quotation's own file (also one named on the command line) is offered by the next save and
// shown in the status bar and the title; a new quotation starts in the quotation folder under a
// name made from it, and saving onto an existing file asks in Japanese.
TEST_F(MainWindowTest, SavingOffersTheQuotationsOwnFileOrANameInTheQuotationFolder) {
    const fs::path file = writeQuotation(root.path() / "own.krb2", {});
    const auto window = start(file);
    auto* fileName = window->findChild<QLabel*>(QStringLiteral("statusPanel5"));
    EXPECT_EQ(fileName->text(), QStringLiteral("own.krb2"));
    EXPECT_EQ(fileName->toolTip().toStdString(), pathText(file));
    // The folders behind the quotation are not shown.
    for (int panel = 0; panel < 4; ++panel) {
        EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(panel))
                         ->isVisibleTo(window->statusBar()))
            << panel;
    }
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("own.krb2 - ")));

    MessageBox::setNextFileName(QString::fromStdString(pathText(file)));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes); // overwrite
    window->action("saveFile")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              (QStringList{QStringLiteral("「own.krb2」は既に存在します。\n上書きしますか？"),
                           QStringLiteral("データを保存しました。")}));

    window->action("newQuotation")->trigger();
    EXPECT_TRUE(fileName->toolTip().isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("積算・見積ソフト「ケルビナ」"));
    MessageBox::setNextInput(QStringLiteral("空調設備工事"));
    window->action("itemNamePrompt")->trigger(); // "内訳名入力"
    EXPECT_EQ(suggestedSavePath(window->document(), {}, folders.quotationFolder),
              folders.quotationFolder / "空調設備工事.krb2");
    MessageBox::setNextFileName(QString::fromStdString(
        pathText(suggestedSavePath(window->document(), {}, folders.quotationFolder))));
    window->action("saveFile")->trigger();
    EXPECT_TRUE(fs::is_regular_file(folders.quotationFolder / "空調設備工事.krb2"));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("空調設備工事.krb2 - ")));
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// A quotation database that is not a database fails every statement of the start-up: the user is
// told once, in Japanese, with the file and what to do, and the program still starts.
TEST_F(MainWindowTest, ADamagedDatabaseIsReportedOnceAtStartUp) {
    const fs::path database = folders.databaseFolder / "kerbinaXe5.db3";
    writeFileAtomically(database, std::string(8192, 'x'));
    const auto window = start();
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 1) << shown.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("データベースファイルが壊れているか")));
    EXPECT_TRUE(shown[0].contains(QString::fromStdString(pathText(database))));
    EXPECT_FALSE(shown[0].contains(QStringLiteral("CREATE")));
    EXPECT_EQ(window->sheetTabs()->count(), 2);
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// The bundled print style fills an empty print style of the settings, and a configured one wins.
TEST_F(MainWindowTest, TheBundledPrintStyleFillsOnlyAnEmptyPrintStyle) {
    const fs::path style = folders.dataRoot / "style/A4縦STYLE01blue.sle";
    fs::create_directories(style.parent_path());
    writeFileAtomically(style, "style");
    EXPECT_EQ(start()->environment().printStyleFile, pathText(style));

    writeTextLines(folders.dataRoot / "conf/Kerbina.conf", {"[Print_Dir]=/styles/mine.sle"});
    EXPECT_EQ(start()->environment().printStyleFile, "/styles/mine.sle");
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// A stored window position is the whole window: it comes back the same after a run.
TEST_F(MainWindowTest, TheWindowPositionSurvivesARun) {
    const WindowPosition stored{30, 40, 1100, 760};
    writeWindowPosition(folders.dataRoot, "FKerbina", stored);
    auto window = std::make_unique<MainWindow>(folders, ModulePresence{});
    window->show();
    ASSERT_TRUE(window->startUp(std::nullopt));
    EXPECT_EQ(window->frameGeometry(), QRect(30, 40, 1100, 760));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(readWindowPosition(folders.dataRoot, "FKerbina"), stored);
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// [KETA] 0 is computed as level 1 but kept as stored: opening and saving leaves it 0.
TEST_F(MainWindowTest, OpeningAndSavingKeepsAStoredGrandTotalLevelOfZero) {
    const fs::path file =
        writeQuotation(root.path() / "keta0.krb2",
                       {"1;鋼管;;0;11999;ｍ;10;3;3;1234;1234;0;0;0;0;0;0;0;0;;;"}, {"[KETA]=0"});
    const auto window = start(file);
    window->sheetTabs()->setCurrentIndex(0);
    window->sheetTabs()->setCurrentIndex(1);
    const fs::path saved = root.path() / "saved.krb2";
    MessageBox::setNextFileName(QString::fromStdString(pathText(saved)));
    window->action("saveFile")->trigger();
    const std::vector<std::string> lines = readTextLines(saved);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[KETA]=0"), lines.end());
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// The quotation a run starts with has the header "新規作成" gives.
TEST_F(MainWindowTest, StartUpGivesTheSameNewQuotationAsNew) {
    const auto window = start();
    const QuotationHeader atStart = window->document().header;
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    window->action("newQuotation")->trigger();
    EXPECT_EQ(window->document().header, atStart);
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// A line typed into the data-entry dialog opened by a double-click reaches the sheet, its totals
// and the undo tape like every other edit.
TEST_F(MainWindowTest, ALineTypedInTheDataEntryDialogIsComputedAndCanBeUndone) {
    const auto window = start();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<DataEntryDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->field(DataEntryDialog::Name)->setText(QStringLiteral("鋼管"));
        dialog->field(DataEntryDialog::Unit)->setText(QStringLiteral("ｍ"));
        dialog->field(DataEntryDialog::NetQuantity)->setText(QStringLiteral("12"));
        dialog->field(DataEntryDialog::SubmittedQuantity)->setText(QStringLiteral("12"));
        dialog->field(DataEntryDialog::NetPrice)->setText(QStringLiteral("1500"));
        dialog->field(DataEntryDialog::SubmittedPrice)->setText(QStringLiteral("2000"));
        dialog->continuous()->setChecked(false);
        dialog->findChild<QPushButton*>(QStringLiteral("writeButton"))->click();
    });
    emit window->findChild<QuotationView*>()->rowDoubleClicked(1);
    ASSERT_EQ(window->document().lineCount(), 1);
    EXPECT_EQ(cell(*window, 1, 1), QStringLiteral("鋼管"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("submittedTotal"))->text(),
              QStringLiteral("24,000"));
    EXPECT_TRUE(window->document().modified);
    window->action("undo")->trigger();
    EXPECT_EQ(window->document().lineCount(), 0);
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// Ctrl+V takes rows copied from a spreadsheet; Ctrl+C puts the lines back as a table and in the
// program's own form, which Ctrl+V takes whole.
TEST_F(MainWindowTest, SpreadsheetRowsPasteInAndCopyOut) {
    const auto window = start();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->grid()->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral(
        "名称\t仕様\t数量\t単位\t単価\n鋼管\tSGP 25A\t12\tｍ\t1500\n継手\t\t2\t個\t300\n"));
    QTest::keyClick(window->grid(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(window->document().lineCount(), 2);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("submittedTotal"))->text(),
              QStringLiteral("18,600"));

    selectRow(*window, 1);
    QTest::keyClick(window->grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("鋼管\tSGP 25A")));
    selectRow(*window, 3);
    QTest::keyClick(window->grid(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(window->document().lineCount(), 3);
    EXPECT_EQ(window->document().sheet[3].submittedAmount,
              window->document().sheet[1].submittedAmount);
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// Typing in the grid writes lines as the dialog does: a name, then quantity and price cells.
TEST_F(MainWindowTest, TypingInTheGridWritesTheLine) {
    const auto window = start();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTableView* grid = window->grid();
    grid->setFocus();
    const auto typeInto = [&](int row, int column, const QString& text) {
        grid->setCurrentIndex(grid->model()->index(row - 1, column));
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->setText(text); // what the input method leaves in the editor
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor commits after the key, and the line is written after the editor closed.
        QApplication::processEvents();
        QApplication::processEvents();
    };
    typeInto(1, 1, QStringLiteral("鋼管"));
    typeInto(1, 6, QStringLiteral("12"));
    typeInto(1, 7, QStringLiteral("1500"));
    ASSERT_EQ(window->document().lineCount(), 1);
    EXPECT_EQ(window->document().sheet[1].kind, 10);
    EXPECT_EQ(window->document().sheet[1].submittedAmount, Currency::fromWhole(18000));
    EXPECT_EQ(grid->currentIndex().row(), 1); // the cursor went down after the last entry

    typeInto(2, 6, QStringLiteral("abc"));
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("数値を正しく入力してください。")});
    EXPECT_EQ(window->document().lineCount(), 1);
    window->action("undo")->trigger();
    EXPECT_EQ(window->document().sheet[1].submittedAmount, Currency());
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// A bulk price change from the 各種変換＆計算 menu asks for its factor and changes the selected
// lines; a factor that is not a number changes nothing.
TEST_F(MainWindowTest, ABulkPriceChangeAsksForItsFactor) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("鋼管\t\t2\tｍ\t1234\n継手\t\t1\t個\t100\n"));
    window->action("pasteClipboard")->trigger();
    ASSERT_EQ(window->document().lineCount(), 2);
    window->grid()->selectRow(0);
    MessageBox::setNextInput(QStringLiteral("1.05"));
    window->action("priceTimesHalfUp")->trigger();
    EXPECT_EQ(window->document().sheet[1].submittedPrice, Currency::fromWhole(1296));
    EXPECT_EQ(window->document().sheet[2].submittedPrice, Currency::fromWhole(100));

    MessageBox::takeShownTexts();
    MessageBox::setNextInput(QStringLiteral("abc"));
    window->action("priceTimesHalfUp")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts().size(), 2); // the prompt and the error
    EXPECT_EQ(window->document().sheet[1].submittedPrice, Currency::fromWhole(1296));
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// A sheet built from the keyboard (rows pasted from a spreadsheet, a small sum, tax and a sum
// line) shows the totals the command-line tool computes for the saved file.
TEST_F(MainWindowTest, ASheetBuiltWithSumsTaxAndASumLineShowsTheSavedFilesTotals) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("鋼管\tSGP 25A\t12\tｍ\t1500\n継手\t\t4\t個\t300\n"));
    window->action("pasteClipboard")->trigger();
    selectRow(*window, 3);
    window->action("smallSum")->trigger();
    ASSERT_EQ(window->document().sheet[3].kind, 95);
    selectRow(*window, 4);
    MessageBox::setNextAnswer(MessageBox::Answer::No); // tax on the submitted side only
    window->action("tax")->trigger();
    selectRow(*window, 5);
    window->action("sumLine")->trigger();
    ASSERT_EQ(window->document().lineCount(), 5);

    const fs::path file = root.path() / "built.krb2";
    MessageBox::setNextFileName(QString::fromStdString(pathText(file)));
    window->action("saveFile")->trigger();
    QuotationData saved = readQuotationFile(file);
    recalculateQuotation(saved, CalcSettings{}, true);
    EXPECT_EQ(saved.header.submittedGrandTotal, window->document().header.submittedGrandTotal);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("grandTotal0"))->text().toStdString(),
              wholeYenText(saved.header.submittedGrandTotal));
    EXPECT_EQ(saved.header.submittedGrandTotal, Currency::fromWhole(21120)); // 19,200 and 10 % tax
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// A settings file that is no regular file is reported (once) and the program starts.
TEST_F(MainWindowTest, ASettingsFileThatCannotBeReadIsReportedAndTheProgramStarts) {
    fs::create_directories(folders.dataRoot / "conf" / "Kerbina.conf");
    const auto window = start();
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_TRUE(shown[0].contains(QStringLiteral("Kerbina.conf"))) << shown[0].toStdString();
    EXPECT_EQ(shown.size(), 1) << shown.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(window->sheetTabs()->count(), 2);
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// "特記事項": a comment registered in the dialog is written as a line at the selection, and the
// next one below it; the dialog stays open until it is closed.
TEST_F(MainWindowTest, RegisteredCommentsAreWrittenAsLines) {
    const auto window = start();
    selectRow(*window, 1);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TextSelectionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        MessageBox::setNextInput(QStringLiteral("既設配管撤去は別途"));
        dialog->addText();
        MessageBox::setNextInput(QStringLiteral("a;b")); // refused: the field separator
        dialog->addText();
        EXPECT_EQ(dialog->texts().size(), 1u);
        dialog->selectRow(0);
        dialog->chooseSelected();
        dialog->quantityChoice()->setCurrentIndex(1); // 数量なし
        dialog->typeOwnText(QStringLiteral("夜間作業を含む"));
        dialog->reject();
    });
    window->action("comment")->trigger();
    ASSERT_EQ(window->document().lineCount(), 2);
    EXPECT_EQ(splitNameSpec(window->document().sheet[1].nameSpec).first, "既設配管撤去は別途");
    EXPECT_EQ(window->document().sheet[1].kind, 15);
    EXPECT_EQ(window->document().sheet[2].kind, 30);
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

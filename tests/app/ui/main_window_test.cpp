#include "app/seeding.h"
#include "app/ui/main_window.h"
#include "base/file_io.h"
#include "base/folders.h"
#include "document/ui/backup_list_dialog.h"
#include "grid/ui/quotation_view.h"
#include "grid/ui/text_selection_dialog.h"
#include "main_window_fixture.h"
#include "money/rounding.h"
#include "test_data.h"
#include "widgets/message_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

TEST_F(MainWindowTest, StartsAnEmptyQuotationOnAFreshDataRoot) {
    const auto window = start();
    for (const char* folder : {"temp", "conf", "backup", "part", "printdata", "kerbina_data"}) {
        EXPECT_TRUE(fs::is_directory(folders.dataRoot / folder)) << folder;
    }
    EXPECT_TRUE(fs::is_regular_file(folders.databaseFolder / "kerbinaXe5.db3"));
    EXPECT_TRUE(fs::is_regular_file(folders.databaseFolder / "addressXe5.db3"));
    EXPECT_TRUE(fs::is_regular_file(work("HEAD.WRK")));
    EXPECT_TRUE(fs::is_regular_file(work("WITEM1.WRK")));
    EXPECT_TRUE(fs::is_regular_file(folders.dataRoot / "backup/backup.krb2"));

    EXPECT_EQ(window->sheetTabs()->count(), 2);
    EXPECT_EQ(window->sheetTabs()->tabText(0), QStringLiteral("内訳表"));
    EXPECT_EQ(window->sheetTabs()->currentIndex(), 1);
    EXPECT_FALSE(window->listMode());
    EXPECT_EQ(window->grid()->model()->columnCount(), 10);
    EXPECT_EQ(window->grid()->model()->rowCount(), 101);
    EXPECT_FALSE(window->document().modified);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("積算・見積ソフト「ケルビナ」"));
    screenshot(*window, "main_window_empty");
}

TEST_F(MainWindowTest, RefusesAWrongStartupPasswordBeforeTouchingTheWorkFiles) {
    writeTextLines(folders.dataRoot / "conf/Kerbina.conf", {"[EDIT_OPT4]=TRUE", "[EDIT_OPT5]=abc"});
    writeFileAtomically(work("WITEM1.WRK"), "previous run");
    MainWindow window(folders, ModulePresence{});
    MessageBox::setNextInput(QStringLiteral("wrong"));
    EXPECT_FALSE(window.startUp(std::nullopt));
    EXPECT_EQ(readFileBytes(work("WITEM1.WRK")), "previous run");

    MainWindow again(folders, ModulePresence{});
    MessageBox::setNextInput(QStringLiteral("abc"));
    EXPECT_TRUE(again.startUp(std::nullopt));
}

TEST_F(MainWindowTest, OpensTheFileNamedOnTheCommandLineAndSwitchesPages) {
    const fs::path file = root.path() / "two_sheets.krb2";
    writeTextLines(file, {"<TITLE>", "[ATESAKI_1]=山田建設株式会社", "[KEISYO]=御中", "[Opt1Int]=1",
                          "[ItemMax]=2", "</TITLE>", "<ITEM>",
                          "10;配管工事;25600;19200;0.5;0.5;10;1;0.5;0;0;;0;0",
                          "10;ダクト工事;3000;2500;0.5;0.5;10;1;0.5;0;0;;0;0", "</ITEM>", "<DATA>",
                          "1;鋼管;SGP 25A;0;11999;ｍ;10;12;12;1500;2000;0;0;0;0;0;0;0;0;;;",
                          "1;継手;;0;11999;個;10;4;4;300;400;0;0;0;0;0;0;0;0;;;",
                          "2;ダクト;;0;11999;ｍ;20;2.5;2.5;1000;1200;0;0;0;0;0;0;0;0;;;", "</DATA>",
                          "</EOF>"});
    const auto window = start(file);

    // Two sheets: the breakdown list comes first.
    EXPECT_TRUE(window->listMode());
    ASSERT_EQ(window->sheetTabs()->count(), 3);
    EXPECT_EQ(window->sheetTabs()->tabText(1), QStringLiteral("配管工事"));
    EXPECT_EQ(window->grid()->model()->columnCount(), 9);
    const QString listTotal =
        window->grid()->model()->index(0, 3).data().toString(); // as the file carries it
    EXPECT_TRUE(listTotal.contains(QStringLiteral("25,600"))) << listTotal.toStdString();
    screenshot(*window, "main_window_list");

    window->sheetTabs()->setCurrentIndex(2);
    EXPECT_FALSE(window->listMode());
    EXPECT_EQ(window->document().currentSheetNumber, 2);
    EXPECT_EQ(window->grid()->model()->index(0, 1).data().toString(), QStringLiteral("ダクト"));

    window->sheetTabs()->setCurrentIndex(1);
    EXPECT_EQ(window->document().currentSheetNumber, 1);
    EXPECT_EQ(window->grid()->model()->index(1, 1).data().toString(), QStringLiteral("継手"));
    screenshot(*window, "main_window_sheet");

    window->sheetTabs()->setCurrentIndex(0);
    EXPECT_TRUE(window->listMode());
}

TEST_F(MainWindowTest, AnUnreadableFileLeavesTheOpenQuotationAndSaysWhy) {
    const auto window = start();
    const fs::path file = root.path() / "broken.krb2";
    writeTextLines(file, {"<TITLE>", "[ItemMax]=abc", "</TITLE>"});
    MessageBox::setNextFileName(QString::fromStdString(file.string()));
    window->action("openFile")->trigger();
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(fs::is_regular_file(work("WITEM1.WRK")));
    EXPECT_EQ(window->document().itemMax(), 1);
}

TEST_F(MainWindowTest, ACutFileOpensOnlyWhenTheUserAgrees) {
    const auto window = start();
    const fs::path file = root.path() / "cut.krb2";
    writeTextLines(file, {"<TITLE>", "[ItemMax]=2", "</TITLE>", "<ITEM>",
                          "10;配管工事;0;0;0.5;0.5;10;1;0.5;0;0;;0;0",
                          "10;ダクト工事;0;0;0.5;0.5;10;1;0.5;0;0;;0;0", "</ITEM>", "<DATA>",
                          "1;鋼管;SGP 25A;0;11999;ｍ;10;12;12;1500;2000;0;0;0;0;0;0;0;0;;;"});
    MessageBox::setNextFileName(QString::fromStdString(file.string()));
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    window->action("openFile")->trigger();
    QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("9 行目: ファイルが途中で切れています")))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral("読み込めた部分だけを開きますか？")));
    EXPECT_EQ(window->document().itemMax(), 1);

    MessageBox::setNextFileName(QString::fromStdString(file.string()));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    window->action("openFile")->trigger();
    shown = MessageBox::takeShownTexts();
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(window->document().itemMax(), 2);
    EXPECT_EQ(window->document().items[1].submittedTotal, Currency::fromWhole(24000));
}

TEST_F(MainWindowTest, ClosingAModifiedQuotationAsks) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    ASSERT_TRUE(window->document().modified);

    MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("編集中のデータを保存しますか？")});
    EXPECT_TRUE(fs::is_regular_file(folders.dataRoot / "conf/FKerbina.ini"));

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    EXPECT_TRUE(window->close());
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

TEST_F(MainWindowTest, PastesClipboardLinesThenInsertsDeletesAndUndoes) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(QStringLiteral("配管工事\r\n保温工事\n試運転調整"));
    selectRow(*window, 1);
    window->action("pasteClipboard")->trigger();
    ASSERT_EQ(window->document().lineCount(), 3);
    EXPECT_EQ(cell(*window, 1, 1), QStringLiteral("配管工事"));
    EXPECT_EQ(cell(*window, 3, 1), QStringLiteral("試運転調整"));
    EXPECT_EQ(window->document().sheet[2].kind, 30);
    EXPECT_TRUE(window->document().modified);

    // A range sum over rows 1..3 follows the lines it covers.
    QGuiApplication::clipboard()->setText(
        QStringLiteral("4;範囲計;;0;11999;;94;1;3;0;0;0;0;0;0;0;0;0;0;;;"));
    selectRow(*window, 4);
    window->action("pasteClipboard")->trigger();
    ASSERT_EQ(window->document().lineCount(), 4);
    ASSERT_EQ(window->document().sheet[4].kind, 94);

    selectRow(*window, 2);
    window->action("insert")->trigger();
    EXPECT_EQ(window->document().lineCount(), 5);
    EXPECT_EQ(window->document().sheet[5].submittedQuantity, Currency::fromWhole(4));
    EXPECT_EQ(cell(*window, 3, 1), QStringLiteral("保温工事"));

    selectRow(*window, 1);
    window->action("delete")->trigger();
    EXPECT_EQ(window->document().lineCount(), 4);
    EXPECT_EQ(window->document().sheet[4].netQuantity, Currency::fromWhole(1));
    EXPECT_EQ(window->document().sheet[4].submittedQuantity, Currency::fromWhole(3));

    window->action("undo")->trigger();
    EXPECT_EQ(window->document().lineCount(), 5);
    EXPECT_EQ(cell(*window, 1, 1), QStringLiteral("配管工事"));
    window->action("redo")->trigger();
    EXPECT_EQ(window->document().lineCount(), 4);
    EXPECT_EQ(cell(*window, 1, 1), QString());
    screenshot(*window, "main_window_edited");
}

TEST_F(MainWindowTest, ItemsAreInsertedAndDeletedOnTheBreakdownList) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    window->sheetTabs()->setCurrentIndex(0);
    ASSERT_TRUE(window->listMode());

    selectRow(*window, 1);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    window->action("listInsert")->trigger();
    EXPECT_EQ(window->document().itemMax(), 2);
    EXPECT_EQ(window->sheetTabs()->count(), 3);
    EXPECT_TRUE(std::filesystem::is_regular_file(work("WITEM2.WRK")));

    window->action("listUndo")->trigger();
    EXPECT_EQ(window->document().itemMax(), 1);

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    selectRow(*window, 1);
    window->action("listDelete")->trigger();
    EXPECT_EQ(window->document().itemMax(), 1); // the list never becomes empty
    MessageBox::takeShownTexts();
}

TEST_F(MainWindowTest, SavedFileReopensWithTheSameAmounts) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("1;鋼管;SGP 25A;0;11999;ｍ;10;12;12;1500;2000;0;0;0;0;0;0;0;0;;;"));
    window->action("pasteClipboard")->trigger();
    const fs::path file = root.path() / "saved.krb2";
    MessageBox::setNextFileName(QString::fromStdString(file.string()));
    window->action("saveFile")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{QStringLiteral("データを保存しました。")});
    EXPECT_FALSE(window->document().modified);

    window->action("newQuotation")->trigger();
    EXPECT_EQ(window->document().lineCount(), 0);
    MessageBox::setNextFileName(QString::fromStdString(file.string()));
    window->action("openFile")->trigger();
    ASSERT_GE(window->document().lineCount(), 1);
    const LineRecord& line = window->document().sheet[window->document().lineCount()];
    EXPECT_EQ(line.submittedAmount, Currency::fromWhole(24000));
    EXPECT_EQ(line.netAmount, Currency::fromWhole(18000));
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// The "内訳名" button opens the registered names; a name typed there ("手入力") renames the sheet.
TEST_F(MainWindowTest, TheItemNameButtonRenamesTheSheetAndItsTab) {
    const auto window = start();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TextSelectionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("内訳名選択"));
        MessageBox::setNextInput(QStringLiteral("給水設備工事"));
        dialog->findChild<QPushButton*>(QStringLiteral("ownTextButton"))->click();
        dialog->reject();
    });
    window->findChild<QPushButton*>(QStringLiteral("itemNameButton"))->click();
    EXPECT_EQ(window->document().items[1].name, "給水設備工事");
    EXPECT_EQ(window->sheetTabs()->tabText(1), QStringLiteral("給水設備工事"));
    EXPECT_EQ(window->sheetTabs()->currentIndex(), 1);
    EXPECT_FALSE(window->listMode());
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

TEST_F(MainWindowTest, EverySheetOfAnExampleQuotationIsShownWithItsTotals) {
    const auto window = start(exampleQuotation(3));
    ASSERT_TRUE(window->listMode());
    for (int tab = 1; tab < window->sheetTabs()->count(); ++tab) {
        window->sheetTabs()->setCurrentIndex(tab);
        ASSERT_FALSE(window->listMode());
        const int item = window->sheetOfTab(tab);
        EXPECT_EQ(window->document().currentSheetNumber, item);
        const QString shownTotal =
            window->findChild<QLabel*>(QStringLiteral("submittedTotal"))->text();
        EXPECT_EQ(
            shownTotal.toStdString(),
            wholeYenText(window->document().items[static_cast<std::size_t>(item)].submittedTotal));
        screenshot(*window, ("example_sheet_" + std::to_string(tab)).c_str());
    }
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

const std::vector<std::string> kTwoSheets = {
    "<TITLE>",
    "[ATESAKI_1]=山田建設株式会社",
    "[ItemMax]=2",
    "</TITLE>",
    "<ITEM>",
    "10;配管工事;25600;19200;0.5;0.5;10;1;0.5;0;0;;0;0",
    "10;ダクト工事;3000;2500;0.5;0.5;10;1;0.5;0;0;;0;0",
    "</ITEM>",
    "<DATA>",
    "1;鋼管;SGP 25A;0;11999;ｍ;10;12;12;1500;2000;0;0;0;18000;24000;0;0;0;;;",
    "1;継手;;0;11999;個;10;4;4;300;400;0;0;0;1200;1600;0;0;0;;;",
    "2;ダクト;;0;11999;ｍ;20;2.5;2.5;1000;1200;0;0;0;2500;3000;0;0;0;;;",
    "</DATA>",
    "</EOF>"};

TEST_F(MainWindowTest, BrowsingIsNotEditing) {
    const fs::path file = root.path() / "two_sheets.krb2";
    writeTextLines(file, kTwoSheets);
    const auto window = start(file);
    ASSERT_FALSE(window->document().modified);
    for (const int tab : {1, 2, 0, 2, 1, 0, 1}) {
        window->sheetTabs()->setCurrentIndex(tab);
        EXPECT_FALSE(window->document().modified) << "tab " << tab;
    }
    MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
    window->close();
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty()); // closing after looking asks nothing

    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    EXPECT_TRUE(window->document().modified);
}

// The example quotations store totals their lines do not give: opening computes the true ones, so
// looking through their sheets changes nothing either.
TEST_F(MainWindowTest, BrowsingAnExampleQuotationIsNotEditing) {
    for (const int example : {1, 3, 6}) {
        const auto window = start(exampleQuotation(example));
        for (int tab = 1; tab < window->sheetTabs()->count(); ++tab) {
            window->sheetTabs()->setCurrentIndex(tab);
            EXPECT_FALSE(window->document().modified) << example << " tab " << tab;
        }
        window->sheetTabs()->setCurrentIndex(0);
        EXPECT_FALSE(window->document().modified) << example;
        MessageBox::takeShownTexts();
    }
}

TEST_F(MainWindowTest, TheNextStartAfterACrashOffersItsLastBackup) {
    {
        const auto crashed = start();
        QGuiApplication::clipboard()->setText(QStringLiteral("落ちる前の行"));
        crashed->action("pasteClipboard")->trigger();
        ASSERT_EQ(crashed->document().lineCount(), 1);
        // The program stops without closing its window.
    }
    {
        // Started again with the same file, closed without an edit: the question was answered No.
        MessageBox::setNextAnswer(MessageBox::Answer::No);
        const auto window = start();
        const QStringList shown = MessageBox::takeShownTexts();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].startsWith(QStringLiteral("前回は正常に終了しませんでした。")))
            << shown[0].toStdString();
        // Enter answers はい: taking the backup is the answer that loses nothing.
        EXPECT_EQ(MessageBox::lastButtons(), MessageBox::Buttons::YesNo);
        EXPECT_EQ(window->document().lineCount(), 0);
        EXPECT_TRUE(window->close());
    }
    {
        // A clean close asks nothing at the next start.
        const auto window = start();
        EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());
        // "バックアップファイルを読み込む" still lists the crashed run's backup.
        BackupListDialog::setNextChoice(std::nullopt);
        window->action("loadBackup")->trigger();
        const QStringList rows = BackupListDialog::takeShownRows();
        ASSERT_GE(rows.size(), 2);
        EXPECT_TRUE(rows[0].endsWith(QStringLiteral("backup.krb2"))) << rows[0].toStdString();
        int crashRow = -1;
        for (int row = 0; row < rows.size(); ++row) {
            if (rows[row].contains(QStringLiteral("（異常終了）"))) {
                crashRow = row;
            }
        }
        ASSERT_GE(crashRow, 1) << rows.join(QStringLiteral("\n")).toStdString();
        BackupListDialog::setNextChoice(static_cast<std::size_t>(crashRow));
        window->action("loadBackup")->trigger();
        BackupListDialog::takeShownRows();
        ASSERT_EQ(window->document().lineCount(), 1);
        EXPECT_EQ(window->document().sheet[1].nameSpec, "落ちる前の行;");
        EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());
    }
}

TEST_F(MainWindowTest, TheBackupListShowsOneLinePerBackupNewestFirst) {
    {
        const auto crashed = start();
        QGuiApplication::clipboard()->setText(QStringLiteral("落ちる前の行"));
        crashed->action("pasteClipboard")->trigger();
    }
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    const auto window = start();
    MessageBox::takeShownTexts();
    const std::vector<BackupSummary> backups = listBackups(folders.dataRoot / "backup");
    BackupListDialog dialog(backups, window.get());
    ASSERT_EQ(dialog.rows().size(), static_cast<qsizetype>(backups.size()));
    for (std::size_t row = 0; row < backups.size(); ++row) {
        EXPECT_EQ(dialog.rows()[static_cast<qsizetype>(row)].toStdString(),
                  backupRowText(backups[row]));
    }
    dialog.show();
    screenshot(dialog, "backup_list");
}

TEST_F(MainWindowTest, TheCrashQuestionOpensTheBackupWhenAnsweredYes) {
    {
        const auto crashed = start();
        QGuiApplication::clipboard()->setText(QStringLiteral("落ちる前の行"));
        crashed->action("pasteClipboard")->trigger();
    }
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    const auto window = start();
    EXPECT_EQ(MessageBox::takeShownTexts().size(), 1);
    ASSERT_EQ(window->document().lineCount(), 1);
    EXPECT_EQ(window->document().sheet[1].nameSpec, "落ちる前の行;");
    // The recovered work was never saved: closing offers to save it.
    EXPECT_TRUE(window->document().modified);
    MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("編集中のデータを保存しますか？")});
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// On the breakdown list "特記事項" makes the selected rows comment items one after the other, and
// the "内訳名" button names the selected item and then the one below it; the first row takes no
// comment.
TEST_F(MainWindowTest, TheBreakdownListTakesCommentItemsAndNamesFromTheRegisteredTexts) {
    const auto window = start();
    window->sheetTabs()->setCurrentIndex(0);
    ASSERT_TRUE(window->listMode());
    selectRow(*window, 1);
    window->action("listComment")->trigger();
    window->findChild<QPushButton*>(QStringLiteral("tool_note_in"))->click();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList(2, QStringLiteral("先頭行にコメントを入れる事はできません。")));

    selectRow(*window, 3);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TextSelectionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->quantityChoice()->setCurrentIndex(1); // 数量なし: the note in the total column
        dialog->amountTextChoice()->setEditText(QStringLiteral("別途"));
        dialog->typeOwnText(QStringLiteral("既設配管撤去は別途"));
        dialog->typeOwnText(QStringLiteral("夜間作業を含む"));
        dialog->reject();
    });
    window->action("listComment")->trigger();
    const DocumentState& document = window->document();
    ASSERT_EQ(document.itemMax(), 4);
    EXPECT_EQ(document.items[3].kind, 96);
    EXPECT_EQ(document.items[3].name, "既設配管撤去は別途");
    EXPECT_EQ(document.items[3].note, "別途");
    EXPECT_EQ(document.items[3].subKind, Currency::fromWhole(30));
    EXPECT_EQ(document.items[4].name, "夜間作業を含む");
    const QAbstractItemModel* list = window->grid()->model();
    EXPECT_EQ(list->index(2, 2).data().toString(), QStringLiteral("既設配管撤去は別途"));
    EXPECT_EQ(list->index(2, 3).data().toString(), QStringLiteral("別途")); // the total column

    // A double-click asks for the comment and its amount text; a cancelled prompt keeps its text.
    MessageBox::setNextInput(QStringLiteral("既設配管撤去は別途工事"));
    MessageBox::setNextInput(std::nullopt);
    emit window->findChild<QuotationView*>()->rowDoubleClicked(3);
    EXPECT_EQ(document.items[3].name, "既設配管撤去は別途工事");
    EXPECT_EQ(document.items[3].note, "別途");
    EXPECT_EQ(list->index(2, 2).data().toString(), QStringLiteral("既設配管撤去は別途工事"));

    const std::string firstName = document.items[1].name;
    selectRow(*window, 1);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TextSelectionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->prefixChoice()->setCurrentIndex(dialog->prefixChoice()->findText("A."));
        MessageBox::setNextInput(QStringLiteral("給水設備工事"));
        dialog->findChild<QPushButton*>(QStringLiteral("ownTextButton"))->click();
        EXPECT_EQ(dialog->statusText(5).toStdString(), "");
        dialog->reject();
    });
    window->findChild<QPushButton*>(QStringLiteral("itemNameButton"))->click();
    EXPECT_EQ(window->document().items[1].name, "A.給水設備工事");
    EXPECT_TRUE(window->listMode());
    EXPECT_EQ(window->sheetTabs()->tabText(1), QStringLiteral("A.給水設備工事"));

    // The list's undo takes back the rename, and only it.
    window->action("listUndo")->trigger();
    ASSERT_EQ(window->document().itemMax(), 4);
    EXPECT_EQ(window->document().items[1].name, firstName);
    EXPECT_EQ(window->document().items[3].name, "既設配管撤去は別途工事");
    EXPECT_EQ(window->document().items[4].kind, 96);
    MessageBox::takeShownTexts();
}

} // namespace
} // namespace kerbina

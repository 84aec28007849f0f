#include "main_window_fixture.h"
#include "storage/database_files.h"
#include "storage/schema.h"
#include "storage/ui/save_dialog.h"
#include "test_data.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace kerbina {
namespace {

// The rows of the quotation database, as another program would read them.
SqlRows storedRows(const AppFolders& folders) {
    QuietPrompt quiet;
    SqliteFileDatabase quotations(databaseFilePath(folders.databaseFolder, DatabaseFile::Quotation),
                                  quiet);
    return quotations.queryRows("SELECT krbnumber, ALLGTOTAL FROM kerbina ORDER BY krbnumber");
}

// Runs `inDialog` once the save dialog is up (the dialog is modal).
void whenSaveDialogShows(MainWindow& window, std::function<void(SaveDialog&)> inDialog) {
    QTimer::singleShot(0, &window, [&window, inDialog = std::move(inDialog)] {
        auto* dialog = window.findChild<SaveDialog*>();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());
        inDialog(*dialog);
    });
}

// "保  存" shows the save dialog over the open quotation; a number typed there is stored with the
// quotation's row, the quotation is no longer modified, and a second save of the same number asks
// before it overwrites.
TEST_F(MainWindowTest, SavingStoresTheQuotationUnderItsNumber) {
    const auto window = start(exampleQuotation(2));
    window->sheetTabs()->setCurrentIndex(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("追加の一行"));
    window->action("pasteClipboard")->trigger();
    ASSERT_TRUE(window->document().modified);
    MessageBox::takeShownTexts();

    whenSaveDialogShows(*window, [](SaveDialog& dialog) {
        MessageBox::setNextInput(QStringLiteral("T-001"));
        dialog.enterButton()->click();
        dialog.saveButton()->click();
    });
    window->action("save")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              (QStringList{QStringLiteral("見積番号を入力してください"),
                           QStringLiteral("データを保存しました。")}));
    EXPECT_FALSE(window->document().modified);
    EXPECT_EQ(window->document().header.number, "T-001");
    const SqlRows rows = storedRows(folders);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].field(1), "T-001");
    EXPECT_EQ(rows[0].field(2), window->document().header.submittedGrandTotal.toString());

    // The same number again: the user is asked, and No leaves the dialog open and the row alone.
    whenSaveDialogShows(*window, [](SaveDialog& dialog) {
        MessageBox::setNextAnswer(MessageBox::Answer::No);
        dialog.saveButton()->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.cancelButton()->click();
    });
    window->action("save")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("T-001\r\nデータは既に存在します。上書き保存しますか？")});
    EXPECT_EQ(storedRows(folders).size(), 1u);
}

// Closing a modified quotation offers the save; a save that does not happen keeps the window open
// with the quotation.
TEST_F(MainWindowTest, ASaveThatDoesNotHappenKeepsTheWindowOpen) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    MessageBox::takeShownTexts();

    whenSaveDialogShows(*window, [](SaveDialog& dialog) { dialog.cancelButton()->click(); });
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->document().modified);
    EXPECT_TRUE(storedRows(folders).empty());
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("編集中のデータを保存しますか？")});
}

} // namespace
} // namespace kerbina

namespace kerbina {
namespace {

// The cover page shows the grand total before tax by kind of cost of the open quotation, worked
// out from every sheet (example 2 holds 624,237 of statutory welfare in its grand total).
TEST_F(MainWindowTest, TheCoverShowsTheCostSplitOfTheWholeQuotation) {
    const auto window = start(exampleQuotation(2));
    auto* welfare = window->findChild<QLabel*>(QStringLiteral("costSplit2"));
    ASSERT_NE(welfare, nullptr);
    // Worked out once the window is idle, not on the way of the command.
    EXPECT_TRUE(QTest::qWaitFor([welfare] { return welfare->text() == QStringLiteral("624,237"); }))
        << welfare->text().toStdString();
}

} // namespace
} // namespace kerbina

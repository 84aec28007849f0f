#include "main_window_fixture.h"
#include "storage/database_files.h"
#include "storage/database_health.h"
#include "storage/sqlite_connection.h"
#include "storage/ui/save_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QTimer>

namespace kerbina {
namespace {

// After a run that did not end cleanly, はい to the offer of its last backup opens the work as
// unsaved: closing asks "編集中のデータを保存しますか？".
TEST_F(MainWindowTest, RecoveredWorkIsOfferedForSavingOnClose) {
    {
        const auto crashed = start();
        QGuiApplication::clipboard()->setText(QStringLiteral("失いたくない行"));
        crashed->action("pasteClipboard")->trigger();
        ASSERT_TRUE(crashed->document().modified);
        // Destroyed without closing: the run does not end cleanly.
    }
    MessageBox::takeShownTexts();
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    const auto window = start();
    const QStringList offer = MessageBox::takeShownTexts();
    ASSERT_EQ(offer.size(), 1);
    EXPECT_TRUE(offer[0].startsWith(QStringLiteral("前回は正常に終了しませんでした。")));
    EXPECT_TRUE(window->document().sheet[1].nameSpec.starts_with("失いたくない行"));
    EXPECT_TRUE(window->document().modified);

    MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("編集中のデータを保存しますか？")});
}

// Ctrl+S while another program holds the quotation database: the window shows a box with 中止 and
// keeps answering (the box's own button stops the wait); nothing is saved, the save dialog never
// opens, and the user is told.
TEST_F(MainWindowTest, ASaveThatMeetsALockShowsABoxThatCanBeStopped) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    MessageBox::takeShownTexts();
    TSQLiteDatabase other(databaseFilePath(folders.databaseFolder, DatabaseFile::Quotation));
    other.ExecSQL("BEGIN IMMEDIATE");

    bool boxShown = false;
    QTimer::singleShot(300, window.get(), [&] {
        auto* box = window->findChild<QProgressDialog*>(QStringLiteral("LockWaitBox"));
        ASSERT_NE(box, nullptr);
        boxShown = box->isVisible();
        screenshot(*box, "lock_wait_box");
        box->cancel();
    });
    window->action("save")->trigger();
    EXPECT_TRUE(boxShown);
    EXPECT_EQ(window->findChild<QProgressDialog*>(QStringLiteral("LockWaitBox")), nullptr);
    EXPECT_EQ(window->findChild<Tfsave_Dlg*>(), nullptr);
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{QString::fromUtf8(kSaveCancelledText)});
    EXPECT_TRUE(window->document().modified);
}

} // namespace
} // namespace kerbina

#include "base/file_io.h"
#include "damaged_database.h"
#include "main_window_fixture.h"
#include "settings/ui/settings_dialog.h"
#include "storage/database_files.h"
#include "storage/database_health.h"
#include "storage/sqlite_connection.h"
#include "storage/ui/save_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace kerbina {
namespace {

// Ctrl+S while another program holds the quotation database: the window shows a box with 中止 and
// keeps answering (the box's own button stops the wait); nothing is saved, the save dialog never
// opens, and the user is told.
TEST_F(MainWindowTest, ASaveThatMeetsALockShowsABoxThatCanBeStopped) {
    const auto window = start();
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    MessageBox::takeShownTexts();
    SqliteConnection other(databaseFilePath(folders.databaseFolder, DatabaseFile::Quotation));
    other.execute("BEGIN IMMEDIATE");

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
    EXPECT_EQ(window->findChild<SaveDialog*>(), nullptr);
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{QString::fromUtf8(kSaveCancelledText)});
    EXPECT_TRUE(window->document().modified);
}

// A damaged page in the quotation database is told at start; 環境設定's "データベースを検査" runs
// the full check and says the same; a save goes nowhere near the file.
TEST_F(MainWindowTest, ADamagedDatabaseIsToldAtStartAndCheckedOnRequest) {
    EXPECT_TRUE(start()->close()); // makes the database
    const fs::path file = databaseFilePath(folders.databaseFolder, DatabaseFile::Quotation);
    ASSERT_NO_FATAL_FAILURE(damageLastDatabasePage(file, 2));
    const std::string bytes = readFileBytes(file);
    MessageBox::takeShownTexts();

    const auto window = start();
    const auto damaged = [](const QStringList& texts) {
        return std::ranges::any_of(texts, [](const QString& text) {
            return text.startsWith(QStringLiteral("見積データベースが壊れています。"));
        });
    };
    EXPECT_TRUE(damaged(MessageBox::takeShownTexts()));

    bool checked = false;
    QTimer::singleShot(0, window.get(), [&window, &checked] {
        auto* dialog = window->findChild<SettingsDialog*>();
        ASSERT_NE(dialog, nullptr);
        auto* check = dialog->findChild<QPushButton*>(QStringLiteral("checkDatabase"));
        ASSERT_NE(check, nullptr);
        checked = check->isVisibleTo(dialog);
        check->click();
        dialog->reject();
    });
    window->action("environmentSettings")->trigger();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(damaged(MessageBox::takeShownTexts()));

    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    window->action("save")->trigger();
    EXPECT_EQ(window->findChild<SaveDialog*>(), nullptr);
    EXPECT_TRUE(damaged(MessageBox::takeShownTexts()));
    EXPECT_EQ(readFileBytes(file), bytes);
}

} // namespace
} // namespace kerbina

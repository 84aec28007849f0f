// The window's file commands write only where the core's rule allows: a FIFO or a folder chosen
// in a save dialog stays what it is, and the user is told that nothing was written.
#include "base/file_io.h"
#include "base/path_text.h"
#include "main_window_fixture.h"
#include "storage/list_export.h"

#include <QAction>
#include <QDesktopServices>
#include <QObject>
#include <cstdlib>

namespace kerbina {
namespace {

using MainWindowFilesTest = MainWindowTest;

TEST_F(MainWindowFilesTest, SaveAndCsvNeverReplaceAFifoOrAFolder) {
    auto window = start();
    const fs::path fifo = root.path() / "pipe";
    ASSERT_EQ(std::system(("mkfifo '" + fifo.string() + "'").c_str()), 0);
    const fs::path folder = root.path() / "folder";
    fs::create_directory(folder);
    for (const char* command : {"saveFile", "ActionCsvOut"}) {
        for (const fs::path& target : {fifo, folder}) {
            MessageBox::takeShownTexts();
            MessageBox::setNextFileName(QString::fromStdString(pathText(target)));
            MessageBox::setNextAnswer(MessageBox::Answer::Yes); // 上書きしますか？
            window->action(command)->trigger();
            const QStringList shown = MessageBox::takeShownTexts();
            ASSERT_FALSE(shown.isEmpty()) << command;
            EXPECT_TRUE(shown.back().contains(QStringLiteral("通常のファイルではない")))
                << command << ": " << shown.back().toStdString();
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
}

// "ファイル一覧・エクセル出力" writes the workbook; when the desktop cannot open it, the user is
// told where it is instead of seeing nothing happen.
TEST_F(MainWindowFilesTest, AWorkbookThatCannotBeOpenedIsReported) {
    auto window = start();
    window->action("quotationList")->trigger();
    QObject noOpener;
    // An opener without the slot it names: the desktop reports that it opened nothing.
    QDesktopServices::setUrlHandler("file", &noOpener, "noSuchSlot");
    const fs::path workbook = root.path() / "一覧.xlsx";
    MessageBox::takeShownTexts();
    MessageBox::setNextFileName(QString::fromStdString(pathText(workbook)));
    window->action("listPageWorkbook")->trigger();
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_TRUE(fs::is_regular_file(workbook));
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QString::fromStdString(workbookNotOpenedText(workbook))});
}

} // namespace
} // namespace kerbina

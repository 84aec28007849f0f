#include "base/file_io.h"
#include "output/csv_import.h"
#include "output/print_data.h"
#include "output/ui/csv_editor_dialog.h"
#include "temp_folder.h"
#include "widgets/message_box.h"
#include "widgets/print_start.h"

#include <QDir>
#include <QTableWidget>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

TEST(CsvEditorDialog, ImportWritesTheFilledRowsAndCancelWritesNothing) {
    TempFolder folder;
    const fs::path file = csvImportFile(folder.path());
    {
        CsvEditorDialog dialog(file);
        dialog.table()->setCurrentCell(0, 0);
        dialog.pasteText(
            QStringLiteral("配管\tSGP 25A\tm\r\n\t\t\n保温;屋内\tt=25\tｍ\t\t1\t2.5\n"));
        dialog.table()->setItem(1, 11, new QTableWidgetItem(QStringLiteral("空行は飛ばす")));
        if (const char* shots = std::getenv("KERBINA_SCREENSHOT_DIR")) {
            dialog.show();
            dialog.grab().save(QDir(QString::fromUtf8(shots)).filePath("csv_editor.png"));
        }
        dialog.reject();
        EXPECT_FALSE(fs::exists(file));
        dialog.importRows();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    const std::vector<std::string> lines = readTextLines(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "配管;SGP 25A;m;;;;;;;;;");
    EXPECT_EQ(lines[1], ";;;;;;;;;;;空行は飛ばす");
    EXPECT_EQ(lines[2], "保温；屋内;t=25;ｍ;;1;2.5;;;;;;");
    // What the editor writes is what the import reads.
    EXPECT_EQ(csvImportLine(lines[2]).nameSpec, "保温；屋内;t=25");
    EXPECT_EQ(csvImportLine(lines[2]).submittedQuantity.toString(), "2.5");
}

// A row the import would refuse is named before anything is written: the dialog stays open with
// every typed row, and the row is made current for the user to mend.
TEST(CsvEditorDialog, ARowThatWouldNotComeInKeepsEveryTypedRow) {
    MessageBox::takeShownTexts();
    TempFolder folder;
    const fs::path file = csvImportFile(folder.path());
    CsvEditorDialog dialog(file);
    dialog.table()->setCurrentCell(0, 0);
    dialog.pasteText(QStringLiteral("配管\tSGP\tm\t\t1\t1\n"
                                    "弁\t\t個\t\t1\t99999999999999999999\n"
                                    "保温\t\tm\t\t2\t2\n"));
    dialog.importRows();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(fs::exists(file));
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("2 行目を取り込めません: 6 番目の項目")))
        << shown[0].toStdString();
    EXPECT_EQ(dialog.table()->currentRow(), 1);
    EXPECT_EQ(dialog.table()->item(2, 0)->text(), QStringLiteral("保温"));

    dialog.table()->item(1, 5)->setText(QStringLiteral("3"));
    dialog.importRows();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(readTextLines(file).size(), 3u);
}

TEST(CsvEditorDialog, ScriptedRunSavesOrCancels) {
    TempFolder folder;
    const fs::path file = csvImportFile(folder.path());
    CsvEditorDialog::setNextRows(std::vector<std::vector<std::string>>{{"A", "a", "m"}});
    EXPECT_TRUE(runCsvEditor(nullptr, file));
    EXPECT_EQ(readTextLines(file), std::vector<std::string>{"A;a;m"});
    fs::remove(file);
    CsvEditorDialog::setNextRows(std::nullopt);
    EXPECT_TRUE(runCsvEditor(nullptr, file));
    EXPECT_FALSE(fs::exists(file));
}

TEST(PrintLaunch, TheArgumentArrivesWholeAndAFailureIsReported) {
    TempFolder install;
    const fs::path out = install.path() / "argv.txt";
    const fs::path program = install.path() / "printviewer";
    writeFileAtomically(program, "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > " +
                                     out.string() + ".part\nmv " + out.string() + ".part " +
                                     out.string() + "\n");
    fs::permissions(program, fs::perms::owner_all);
    const std::string argument = viewerArgument("△", "/data root", "/style file.sle", "V 1");
    ASSERT_EQ(printProgramPath(install.path(), kViewerProgramName), program);
    ASSERT_TRUE(startPrintProgram(program, argument));
    for (int wait = 0; wait < 1000 && !fs::exists(out); ++wait) { // up to 20 s on a busy machine
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(readFileBytes(out), "[" + argument + "]\n");

    EXPECT_FALSE(startPrintProgram(install.path() / "dataprint", std::nullopt));
}

} // namespace
} // namespace kerbina

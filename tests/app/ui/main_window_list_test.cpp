// The quotation list page inside the real main window: entering and leaving it, opening a stored
// quotation, copying, printing and exporting marked or listed rows.
#include "base/file_io.h"
#include "base/path_text.h"
#include "calc/totals.h"
#include "document/quotation_file.h"
#include "main_window_fixture.h"
#include "money/currency.h"
#include "storage/database_files.h"
#include "storage/quotation_rows.h"
#include "storage/search_index.h"
#include "storage/ui/quotation_list_view.h"
#include "test_data.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>

namespace kerbina {
namespace {

class MainWindowListTest : public MainWindowTest {
protected:
    fs::path quotationFile() const {
        return databaseFilePath(folders.databaseFolder, DatabaseFile::Quotation);
    }

    // Stores an example quotation, recomputed, under `number`, as a save writes it.
    void store(int example, const std::string& number, int status = 0) {
        QuotationData data = readQuotationFile(exampleQuotation(example));
        recalculateQuotation(data, CalcSettings{}, true);
        data.header.number = number;
        QuietPrompt prompt;
        SqliteFileDatabase quotations(quotationFile(), prompt);
        ASSERT_EQ(writeQuotationRow(quotations, data.header,
                                    writeQuotationText(data, QuotationWriteOptions{true}),
                                    RowWrite::InsertOnly, std::chrono::system_clock::now(), prompt),
                  RowWriteResult::Written);
        quotations.execute("UPDATE kerbina SET status=? WHERE krbnumber=?",
                           {std::to_string(status), number});
    }

    SqlRows rows(const std::string& sql) {
        QuietPrompt prompt;
        SqliteFileDatabase quotations(quotationFile(), prompt);
        return quotations.queryRows(sql);
    }

    static QPushButton* button(QWidget& page, const QString& caption) {
        for (auto* candidate : page.findChildren<QPushButton*>()) {
            if (candidate->text() == caption) {
                return candidate;
            }
        }
        ADD_FAILURE() << caption.toStdString();
        return nullptr;
    }

    static QTableWidget* listGrid(QuotationListView& list) {
        return list.findChild<QTableWidget*>("fileGrid");
    }

    // Marks every row the list shows (SPACE over the whole selection).
    static void markAll(QuotationListView& list) {
        QTableWidget* grid = listGrid(list);
        grid->setCurrentCell(0, 1);
        grid->selectAll();
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
        QApplication::sendEvent(grid, &space);
    }

    static QStringList enabledMenus(const MainWindow& window) {
        QStringList titles;
        for (QAction* entry : window.menuBar()->actions()) {
            if (entry->menu() != nullptr && entry->menu()->isEnabled()) {
                titles << entry->text();
            }
        }
        return titles;
    }

    static QString sideTabText(const MainWindow& window) {
        const auto* side = window.findChild<QTabWidget*>("sidePanel");
        return side->tabText(side->currentIndex());
    }
};

// The list takes the place of the quotation: the question when the quotation was edited, only the
// side tab "宛先一覧", the quotation's menus and their keys off; a word finds the one quotation
// that holds it, and a double-click opens it recomputed with its row's status, its cover in front
// and every command back.
TEST_F(MainWindowListTest, FindsAStoredQuotationByAWordAndOpensIt) {
    auto window = start();
    store(1, "K-0001", 1);
    store(2, "K-0002", 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("一行目"));
    window->action("pasteClipboard")->trigger();
    ASSERT_TRUE(window->document().modified);

    MessageBox::takeShownTexts();
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    window->action("quotationList")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("編集中のデータが失われますが、よろしいですか？")});
    EXPECT_FALSE(window->quotationListShown());

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    window->action("quotationList")->trigger();
    ASSERT_TRUE(window->quotationListShown());
    QuotationListView& list = *window->quotationList();
    EXPECT_TRUE(list.isVisible());
    EXPECT_FALSE(window->grid()->isVisible());
    EXPECT_EQ(sideTabText(*window), QStringLiteral("宛先一覧"));
    EXPECT_TRUE(list.sideLists()->isVisible());
    EXPECT_FALSE(window->action("undo")->isEnabled());
    EXPECT_FALSE(window->action("newQuotation")->isEnabled());
    EXPECT_TRUE(window->action("listPageCsv")->isEnabled());
    EXPECT_EQ(enabledMenus(*window), QStringList{QStringLiteral("見積一覧表(&Q)")});
    EXPECT_EQ(list.page().count, 2);
    screenshot(*window, "quotation_list");

    list.findChild<QLineEdit*>("検索文字列")->setText(QStringLiteral("既設品流用"));
    button(list, QStringLiteral("検索実行"))->click();
    ASSERT_EQ(list.page().rows.size(), 1U);
    EXPECT_EQ(list.page().rows.front().number, "K-0002");

    emit listGrid(list)->cellDoubleClicked(0, 1);
    EXPECT_FALSE(window->quotationListShown());
    EXPECT_FALSE(list.isVisible());
    EXPECT_TRUE(window->grid()->isVisible());
    const QuotationHeader& header = window->document().header;
    EXPECT_EQ(header.number, "K-0002");
    EXPECT_EQ(header.status, 2);
    const SqlRows stored = rows("SELECT ALLGTOTAL FROM kerbina WHERE krbnumber='K-0002'");
    ASSERT_EQ(stored.size(), 1U);
    EXPECT_EQ(header.submittedGrandTotal, parseNumber(stored.front().field(1)));
    EXPECT_NE(header.submittedGrandTotal, Currency());
    EXPECT_FALSE(window->document().modified);
    EXPECT_EQ(sideTabText(*window), QStringLiteral("表紙・合計"));
    EXPECT_TRUE(window->action("undo")->isEnabled());
    EXPECT_TRUE(window->action("newQuotation")->isEnabled());
    EXPECT_FALSE(window->action("listPageCsv")->isEnabled());
    EXPECT_FALSE(enabledMenus(*window).contains(QStringLiteral("見積一覧表(&Q)")));
    EXPECT_TRUE(enabledMenus(*window).contains(QStringLiteral("ファイル(&F)")));

    // Back on the list and closed again: the quotation opened stays, the tabs are as they were.
    window->action("quotationList")->trigger();
    button(*window->quotationList(), QStringLiteral(" 閉じる"))->click();
    EXPECT_FALSE(window->quotationListShown());
    EXPECT_EQ(window->document().header.number, "K-0002");
    EXPECT_EQ(sideTabText(*window), QStringLiteral("表紙・合計"));
}

// A row that cannot be opened (deleted by another workstation since the list was read, or a text
// that is not a quotation) leaves the list in front, the open quotation as it was and the
// quotation's commands off.
TEST_F(MainWindowListTest, ARowThatCannotBeOpenedLeavesTheListAndTheQuotation) {
    auto window = start(exampleQuotation(1));
    const Currency total = window->document().header.submittedGrandTotal;
    store(2, "K-0002");
    {
        QuietPrompt prompt;
        SqliteFileDatabase quotations(quotationFile(), prompt);
        quotations.execute(
            "INSERT INTO kerbina(krbnumber,status,data) VALUES('BROKEN','0','壊れた行\r\n')");
        quotations.execute("INSERT INTO kerbina(krbnumber,status,data) VALUES('EMPTY','0','')");
    }
    window->action("quotationList")->trigger();
    QuotationListView& list = *window->quotationList();
    ASSERT_EQ(list.page().count, 3);
    {
        QuietPrompt prompt;
        SqliteFileDatabase quotations(quotationFile(), prompt);
        quotations.execute("DELETE FROM kerbina WHERE krbnumber='K-0002'");
    }
    for (const std::string number : {"K-0002", "BROKEN", "EMPTY"}) {
        SCOPED_TRACE(number);
        const auto row = std::ranges::find_if(list.page().rows, [&](const QuotationListRow& shown) {
            return shown.number == number;
        });
        ASSERT_NE(row, list.page().rows.end());
        MessageBox::takeShownTexts();
        emit listGrid(list)->cellDoubleClicked(static_cast<int>(row - list.page().rows.begin()), 1);
        EXPECT_FALSE(MessageBox::takeShownTexts().isEmpty());
        EXPECT_TRUE(window->quotationListShown());
        EXPECT_TRUE(list.isVisible());
        EXPECT_FALSE(window->grid()->isVisible());
        EXPECT_EQ(sideTabText(*window), QStringLiteral("宛先一覧"));
        EXPECT_FALSE(window->action("undo")->isEnabled());
        EXPECT_EQ(enabledMenus(*window), QStringList{QStringLiteral("見積一覧表(&Q)")});
        EXPECT_EQ(window->document().header.submittedGrandTotal, total);
    }
}

// Copies of the marked rows numbered by the sequence; the marked rows printed as one batch, the
// viewer that cannot start reported; the list to CSV and to a workbook the desktop opens.
TEST_F(MainWindowListTest, CopiesPrintsAndExportsTheList) {
    auto window = start();
    store(1, "K-0001");
    store(2, "K-0002");
    window->action("quotationList")->trigger();
    QuotationListView& list = *window->quotationList();
    markAll(list);
    ASSERT_EQ(list.marks().count(), 2U);

    QTimer::singleShot(0, window.get(), [&window] {
        auto* dialog = window->findChild<QDialog*>("Tfkrbcopy");
        ASSERT_NE(dialog, nullptr);
        for (auto* choice : dialog->findChildren<QRadioButton*>()) {
            if (choice->text() == QStringLiteral("連番で新番号を発行")) {
                choice->click();
            }
        }
        button(*dialog, QStringLiteral("実行"))->click();
    });
    button(list, QStringLiteral("複　製"))->click();
    const SqlRows copies =
        rows("SELECT krbnumber,ALLGTOTAL FROM kerbina WHERE krbnumber LIKE 'MA%' ORDER BY 1");
    ASSERT_EQ(copies.size(), 2U);
    EXPECT_EQ(copies[0].field(1), "MA00001");
    EXPECT_EQ(copies[1].field(1), "MA00002");
    EXPECT_EQ(list.page().count, 4);
    EXPECT_TRUE(list.marks().empty());
    EXPECT_EQ(sideTabText(*window), QStringLiteral("宛先一覧"));

    // A quotation of an earlier print still lies in the print folder: the viewer prints every
    // quotation file there, so the batch must start without it.
    const fs::path printFolder = folders.dataRoot / "printdata";
    fs::create_directories(printFolder);
    writeFileAtomically(printFolder / "OLD-0001.dat", "<TITLE>\r\n");
    markAll(list);
    MessageBox::takeShownTexts();
    button(list, QStringLiteral("見積印刷"))->click();
    EXPECT_FALSE(fs::exists(printFolder / "OLD-0001.dat"));
    for (const char* number : {"K-0001", "K-0002", "MA00001", "MA00002"}) {
        EXPECT_TRUE(fs::exists(printFolder / (std::string(number) + ".dat"))) << number;
    }
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains(QStringLiteral("printviewer")))
        << shown.front().toStdString();

    const fs::path csv = root.path() / "list.csv";
    MessageBox::setNextFileName(QString::fromStdString(pathText(csv)));
    window->action("listPageCsv")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{QStringLiteral("出力しました。")});
    EXPECT_NE(readFileBytes(csv).find("MA00002,"), std::string::npos);

    QTextBrowser opened;
    QDesktopServices::setUrlHandler("file", &opened, "setSource");
    const fs::path workbook = root.path() / "list.xlsx";
    MessageBox::setNextFileName(QString::fromStdString(pathText(workbook)));
    window->action("listPageWorkbook")->trigger();
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_TRUE(fs::exists(workbook));
    EXPECT_EQ(opened.source(), QUrl::fromLocalFile(QString::fromStdString(pathText(workbook))));
}

// The layout of the list is kept when the program closes.
TEST_F(MainWindowListTest, TheListLayoutIsWrittenOnClose) {
    auto window = start();
    window->action("quotationList")->trigger();
    QTableWidget* grid = listGrid(*window->quotationList());
    grid->setColumnWidth(1, 171);
    const bool addressee = window->quotationList()->showsAddressee();
    fs::remove(folders.dataRoot / "conf" / (addressee ? "filesel_Dlg2.conf" : "filesel_Dlg1.conf"));
    window->close();
    const std::string layout = readFileBytes(
        folders.dataRoot / "conf" / (addressee ? "filesel_Dlg2.conf" : "filesel_Dlg1.conf"));
    EXPECT_NE(layout.find("[Grid_Colwidths[1]]=171"), std::string::npos) << layout;
}

} // namespace
} // namespace kerbina

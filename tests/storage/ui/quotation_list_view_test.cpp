#include "base/file_io.h"
#include "scripted_prompt.h"
#include "storage/search_index.h"
#include "storage/ui/quotation_list_view.h"
#include "stored_quotations.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <random>

namespace kerbina {
namespace {

class QuotationListViewTest : public testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("kerbina-list-view-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(root);
        database = std::make_unique<SqliteFileDatabase>(root / "kerbinaXe5.db3", prompt);
        createQuotationTables(*database);
        insertQuotation(*database, {.number = "NF001",
                                    .addressee = "東西設備",
                                    .amount = "1500",
                                    .data = quotationText("NF001", "1;送風機;\r\n")});
        insertQuotation(*database, {.number = "NF002",
                                    .addressee = "南北空調",
                                    .amount = "250000",
                                    .data = quotationText("NF002", "1;冷却塔;\r\n")});
        insertQuotation(*database, {.number = "NF003",
                                    .addressee = "東西設備",
                                    .amount = "90",
                                    .data = quotationText("NF003", "1;排風機;\r\n")});
        index = std::make_unique<SearchIndex>(*database,
                                              SearchIndex::indexFileFor(root / "kerbinaXe5.db3"));
        view = std::make_unique<QuotationListView>(*database, index.get(), prompt, root);
        view->resize(1200, 600);
        view->findChild<QComboBox*>("1ページの件数")->setCurrentIndex(6); // すべて
    }
    void TearDown() override {
        view.reset();
        index.reset();
        database.reset();
        std::filesystem::remove_all(root);
    }

    QTableWidget* grid() { return view->findChild<QTableWidget*>("fileGrid"); }
    QPushButton* button(const QString& text) {
        for (auto* candidate : view->findChildren<QPushButton*>()) {
            if (candidate->text() == text) {
                return candidate;
            }
        }
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    std::vector<std::string> shownNumbers() {
        std::vector<std::string> numbers;
        for (int row = 0; row < grid()->rowCount(); ++row) {
            if (auto* item = grid()->item(row, 1)) {
                numbers.push_back(item->text().toStdString());
            }
        }
        return numbers;
    }

    std::filesystem::path root;
    ScriptedPrompt prompt = ScriptedPrompt::answering(true);
    std::unique_ptr<SqliteFileDatabase> database;
    std::unique_ptr<SearchIndex> index;
    std::unique_ptr<QuotationListView> view;
};

TEST_F(QuotationListViewTest, SearchSortAndCount) {
    EXPECT_EQ(shownNumbers(), (std::vector<std::string>{"NF003", "NF002", "NF001"}));
    EXPECT_EQ(view->findChild<QLabel*>("countText")->text(), "3件 1/1");
    EXPECT_EQ(view->findChild<QLabel*>("pageTotal")->text(), "¥251,590");
    EXPECT_EQ(grid()->item(1, 5)->text(), "250,000");

    view->findChild<QLineEdit*>("検索文字列")->setText("風機");
    button("検索実行")->click();
    EXPECT_EQ(shownNumbers(), (std::vector<std::string>{"NF003", "NF001"}));

    grid()->horizontalHeader()->sectionClicked(5); // 金額: descending first
    EXPECT_EQ(shownNumbers(), (std::vector<std::string>{"NF001", "NF003"}));
    EXPECT_EQ(grid()->horizontalHeaderItem(5)->text(), "金    額↓");
    grid()->horizontalHeader()->sectionClicked(5);
    EXPECT_EQ(shownNumbers(), (std::vector<std::string>{"NF003", "NF001"}));

    // The status choice narrows the search: both rows are drafts.
    for (auto* choice : view->findChildren<QRadioButton*>()) {
        if (choice->text() == "成約") {
            choice->click();
        }
    }
    EXPECT_EQ(shownNumbers(), (std::vector<std::string>{}));

    view->findChild<QLineEdit*>("検索文字列")->setText("該当なし");
    button("検索実行")->click();
    EXPECT_EQ(grid()->rowCount(), 1); // one empty row
    EXPECT_EQ(view->findChild<QLabel*>("countText")->text(), "0件 0/0");
    EXPECT_FALSE(button("Page+1")->isEnabled());
}

TEST_F(QuotationListViewTest, SpaceMarksRowsAndDeleteRemovesThem) {
    button("削  除")->click();
    EXPECT_EQ(prompt.notices, (std::vector<std::string>{"削除するデータが選択されていません。"}));

    grid()->selectRow(0);
    QTest::keyClick(grid(), Qt::Key_Space);
    grid()->selectRow(2);
    QTest::keyClick(grid(), Qt::Key_Space);
    EXPECT_EQ(view->marks().numbers(), (std::vector<std::string>{"NF001", "NF003"}));
    grid()->horizontalHeader()->sectionClicked(1); // the other order: marks stay with the rows
    EXPECT_EQ(grid()->item(0, 1)->background().color(), QColor(94, 99, 162));

    button("削  除")->click();
    EXPECT_EQ(prompt.questions, (std::vector<std::string>{"2件、削除していいですか？"}));
    EXPECT_EQ(shownNumbers(), (std::vector<std::string>{"NF002"}));
    EXPECT_TRUE(view->marks().empty());
}

TEST_F(QuotationListViewTest, VisibleRowsChoicePagesByTheRowsShown) {
    database->execute("WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < "
                      "209) INSERT INTO kerbina(krbnumber,status,data) SELECT 'M' || i, '0', '' "
                      "FROM n");
    auto* choice = view->findChild<QComboBox*>("1ページの件数");
    choice->setCurrentIndex(0);
    view->resize(1200, 500);
    view->show();
    const int visible = choice->itemText(0).toInt();
    EXPECT_GT(visible, 3);
    EXPECT_LT(visible, 100);
    EXPECT_EQ(grid()->rowCount(), visible);
    EXPECT_TRUE(button("Page+1")->isEnabled());
    button("LastPage")->click();
    EXPECT_EQ(view->page().page, view->page().pages);
    EXPECT_FALSE(button("LastPage")->isEnabled());
}

TEST_F(QuotationListViewTest, ExportsTheListAsShown) {
    view->findChild<QLineEdit*>("検索文字列")->setText("風機");
    button("検索実行")->click();
    ASSERT_TRUE(view->exportCsv(root / "list.csv"));
    EXPECT_EQ(prompt.notices, (std::vector<std::string>{"出力しました。"}));
    EXPECT_EQ(readTextLines(root / "list.csv"),
              (std::vector<std::string>{"NF003,下書き,,,90,,2024-04-01 00:00:00,",
                                        "NF001,下書き,,,1500,,2024-04-01 00:00:00,"}));
    QSignalSpy written(view.get(), &QuotationListView::workbookWritten);
    ASSERT_TRUE(view->exportWorkbook(root / "list.xlsx"));
    ASSERT_EQ(written.count(), 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(root / "list.xlsx"));
    EXPECT_FALSE(view->exportCsv(root / "missing" / "list.csv"));
}

TEST_F(QuotationListViewTest, CopyTheMarkedRows) {
    QSignalSpy copies(view.get(), &QuotationListView::copyRequested);
    button("複　製")->click();
    EXPECT_EQ(prompt.notices, (std::vector<std::string>{"複製するデータが選択されていません。"}));
    grid()->selectRow(1); // NF002
    QTest::keyClick(grid(), Qt::Key_Space);
    button("複　製")->click();
    ASSERT_EQ(copies.count(), 1);
    EXPECT_EQ(copies.at(0).at(0).toStringList(), QStringList{"NF002"});

    const CopyOutcome outcome =
        view->copyMarked({.numbering = CopyNumbering::Suffix, .addedText = "-2"},
                         {std::chrono::year{2026} / 12 / 10, "2026-12-10 09:00:00"},
                         [](const std::string&) { return std::nullopt; });
    EXPECT_EQ(outcome.copied.size(), 1u);
    EXPECT_TRUE(view->marks().empty());
    EXPECT_EQ(shownNumbers(), (std::vector<std::string>{"NF003", "NF002-2", "NF002", "NF001"}));
}

TEST_F(QuotationListViewTest, DoubleClickAsksToOpenTheNumber) {
    QSignalSpy opened(view.get(), &QuotationListView::openRequested);
    grid()->cellDoubleClicked(1, 3);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), "NF002");
}

TEST_F(QuotationListViewTest, AddresseeLayoutAndItsFile) {
    view->setShowAddressee(true);
    EXPECT_EQ(grid()->columnCount(), 9);
    EXPECT_EQ(grid()->horizontalHeaderItem(3)->text(), "宛  先  名  称");
    EXPECT_EQ(grid()->item(0, 3)->text(), "東西設備");
    EXPECT_TRUE(std::filesystem::exists(root / "conf" / "filesel_Dlg1.conf"));
    EXPECT_TRUE(std::filesystem::exists(root / "conf" / "filesel_Dlg2.conf"));
}

// Narrower than the columns a new layout file gives (about 1270 pixels), as beside the side panel
// of a 1280-wide window: the name columns give way so that the amount and the date are seen whole
// in both layouts.
TEST_F(QuotationListViewTest, AmountAndDateAreSeenWithoutScrollingSideways) {
    view->resize(1100, 600);
    view->show();
    for (const bool addressee : {false, true, false}) {
        view->setShowAddressee(addressee);
        QCoreApplication::processEvents();
        const int amount = addressee ? 6 : 5;
        const int date = addressee ? 8 : 7;
        for (const int column : {amount, date}) {
            EXPECT_LE(grid()->columnViewportPosition(column) + grid()->columnWidth(column),
                      grid()->viewport()->width())
                << grid()->horizontalHeaderItem(column)->text().toStdString();
        }
        EXPECT_GE(grid()->columnWidth(3), 80);
    }
}

} // namespace
} // namespace kerbina

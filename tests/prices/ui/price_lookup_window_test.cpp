#include "grid/ui/data_entry_dialog.h"
#include "main_window_fixture.h"
#include "prices/ui/price_editor_dialog.h"
#include "prices/ui/price_lookup_page.h"
#include "records/line_kinds.h"
#include "storage/database.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

namespace kerbina {
namespace {

class PriceLookupWindowTest : public MainWindowTest {
protected:
    // The code tab in front, filled from the catalogue as it stands.
    PriceLookupPage& codeTab(MainWindow& window) {
        auto* page = window.findChild<PriceLookupPage*>(QStringLiteral("codePricePage"));
        EXPECT_NE(page, nullptr);
        window.findChild<QTabWidget*>(QStringLiteral("sidePanel"))->setCurrentWidget(page);
        page->fill();
        return *page;
    }

    static void addPrice(MainWindow& window, const char* category, const char* name,
                         const char* specification, const char* price, int group = 1) {
        window.quotationDatabase().execute(
            "INSERT INTO tanka(GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,CI,FLAG,NET_Price,Price1,"
            "Construction,OPT3) VALUES(?,?,?,?,'ｍ',20,?,?,0.2,'');",
            {group, category, name, specification, price, price});
    }
};

// Runs `work` on the dialog of type Dialog once it is the modal window in front.
template <typename Dialog> void whenInFront(const std::function<void(Dialog&)>& work) {
    auto* poll = new QTimer();
    QObject::connect(poll, &QTimer::timeout, [poll, work] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            work(*dialog);
        }
    });
    poll->start(10);
}

const LineRecord& line(const MainWindow& window, int row) {
    return window.document().sheet[static_cast<std::size_t>(row)];
}

// The code tab: a category chosen, a row double-clicked and the quantity button "3" write their
// prices into the sheet; a search without a hit says so; the cursor lines come back registered.
TEST_F(PriceLookupWindowTest, TheCodeTabPutsPricesIntoTheSheet) {
    const auto window = start();
    addPrice(*window, "配管", "鋼管", "SGP 20A", "1234.5");
    addPrice(*window, "配管", "エルボ", "SGP 20A", "300");
    addPrice(*window, "器具", "便器", "洋式", "50000");
    PriceLookupPage& page = codeTab(*window);
    ASSERT_EQ(page.categoryList()->count(), 2);
    EXPECT_EQ(page.categoryList()->item(0)->text(), QStringLiteral("器具"));

    page.categoryList()->setCurrentRow(1);
    emit page.categoryList()->itemClicked(page.categoryList()->item(1));
    ASSERT_EQ(page.grid()->rowCount(), 2);
    EXPECT_EQ(page.grid()->item(0, 1)->text(), QStringLiteral("鋼管SGP 20A"));

    selectRow(*window, 1);
    page.grid()->setCurrentCell(0, 1);
    emit page.grid()->cellDoubleClicked(0, 1);
    ASSERT_EQ(window->document().lineCount(), 1);
    EXPECT_EQ(line(*window, 1).nameSpec, "鋼管;SGP 20A;");
    EXPECT_EQ(line(*window, 1).submittedPrice, Currency::fromText("1234.5"));
    EXPECT_EQ(line(*window, 1).submittedQuantity, Currency::fromWhole(1));
    EXPECT_EQ(line(*window, 1).kind, LineKind::DecimalPriced);
    EXPECT_EQ(cell(*window, 1, 1), QStringLiteral("鋼管"));

    page.grid()->setCurrentCell(1, 1);
    page.findChild<QPushButton*>(QStringLiteral("quantity3"))->click();
    ASSERT_EQ(window->document().lineCount(), 2);
    EXPECT_EQ(line(*window, 2).nameSpec, "エルボ;SGP 20A;");
    EXPECT_EQ(line(*window, 2).netQuantity, Currency::fromWhole(3));

    page.findChild<QLineEdit*>(QStringLiteral("searchText"))->setText(QStringLiteral("なし"));
    page.findChild<QPushButton*>(QStringLiteral("searchButton"))->click();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{QStringLiteral("見つかりませんでした")});

    page.findChild<QLineEdit*>(QStringLiteral("searchText"))->setText(QStringLiteral("洋式"));
    selectRow(*window, 1);
    page.findChild<QPushButton*>(QStringLiteral("searchButton"))->click();
    ASSERT_EQ(window->document().lineCount(), 3);
    EXPECT_EQ(line(*window, 1).nameSpec, "便器;洋式");
    EXPECT_EQ(line(*window, 2).nameSpec, "鋼管;SGP 20A;");

    window->selectRows(1, 2);
    window->action("registerCodePrice")->trigger();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{QStringLiteral("取り込みました。\r\n")});
    EXPECT_TRUE(
        page.categoryList()->findItems(QStringLiteral("取込データ"), Qt::MatchExactly).size() == 1);
    EXPECT_TRUE(window->grid()->actions().contains(window->action("registerTreePrice")));
}

// A search with several hits opens the code editor on them: its quantity button "3" pressed three
// times writes three lines on consecutive rows, and a double-click hands the price to the
// data-entry dialog.
TEST_F(PriceLookupWindowTest, SeveralHitsOpenTheEditorAndItsPriceGoesToTheDataEntryDialog) {
    const auto window = start();
    addPrice(*window, "配管", "鋼管", "SGP 20A", "1000");
    addPrice(*window, "配管", "鋼管", "SGP 25A", "1200");
    addPrice(*window, "器具", "便器", "洋式", "50000");
    PriceLookupPage& page = codeTab(*window);
    selectRow(*window, 1);

    QString enteredName;
    QString enteredPrice;
    whenInFront<PriceEditorDialog>([&](PriceEditorDialog& editor) {
        auto* list = editor.findChild<QTableWidget*>(QStringLiteral("priceList"));
        ASSERT_EQ(list->rowCount(), 2);
        editor.choosePrice(1);
        for (int press = 0; press < 3; ++press) {
            editor.findChild<QPushButton*>(QStringLiteral("quantity3"))->click();
        }
        EXPECT_EQ(editor.row(), 4);
        screenshot(editor, "price_editor");
        whenInFront<DataEntryDialog>([&](DataEntryDialog& entry) {
            enteredName = entry.field(DataEntryDialog::Name)->text();
            enteredPrice = entry.field(DataEntryDialog::SubmittedPrice)->text();
            entry.reject();
        });
        emit list->cellDoubleClicked(0, 1);
    });
    page.findChild<QLineEdit*>(QStringLiteral("searchText"))->setText(QStringLiteral("鋼管"));
    page.findChild<QPushButton*>(QStringLiteral("searchButton"))->click();

    ASSERT_EQ(window->document().lineCount(), 3);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(line(*window, row).nameSpec, "鋼管;SGP 25A;") << row;
        EXPECT_EQ(line(*window, row).submittedQuantity, Currency::fromWhole(3));
    }
    EXPECT_EQ(enteredName, QStringLiteral("鋼管"));
    EXPECT_EQ(enteredPrice, QStringLiteral("1000"));
    screenshot(*window, "price_lookup_code_tab");
}

// The tree tab: category, name, then a specification double-clicked; on the breakdown list a search
// with several hits is refused.
TEST_F(PriceLookupWindowTest, TheTreeTabChoosesCategoryNameAndSpecification) {
    const auto window = start();
    addPrice(*window, "弁類", "仕切弁", "50A", "9000", 10);
    addPrice(*window, "弁類", "仕切弁", "25A", "5000", 10);
    addPrice(*window, "弁類", "玉形弁", "25A", "4000", 10);
    addPrice(*window, "継手", "エルボ", "25A", "300", 10);
    auto* page = window->findChild<PriceLookupPage*>(QStringLiteral("treePricePage"));
    ASSERT_NE(page, nullptr);
    window->findChild<QTabWidget*>(QStringLiteral("sidePanel"))->setCurrentWidget(page);
    page->fill();
    ASSERT_EQ(page->categoryChoice()->count(), 2);
    ASSERT_EQ(page->nameList()->count(), 2);
    EXPECT_EQ(page->nameList()->currentItem()->text(), QStringLiteral("仕切弁"));
    ASSERT_EQ(page->grid()->rowCount(), 2);
    EXPECT_EQ(page->grid()->item(1, 1)->text(), QStringLiteral("25A"));

    page->categoryChoice()->setCurrentIndex(1);
    emit page->categoryChoice()->activated(1);
    ASSERT_EQ(page->nameList()->count(), 1);
    ASSERT_EQ(page->grid()->rowCount(), 1);

    selectRow(*window, 2);
    page->grid()->setCurrentCell(0, 1);
    emit page->grid()->cellDoubleClicked(0, 1);
    ASSERT_EQ(window->document().lineCount(), 2);
    EXPECT_EQ(line(*window, 2).nameSpec, "エルボ;25A;");
    EXPECT_EQ(line(*window, 2).submittedPrice, Currency::fromWhole(300));

    window->sheetTabs()->setCurrentIndex(0);
    ASSERT_TRUE(window->listMode());
    page->findChild<QLineEdit*>(QStringLiteral("treeSearchSize"))->setText(QStringLiteral("25A"));
    page->findChild<QPushButton*>(QStringLiteral("searchButton"))->click();
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList{QStringLiteral("現在は内訳モードです。")});
}

} // namespace
} // namespace kerbina

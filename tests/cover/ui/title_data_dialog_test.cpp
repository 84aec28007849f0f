#include "cover/ui/title_data_dialog.h"
#include "cover/ui/title_entry_box.h"
#include "storage/schema.h"
#include "temp_folder.h"
#include "widgets/message_box.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTableWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

class TitleDataDialogTest : public testing::Test {
protected:
    TempFolder folder;
    QuietPrompt prompt;
    SqliteFileDatabase quotations{folder.path() / "kerbinaXe5.db3", prompt};
    SqliteFileDatabase addresses{folder.path() / "addressXe5.db3", prompt};
    int editBoxRuns = 0;

    void SetUp() override {
        ASSERT_TRUE(createDatabaseTables(quotations, databaseFileDef(DatabaseFile::Quotation)));
        ASSERT_TRUE(createDatabaseTables(addresses, databaseFileDef(DatabaseFile::Address)));
        TitleBook book(quotations, addresses);
        const std::string now = "2026-12-01 08:00:00";
        ASSERT_TRUE(book.save(kAddresseeKind, {0, "北辰設備", "御中", "A-", 6, 0, "東京", 0}, now));
        ASSERT_TRUE(book.save(kAddresseeKind, {0, "南部工業", "様", "S", 5, 12, "大阪", 0}, now));
        ASSERT_TRUE(book.save(kAddresseeKind, {0, "西川商店", "様", "", 0, 0, "", 0}, now));
        ASSERT_TRUE(book.save("4", {0, "月末締め翌月払い", "", "", 0, 0, "標準", 0}, now));
        ASSERT_TRUE(book.save("4", {0, "現金払い", "", "", 0, 0, "", 0}, now));
        MessageBox::takeShownTexts();
    }

    std::vector<std::string> listed(const TitleDataDialog& dialog) {
        std::vector<std::string> names;
        for (int row = 0; row < dialog.grid()->rowCount(); ++row) {
            names.push_back(dialog.grid()->item(row, 1)->text().toStdString());
        }
        return names;
    }
    std::vector<std::string> groups(const TitleDataDialog& dialog) {
        std::vector<std::string> names;
        for (int row = 0; row < dialog.groupList()->count(); ++row) {
            names.push_back(dialog.groupList()->item(row)->text().toStdString());
        }
        return names;
    }
};

TEST_F(TitleDataDialogTest, ListsGroupsAndEntriesAndChoosesOnlyASelectedEntry) {
    TitleDataDialog dialog(quotations, addresses);
    dialog.prepare(std::string(kAddresseeKind), "宛先名称", "");
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("heading"))->text().toStdString(),
              "宛先名称");
    EXPECT_EQ(dialog.width(), 680);
    EXPECT_EQ(groups(dialog), (std::vector<std::string>{"すべて", "大阪", "東京"}));
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"北辰設備", "南部工業", "西川商店"}));
    ASSERT_EQ(dialog.grid()->columnCount(), 5);
    EXPECT_EQ(dialog.grid()->horizontalHeaderItem(2)->text().toStdString(), "記号");
    EXPECT_EQ(dialog.grid()->item(1, 2)->text().toStdString(), "S");
    EXPECT_EQ(dialog.grid()->item(1, 4)->text().toStdString(), "12");

    // Nothing selected: choosing does nothing and the picker stays open without a result.
    dialog.chooseSelected();
    EXPECT_FALSE(dialog.chosen());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.selectGroup("大阪");
    EXPECT_EQ(listed(dialog), std::vector<std::string>{"南部工業"});
    dialog.selectRow(0);
    dialog.chooseSelected();
    ASSERT_TRUE(dialog.chosen());
    EXPECT_EQ(dialog.chosen()->name, "南部工業");
    EXPECT_EQ(dialog.chosen()->honorific, "様");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // The next showing starts without a result and keeps the group chosen before.
    dialog.prepare(std::string(kAddresseeKind), "宛先名称", "南部工業");
    EXPECT_FALSE(dialog.chosen());
    EXPECT_EQ(dialog.groupList()->currentItem()->text().toStdString(), "大阪");
    EXPECT_EQ(dialog.grid()->selectedRanges().size(), 1);
}

TEST_F(TitleDataDialogTest, MasterListsShowNameColumnsAndUngroupedEntriesUnderAllOnly) {
    TitleDataDialog dialog(quotations, addresses);
    dialog.prepare("4", "取引条件", "");
    EXPECT_EQ(dialog.width(), 823);
    EXPECT_EQ(dialog.grid()->columnCount(), 2);
    EXPECT_EQ(groups(dialog), (std::vector<std::string>{"すべて", "標準"}));
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"月末締め翌月払い", "現金払い"}));
    dialog.selectGroup("標準");
    EXPECT_EQ(listed(dialog), std::vector<std::string>{"月末締め翌月払い"});
    dialog.prepare("7", "見積作成者", "");
    EXPECT_TRUE(listed(dialog).empty());
    EXPECT_EQ(groups(dialog), std::vector<std::string>{"すべて"});
}

TEST_F(TitleDataDialogTest, EditingWithoutASelectedEntryDoesNothing) {
    TitleDataDialog dialog(quotations, addresses);
    dialog.setEditRunner([this](TitleEntryBox&) {
        ++editBoxRuns;
        return true;
    });
    dialog.prepare(std::string(kAddresseeKind), "宛先名称", "");
    dialog.editSelected();
    EXPECT_EQ(editBoxRuns, 0);
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"北辰設備", "南部工業", "西川商店"}));
}

TEST_F(TitleDataDialogTest, TheEditBoxShowsNumberingFieldsOnlyForPerCustomerNumbering) {
    struct Case {
        NumberingOptions numbering;
        bool shown;
        std::string heading;
    };
    const Case cases[] = {
        {{true, true, false}, true, "見積番号の先頭記号を入力して下さい[得意先別管理用]"},
        {{true, false, false}, false, "宛先名称"},
    };
    for (const Case& c : cases) {
        TitleDataDialog dialog(quotations, addresses);
        dialog.setNumbering(c.numbering);
        bool shown = !c.shown;
        std::string heading;
        dialog.setEditRunner([&](TitleEntryBox& box) {
            shown = box.numberingShown();
            heading = box.heading()->text().toStdString();
            EXPECT_EQ(box.nameEdit()->text().toStdString(), "南部工業");
            EXPECT_EQ(box.groupEdit()->currentText().toStdString(), "大阪");
            EXPECT_EQ(box.counterEdit()->value(), 12);
            box.nameEdit()->setText(QStringLiteral("南部工業株式会社"));
            box.prefixEdit()->setText(QStringLiteral("NB-"));
            box.counterEdit()->setValue(0);
            return true;
        });
        dialog.prepare(std::string(kAddresseeKind), "宛先名称", "南部工業");
        dialog.editSelected();
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(heading, c.heading);
        const std::optional<TitleEntry> stored =
            TitleBook(quotations, addresses).entry(kAddresseeKind, 2);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->name, "南部工業株式会社");
        // Hidden numbering fields keep what the addressee had.
        EXPECT_EQ(stored->prefix, c.shown ? "NB-" : "S");
        EXPECT_EQ(stored->counter, c.shown ? 0 : 12);
        EXPECT_EQ(listed(dialog)[1], "南部工業株式会社");
        TitleBook(quotations, addresses)
            .save(kAddresseeKind, {2, "南部工業", "様", "S", 5, 12, "大阪", 0}, "");
    }
}

TEST_F(TitleDataDialogTest, ACounterBeyondTheBoxIsNotLoweredByAnEdit) {
    addresses.execute("UPDATE address SET sex=1234567 WHERE ID=1;");
    TitleDataDialog dialog(quotations, addresses);
    dialog.setNumbering({true, true, false});
    int counterShown = 0;
    dialog.setEditRunner([&](TitleEntryBox& box) {
        counterShown = box.counterEdit()->value();
        box.nameEdit()->setText(QStringLiteral("北辰設備工業"));
        return true;
    });
    dialog.prepare(std::string(kAddresseeKind), "宛先名称", "北辰設備");
    dialog.editSelected();
    EXPECT_EQ(counterShown, kMaxNumberCounter);
    const std::optional<TitleEntry> stored =
        TitleBook(quotations, addresses).entry(kAddresseeKind, 1);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->name, "北辰設備工業");
    EXPECT_EQ(stored->counter, 1234567);
}

TEST_F(TitleDataDialogTest, NewEntriesAreStoredAndACancelledEditStoresNothing) {
    TitleDataDialog dialog(quotations, addresses);
    bool store = false;
    dialog.setEditRunner([&](TitleEntryBox& box) {
        EXPECT_FALSE(box.numberingShown());
        EXPECT_EQ(box.groupEdit()->currentText().toStdString(), "標準");
        box.nameEdit()->setText(QStringLiteral("受注時50%残金月末"));
        return store;
    });
    dialog.prepare("4", "取引条件", "");
    dialog.selectGroup("標準");
    dialog.createEntry();
    EXPECT_EQ(listed(dialog), std::vector<std::string>{"月末締め翌月払い"});

    store = true;
    dialog.createEntry();
    EXPECT_EQ(listed(dialog), (std::vector<std::string>{"月末締め翌月払い", "受注時50%残金月末"}));
    const SqlRows rows = quotations.queryRows(
        "SELECT FLAG,TAG,length(created),created=modefied FROM masteritems WHERE data1=?;",
        {"受注時50%残金月末"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns, (std::vector<std::string>{"4", "標準", "19", "1"}));
    if (const char* folder = std::getenv("KERBINA_SCREENSHOT_DIR")) {
        dialog.prepare(std::string(kAddresseeKind), "宛先名称", "北辰設備");
        dialog.grab().save(QString::fromUtf8(folder) + "/title_data_dialog.png");
        TitleEntryBox box;
        box.load({2, "南部工業", "様", "S", 5, 12, "大阪", 0},
                 "見積番号の先頭記号を入力して下さい[得意先別管理用]", true, {"大阪", "東京"});
        box.grab().save(QString::fromUtf8(folder) + "/title_entry_box.png");
    }
}

TEST_F(TitleDataDialogTest, AnUnreadableBookIsReportedAndLeavesNothingToChoose) {
    addresses.execute("DROP TABLE address;");
    TitleDataDialog dialog(quotations, addresses);
    dialog.prepare(std::string(kAddresseeKind), "宛先名称", "北辰設備");
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(dialog.entries().empty());
    EXPECT_EQ(dialog.grid()->rowCount(), 0);
    dialog.chooseSelected();
    EXPECT_FALSE(dialog.chosen());
}

TEST_F(TitleDataDialogTest, ADoubleClickChoosesTheRowClicked) {
    TitleDataDialog dialog(quotations, addresses);
    dialog.prepare("4", "取引条件", "");
    dialog.selectRow(1);
    emit dialog.grid()->cellDoubleClicked(1, 1);
    ASSERT_TRUE(dialog.chosen());
    EXPECT_EQ(pickedText(*dialog.chosen()), "現金払い");
}

} // namespace
} // namespace kerbina

#include "cover/title_book.h"
#include "scripted_prompt.h"
#include "storage/schema.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

class TitleBookTest : public testing::Test {
protected:
    TempFolder folder;
    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    SqliteFileDatabase quotations{folder.path() / "kerbinaXe5.db3", prompt};
    SqliteFileDatabase addresses{folder.path() / "addressXe5.db3", prompt};
    TitleBook book{quotations, addresses};

    void SetUp() override {
        ASSERT_TRUE(createDatabaseTables(quotations, databaseFileDef(DatabaseFile::Quotation)));
        ASSERT_TRUE(createDatabaseTables(addresses, databaseFileDef(DatabaseFile::Address)));
    }

    std::vector<std::string> names(std::string_view kind, std::string_view group) {
        std::vector<std::string> out;
        for (const TitleEntry& entry : book.entries(kind, group)) {
            out.push_back(entry.name);
        }
        return out;
    }
};

TEST_F(TitleBookTest, AddresseesAreInsertedListedByGroupAndUpdated) {
    const std::string now = "2026-12-10 09:30:00";
    ASSERT_TRUE(book.save(kAddresseeKind, {0, "北辰設備", "御中", "A-", 6, 0, "東京", 0}, now));
    ASSERT_TRUE(book.save(kAddresseeKind, {0, "O'Brien商会", "様", "", 0, 0, "", 0}, now));
    ASSERT_TRUE(book.save(kAddresseeKind, {0, "南部工業", "御中", "S", 5, 12, "大阪", 0}, now));

    EXPECT_EQ(book.groups(kAddresseeKind), (std::vector<std::string>{"すべて", "大阪", "東京"}));
    EXPECT_EQ(names(kAddresseeKind, kAllGroups),
              (std::vector<std::string>{"北辰設備", "O'Brien商会", "南部工業"}));
    EXPECT_EQ(names(kAddresseeKind, "東京"), std::vector<std::string>{"北辰設備"});

    const std::vector<TitleEntry> all = book.entries(kAddresseeKind, kAllGroups);
    EXPECT_EQ(all[0], (TitleEntry{all[0].id, "北辰設備", "御中", "A-", 6, 0, "東京", 0}));
    EXPECT_EQ(addresses.queryRows("SELECT KIND,sex,class FROM address WHERE ID=?;", {all[0].id})[0]
                  .columns,
              (std::vector<std::string>{"2", "0", "6"}));

    // The company id is not the dialog's to change.
    addresses.execute("UPDATE address SET companyid=7 WHERE ID=?;", {all[2].id});
    ASSERT_TRUE(book.save(kAddresseeKind,
                          {all[2].id, "南部工業株式会社", "様", "SB", 7, 40, "東京", 0}, now));
    EXPECT_EQ(book.entry(kAddresseeKind, all[2].id),
              (TitleEntry{all[2].id, "南部工業株式会社", "様", "SB", 7, 40, "東京", 7}));
    EXPECT_EQ(book.groups(kAddresseeKind), (std::vector<std::string>{"すべて", "東京"}));
    EXPECT_EQ(book.entry(kAddresseeKind, 999), std::nullopt);

    ASSERT_TRUE(book.remove(kAddresseeKind, all[1].id));
    EXPECT_EQ(names(kAddresseeKind, kAllGroups),
              (std::vector<std::string>{"北辰設備", "南部工業株式会社"}));
    EXPECT_TRUE(prompt.reports.empty());
}

TEST_F(TitleBookTest, MasterListsAreKeptApartByKindAndGroup) {
    ASSERT_TRUE(book.save("3", {0, "受注後30日", "", "", 0, 0, "標準", 0}, "2026-12-01 08:00:00"));
    ASSERT_TRUE(book.save("3", {0, "別途協議", "", "", 0, 0, "", 0}, "2026-12-01 08:00:00"));
    ASSERT_TRUE(
        book.save("4", {0, "月末締め翌月払い", "", "", 0, 0, "標準", 0}, "2026-12-01 08:00:00"));

    EXPECT_EQ(book.groups("3"), (std::vector<std::string>{"すべて", "標準"}));
    EXPECT_EQ(names("3", kAllGroups), (std::vector<std::string>{"受注後30日", "別途協議"}));
    // An entry without a group is listed under "すべて" only.
    EXPECT_EQ(names("3", "標準"), std::vector<std::string>{"受注後30日"});
    EXPECT_EQ(names("4", kAllGroups), std::vector<std::string>{"月末締め翌月払い"});
    EXPECT_TRUE(names("7", kAllGroups).empty());

    const TitleEntry first = book.entries("3", kAllGroups)[0];
    const TitleEntry trade = book.entries("4", kAllGroups)[0];
    // An id of another kind's list is no entry of this one, and is never changed through it.
    EXPECT_EQ(book.entry("3", trade.id), std::nullopt);
    ASSERT_TRUE(book.save("3", {trade.id, "書き換え", "", "", 0, 0, "", 0}, "2026-12-09 10:00:00"));
    EXPECT_EQ(book.entry("4", trade.id)->name, "月末締め翌月払い");

    ASSERT_TRUE(
        book.save("3", {first.id, "受注後60日", "", "", 0, 0, "長期", 0}, "2026-12-10 17:45:12"));
    EXPECT_EQ(quotations
                  .queryRows("SELECT FLAG,data1,data2,TAG,TANKALEVEL,created,modefied FROM "
                             "masteritems WHERE ID=?;",
                             {first.id})[0]
                  .columns,
              (std::vector<std::string>{"3", "受注後60日", "", "長期", "0", "2026-12-01 08:00:00",
                                        "2026-12-10 17:45:12"}));
    EXPECT_EQ(book.groups("3"), (std::vector<std::string>{"すべて", "長期"}));
}

TEST_F(TitleBookTest, AFailedWriteIsReportedAndGivesFalse) {
    quotations.execute("DROP TABLE masteritems;");
    EXPECT_FALSE(book.save("1", {0, "本町ビル", "", "", 0, 0, "", 0}, "2026-12-10 09:00:00"));
    ASSERT_EQ(prompt.reports.size(), 1u);
    EXPECT_EQ(prompt.reports[0].first, "ERROR");
    EXPECT_THROW(book.groups("1"), DatabaseError);
}

TEST(TitleBookRules, NumberingFieldsShowOnlyForAddresseesWithPerCustomerNumbering) {
    struct Case {
        std::string_view kind;
        bool automatic, perCustomer, shown;
    };
    const Case cases[] = {{kAddresseeKind, true, true, true},
                          {kAddresseeKind, true, false, false},
                          {kAddresseeKind, false, true, false},
                          {"1", true, true, false}};
    for (const Case& c : cases) {
        const NumberingOptions numbering{c.automatic, c.perCustomer, false};
        EXPECT_EQ(showsNumberingFields(c.kind, numbering), c.shown) << c.kind << c.automatic;
        EXPECT_EQ(editBoxHeading(c.kind, numbering, "宛先名称"),
                  c.shown ? "見積番号の先頭記号を入力して下さい[得意先別管理用]" : "宛先名称");
    }
    EXPECT_EQ(pickedText(
                  {1, std::string(60, 'x') + std::string(30, 'y') + "設設設", "", "", 0, 0, "", 0}),
              std::string(60, 'x') + std::string(30, 'y') + "設設設");
    EXPECT_EQ(pickedText({1, std::string(99, 'x') + "設", "", "", 0, 0, "", 0}),
              std::string(99, 'x'));
}

} // namespace
} // namespace kerbina

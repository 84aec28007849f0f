#include "storage/registered_texts.h"
#include "storage/schema.h"
#include "storage_fixture.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

class RegisteredTextsTest : public StorageTest {};

TEST_F(RegisteredTextsTest, TextsOfAGroupAreAddedRenamedAndDeleted) {
    SqliteFileDatabase database(folder() / "kerbinaXe5.db3", reporter);
    ASSERT_TRUE(createDatabaseTables(database, databaseFileDef(DatabaseFile::Quotation)));
    ASSERT_TRUE(addRegisteredText(database, kCommentTextGroup, "既設配管撤去は別途", "2026/12/10"));
    ASSERT_TRUE(addRegisteredText(database, kItemNameTextGroup, "給水設備工事", "2026/12/10"));
    ASSERT_TRUE(addRegisteredText(database, kCommentTextGroup, "夜間作業を含む", "2026/12/10"));

    std::vector<RegisteredText> comments = registeredTexts(database, kCommentTextGroup);
    ASSERT_EQ(comments.size(), 2u);
    EXPECT_EQ(comments[0].name, "既設配管撤去は別途");
    EXPECT_EQ(comments[1].name, "夜間作業を含む");

    ASSERT_TRUE(renameRegisteredText(database, comments[1].id, "夜間作業を除く", "2026/12/11"));
    ASSERT_TRUE(deleteRegisteredText(database, comments[0].id));
    comments = registeredTexts(database, kCommentTextGroup);
    ASSERT_EQ(comments.size(), 1u);
    EXPECT_EQ(comments[0].name, "夜間作業を除く");
    EXPECT_EQ(
        database.queryRows("SELECT modefied FROM tanka WHERE ID=?;", {comments[0].id})[0].field(1),
        "2026/12/11");
    EXPECT_EQ(registeredTexts(database, kItemNameTextGroup).size(), 1u);
    EXPECT_TRUE(reporter.reports.empty());
}

} // namespace
} // namespace kerbina

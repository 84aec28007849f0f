#include "base/file_io.h"
#include "base/text_codec.h"
#include "cover/cover_history.h"
#include "temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

std::vector<std::string> numbered(int from, int to) { // newest (highest) first
    std::vector<std::string> list;
    for (int n = to; n >= from; --n) {
        list.push_back("条件" + std::to_string(n));
    }
    return list;
}

class CoverHistory : public testing::Test {
protected:
    TempFolder work;

    // Types each text into 取引条件 and runs the update that precedes a sheet save.
    void typeTrades(CoverHistories& histories, const std::vector<std::string>& texts) {
        for (const std::string& text : texts) {
            CoverValues cover;
            cover[CoverText::Trade] = text;
            updateCoverHistories(work.path(), histories, cover);
        }
    }
};

TEST_F(CoverHistory, TheThirtyFirstEntryPushesOutTheOldestAndARepeatMovesToTheTop) {
    CoverHistories histories = loadCoverHistories(work.path());
    std::vector<std::string> typed;
    for (int n = 1; n <= 31; ++n) {
        typed.push_back("条件" + std::to_string(n));
    }
    typeTrades(histories, typed);
    EXPECT_EQ(histories[CoverText::Trade], numbered(2, 31));
    EXPECT_EQ(loadCoverHistories(work.path())[CoverText::Trade], numbered(2, 31));

    typeTrades(histories, {"条件10"});
    std::vector<std::string> expected = numbered(2, 31);
    std::erase(expected, "条件10");
    expected.insert(expected.begin(), "条件10");
    EXPECT_EQ(histories[CoverText::Trade], expected);
    EXPECT_EQ(readFileBytes(work.path() / "TRADEEDIT.lst").substr(0, 16),
              toCp932("条件10\r\n条件31\r\n"));
    EXPECT_EQ(loadCoverHistories(work.path())[CoverText::Trade], expected);
}

TEST_F(CoverHistory, EachControlKeepsItsOwnFileAndEmptyTextsAreNotRemembered) {
    CoverValues cover;
    cover[CoverText::Addressee1] = "株式会社北辰設備";
    cover[CoverText::Site2] = "新築工事";
    cover[CoverText::WorkName] = "給排水衛生設備工事";
    cover[CoverText::Tag] = "至急";
    cover[CoverText::Number] = "NF00042";
    cover[CoverText::Honorific] = "御中";
    CoverHistories histories = loadCoverHistories(work.path());
    updateCoverHistories(work.path(), histories, cover);

    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(work.path())) {
        files.push_back(entry.path().filename().string());
    }
    std::ranges::sort(files);
    EXPECT_EQ(files, (std::vector<std::string>{"CONSTEDIT_2.lst", "WHERE.lst", "atesaki_1.lst",
                                               "tag1.lst"}));
    const CoverHistories loaded = loadCoverHistories(work.path());
    EXPECT_EQ(loaded[CoverText::Addressee1], std::vector<std::string>{"株式会社北辰設備"});
    EXPECT_EQ(loaded[CoverText::WorkName], std::vector<std::string>{"給排水衛生設備工事"});
    EXPECT_TRUE(loaded[CoverText::Number].empty());
    EXPECT_TRUE(loaded[CoverText::Honorific].empty());
    EXPECT_TRUE(loaded[CoverText::Trade].empty());
}

TEST_F(CoverHistory, MissingUnreadableAndOverlongListsLoadAsWhatCanBeUsed) {
    std::filesystem::create_directories(work.path() / "WHERE.lst"); // a folder, not a file
    std::string longList;
    for (int n = 1; n <= 40; ++n) {
        longList += toCp932("条件" + std::to_string(n)) + "\r\n\r\n";
    }
    writeFileAtomically(work.path() / "TRADEEDIT.lst", longList);
    const CoverHistories loaded = loadCoverHistories(work.path());
    EXPECT_TRUE(loaded[CoverText::WorkName].empty());
    EXPECT_TRUE(loaded[CoverText::Addressee1].empty());
    ASSERT_EQ(loaded[CoverText::Trade].size(), kCoverHistoryLength);
    EXPECT_EQ(loaded[CoverText::Trade].front(), "条件1");
    EXPECT_EQ(loaded[CoverText::Trade].back(), "条件30");
}

TEST_F(CoverHistory, AListThatCannotBeWrittenIsAnError) {
    std::filesystem::create_directories(work.path() / "WHERE.lst");
    CoverHistories histories = loadCoverHistories(work.path());
    CoverValues cover;
    cover[CoverText::WorkName] = "給排水衛生設備工事";
    EXPECT_THROW(updateCoverHistories(work.path(), histories, cover), FileError);
}

} // namespace
} // namespace kerbina

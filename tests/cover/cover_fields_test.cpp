#include "base/file_io.h"
#include "base/text_codec.h"
#include "cover/cover_fields.h"
#include "cover_fixture.h"
#include "money_literal.h"
#include "records/record_io.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

using namespace std::chrono;

std::string repeated(std::string_view text, int times) {
    std::string out;
    for (int n = 0; n < times; ++n) {
        out += text;
    }
    return out;
}

TEST(CoverFields, ReadAndWriteRoundTripTheCoverAndLeaveTheRestOfTheHeader) {
    const QuotationHeader source = filledCoverHeader();
    const CoverValues cover = coverOfHeader(source);
    EXPECT_EQ(cover[CoverText::Addressee1], "株式会社北辰設備");
    EXPECT_EQ(cover[CoverText::Number], "NF00042");
    EXPECT_EQ(cover.status, 2);
    EXPECT_EQ(cover.customerId, "17");

    QuotationHeader target;
    target.submittedGrandTotal = c("123456");
    target.opt2Str = ",,,";
    target.keta = 1000;
    target.dataLevel = 5;
    writeCover(cover, target);
    QuotationHeader expected = source;
    expected.submittedGrandTotal = c("123456");
    expected.opt2Str = ",,,";
    expected.keta = 1000;
    expected.dataLevel = 0;
    EXPECT_EQ(target, expected);
    // What the cover wrote survives the header record on disk unchanged.
    EXPECT_EQ(decodeHeader(encodeHeader(target)), target);
    EXPECT_EQ(coverOfHeader(target), cover);
}

TEST(CoverFields, EveryTextIsCutToItsFieldWidthAtAWholeCharacter) {
    struct Case {
        CoverText text;
        std::size_t characters; // Japanese characters kept of 60
    };
    const Case cases[] = {
        {CoverText::Addressee1, 25}, {CoverText::Addressee2, 25}, {CoverText::Honorific, 6},
        {CoverText::Site1, 25},      {CoverText::Site2, 25},      {CoverText::WorkName, 25},
        {CoverText::Delivery, 20},   {CoverText::Trade, 20},      {CoverText::Validity, 20},
        {CoverText::Requester, 10},  {CoverText::Author, 10},     {CoverText::Number, 6},
        {CoverText::Tag, 40},
    };
    for (const Case& c : cases) {
        CoverValues cover;
        cover[c.text] = repeated("設", 60);
        QuotationHeader header;
        writeCover(cover, header);
        EXPECT_EQ(header.*coverTextField(c.text).member,
                  repeated("設", static_cast<int>(c.characters)))
            << coverTextField(c.text).key;
    }
    // One ASCII byte first: the 25th Japanese character would need bytes 50 and 51, so it goes.
    CoverValues cover;
    cover[CoverText::Addressee1] = "A" + repeated("設", 30);
    QuotationHeader header;
    writeCover(cover, header);
    EXPECT_EQ(header.addressee1, "A" + repeated("設", 24));
    EXPECT_EQ(cp932Length(header.addressee1), 49);
}

TEST(CoverFields, StatusNoneIsWrittenAsDraftAndUnknownCodesReadAsNone) {
    const std::pair<int, std::optional<int>> reads[] = {
        {-1, std::nullopt}, {0, 0}, {6, 6}, {7, std::nullopt}};
    for (const auto& [stored, shown] : reads) {
        QuotationHeader header;
        header.status = stored;
        EXPECT_EQ(coverOfHeader(header).status, shown) << stored;
    }
    CoverValues cover;
    QuotationHeader header;
    writeCover(cover, header);
    EXPECT_EQ(header.status, 0);
}

TEST(CoverFields, ANewCoverHasTodaysDateInTheEraYearAndNothingElse) {
    const CoverValues cover = newCover(year{2026} / December / 10);
    EXPECT_EQ(cover.storedYear, 38);
    EXPECT_EQ(cover.month, 12);
    EXPECT_EQ(cover.day, 10);
    CoverValues expected;
    expected.storedYear = 38;
    expected.month = 12;
    expected.day = 10;
    EXPECT_EQ(cover, expected);
}

TEST(CoverFields, NumberButtonAndTypedNumbers) {
    EXPECT_EQ(numberButtonStep(true, ""), NumberButtonStep::IssueNumber);
    EXPECT_EQ(numberButtonStep(true, "NF001"), NumberButtonStep::Nothing);
    EXPECT_EQ(numberButtonStep(false, ""), NumberButtonStep::AskForNumber);
    EXPECT_EQ(numberButtonStep(false, "NF001"), NumberButtonStep::AskForNumber);
    EXPECT_EQ(numberButtonCaption(true), "自動見積番号");
    EXPECT_EQ(numberButtonCaption(false), "見積番号");

    const std::pair<std::string, std::string> typed[] = {
        {" NF001 ", "NF001"},
        {"ABCDEFGHIJKLMN", "ABCDEFGHIJKL"},
        {"見積第百二十三号", "見積第百二十"},
        {"A見積第百二十三号", "A見積第百二"}, // 11 bytes: half a character is never kept
        {"", ""},
    };
    for (const auto& [text, number] : typed) {
        EXPECT_EQ(typedQuotationNumber(text), number) << text;
    }
}

TEST(CoverFields, ANumberIsOfferedAfterACustomerPickOnlyWhenAllowedAndMissing) {
    struct Case {
        bool automatic, offer;
        std::string number;
        bool offered;
    };
    const Case cases[] = {{true, true, "", true},
                          {true, true, "NF1", false},
                          {true, false, "", false},
                          {false, true, "", false}};
    for (const Case& c : cases) {
        const NumberingOptions numbering{c.automatic, false, c.offer};
        EXPECT_EQ(offersNumberAfterCustomerPick(numbering, c.number), c.offered)
            << c.automatic << c.offer << c.number;
    }
}

TEST(CoverFields, PickButtonsOpenTheirListsUnderTheirHeadings) {
    CoverCaptions captions;
    captions.siteNameHint = "現場";
    captions.workNameHint = "工事件名";
    std::vector<std::string> seen;
    for (const CoverPick& pick : coverPicks()) {
        seen.push_back(std::string(coverTextField(pick.text).control) + ":" +
                       std::string(pick.kind) + ":" + pickHeading(pick, captions));
    }
    const std::vector<std::string> expected = {
        "atesaki_1:宛先:宛先名称",  "atesaki_2:宛先:宛先名称",   "CONSTEDIT_1:1:現場",
        "CONSTEDIT_2:1:現場",       "where:2:工事件名",          "ULIMITEDIT:3:納入期日",
        "TRADEEDIT:4:取引条件",     "MLIMITEDIT:5:見積有効期限", "OUTTANTOEDIT:6:御依頼者",
        "INTANTOEDIT:7:見積作成者",
    };
    EXPECT_EQ(seen, expected);
}

class CoverTemplate : public testing::Test {
protected:
    TempFolder root;
    std::filesystem::path file = coverTemplateFile(root.path());

    void SetUp() override { std::filesystem::create_directories(root.path() / "conf"); }
};

TEST_F(CoverTemplate, IsWrittenAsTenKeyLinesAndReadBackIntoTheSameTexts) {
    CoverValues cover = coverOfHeader(filledCoverHeader());
    cover[CoverText::Trade] = "月末締め\r\n翌月払い"; // a line break would end the line
    writeCoverTemplate(file, cover);
    EXPECT_EQ(file.filename(), "titlest0.dat");
    // Regenerate by hand only when the template's lines change: CP932, CR LF.
    EXPECT_EQ(readFileBytes(file), toCp932("[ATESAKI_1]=株式会社北辰設備\r\n"
                                           "[ATESAKI_2]=東京支店\r\n"
                                           "[CONSTRACT_1]=本町三丁目ビル\r\n"
                                           "[CONSTRACT_2]=新築工事\r\n"
                                           "[WHERE]=給排水衛生設備工事\r\n"
                                           "[MLIMIT]=３ヶ月\r\n"
                                           "[ULIMIT]=別途協議\r\n"
                                           "[TRADE]=月末締め翌月払い\r\n"
                                           "[INTANTO]=山田\r\n"
                                           "[OUTTANTO]=佐藤様\r\n"
                                           "[TANKALEVEL]=0\r\n"));

    CoverValues read = newCover(std::chrono::year{2026} / 1 / 5);
    read[CoverText::Number] = "KEEP";
    ASSERT_TRUE(readCoverTemplate(file, read));
    for (const CoverText text : kTemplateTexts) {
        EXPECT_EQ(read[text], text == CoverText::Trade ? "月末締め翌月払い" : cover[text])
            << coverTextField(text).key;
    }
    EXPECT_EQ(read[CoverText::Number], "KEEP");
    EXPECT_EQ(read[CoverText::Honorific], "");
    EXPECT_EQ(read.month, 1);
}

TEST_F(CoverTemplate, ReadingSetsOnlyTheTemplateKeysTheFileNames) {
    writeFileAtomically(file, toCp932("[WHERE]=空調設備工事\r\n"
                                      "[TRADE]=a=b\n"
                                      "[NUMBER]=999\r\n"
                                      "[UNKNOWN]=x\r\n"
                                      "no equals sign\r\n"
                                      "[ATESAKI_1]\r\n"));
    CoverValues cover = coverOfHeader(filledCoverHeader());
    const CoverValues before = cover;
    ASSERT_TRUE(readCoverTemplate(file, cover));
    CoverValues expected = before;
    expected[CoverText::WorkName] = "空調設備工事";
    expected[CoverText::Trade] = "a=b";
    EXPECT_EQ(cover, expected);
}

TEST_F(CoverTemplate, AMissingTemplateChangesNothingAndAnUnreadableOneIsAnError) {
    CoverValues cover = coverOfHeader(filledCoverHeader());
    const CoverValues before = cover;
    EXPECT_FALSE(readCoverTemplate(file, cover));
    EXPECT_EQ(cover, before);

    std::filesystem::create_directories(file);
    EXPECT_THROW(readCoverTemplate(file, cover), FileError);
    EXPECT_THROW(writeCoverTemplate(file, cover), FileError);
    EXPECT_EQ(cover, before);
}

} // namespace
} // namespace kerbina

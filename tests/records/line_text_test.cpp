#include "records/line_text.h"

#include <gtest/gtest.h>
#include <string>

namespace kerbina {
namespace {

Currency n(std::string_view text) {
    return parseNumber(text);
}

LineRecord sampleLine() {
    LineRecord line;
    line.nameSpec = "配管;SGP 25A";
    line.laborFactor = n("0.125");
    line.sortCode = n("14999");
    line.unit = "ｍ";
    line.kind = 10;
    line.netQuantity = n("12");
    line.submittedQuantity = n("12.5");
    line.netPrice = n("1500");
    line.submittedPrice = n("2000.25");
    line.reserved176 = n("-3");
    line.netAdditionalPrice = n("4");
    line.submittedAdditionalPrice = n("100");
    line.netAmount = n("18000");
    line.submittedAmount = n("-25003.125");
    line.flag216 = 7;
    line.hiddenFlag = 93;
    line.priceKind = n("1");
    line.amountText = "御支給品";
    line.note = "備考";
    line.priceCode = "P-001";
    return line;
}

TEST(LineText, WritesAndReadsTheTwentyTwoFields) {
    const std::string text = "3;配管;SGP 25A;0.125;14999;ｍ;10;12;12.5;1500;2000.25;-3;4;100;18000;"
                             "-25003.125;7;93;1;御支給品;備考;P-001";
    EXPECT_EQ(lineToText(3, sampleLine(), n("100")), text);
    const ParsedLine parsed = lineFromText(text);
    EXPECT_EQ(parsed.sheetNumber, 3);
    EXPECT_EQ(parsed.line, sampleLine());
}

TEST(LineText, QuantitiesOfDecimalKindsUseTheSheetDecimals) {
    const struct {
        int kind;
        const char* decimals;
        const char* quantity;
        const char* text;
    } cases[] = {
        {20, "10", "2.5", "2.5"},
        {20, "100", "2.5", "2.50"},
        {22, "1000", "2.5", "2.500"},
        {25, "100", "12", "12.00"},
        {120, "10", "7", "7.0"},
        {128, "1000", "0", "0.000"},
        {140, "100", "-1.5", "-1.50"},
        {150, "0.5", "2.25", "2.3"}, // any other setting: one
                                     // decimal
        {10, "100", "2.5", "2.5"},
        {23, "100", "2.5", "2.5"},
        {40, "100", "3", "3"},
    };
    for (const auto& row : cases) {
        LineRecord line;
        line.kind = row.kind;
        line.netQuantity = n(row.quantity);
        line.submittedQuantity = n(row.quantity);
        const std::string expected = std::string(row.text) + ";" + row.text + ";";
        const std::string text = lineToText(1, line, n(row.decimals));
        EXPECT_NE(text.find(";" + std::to_string(row.kind) + ";" + expected), std::string::npos)
            << text;
    }
}

TEST(LineText, ReadingEmptyAndDamagedFields) {
    // Empty Currency fields and `""` read as 0; integer fields that are not numbers take their
    // defaults; missing trailing fields read as empty.
    ParsedLine parsed = lineFromText("x;名;;\"\";;;z;\"\";;1;2;;;;;;a;;\"\"");
    EXPECT_EQ(parsed.sheetNumber, -1);
    LineRecord expected;
    expected.nameSpec = "名;";
    expected.sortCode = Currency();
    expected.kind = 0;
    expected.netPrice = n("1");
    expected.submittedPrice = n("2");
    EXPECT_EQ(parsed.line, expected);

    EXPECT_EQ(lineFromText("").sheetNumber, -1);
    EXPECT_EQ(lineFromText(" 12 ;a").sheetNumber, 12);
    EXPECT_EQ(lineFromText("1.5;a").sheetNumber, -1);
    EXPECT_THROW(lineFromText("1;a;b;abc"), NumberFormatError);
    EXPECT_THROW(lineFromText("1;a;b;0;0;;10;1,000"), NumberFormatError);
}

TEST(LineText, TextsAreCutToTheirFieldWidths) {
    const std::string wide(60, 'w');
    const ParsedLine parsed =
        lineFromText("1;" + std::string(70, 'a') + ";" + std::string(40, 'b') +
                     ";0;0;ｍｍｍ;10;0;0;0;0;0;0;0;0;0;0;0;0;" + wide + ";" + wide + ";" + wide);
    EXPECT_EQ(parsed.line.nameSpec, std::string(70, 'a') + ";" + std::string(29, 'b'));
    EXPECT_EQ(parsed.line.unit, "ｍｍ");
    EXPECT_EQ(parsed.line.amountText, std::string(12, 'w'));
    EXPECT_EQ(parsed.line.note, std::string(40, 'w'));
    EXPECT_EQ(parsed.line.priceCode, std::string(20, 'w'));
}

// The 仕様 is the second ";"-field of nameSpec; what follows a further ";" is not
// written (it once came out as a stray "；" on every welfare line and appended line).
TEST(LineText, TheSpecificationIsTheSecondFieldOfTheNameSpec) {
    const struct {
        const char* nameSpec;
        const char* fields;
    } cases[] = {
        {"法定福利費 ;-94,675×18.5%×14.2%×50%;", "2;法定福利費 ;-94,675×18.5%×14.2%×50%;"},
        {"鋼管;SGP 25A;", "2;鋼管;SGP 25A;"},
        {"配管;SGP;25A", "2;配管;SGP;"},
        {"コメント", "2;コメント;;"},
    };
    for (const auto& c : cases) {
        LineRecord line = sampleLine();
        line.nameSpec = c.nameSpec;
        const std::string text = lineToText(2, line, n("10"));
        EXPECT_TRUE(text.starts_with(c.fields)) << text;
        EXPECT_EQ(lineToText(2, lineFromText(text).line, n("10")), text) << c.nameSpec;
    }
}

TEST(LineText, SeparatorsAndLineBreaksInTextsCannotShiftFields) {
    LineRecord line = sampleLine();
    line.nameSpec = "配管;SGP;25A";
    line.note = "a;b\r\nc";
    line.priceCode = "P;1";
    const std::string text = lineToText(2, line, n("10"));
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
    const LineRecord read = lineFromText(text).line;
    EXPECT_EQ(read.note, "a；bc");
    EXPECT_EQ(read.priceCode, "P；1");
    EXPECT_EQ(read.submittedAmount, line.submittedAmount);

    // A copy file ends every field with ";".
    EXPECT_EQ(lineFromText(lineToText(0, sampleLine(), n("10")) + ";").line, sampleLine());
}

} // namespace
} // namespace kerbina

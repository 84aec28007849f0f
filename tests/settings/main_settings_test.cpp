#include "base/file_io.h"
#include "money_literal.h"
#include "records/document_state.h"
#include "settings/main_settings.h"
#include "temp_folder.h"

#include <functional>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

MainSettings readLines(const std::vector<std::string>& lines,
                       const MainSettings& previous = MainSettings{}) {
    SettingsSources sources;
    sources.settingsLines = lines;
    return readSettings(previous, sources);
}

TEST(ReadSettings, OptionLinesAreComparedWhole) {
    const struct {
        std::vector<std::string> lines;
        std::function<void(MainSettings&)> expect;
    } cases[] = {
        {{},
         [](MainSettings&) {
         }},
        {{"[CALC_OPT1]=2"},
         [](MainSettings& s) {
             s.calc.quantityDecimals = c("1000");
         }},
        {{"[CALC_OPT2]=1", "[CALC_OPT2]=2"},
         [](MainSettings& s) {
             s.calc.amountOffset = c("0");
         }},
        {{"[CALC_OPT3]=7", "[CALC_OPT4]=2", "[CALC_OPT6]=1", "[CALC_OPT7]=1"},
         [](MainSettings& s) {
             s.calc.totalLevel = c("7");
             s.calc.expenseOffset = c("0");
             s.calc.laborOffset = c("0.9");
             s.calc.totalOffset = c("0.9");
         }},
        // Not recognised: two digits, a blank, lower case, an index outside the list, a blank
        // in the key, a tax offset written differently.
        {{"[CALC_OPT3]=10", "[CALC_OPT2]= 1", "[calc_opt2]=1", "[CALC_OPT2]=3", "[CALC_OPT1] =1",
          "[CALC_OPT2]=1 ", "[Tax_Opt1]=.9", "[status_bar]=true", "[Items_Opt_1]=", "CALC_OPT2=1"},
         [](MainSettings&) {
         }},
        {{"[ACALC_OPT3]=3", "[ACALC_OPT7]=1", "[ACALC_OPT4]=2", "[Tax_Opt1]=0.9"},
         [](MainSettings& s) {
             s.calc.grandTotalLevel = c("1000");
             s.calc.grandTotalOffset = c("0.9");
             s.calc.grandTotalExpenseOffset = c("0");
             s.calc.taxOffset = c("0.9");
             s.headerKeta = 1000;
             s.headerCutLevel = c("0.9");
         }},
        {{"[Items_Opt_1]=FALSE", "[status_bar]=FALSE"},
         [](MainSettings& s) {
             s.itemNameLine = false;
             s.statusBarVisible = false;
         }},
        {{"[GENGAKU]=▲="},
         [](MainSettings& s) {
             s.reductionMark = "▲=";
         }},
    };
    for (const auto& row : cases) {
        MainSettings expected;
        row.expect(expected);
        EXPECT_EQ(readLines(row.lines), expected) << ::testing::PrintToString(row.lines);
    }
}

TEST(ReadSettings, NameAndSpecificationColumns) {
    const struct {
        std::vector<std::string> lines;
        bool separate;
    } cases[] = {
        {{}, true},
        {{"[EDIT_OPT2]=1"}, false},
        {{"[EDIT_OPT2]=1", "[EDIT_OPT2]=0"}, true},
        {{"[EDIT_OPT2]=0", "[EDIT_OPT2]=1"}, false},
        {{"[EDIT_OPT2]=1", "[EDIT_OPT2]=2"}, false}, // an unlisted value changes nothing
        {{"[EDIT_OPT2]= 1"}, true},
    };
    for (const auto& row : cases) {
        const MainSettings settings = readLines(row.lines);
        EXPECT_EQ(settings.separateNameSpec, row.separate) << ::testing::PrintToString(row.lines);
        EXPECT_EQ(settings.gridColumnCount, row.separate ? 10 : 9);
    }
    // Each read starts from two columns again.
    EXPECT_TRUE(readLines({}, readLines({"[EDIT_OPT2]=1"})).separateNameSpec);
}

TEST(ReadSettings, ValuesNotResetSurviveTheNextRead) {
    const MainSettings first = readLines({"[CALC_OPT2]=2", "[CALC_OPT3]=4", "[Items_Opt_1]=FALSE",
                                          "[ACALC_OPT3]=9", "[ACALC_OPT4]=1", "[ACALC_OPT7]=0",
                                          "[Tax_Opt1]=0", "[status_bar]=FALSE", "[GENGAKU]=△"});
    const MainSettings second = readLines({"[CALC_OPT1]=1"}, first);

    MainSettings expected;
    expected.calc.quantityDecimals = c("100");
    expected.calc.grandTotalLevel = c("9");
    expected.calc.grandTotalExpenseOffset = c("0.9");
    expected.calc.grandTotalOffset = c("0.5");
    expected.calc.taxOffset = c("0");
    expected.statusBarVisible = false;
    expected.reductionMark = "△";
    expected.headerKeta = 9;
    expected.headerCutLevel = c("0.5");
    EXPECT_EQ(second, expected);

    // An empty value is a value: the mark is cleared.
    EXPECT_EQ(readLines({"[GENGAKU]="}, first).reductionMark, "");
}

TEST(ReadSettings, BundledPrintStyleFillsOnlyAnEmptyPath) {
    SettingsSources sources;
    sources.bundledPrintStyle = "/data/style/A4縦STYLE01blue.sle";
    EXPECT_EQ(readSettings(MainSettings{}, sources).printStylePath,
              "/data/style/A4縦STYLE01blue.sle");
    MainSettings chosen;
    chosen.printStylePath = "/mine.sle";
    EXPECT_EQ(readSettings(chosen, sources).printStylePath, "/mine.sle");

    TempFolder root;
    EXPECT_EQ(bundledPrintStyle(root.path()), std::nullopt);
    std::filesystem::create_directories(root.path() / "style");
    const auto style = root.path() / "style" / u8"A4縦STYLE01blue.sle";
    writeFileAtomically(style, "style");
    EXPECT_EQ(bundledPrintStyle(root.path()), style.string());
}

TEST(ReadSettings, NumberingRowSetsOptionsAndCaptions) {
    SettingsSources sources;
    sources.coverTitle1 = "受渡場所";
    sources.coverTitle2 = "工事件名";
    sources.numberingRow = "KERBINA\r\nAA\r\n7\r\n0\r\n[tankaBtnName1]=登録単価\r\n"
                           "[EXGROUP1]=管材\r\n[EXGROUP3]=計器=類\r\n[EXGROUP6]=\n"
                           "[EDIT_OPT1]=TRUE\r\n[NUMBER_OPT4]=TRUE\r\n[NUMBER_OPT5]=true\r\n";
    const MainSettings settings = readSettings(MainSettings{}, sources);

    MainSettings expected;
    expected.autoNumbering = true;
    expected.perCustomerNumbering = true;
    expected.groupCaptions = {"管材", "一般弁類", "計器=類", "空調機器", "衛生器具", ""};
    expected.quotationNumberCaption = "自動見積番号";
    expected.accessoryRegisterCaptions = {"一般弁類登録", "計器=類登録", "空調機器登録",
                                          "衛生器具登録", "登録"};
    expected.coverCaptions = {"受渡場所1", "受渡場所2", "工事件名", "受渡場所", "工事件名"};
    EXPECT_EQ(settings, expected);

    // Automatic numbering switched off again changes the caption back.
    sources.numberingRow = "[EDIT_OPT1]=FALSE";
    EXPECT_EQ(readSettings(settings, sources).quotationNumberCaption, "見積番号");
}

TEST(ReadSettings, WithoutNumberingRowTheCaptionsKeepTheirTexts) {
    MainSettings previous;
    previous.autoNumbering = true;
    previous.groupCaptions[1] = "弁類";
    SettingsSources sources;
    sources.coverTitle1 = "受渡場所";
    sources.settingsLines = {"[EDIT_OPT1]=FALSE",
                             "[EXGROUP2]=x"}; // numbering keys belong to the row
    EXPECT_EQ(readSettings(previous, sources), previous);
}

TEST(ReadSettings, AppliedToTheDocument) {
    const MainSettings settings = readLines({"[CALC_OPT2]=1", "[ACALC_OPT3]=8", "[ACALC_OPT7]=2",
                                             "[EDIT_OPT2]=1", "[Items_Opt_1]=FALSE"});
    DocumentState document;
    applyToDocument(settings, document);
    EXPECT_EQ(document.settings, settings.calc);
    EXPECT_EQ(document.settings.amountOffset, c("0.9"));
    EXPECT_FALSE(document.itemNameLine);
    EXPECT_FALSE(document.separateNameSpec);
    EXPECT_EQ(document.header.keta, 8);
    EXPECT_EQ(document.header.cutLevel, c("0"));
}

TEST(ReadSettings, WithoutGrandTotalLinesTheHeaderTruncatesAtLevelZero) {
    const MainSettings settings = readLines({"[CALC_OPT7]=0"});
    EXPECT_EQ(settings.headerKeta, 0);
    EXPECT_EQ(settings.headerCutLevel, c("0"));
}

} // namespace
} // namespace kerbina

#include "base/conf_file.h"
#include "base/text_codec.h"
#include "settings/register_settings.h"
#include "settings/settings_files.h"
#include "settings_fixture.h"
#include "storage/database.h"

#include <cstdlib>
#include <functional>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

using Change = std::function<void(EnvironmentSettings&)>;

EnvironmentSettings changed(const Change& change) {
    EnvironmentSettings settings;
    change(settings);
    return settings;
}

// Every control of the files and the row set to something other than its initial value, with
// texts that a careless reader would damage: blanks at either end, "=" and ";" inside.
EnvironmentSettings everythingChanged() {
    EnvironmentSettings s;
    s.startupPassword = " pass=word ";
    s.printStyleFile = "/styles/A3横.sle";
    s.askPasswordAtStart = true;
    s.numberPrefix = "QX";
    s.numberWidth = 9;
    s.numberCounter = 1234;
    s.automaticNumbering = false;
    s.numberingPerCustomer = true;
    s.offerNumberAfterCustomerPick = true;
    s.siteNameTitle = " 工事場所";
    s.workNameTitle = "工事名=件名";
    s.spaceBeforeHonorific = 2;
    s.numberAsFileName = true;
    s.amountTexts = {"a", "b ", " c", "d;e"};
    s.itemNameAsFirstLine = true;
    s.groupNameList = {"空調", "衛生", "電気", "", "G5", "G6"};
    s.reductionReducesCost = true;
    s.reductionMark = "▲";
    s.taxRate = Currency::fromText("8.5");
    s.priceButtonNames = {"登録;単価", "t2", "t3", "t4", "t5", "t6"};
    s.unitList = {"m", "m2", "式", "日", "台", "個", "本", "枚", "t"};
    s.smallSumName = "小計";
    s.midSumName = "中計";
    s.sumName = "合計";
    s.quantityDecimalsChoice = 2;
    s.amountRoundingChoice = 0;
    s.laborRoundingChoice = 2;
    s.sheetTotalLevelChoice = 9;
    s.sheetTotalRoundingChoice = 2;
    s.expenseRoundingChoice = 1;
    s.grandTotalLevelChoice = 3;
    s.grandTotalRoundingChoice = 2;
    s.grandTotalExpenseRoundingChoice = 1;
    s.taxRoundingChoice = 2;
    s.pipingGroupNames = {"e1", "e2", "e3", "e4", "e5", "e=6"};
    s.statusBarShown = false;
    s.entryShowsLabor = false;
    s.entryShowsAccessoryPrices = false;
    s.entryShowsCost = false;
    s.entryShowsGroupPrices = false;
    s.listAddresseeChoice = 1;
    s.nameSpecColumnsChoice = 1;
    s.rowShadingChoice = 1;
    return s;
}

TEST_F(SettingsTest, FirstStartWritesTheStoresWithTheInitialValues) {
    MemoryNumberingStore numbering;
    numbering.row = NumberingRow{"NF", "7", "0", ""};
    EnvironmentSettings settings;
    settings.siteNameTitle = "x"; // the first start sets both cover titles
    readEnvironmentSettings(settings, root(), numbering);

    EXPECT_EQ(settings, EnvironmentSettings());
    const std::vector<std::string> expected = {
        "[TITLE1]=受渡場所",
        "[TITLE2]=物件名称",
        "[KINGAKU_NAME1]=御支給品",
        "[KINGAKU_NAME2]=既設品利用",
        "[KINGAKU_NAME3]=撤去品流用",
        "[KINGAKU_NAME4]=別途見積",
        "[Tax_Value]=10",
        "[FILE_OPT1]=FALSE",
        "[CALC_OPT1]=1",
        "[CALC_OPT2]=1",
        "[CALC_OPT3]=8",
        "[CALC_OPT4]=0",
        "[CALC_OPT6]=0",
        "[CALC_OPT7]=0",
        "[ACALC_OPT3]=0",
        "[ACALC_OPT4]=0",
        "[ACALC_OPT7]=0",
        "[Tax_Opt1]=0.5",
        "[CALC_OPT5]=FALSE",
        "[GENGAKU]=△",
        "[EDIT_OPT2]=0",
        "[FILE_OPT2]=0",
        "[EDIT_OPT10]=0",
        "[Print_Dir]=",
        "[EDIT_OPT4]=FALSE",
        "[EDIT_OPT5]=",
        "[EDIT_OPT6]=TRUE",
        "[EDIT_OPT7]=TRUE",
        "[EDIT_OPT8]=TRUE",
        "[EDIT_OPT9]=TRUE",
        "[status_bar]=TRUE",
        "[Items_Opt_1]=FALSE",
        "[Print_Space]=0",
        "[GROUP_NAME1]=Group1",
        "[GROUP_NAME2]=Group2",
        "[GROUP_NAME3]=Group3",
        "[GROUP_NAME4]=Group4",
        "[GROUP_NAME5]=Group5",
        "[GROUP_NAME6]=Group6",
        "[CI_1]=ｍ",
        "[CI_2]=㎡",
        "[CI_3]=式",
        "[CI_4]=日",
        "[CI_5]=台",
        "[CI_6]=ケ",
        "[CI_7]=本",
        "[CI_8]=枚",
        "[CI_9]=kg",
        "[SmallSumName]=［小　計］",
        "[MidSumName]=【中　計】",
        "[AllSumName]=【合　計】",
    };
    EXPECT_EQ(lines("Kerbina.conf"), expected);
    EXPECT_EQ(readFileBytes(conf("Network_conf.conf")), "[Network_Dir]=\r\n");

    const NumberingRow row{"AA", "7", "0",
                           "[tankaBtnName1]=登録単価\r\n[tankaBtnName2]=仕様単価\r\n"
                           "[tankaBtnName3]=単価計算\r\n[tankaBtnName4]=歩掛計算\r\n"
                           "[tankaBtnName5]=付帯単価\r\n[tankaBtnName6]=通常単価\r\n"
                           "[EXGROUP1]=配管材\r\n[EXGROUP2]=一般弁類\r\n[EXGROUP3]=計器類\r\n"
                           "[EXGROUP4]=空調機器\r\n[EXGROUP5]=衛生器具\r\n[EXGROUP6]=排水器具\r\n"
                           "[EDIT_OPT1]=TRUE\r\n[NUMBER_OPT4]=FALSE\r\n[NUMBER_OPT5]=FALSE\r\n"};
    EXPECT_EQ(numbering.row, row);
    // The row was not read first, so its counter is left as stored.
    EXPECT_EQ(numbering.writesWithNumber, std::vector<bool>{false});
}

// The settings file a first start writes, compared whole (CP932, CR LF) with
// tests/data/first_start_Kerbina.conf. To regenerate it after an intended change, run
//   KERBINA_REGENERATE_GOLDEN=1 build/tests/test_settings --gtest_filter='*FirstStartGolden*'
// and review the difference before committing it.
TEST_F(SettingsTest, FirstStartGoldenSettingsFile) {
    MemoryNumberingStore numbering;
    numbering.row = NumberingRow{"NF", "7", "0", ""};
    EnvironmentSettings settings;
    readEnvironmentSettings(settings, root(), numbering);

    const std::string bytes = readFileBytes(conf("Kerbina.conf"));
    const fs::path golden = fs::path(KERBINA_TEST_DATA_DIR) / "first_start_Kerbina.conf";
    if (std::getenv("KERBINA_REGENERATE_GOLDEN") != nullptr) {
        writeFileAtomically(golden, bytes);
    }
    EXPECT_EQ(bytes, readFileBytes(golden));
}

TEST_F(SettingsTest, FirstStartLeavesAChosenNetworkFolderAlone) {
    writeTextLines(conf("Network_conf.conf"), {"[Network_Dir]=/srv/kerbina"});
    MemoryNumberingStore numbering;
    EnvironmentSettings settings;
    readEnvironmentSettings(settings, root(), numbering);
    EXPECT_EQ(lines("Network_conf.conf"), std::vector<std::string>{"[Network_Dir]=/srv/kerbina"});
    EXPECT_EQ(lines("Kerbina.conf").size(), 51u);
}

// The first start reads the numbering row before it writes: only a fresh or missing row receives
// the initial values; a row in use keeps its prefix, width, counter and options.
TEST_F(SettingsTest, FirstStartKeepsANumberingRowInUse) {
    EnvironmentSettings used;
    used.numberPrefix = "QX";
    used.numberWidth = 9;
    used.automaticNumbering = false;
    used.priceButtonNames[0] = "共通単価";
    const NumberingRow usedRow{"QX", "9", "57", numberingNotes(used)};
    const std::string initialNotes = numberingNotes(EnvironmentSettings());
    const struct {
        const char* name;
        std::optional<NumberingRow> before;
        NumberingRow after;
    } cases[] = {
        {"missing", std::nullopt, {"AA", "7", "0", initialNotes}},
        {"fresh", NumberingRow{"NF", "7", "0", ""}, {"AA", "7", "0", initialNotes}},
        {"written before", usedRow, usedRow},
        {"numbers issued, never written",
         NumberingRow{"NF", "6", "57", ""},
         {"NF", "6", "57", initialNotes}},
    };
    for (const auto& c : cases) {
        fs::remove(conf("Kerbina.conf"));
        MemoryNumberingStore numbering;
        numbering.row = c.before;
        EnvironmentSettings settings;
        readEnvironmentSettings(settings, root(), numbering);
        EXPECT_EQ(numbering.row, c.after) << c.name;
        EXPECT_EQ(numbering.writesWithNumber, std::vector<bool>{false}) << c.name;
        EXPECT_EQ(settings.numberCounter, std::stoll(c.after.number)) << c.name;
        EXPECT_EQ(lines("Kerbina.conf"), settingsFileLines(settings)) << c.name;
    }
}

// A numbering row that cannot be read at the first start stops it before anything is written, so
// the next start tries again instead of taking the initial values over a row in use.
TEST_F(SettingsTest, FirstStartWritesNothingWhenTheRowCannotBeRead) {
    struct UnreadableStore : MemoryNumberingStore {
        std::optional<NumberingRow> read() override { throw DatabaseError("locked"); }
    } numbering;
    EnvironmentSettings settings;
    EXPECT_THROW(readEnvironmentSettings(settings, root(), numbering), DatabaseError);
    EXPECT_FALSE(fs::exists(conf("Kerbina.conf")));
    EXPECT_FALSE(fs::exists(conf("Network_conf.conf")));
    EXPECT_TRUE(numbering.writesWithNumber.empty());
}

TEST_F(SettingsTest, WholeWriteThenDatareadGivesTheSameModel) {
    MemoryNumberingStore numbering;
    numbering.row = NumberingRow{"NF", "7", "0", ""};
    EnvironmentSettings written = everythingChanged();
    written.networkFolder = "/srv/db";
    writeEnvironmentSettings(written, root(), numbering);

    // Every key under its own control: no two neighbours share a value.
    const std::vector<std::string> expected = {
        "[TITLE1]= 工事場所",  "[TITLE2]=工事名=件名",
        "[KINGAKU_NAME1]=a",   "[KINGAKU_NAME2]=b ",
        "[KINGAKU_NAME3]= c",  "[KINGAKU_NAME4]=d;e",
        "[Tax_Value]=8.5",     "[FILE_OPT1]=TRUE",
        "[CALC_OPT1]=2",       "[CALC_OPT2]=0",
        "[CALC_OPT3]=9",       "[CALC_OPT4]=1",
        "[CALC_OPT6]=2",       "[CALC_OPT7]=2",
        "[ACALC_OPT3]=3",      "[ACALC_OPT4]=1",
        "[ACALC_OPT7]=2",      "[Tax_Opt1]=0",
        "[CALC_OPT5]=TRUE",    "[GENGAKU]=▲",
        "[EDIT_OPT2]=1",       "[FILE_OPT2]=1",
        "[EDIT_OPT10]=1",      "[Print_Dir]=/styles/A3横.sle",
        "[EDIT_OPT4]=TRUE",    "[EDIT_OPT5]= pass=word ",
        "[EDIT_OPT6]=FALSE",   "[EDIT_OPT7]=FALSE",
        "[EDIT_OPT8]=FALSE",   "[EDIT_OPT9]=FALSE",
        "[status_bar]=FALSE",  "[Items_Opt_1]=TRUE",
        "[Print_Space]=2",     "[GROUP_NAME1]=空調",
        "[GROUP_NAME2]=衛生",  "[GROUP_NAME3]=電気",
        "[GROUP_NAME4]=",      "[GROUP_NAME5]=G5",
        "[GROUP_NAME6]=G6",    "[CI_1]=m",
        "[CI_2]=m2",           "[CI_3]=式",
        "[CI_4]=日",           "[CI_5]=台",
        "[CI_6]=個",           "[CI_7]=本",
        "[CI_8]=枚",           "[CI_9]=t",
        "[SmallSumName]=小計", "[MidSumName]=中計",
        "[AllSumName]=合計",
    };
    EXPECT_EQ(lines("Kerbina.conf"), expected);
    EXPECT_EQ(lines("Network_conf.conf"), std::vector<std::string>{"[Network_Dir]=/srv/db"});
    EXPECT_EQ(numbering.row, (NumberingRow{"QX", "9", "1234",
                                           "[tankaBtnName1]=登録;単価\r\n[tankaBtnName2]=t2\r\n"
                                           "[tankaBtnName3]=t3\r\n[tankaBtnName4]=t4\r\n"
                                           "[tankaBtnName5]=t5\r\n[tankaBtnName6]=t6\r\n"
                                           "[EXGROUP1]=e1\r\n[EXGROUP2]=e2\r\n[EXGROUP3]=e3\r\n"
                                           "[EXGROUP4]=e4\r\n[EXGROUP5]=e5\r\n[EXGROUP6]=e=6\r\n"
                                           "[EDIT_OPT1]=FALSE\r\n[NUMBER_OPT4]=TRUE\r\n"
                                           "[NUMBER_OPT5]=TRUE\r\n"}));

    EnvironmentSettings read;
    readEnvironmentSettings(read, root(), numbering);
    // The company data and the network folder live in files read elsewhere.
    read.companyData = written.companyData;
    read.networkFolder = written.networkFolder;
    EXPECT_EQ(read, written);
}

// Each value form: the text a value is written as, and reading that text back gives the value.
TEST(SettingsValueForms, WriteAndReadBack) {
    const struct {
        const char* key;
        const char* text;
        Change change;
    } cases[] = {
        {"[EDIT_OPT4]", "TRUE",
         [](auto& s) {
             s.askPasswordAtStart = true;
         }},
        {"[status_bar]", "FALSE",
         [](auto& s) {
             s.statusBarShown = false;
         }},
        {"[CALC_OPT3]", "3",
         [](auto& s) {
             s.sheetTotalLevelChoice = 3;
         }},
        {"[EDIT_OPT10]", "1",
         [](auto& s) {
             s.rowShadingChoice = 1;
         }},
        {"[GENGAKU]", " ▲ ",
         [](auto& s) {
             s.reductionMark = " ▲ ";
         }},
        {"[Print_Dir]", "",
         [](auto& s) {
             s.printStyleFile = "";
         }},
        {"[Tax_Value]", "8",
         [](auto& s) {
             s.taxRate = Currency::fromWhole(8);
         }},
        {"[Tax_Value]", "8.5",
         [](auto& s) {
             s.taxRate = Currency::fromText("8.5");
         }},
        {"[Tax_Value]", "10.125",
         [](auto& s) {
             s.taxRate = Currency::fromText("10.125");
         }},
        {"[Tax_Opt1]", "0.5",
         [](auto& s) {
             s.taxRoundingChoice = 0;
         }},
        {"[Tax_Opt1]", "0.9",
         [](auto& s) {
             s.taxRoundingChoice = 1;
         }},
        {"[Tax_Opt1]", "0",
         [](auto& s) {
             s.taxRoundingChoice = 2;
         }},
    };
    for (const auto& row : cases) {
        const EnvironmentSettings fromDefaults = changed(row.change);
        EXPECT_EQ(firstConfValue(settingsFileLines(fromDefaults), row.key), row.text) << row.key;

        // Read back over settings that hold another value for the key.
        EnvironmentSettings read =
            fromDefaults == EnvironmentSettings() ? everythingChanged() : EnvironmentSettings();
        EnvironmentSettings expected = read;
        row.change(expected);
        applySettingsFileLines(read, {confLine(row.key, row.text)});
        EXPECT_EQ(read, expected) << row.key << "=" << row.text;
    }
}

// Lines that are not in their key's form, or not this dialog's, leave the settings as they were.
TEST(SettingsFileRead, LinesOutOfFormChangeOnlyWhatTheyName) {
    const Change unchanged = [](auto&) {
    };
    const struct {
        std::vector<std::string> lines;
        Change change;
    } cases[] = {
        {{"[EDIT_OPT4]=true"}, unchanged},
        {{"[edit_opt4]=TRUE"}, unchanged},
        {{"[EDIT_OPT4]=TRUE "}, unchanged},
        {{"[status_bar]="}, unchanged},
        {{"[Tax_Opt1]=1"}, unchanged},
        {{"[Tax_Opt1]=x"}, unchanged},
        {{"[Tax_Opt1]=0.90"},
         [](auto& s) {
             s.taxRoundingChoice = 1;
         }},
        {{"[Tax_Value]=abc"}, unchanged},
        {{"[Tax_Value]=8.50"},
         [](auto& s) {
             s.taxRate = Currency::fromText("8.5");
         }},
        {{"[CALC_OPT3]=x"},
         [](auto& s) {
             s.sheetTotalLevelChoice = 0;
         }},
        {{"[CALC_OPT3]=2.5"},
         [](auto& s) {
             s.sheetTotalLevelChoice = 0;
         }},
        {{"[CALC_OPT3]=10"}, unchanged},
        {{"[CALC_OPT2]=-1"}, unchanged},
        {{"[TITLE1] =x", "[FOO]=1", "[TITLE1]", ""}, unchanged},
        {{"[NUMBER_OPT4]=TRUE", "[EXGROUP1]=x", "[Network_Dir]=/x"}, unchanged},
        {{"[GENGAKU]=a=b"},
         [](auto& s) {
             s.reductionMark = "a=b";
         }},
        {{"[TITLE2]=A", "[TITLE2]=B"},
         [](auto& s) {
             s.workNameTitle = "B";
         }},
    };
    for (const auto& row : cases) {
        EnvironmentSettings read;
        applySettingsFileLines(read, row.lines);
        EXPECT_EQ(read, changed(row.change)) << testing::PrintToString(row.lines);
    }
}

TEST_F(SettingsTest, DatareadAcceptsLfLineEndsAndTakesTheRowAfterTheFile) {
    writeFileAtomically(conf("Kerbina.conf"),
                        toCp932("[TITLE1]=現場\n[CI_8]=file\n[CI_9]=kg9\n[Tax_Value]=10\n"));
    MemoryNumberingStore numbering;
    numbering.row = NumberingRow{"K-", "9", "41", "[CI_8]=row\n[EDIT_OPT1]=FALSE\n"};
    EnvironmentSettings settings;
    readEnvironmentSettings(settings, root(), numbering);

    EXPECT_EQ(settings, changed([](auto& s) {
                  s.siteNameTitle = "現場";
                  s.unitList[7] = "row";
                  s.unitList[8] = "kg9";
                  s.taxRate = Currency::fromWhole(10);
                  s.numberPrefix = "K-";
                  s.numberWidth = 9;
                  s.numberCounter = 41;
                  s.numberAsLoaded = 41;
                  s.automaticNumbering = false;
              }));
    EXPECT_TRUE(numbering.writesWithNumber.empty());
}

TEST_F(SettingsTest, KeysTheDialogDoesNotEditSurviveAWrite) {
    writeTextLines(conf("Kerbina.conf"),
                   {"[Data_Dir]=/data/見積", "[TITLE1]=old", "[Title_bar]=FALSE", "garbage"});
    MemoryNumberingStore numbering;
    EnvironmentSettings settings;
    writeEnvironmentSettings(settings, root(), numbering);

    std::vector<std::string> expected = settingsFileLines(settings);
    expected.push_back("[Data_Dir]=/data/見積");
    expected.push_back("[Title_bar]=FALSE");
    EXPECT_EQ(lines("Kerbina.conf"), expected);
}

// The cost-split print option is remembered after the file's own lines while it is on; turned
// off, its line goes, so the file is again exactly its own lines.
TEST_F(SettingsTest, CostSplitPrintOptionIsRememberedOnlyWhileOn) {
    writeTextLines(conf("Kerbina.conf"), {"[Data_Dir]=/data"});
    MemoryNumberingStore numbering;
    EnvironmentSettings settings;
    settings.printCostSplit = true;
    writeEnvironmentSettings(settings, root(), numbering);
    const auto withoutPrintOptions = [](EnvironmentSettings options) {
        options.printCostSplit = options.printJapaneseEra = false;
        return settingsFileLines(options);
    };
    std::vector<std::string> expected = withoutPrintOptions(settings);
    expected.push_back("[Print_CostSplit]=TRUE");
    expected.push_back("[Data_Dir]=/data");
    EXPECT_EQ(lines("Kerbina.conf"), expected);

    EnvironmentSettings read;
    readEnvironmentSettings(read, root(), numbering);
    EXPECT_TRUE(read.costSplitPrinted());

    read.printCostSplit = false;
    writeEnvironmentSettings(read, root(), numbering);
    expected = settingsFileLines(read);
    expected.push_back("[Data_Dir]=/data");
    EXPECT_EQ(lines("Kerbina.conf"), expected);
    EnvironmentSettings again;
    again.printCostSplit = true;
    readEnvironmentSettings(again, root(), numbering);
    EXPECT_TRUE(again.costSplitPrinted()); // no line leaves the value as it was
    applySettingsFileLines(again, {"[Print_CostSplit]=FALSE"});
    EXPECT_FALSE(again.costSplitPrinted());

    // The era date option is kept the same way, after the cost split.
    read.printCostSplit = true;
    read.printJapaneseEra = true;
    writeEnvironmentSettings(read, root(), numbering);
    expected = withoutPrintOptions(read);
    expected.push_back("[Print_CostSplit]=TRUE");
    expected.push_back("[Print_JapaneseEra]=TRUE");
    expected.push_back("[Data_Dir]=/data");
    EXPECT_EQ(lines("Kerbina.conf"), expected);
    EnvironmentSettings eraRead;
    readEnvironmentSettings(eraRead, root(), numbering);
    EnvironmentSettings fromLines;
    applySettingsFileLines(fromLines, settingsFileLines(read));
    // The lines written carry the print options too.
    EXPECT_TRUE(fromLines.costSplitPrinted());
    EXPECT_TRUE(fromLines.japaneseEraPrinted());
    EXPECT_TRUE(eraRead.japaneseEraPrinted());
}

TEST_F(SettingsTest, UserreadCreatesAMissingCompanyFileWithSamples) {
    EnvironmentSettings settings;
    settings.companyData[1] = "第二";
    settings.companyData[6] = "内線1";
    readUserSettings(settings, root());

    const std::vector<std::string> written = lines("USER_DATA.conf");
    ASSERT_EQ(written.size(), 10u);
    const char* keys[] = {"[OFFICE_NAME1]", "[OFFICE_NAME2]", "[SERVICE]", "[ZIPCODE]",
                          "[ADDRESS1]",     "[ADDRESS2]",     "[TEL]",     "[FAX]",
                          "[URL]",          "[EMAIL]"};
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(confKey(written[i]), keys[i]);
    }
    EXPECT_EQ(written[1], "[OFFICE_NAME2]=第二");
    EXPECT_EQ(written[3], "[ZIPCODE]=555-5555");
    EXPECT_EQ(written[6], "[TEL]=066-6666-6666内線1");
    EXPECT_EQ(written[7], "[FAX]=077-7777-7777");
    EXPECT_EQ(settings.companyData[3], "555-5555");
    EXPECT_EQ(settings.companyData[6], "066-6666-6666内線1");
}

TEST_F(SettingsTest, CompanyDataTrimsEveryValueButTheFirstName) {
    EnvironmentSettings settings;
    settings.companyData = {" 設備 ", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    writeCompanyData(settings, root());
    EnvironmentSettings read;
    readUserSettings(read, root());
    EXPECT_EQ(read.companyData, settings.companyData);

    writeFileAtomically(conf("USER_DATA.conf"),
                        toCp932("[OFFICE_NAME1]=  名称 \n[TEL]= 06-1 \t\n[FAX]=1\n[FAX]=2\n"
                                "[fax]=3\n[OTHER]=x\n"));
    readUserSettings(read, root());
    EXPECT_EQ(read.companyData[0], "  名称 ");
    EXPECT_EQ(read.companyData[6], "06-1");
    EXPECT_EQ(read.companyData[7], "2");
    EXPECT_EQ(read.companyData[1], "b"); // no line: as it was
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenStopsTheRegistration) {
    fs::create_directories(conf("Kerbina.conf") / "blocked");
    MemoryNumberingStore numbering;
    numbering.row = NumberingRow{"NF", "7", "0", ""};
    EnvironmentSettings settings;
    settings.companyData[0] = "会社";
    settings.numberPrefix = "ZZ";

    EXPECT_THROW(registerSettings(settings, root(), numbering, settings), FileError);
    // What was written before the failure stays written.
    EXPECT_EQ(lines("USER_DATA.conf").front(), "[OFFICE_NAME1]=会社");
    EXPECT_EQ(numbering.row->header, "ZZ");
    EXPECT_FALSE(fs::exists(conf("Network_conf.conf")));
}

// A write that fails at any point (full disk, locked file) leaves each file either as it was or
// wholly rewritten, never cut short, and leaves no temporary behind.
TEST_F(SettingsTest, EveryStoreIsReplacedWholeOrNotAtAll) {
    EnvironmentSettings old;
    old.siteNameTitle = "旧";
    old.networkFolder = "/old";
    MemoryNumberingStore numbering;
    registerSettings(old, root(), numbering, old);
    const char* files[] = {"Kerbina.conf", "USER_DATA.conf", "Network_conf.conf"};
    std::vector<std::string> before;
    for (const char* file : files) {
        before.push_back(readFileBytes(conf(file)));
    }

    EnvironmentSettings changed = everythingChanged();
    changed.networkFolder = "/new";
    changed.companyData[0] = "新";
    bool registered = false;
    for (int n = 1; !registered && n < 100; ++n) {
        for (std::size_t i = 0; i < std::size(files); ++i) {
            writeFileAtomically(conf(files[i]), before[i]);
        }
        failNthFileCall(n);
        try {
            registerSettings(changed, root(), numbering, changed);
            registered = true;
        } catch (const FileError&) {
        }
        failNthFileCall(0);
        EXPECT_EQ(readFileBytes(conf("Kerbina.conf")) == before[0],
                  lines("Kerbina.conf") != settingsFileLines(changed))
            << n;
        EXPECT_EQ(readFileBytes(conf("USER_DATA.conf")) == before[1],
                  lines("USER_DATA.conf") != companyDataLines(changed))
            << n;
        EXPECT_EQ(readFileBytes(conf("Network_conf.conf")) == before[2],
                  lines("Network_conf.conf") != std::vector<std::string>{"[Network_Dir]=/new"})
            << n;
        for (const auto& entry : fs::directory_iterator(root() / "conf")) {
            EXPECT_FALSE(isLeftoverTemporary(entry.path())) << n << " " << entry.path();
        }
    }
    EXPECT_TRUE(registered);
}

} // namespace
} // namespace kerbina

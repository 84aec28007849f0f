#include "settings/register_settings.h"
#include "settings/settings_files.h"
#include "settings_fixture.h"

namespace kerbina {
namespace {

TEST_F(SettingsTest, RegisterReturnsWhatTakesEffectAtOnce) {
    MemoryNumberingStore numbering;
    EnvironmentSettings settings;
    settings.taxRoundingChoice = 1;
    settings.rowShadingChoice = 1;
    settings.priceButtonNames = {"A", "B", "C", "D", "E", "F"};
    settings.siteNameTitle = "現場";
    settings.workNameTitle = "件名";
    settings.automaticNumbering = false;
    settings.numberingPerCustomer = true;
    settings.networkFolder = "/srv/db";

    const RegisterOutcome outcome =
        registerSettings(settings, root(), numbering, EnvironmentSettings{});
    // The network folder is taken at start-up only.
    EXPECT_EQ(outcome.message, "環境設定を登録しました。\r\n設定を反映するにはソフトウェアを"
                               "再起動してください。");
    EXPECT_EQ(outcome.taxOffset, Currency::fromText("0.9"));
    EXPECT_EQ(outcome.numbering, (NumberingOptions{false, true, false}));
    EXPECT_EQ(outcome.displayStyle,
              (DisplayStyle{
                  .horizontalGridLines = false,
                  .priceButtonCaptions = settings.priceButtonNames,
                  .registerAsCodePriceCaption = "カーソル行のデータをAとして登録",
                  .registerAsTreePriceCaption = "カーソル行のデータをBとして登録",
                  .coverCaptions = {"現場1", "現場2", "件名", "現場", "件名"},
              }));
    EXPECT_EQ(lines("Network_conf.conf"), std::vector<std::string>{"[Network_Dir]=/srv/db"});
    EXPECT_EQ(lines("USER_DATA.conf").size(), 10u);
    EXPECT_EQ(lines("Kerbina.conf"), settingsFileLines(settings));
}

// The confirmation asks for a restart only after a change the running program takes from the
// files at its start or when a quotation is begun; what applies at once asks for none.
TEST_F(SettingsTest, OnlyAChangeThatWaitsForTheNextStartAsksForARestart) {
    const struct {
        const char* change;
        void (*apply)(EnvironmentSettings&);
        bool restart;
    } cases[] = {
        {"nothing", [](EnvironmentSettings&) {}, false},
        {"print style", [](EnvironmentSettings& s) { s.printStyleFile = "/style/b.sle"; }, false},
        {"printed era", [](EnvironmentSettings& s) { s.printJapaneseEra = true; }, false},
        {"unit text", [](EnvironmentSettings& s) { s.unitList[0] = "個"; }, false},
        {"sum text", [](EnvironmentSettings& s) { s.smallSumName = "小計"; }, false},
        {"numbering", [](EnvironmentSettings& s) { s.automaticNumbering = false; }, false},
        {"counter", [](EnvironmentSettings& s) { s.numberCounter = 40; }, false},
        {"tax rounding", [](EnvironmentSettings& s) { s.taxRoundingChoice = 2; }, false},
        {"row shading", [](EnvironmentSettings& s) { s.rowShadingChoice = 1; }, false},
        {"cover title", [](EnvironmentSettings& s) { s.siteNameTitle = "現場"; }, false},
        {"company", [](EnvironmentSettings& s) { s.companyData[0] = "会社"; }, false},
        {"password", [](EnvironmentSettings& s) { s.startupPassword = "pw"; }, false},
        {"network folder", [](EnvironmentSettings& s) { s.networkFolder = "/srv"; }, true},
        {"amount rounding", [](EnvironmentSettings& s) { s.amountRoundingChoice = 2; }, true},
        {"tax rate", [](EnvironmentSettings& s) { s.taxRate = Currency::fromWhole(8); }, true},
        {"status bar", [](EnvironmentSettings& s) { s.statusBarShown = false; }, true},
        {"columns", [](EnvironmentSettings& s) { s.nameSpecColumnsChoice = 1; }, true},
        {"reduction mark", [](EnvironmentSettings& s) { s.reductionMark = "▲"; }, true},
    };
    const std::string restart =
        std::string(kSettingsRegisteredMessage) + "\r\n" + std::string(kRestartNeededLine);
    const EnvironmentSettings inForce;
    for (const auto& c : cases) {
        MemoryNumberingStore numbering;
        EnvironmentSettings settings;
        c.apply(settings);
        EXPECT_EQ(restartNeeded(inForce, settings), c.restart) << c.change;
        EXPECT_EQ(registerSettings(settings, root(), numbering, inForce).message,
                  c.restart ? restart : std::string(kSettingsRegisteredMessage))
            << c.change;
    }
}

TEST_F(SettingsTest, ShowingRereadsTheCompanyDataAndTheCounterAndFillsAnEmptyFolder) {
    MemoryNumberingStore numbering;
    numbering.row = NumberingRow{"AA", "7", "12", ""};
    EnvironmentSettings settings;
    settings.companyData[0] = "登録済";
    writeCompanyData(settings, root());
    settings.companyData[0] = "未登録";
    settings.unitList[0] = "未登録";
    settings.numberPrefix = "未登録";
    settings.numberCounter = 3; // typed, then cancelled

    readForShow(settings, root(), "/data/database", numbering);
    EXPECT_EQ(settings.companyData[0], "登録済");
    EXPECT_EQ(settings.unitList[0], "未登録");
    EXPECT_EQ(settings.numberPrefix, "未登録");
    EXPECT_EQ(settings.numberCounter, 12); // numbers issued since are shown
    EXPECT_EQ(settings.numberAsLoaded, 12);
    EXPECT_EQ(settings.networkFolder, "/data/database");

    settings.networkFolder = "/srv/db\\";
    numbering.row->number = "15";
    readForShow(settings, root(), "/data/database", numbering);
    EXPECT_EQ(settings.networkFolder, "/srv/db\\");
    EXPECT_EQ(settings.numberCounter, 15);

    // Registering without touching the counter never writes it.
    registerSettings(settings, root(), numbering, settings);
    EXPECT_EQ(numbering.writesWithNumber, std::vector<bool>{false});
}

TEST(BrowsedFolder, OneTrailingSeparatorIsDropped) {
    EXPECT_EQ(browsedFolderText("C:\\共有\\"), "C:\\共有");
    EXPECT_EQ(browsedFolderText("/srv/db//"), "/srv/db/");
    EXPECT_EQ(browsedFolderText("/srv/db"), "/srv/db");
    EXPECT_EQ(browsedFolderText("/"), "/");
}

} // namespace
} // namespace kerbina

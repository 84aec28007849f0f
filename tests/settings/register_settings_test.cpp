#include "settings/register_settings.h"
#include "settings/settings_files.h"
#include "settings_fixture.h"

namespace kerbina {
namespace {

TEST_F(SettingsTest, RegisterReturnsWhatTakesEffectAtOnce) {
    MemoryNumberingStore numbering;
    EnvironmentSettings settings;
    settings.tax_opt_1 = 1;
    settings.EDIT_OPT10 = 1;
    settings.tankabtnName = {"A", "B", "C", "D", "E", "F"};
    settings.title1 = "現場";
    settings.title2 = "件名";
    settings.EDIT_OPT1 = false;
    settings.NUMBER_OPT4 = true;
    settings.networkFolder = "/srv/db";

    const RegisterOutcome outcome = registerSettings(settings, root(), numbering);
    EXPECT_EQ(outcome.message, std::string(kSettingsRegisteredMessage));
    EXPECT_EQ(outcome.taxOffset, Currency::fromText("0.9"));
    EXPECT_EQ(outcome.numbering, (NumberingOptions{false, true, false}));
    EXPECT_EQ(outcome.displayStyle,
              (DisplayStyle{
                  .horizontalGridLines = false,
                  .priceButtonCaptions = settings.tankabtnName,
                  .registerAsCodePriceCaption = "カーソル行のデータをAとして登録",
                  .registerAsTreePriceCaption = "カーソル行のデータをBとして登録",
                  .coverCaptions = {"現場1", "現場2", "件名", "現場", "件名"},
              }));
    EXPECT_EQ(lines("Network_conf.conf"), std::vector<std::string>{"[Network_Dir]=/srv/db"});
    EXPECT_EQ(lines("USER_DATA.conf").size(), 10u);
    EXPECT_EQ(lines("Kerbina.conf"), settingsFileLines(settings));
}

TEST_F(SettingsTest, ShowingRereadsTheCompanyDataAndTheCounterAndFillsAnEmptyFolder) {
    MemoryNumberingStore numbering;
    numbering.row = NumberingRow{"AA", "7", "12", ""};
    EnvironmentSettings settings;
    settings.EDATA[0] = "登録済";
    writeCompanyData(settings, root());
    settings.EDATA[0] = "未登録";
    settings.ci[0] = "未登録";
    settings.NUMBER_OPT1 = "未登録";
    settings.NUMBER_OPT3 = 3; // typed, then cancelled

    readForShow(settings, root(), "/data/database", numbering);
    EXPECT_EQ(settings.EDATA[0], "登録済");
    EXPECT_EQ(settings.ci[0], "未登録");
    EXPECT_EQ(settings.NUMBER_OPT1, "未登録");
    EXPECT_EQ(settings.NUMBER_OPT3, 12); // numbers issued since are shown
    EXPECT_EQ(settings.numberAsLoaded, 12);
    EXPECT_EQ(settings.networkFolder, "/data/database");

    settings.networkFolder = "/srv/db\\";
    numbering.row->number = "15";
    readForShow(settings, root(), "/data/database", numbering);
    EXPECT_EQ(settings.networkFolder, "/srv/db\\");
    EXPECT_EQ(settings.NUMBER_OPT3, 15);

    // Registering without touching the counter never writes it.
    registerSettings(settings, root(), numbering);
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

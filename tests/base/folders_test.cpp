#include "base/file_io.h"
#include "base/folders.h"
#include "base/platform_paths.h"
#include "temp_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

TEST(Folders, DataRootAndDefaultDatabaseFolderLieInTheCommonDataFolder) {
    const char* configured = std::getenv("KERBINA_APPDATA");
    if (configured == nullptr || *configured == '\0') {
        GTEST_SKIP() << "KERBINA_APPDATA is not set";
    }
    EXPECT_EQ(commonAppDataFolder(), fs::path(configured));
    EXPECT_EQ(dataRoot(), fs::path(configured) / "Norfell" / "kerbina_xe5");
    EXPECT_EQ(databaseFolder(dataRoot()), fs::path(configured) / "Norfell" / "database");
}

TEST(Folders, SettingsNameTheDatabaseAndQuotationFolders) {
    TempFolder root;
    EXPECT_EQ(quotationFolder(root.path()), root.path() / "kerbina_data");
    fs::create_directories(root.path() / "conf");
    writeTextLines(root.path() / "conf" / "Network_conf.conf", {"[Network_Dir]=/共有/db"});
    writeTextLines(root.path() / "conf" / "Kerbina.conf",
                   {"[Data_Dir]=/見積/一", "[Data_Dir]=/見積/二"});
    EXPECT_EQ(databaseFolder(root.path()), fs::path(u8"/共有/db"));
    EXPECT_EQ(quotationFolder(root.path()), fs::path(u8"/見積/一"));
    writeTextLines(root.path() / "conf" / "Kerbina.conf", {"[Data_Dir]="});
    EXPECT_EQ(quotationFolder(root.path()), root.path() / "kerbina_data");
}

TEST(Folders, InstallFolderIsTheProgramFolder) {
    const char* configured = std::getenv("KERBINA_INSTALL_DIR");
    const fs::path expected = (configured != nullptr && *configured != '\0')
                                  ? fs::path(configured)
                                  : fs::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(installFolder(), expected);
}

} // namespace
} // namespace kerbina

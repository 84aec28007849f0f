#include "base/file_io.h"
#include "base/folders.h"
#include "link/companion_programs.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

TEST(companionProgram, TakesTheBaseNameThenTheWindowsName) {
    TempFolder install;
    EXPECT_FALSE(companionProgram(install.path(), "fgtankak"));
    EXPECT_EQ(companionMissingText("fgtankak"), "プログラム「fgtankak」が見つかりません。");
    fs::create_directory(install.path() / "fgtankak"); // a folder is no program
    writeTextLines(install.path() / "fgtankak.exe", {""});
    EXPECT_EQ(companionProgram(install.path(), "fgtankak"), install.path() / "fgtankak.exe");
    fs::remove(install.path() / "fgtankak");
    writeTextLines(install.path() / "fgtankak", {""});
    EXPECT_EQ(companionProgram(install.path(), "fgtankak"), install.path() / "fgtankak");
}

TEST(PriceRegistrationArguments, CarryTheFoldersSeparatedBySemicolons) {
    const AppFolders folders{"/opt/kerbina", "/data/root", "/data/db", "/data/quotes"};
    const fs::path database = "/data/db/kerbinaXe5.db3";
    EXPECT_EQ(standardPriceArgument(folders, database),
              "/data/root;/data/quotes;/data/db/kerbinaXe5.db3;0;/data/db;");
    EXPECT_EQ(accessoryPriceArgument(18, database), "18;1;0;0;/data/db/;");
    EXPECT_EQ(accessoryPriceArgument(0, database), "0;1;0;0;/data/db/;");
}

} // namespace
} // namespace kerbina

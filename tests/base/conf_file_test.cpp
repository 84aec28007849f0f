#include "base/conf_file.h"
#include "base/file_io.h"
#include "base/text_codec.h"
#include "temp_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

class ConfFolder : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(root() / "conf"); }
    const fs::path& root() const { return folder_.path(); }

    // CR LF, as the program writes.
    void write(const char* name, const std::vector<std::string>& lines) {
        writeTextLines(root() / "conf" / name, lines);
    }
    // LF only, as a text editor on another system may leave a hand-edited file.
    void writeLf(const char* name, const std::string& text) {
        writeFileAtomically(root() / "conf" / name, toCp932(text));
    }

private:
    TempFolder folder_;
};

TEST(ConfLine, KeyIsTheTextBeforeTheFirstEquals) {
    const struct {
        const char* line;
        std::optional<std::string_view> key;
        const char* value;
    } cases[] = {
        {"[GENGAKU]=▲=", "[GENGAKU]", "▲="},
        {"[TITLE1]= a b ", "[TITLE1]", " a b "}, // not trimmed
        {"[CALC_OPT2] =1", "[CALC_OPT2] ", "1"},
        {"=x", "", "x"},
        {"[Data_Dir]", std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(confKey(row.line), row.key) << row.line;
        EXPECT_EQ(confValue(row.line), row.value) << row.line;
    }
}

TEST(ConfLine, FirstMatchAndWholeScanDifferOnRepeatedKeys) {
    const std::vector<std::string> lines = {"[title1]=x", "[TITLE1]=A", "[TITLE1]", "[TITLE1]=B",
                                            "[TITLE1] =C"};
    EXPECT_EQ(firstConfValue(lines, "[TITLE1]"), "A");
    EXPECT_EQ(lastConfValue(lines, "[TITLE1]"), "B");
    EXPECT_EQ(firstConfValue(lines, "[TITLE2]"), "");
    EXPECT_EQ(lastConfValue(lines, "[TITLE2]"), std::nullopt);
    // A line without "=" has no key, so even the empty key finds nothing in it.
    EXPECT_EQ(lastConfValue({"[TITLE1]"}, ""), std::nullopt);
}

TEST_F(ConfFolder, ReadConfValueTakesTheFirstMatch) {
    EXPECT_EQ(readConfValue(root(), "[TITLE1]"), ""); // no file
    write("Kerbina.conf", {"[TITLE1]=A", "[TITLE1]=B", "[Data_Dir]=現場\\見積"});
    EXPECT_EQ(readConfValue(root(), "[TITLE1]"), "A");
    EXPECT_EQ(readConfValue(root(), "[Data_Dir]"), "現場\\見積");
    EXPECT_EQ(readConfValue(root(), "[TITLE2]"), "");
}

// Every part reads the settings file through one reader: a settings file that is a FIFO or a
// folder is refused with FileError instead of blocking the start-up or reading as nothing.
TEST_F(ConfFolder, SettingsFileThatIsNoRegularFileIsRefused) {
    EXPECT_TRUE(readSettingsFileLines(root()).empty()); // no file
    write("Kerbina.conf", {"[TITLE1]=A", "[EDIT_OPT4]=TRUE"});
    EXPECT_EQ(readSettingsFileLines(root()),
              (std::vector<std::string>{"[TITLE1]=A", "[EDIT_OPT4]=TRUE"}));
    fs::remove(settingsFilePath(root()));
    ASSERT_EQ(std::system(("mkfifo '" + settingsFilePath(root()).string() + "'").c_str()), 0);
    EXPECT_THROW(readSettingsFileLines(root()), FileError);
    EXPECT_THROW(readConfValue(root(), "[EDIT_OPT4]"), FileError);
    fs::remove(settingsFilePath(root()));
    fs::create_directory(settingsFilePath(root()));
    EXPECT_THROW(readSettingsFileLines(root()), FileError);
}

TEST_F(ConfFolder, LfOnlyFilesReadLikeCrLfFiles) {
    writeLf("Kerbina.conf", "[FILE_OPT1]=TRUE\n[Tax_Value]=10\n");
    EXPECT_EQ(readConfValue(root(), "[FILE_OPT1]"), "TRUE");
    EXPECT_EQ(readConfValue(root(), "[Tax_Value]"), "10");
    writeLf("Network_conf.conf", "[Network_Dir]=/srv/db\n");
    EXPECT_EQ(readNetworkFolder(root()), "/srv/db");
    writeLf("FKerbina.ini", "[Screen_Top]=1\n[Screen_Left]=2\n[Screen_Width]=3\n[Screen_Height]=4");
    EXPECT_EQ(readWindowPosition(root(), "FKerbina"), (WindowPosition{2, 1, 3, 4}));
}

TEST_F(ConfFolder, NetworkFolderLastLineWins) {
    EXPECT_EQ(readNetworkFolder(root()), "");
    write("Network_conf.conf", {"[Network_Dir]=D:\\a", "[Network_Dir]=D:\\b", "other"});
    EXPECT_EQ(readNetworkFolder(root()), "D:\\b");
    write("Network_conf.conf", {"[Network_Dir]="});
    EXPECT_EQ(readNetworkFolder(root()), "");
}

TEST_F(ConfFolder, WindowPositionRoundTripsAndIsWrittenInOrder) {
    EXPECT_EQ(readWindowPosition(root(), "Save_Dlg"), WindowPosition{}); // no file
    const WindowPosition position{.left = -1920, .top = 40, .width = 800, .height = 600};
    writeWindowPosition(root(), "Save_Dlg", position);
    EXPECT_EQ(readFileBytes(root() / "conf" / "Save_Dlg.ini"),
              "[Screen_Top]=40\r\n[Screen_Left]=-1920\r\n[Screen_Width]=800\r\n"
              "[Screen_Height]=600\r\n");
    EXPECT_EQ(readWindowPosition(root(), "Save_Dlg"), position);
}

TEST_F(ConfFolder, WindowPositionValuesThatAreNotWholeNumbersReadAsZero) {
    write("Title_Dlg.ini", {"[Screen_Top]= 5", "[Screen_Left]=7.5", "[Screen_Width]=99999999999",
                            "[Screen_Height]=abc", "[Screen_Width]=300x"});
    EXPECT_EQ(readWindowPosition(root(), "Title_Dlg"), WindowPosition{});
    write("Title_Dlg.ini", {"[Screen_Height]=500", "[Screen_Top]=-3", "[Screen_Height]=abc"});
    EXPECT_EQ(readWindowPosition(root(), "Title_Dlg"), (WindowPosition{0, -3, 0, 0}));
}

} // namespace
} // namespace kerbina

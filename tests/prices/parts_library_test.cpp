#include "base/file_io.h"
#include "grid/line_copy_file.h"
#include "prices/parts_library.h"
#include "record_builders.h"
#include "recording_cycle.h"
#include "scripted_prompt.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

const std::string kTemplates = "見積定型";
const std::string kNotes = "特記事項";

// A data folder with the two library folders of a fresh start, and a sheet to work on.
class PartsLibraryTest : public testing::Test {
protected:
    PartsLibraryTest() {
        fs::create_directories(folder(kTemplates));
        fs::create_directories(folder(kNotes));
        createFolders(work);
    }

    fs::path folder(const std::string& name) const {
        return data.path() / "part" / fs::path(reinterpret_cast<const char8_t*>(name.c_str()));
    }
    void writePart(const std::string& folderName, const std::string& fileName,
                   const std::vector<std::string>& lines) {
        writeTextLines(folder(folderName) /
                           fs::path(reinterpret_cast<const char8_t*>(fileName.c_str())),
                       lines);
    }
    std::string nameAt(int row) const {
        return state.sheet[static_cast<std::size_t>(row)].nameSpec;
    }
    void save(const std::string& folderName, const std::string& name, Selection selection) {
        savePart(context, selection, library, folderName, name);
    }

    TempFolder data;
    PartsLibrary library{data.path()};
    DocumentState state;
    RecordingCycle cycle;
    ScriptedPrompt prompt;
    GridSession session;
    fs::path work = data.path() / "temp";
    GridContext context{state, cycle, prompt, session, work};
};

const std::vector<std::string> kEditSteps = {"snapshot", "totals", "write"};

TEST_F(PartsLibraryTest, APartSavedFromOneSheetIsInsertedIntoAnotherAndDeleted) {
    state.sheet = numberedLines(6);
    save(kTemplates, "配管セット", Selection{2, 4});
    EXPECT_EQ(prompt.notices, std::vector<std::string>{"パーツファイルを保存しました。"});
    EXPECT_EQ(library.parts(kTemplates), std::vector<std::string>{"配管セット"});
    EXPECT_TRUE(cycle.steps.empty()); // saving leaves the quotation alone

    state.sheet = sheetWithLines({namedLine("M1"), namedLine("M2"), namedLine("M3"),
                                  namedLine("M4"), namedLine("M5"), namedLine("M6")});
    const CommandResult result =
        loadPart(context, Selection{5, 6}, library, kTemplates, "配管セット");
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.selection, (Selection{5, 5}));
    EXPECT_EQ(cycle.steps, kEditSteps);
    ASSERT_EQ(state.lineCount(), 9);
    EXPECT_EQ(nameAt(4), "M4;");
    EXPECT_EQ(nameAt(5), "L2;");
    EXPECT_EQ(nameAt(6), "L3;");
    EXPECT_EQ(nameAt(7), "L4;");
    EXPECT_EQ(nameAt(8), "M5;");
    EXPECT_EQ(nameAt(9), "M6;");

    library.removePart(kTemplates, "配管セット");
    EXPECT_TRUE(library.parts(kTemplates).empty());
}

// The save stops at the sheet's last line; a name already there, in any letter case of its
// extension, is replaced rather than joined by a second file.
TEST_F(PartsLibraryTest, SavingUnderAnExistingNameReplacesThePart) {
    state.sheet = numberedLines(3);
    save(kNotes, "注記", Selection{1, 3});
    writePart(kNotes, "大文字.PRT", {std::string(kCopyFileVersionLine)});
    save(kNotes, "注記", Selection{3, 9});
    save(kNotes, "大文字", Selection{2, 2});

    EXPECT_EQ(library.parts(kNotes), (std::vector<std::string>{"大文字", "注記"}));
    const auto replaced = readLineCopyFile(folder(kNotes) / u8"注記.prt");
    ASSERT_TRUE(replaced);
    ASSERT_EQ(replaced->size(), 1u);
    EXPECT_EQ(replaced->front().nameSpec, "L3;");
    const auto upper = readLineCopyFile(folder(kNotes) / u8"大文字.PRT");
    ASSERT_TRUE(upper);
    ASSERT_EQ(upper->size(), 1u);
    EXPECT_EQ(upper->front().nameSpec, "L2;");
}

// Folders are the direct subfolders only; parts are the "*.prt" files in any letter case; both
// sorted by name whatever order the folder lists them in.
TEST_F(PartsLibraryTest, ListingsAreSortedAndHoldOnlyFoldersAndParts) {
    fs::create_directories(folder("b") / "nested");
    fs::create_directories(folder("a"));
    writeTextLines(data.path() / "part" / "loose.prt", {"x"});
    writePart("a", "zz.prt", {"x"});
    writePart("a", "Mm.PRT", {"x"});
    writePart("a", "aa.prt", {"x"});
    writePart("a", "note.txt", {"x"});
    fs::create_directories(folder("a") / "folder.prt");

    EXPECT_EQ(library.folders(), (std::vector<std::string>{"a", "b", kNotes, kTemplates}));
    EXPECT_EQ(library.parts("a"), (std::vector<std::string>{"Mm", "aa", "zz"}));
    EXPECT_TRUE(library.parts("missing").empty());
    EXPECT_TRUE(library.parts("..").empty());
}

TEST(PartNames, TypedNamesThatWouldLeaveTheLibraryOrBreakAFileNameAreRefused) {
    const struct {
        const char* name;
        bool refused;
    } cases[] = {
        {"配管セット", false}, {"A-1 (改)", false}, {"v1.2", false},
        {".hidden", false},    {"", true},          {"   ", true},
        {".", true},           {"..", true},        {"../外", true},
        {"a/b", true},         {"a\\b", true},      {"a:b", true},
        {"a*b", true},         {"a?b", true},       {"a\"b", true},
        {"a<b>", true},        {"a|b", true},       {"a\tb", true},
        {"a\nb", true},        {"x..y", true},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(partNameRefusal(test.name).has_value(), test.refused) << test.name;
    }
}

// A refused name writes nothing anywhere; a folder named by the library never reaches past it.
TEST_F(PartsLibraryTest, NamesNeverReachOutsideTheLibrary) {
    state.sheet = numberedLines(2);
    EXPECT_THROW(save(kTemplates, "../逃げ", Selection{1, 2}), UserError);
    EXPECT_THROW(save("..", "逃げ", Selection{1, 2}), UserError);
    EXPECT_THROW(save("無い", "部品", Selection{1, 2}), UserError);
    EXPECT_THROW(library.createFolder("../外"), UserError);
    EXPECT_THROW(library.createFolder(""), UserError);
    for (const char* folderName : {"", ".", "..", "a/..", "/"}) {
        EXPECT_THROW(library.removeFolder(folderName), UserError) << folderName;
    }
    EXPECT_THROW(library.removePart(kTemplates, "../../temp/x"), UserError);
    EXPECT_TRUE(prompt.notices.empty());
    EXPECT_TRUE(fs::is_directory(folder(kTemplates)));
    EXPECT_TRUE(fs::is_directory(work));
    EXPECT_FALSE(fs::exists(data.path() / "part" / u8"逃げ.prt"));
    EXPECT_FALSE(fs::exists(data.path() / u8"外"));
}

// Removing a folder takes its parts with it; links in it (or the folder itself as a link) are
// removed as links, and what they point to stays.
TEST_F(PartsLibraryTest, RemovingAFolderRemovesItsPartsButNothingALinkPointsTo) {
    writePart(kTemplates, "一.prt", {std::string(kCopyFileVersionLine)});
    writePart(kTemplates, "二.prt", {std::string(kCopyFileVersionLine)});
    const fs::path outside = data.path() / "outside";
    fs::create_directories(outside);
    writeTextLines(outside / "keep.prt", {"keep"});
    fs::create_directory_symlink(outside, folder(kTemplates) / "linked");
    fs::create_directory_symlink(outside, folder("link"));

    library.removeFolder(kTemplates);
    library.removeFolder("link");
    EXPECT_EQ(library.folders(), std::vector<std::string>{kNotes});
    EXPECT_TRUE(fs::is_regular_file(outside / "keep.prt"));
    EXPECT_TRUE(fs::is_directory(data.path() / "part"));
}

TEST_F(PartsLibraryTest, MovesLeaveAPartWhoseNameTheTargetHoldsAndMoveTheOthers) {
    writePart(kTemplates, "一.prt", {std::string(kCopyFileVersionLine), "from"});
    writePart(kTemplates, "二.prt", {std::string(kCopyFileVersionLine)});
    writePart(kNotes, "一.PRT", {std::string(kCopyFileVersionLine), "target"});

    EXPECT_EQ(library.moveParts(kTemplates, kTemplates, {"一", "二"}), std::nullopt);
    EXPECT_EQ(library.parts(kTemplates), (std::vector<std::string>{"一", "二"}));

    const auto leftBehind = library.moveParts(kTemplates, kNotes, {"一", "二"});
    ASSERT_TRUE(leftBehind);
    EXPECT_NE(leftBehind->find("一：移動先に同じ名前のパーツファイルがあります。"),
              std::string::npos)
        << *leftBehind;
    EXPECT_EQ(leftBehind->find("二"), std::string::npos) << *leftBehind;
    EXPECT_EQ(library.parts(kTemplates), std::vector<std::string>{"一"});
    EXPECT_EQ(library.parts(kNotes), (std::vector<std::string>{"一", "二"}));
    EXPECT_EQ(readTextLines(folder(kTemplates) / u8"一.prt").back(), "from");
    EXPECT_EQ(readTextLines(folder(kNotes) / u8"一.PRT").back(), "target");
}

// A part that is missing or is no line copy file is told, and the sheet and its files stay.
TEST_F(PartsLibraryTest, APartThatIsNoCopyFileIsReportedAndChangesNothing) {
    state.sheet = numberedLines(3);
    const Sheet before = state.sheet;
    writePart(kTemplates, "古い形式.prt", {"[Version]=1.00", "0;x;"});
    writePart(kTemplates, "空.prt", {});
    for (const char* part : {"古い形式", "空", "無い"}) {
        EXPECT_THROW(loadPart(context, Selection{2, 2}, library, kTemplates, part), UserError)
            << part;
    }
    try {
        loadPart(context, Selection{2, 2}, library, kTemplates, "古い形式");
    } catch (const UserError& error) {
        EXPECT_NE(std::string(error.what()).find("パーツファイルの形式ではありません"),
                  std::string::npos);
    }
    EXPECT_EQ(state.sheet, before);
    EXPECT_TRUE(cycle.steps.empty());
}

} // namespace
} // namespace kerbina

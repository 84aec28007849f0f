#include "app/instance_lock.h"
#include "app/seeding.h"
#include "base/file_io.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <map>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

// Every file and folder under `root` with the contents of the files.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).generic_string();
        tree[name] = entry.is_directory() ? "<dir>" : readFileBytes(entry.path());
    }
    return tree;
}

class Seeding : public ::testing::Test {
protected:
    Seeding() : install_(folder_.path() / "install"), root_(folder_.path() / "data") {
        file("style/A4縦STYLE01blue.sle", "style");
        file("style/ex_data/pipe.sle", "pipe style");
        file("style/dx_data/duct.sle", "duct style");
        file("conf/cilist.lst", "ｍ");
        file("conf/.gitkeep", "");
        file("sampledata/sample.krb2", "sample");
        file("sampledata/nested/deep.krb2", "not copied: sub-folders are not seed files");
        file("data/data.txt", "data");
        file("part/見積定型/定型1.prt", "t");
        file("part/特記事項/注記.prt", "n");
        file("part/特記事項/readme.txt", "not a part file");
        file("part/特記事項/大文字.PRT", "N");
        file("ex_data/DataSort_ex.conf", "ex conf");
        file("ex_data/keito_name.conf", "keito");
        file("dx_data/datasort_dx.conf", "dx conf");
    }

    void file(const char* name, const char* contents) {
        const fs::path path = install_ / fs::path(reinterpret_cast<const char8_t*>(name));
        fs::create_directories(path.parent_path());
        writeFileAtomically(path, contents);
    }

    TempFolder folder_;
    fs::path install_;
    fs::path root_;
};

TEST_F(Seeding, NewDataRootGetsTheTreeAndTheSeedFiles) {
    const SeedResult result = seedDataRoot(install_, root_, ModulePresence{});
    const std::map<std::string, std::string> expected = {
        {"backup", "<dir>"},
        {"conf", "<dir>"},
        {"conf/cilist.lst", "ｍ"},
        {"data", "<dir>"},
        {"data/data.txt", "data"},
        {"kerbina_data", "<dir>"},
        {"kerbina_data/sample.krb2", "sample"},
        {"part", "<dir>"},
        {"part/特記事項", "<dir>"},
        {"part/特記事項/注記.prt", "n"},
        {"part/特記事項/大文字.PRT", "N"},
        {"part/見積定型", "<dir>"},
        {"part/見積定型/定型1.prt", "t"},
        {"printdata", "<dir>"},
        {"style", "<dir>"},
        {"style/A4縦STYLE01blue.sle", "style"},
        {"temp", "<dir>"},
    };
    EXPECT_EQ(snapshot(root_), expected);
    EXPECT_EQ(result.copiedFiles.size(), 7u);

    // A second start creates and copies nothing.
    const SeedResult again = seedDataRoot(install_, root_, ModulePresence{});
    EXPECT_TRUE(again.createdFolders.empty());
    EXPECT_TRUE(again.copiedFiles.empty());
    EXPECT_EQ(snapshot(root_), expected);
}

TEST_F(Seeding, ExistingDataRootGetsOnlyWhatIsMissing) {
    seedDataRoot(install_, root_, ModulePresence{});
    fs::remove_all(root_ / "style");
    fs::remove_all(root_ / "backup");
    fs::remove_all(root_ / "data");
    writeFileAtomically(root_ / "conf" / "cilist.lst", "edited by the user");

    seedDataRoot(install_, root_, ModulePresence{});
    EXPECT_EQ(readFileBytes(root_ / "style" / u8"A4縦STYLE01blue.sle"), "style");
    EXPECT_TRUE(fs::is_directory(root_ / "backup"));
    EXPECT_FALSE(fs::exists(root_ / "data")); // only a new data root gets it
    EXPECT_EQ(readFileBytes(root_ / "conf" / "cilist.lst"), "edited by the user");
}

TEST_F(Seeding, LockFileAloneStillCountsAsANewDataRoot) {
    auto lock = InstanceLock::tryAcquire(root_);
    ASSERT_TRUE(lock);
    EXPECT_TRUE(isNewDataRoot(root_));
    seedDataRoot(install_, root_, ModulePresence{});
    EXPECT_EQ(readFileBytes(root_ / "kerbina_data" / "sample.krb2"), "sample");
    EXPECT_FALSE(isNewDataRoot(root_));
}

TEST_F(Seeding, PresentModulesSeedTheirData) {
    const struct {
        ModulePresence modules;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } cases[] = {
        {{}, {}, {"ex_data", "dx_data", "style/ex_data", "style/dx_data"}},
        {{.piping = true},
         {"ex_data/DataSort_ex.conf", "ex_data/keito_name.conf", "style/ex_data/pipe.sle"},
         {"ex_data/kerbinaXe5EX.db3", "dx_data", "style/dx_data"}}, // a missing seed is skipped
        {{.duct = true},
         {"dx_data/datasort_dx.conf", "style/dx_data/duct.sle"},
         {"ex_data", "style/ex_data"}},
    };
    for (const auto& row : cases) {
        TempFolder data;
        seedDataRoot(install_, data.path(), row.modules);
        for (const std::string& name : row.present) {
            EXPECT_TRUE(fs::exists(data.path() / name)) << name;
        }
        for (const std::string& name : row.absent) {
            EXPECT_FALSE(fs::exists(data.path() / name)) << name;
        }
        EXPECT_TRUE(seedDataRoot(install_, data.path(), row.modules).copiedFiles.empty());
    }
}

TEST_F(Seeding, MissingSeedFolderLeavesTheTreeWithoutCopies) {
    TempFolder empty;
    const SeedResult result =
        seedDataRoot(empty.path() / "none", root_, ModulePresence{true, true});
    EXPECT_TRUE(result.copiedFiles.empty());
    EXPECT_TRUE(fs::is_directory(root_ / "style" / "ex_data"));
    EXPECT_TRUE(fs::is_directory(root_ / "dx_data"));
}

TEST(ModuleDetection, InputProgramsWithOrWithoutExe) {
    const struct {
        std::vector<const char*> files;
        ModulePresence expected;
    } cases[] = {
        {{}, {}},
        {{"kanzai_dlg"}, {.piping = true}},
        {{"kanzai_dlg.exe"}, {.piping = true}},
        {{"dactdlg.exe", "kanzai_dlg"}, {.piping = true, .duct = true}},
        {{"Kanzai_dlg", "dactdlg.EXE", "fuzoku_dlg"}, {}},
    };
    for (const auto& row : cases) {
        TempFolder install;
        for (const char* name : row.files) {
            writeFileAtomically(install.path() / name, "");
        }
        EXPECT_EQ(detectModules(install.path()), row.expected) << row.files.size();
    }
    TempFolder folderNotProgram;
    fs::create_directory(folderNotProgram.path() / "dactdlg");
    EXPECT_EQ(detectModules(folderNotProgram.path()), ModulePresence{});
}

} // namespace
} // namespace kerbina

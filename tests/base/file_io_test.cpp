#include "base/conf_file.h"
#include "base/file_io.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kerbina_file_io_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    // The test's folder emptied, then holding the files "a" and "b", each with its name as text.
    void emptyFolderHoldingAAndB() {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        writeFileAtomically(folder_ / "a", "a");
        writeFileAtomically(folder_ / "b", "b");
    }

    fs::path folder_;
};

TEST_F(FileIoTest, AtomicWriteReplacesTheWholeFile) {
    const fs::path file = folder_ / "HEAD.WRK";
    writeFileAtomically(file, std::string("long old contents\0x", 19));
    writeFileAtomically(file, "new");
    EXPECT_EQ(readFileBytes(file), "new");
    writeFileAtomically(file, "scratch", Durability::Scratch);
    EXPECT_EQ(readFileBytes(file), "scratch");
    EXPECT_EQ(entriesInFolder(), 1u); // no temporary left behind
}

TEST_F(FileIoTest, FailedWriteLeavesTheOldTargetAndNoTemporary) {
    const fs::path target = folder_ / "WITEM1.WRK";
    fs::create_directory(target);
    writeFileAtomically(target / "inside", "old");
    try {
        writeFileAtomically(target, "new");
        FAIL() << "a write over a directory reported success";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "通常のファイルではないため書き込めません: " + target.string());
    }
    EXPECT_EQ(readFileBytes(target / "inside"), "old");
    EXPECT_EQ(entriesInFolder(), 1u);

    EXPECT_THROW(writeFileAtomically(folder_ / "missing" / "a.txt", "x"), FileError);
}

// A database another program put in place first is never replaced by a second start's copy.
TEST_F(FileIoTest, CopyIfAbsentNeverReplacesAFileThatIsThere) {
    const fs::path source = folder_ / "template.db3";
    writeFileAtomically(source, "template");
    const fs::path target = folder_ / "kerbinaXe5.db3";

    EXPECT_TRUE(copyFileIfAbsent(source, target));
    EXPECT_EQ(readFileBytes(target), "template");

    writeFileAtomically(target, "in use");
    EXPECT_FALSE(copyFileIfAbsent(source, target));
    EXPECT_EQ(readFileBytes(target), "in use");

    EXPECT_FALSE(copyFileIfAbsent(folder_ / "missing.db3", folder_ / "other.db3"));
    EXPECT_FALSE(fs::exists(folder_ / "other.db3"));
    EXPECT_EQ(entriesInFolder(), 2u); // no temporary left behind
}

TEST_F(FileIoTest, ReadsEveryByteOfAFile) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3'000'001}}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>(i * 7 % 256);
        }
        const fs::path file = folder_ / ("file" + std::to_string(size));
        writeFileAtomically(file, bytes);
        EXPECT_EQ(readFileBytes(file), bytes) << size;
    }
}

TEST_F(FileIoTest, StampTellsAReplacedFileFromTheSameFile) {
    const fs::path file = folder_ / "WITEM1.WRK";
    EXPECT_FALSE(fileStamp(file));
    EXPECT_FALSE(fileStamp(folder_));
    writeFileAtomically(file, "first");
    const auto first = fileStamp(file);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 5u);
    EXPECT_EQ(fileStamp(file), first);
    writeFileAtomically(file, "other"); // same size, at once
    EXPECT_NE(fileStamp(file), first);
    writeFileAtomically(folder_ / "WITEM2.WRK", "third");
    const auto moved = fileStamp(folder_ / "WITEM2.WRK");
    fs::rename(folder_ / "WITEM2.WRK", file);
    EXPECT_NE(fileStamp(file), first);
    EXPECT_EQ(fileStamp(file)->file, moved->file);
}

TEST_F(FileIoTest, ReadingAMissingFile) {
    EXPECT_THROW(readFileBytes(folder_ / "none"), FileError);
    EXPECT_THROW(readFileBytes(folder_), FileError);
    EXPECT_TRUE(readTextLines(folder_ / "none").empty());
}

// Makes a FIFO, as a user or another program may leave one under the name of a file we read.
void makeFifo(const fs::path& path) {
    fs::create_directories(path.parent_path());
    ASSERT_EQ(std::system(("mkfifo '" + path.string() + "'").c_str()), 0) << path;
}

// Runs a read of `fifo` and gives up waiting after ten seconds: a reader that blocked is then
// released by a writer that opens and closes the FIFO, and the test fails instead of hanging.
template <typename Read>
void expectRefusedWithoutWaiting(const fs::path& fifo, const char* what, Read read) {
    auto reading = std::async(std::launch::async, [&read]() -> std::string {
        try {
            read();
        } catch (const FileError& error) {
            return error.what();
        }
        return "read without an error";
    });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << what << ": the read waited on the FIFO";
        std::ofstream release(fifo);
    }
    EXPECT_NE(reading.get().find("通常のファイルではない"), std::string::npos) << what;
}

// Every file the program reads, as a FIFO: each read is refused at once instead of blocking the
// window, the command-line tool or the print programs. All of them read through the readers below.
TEST_F(FileIoTest, EveryKindOfFileReadIsRefusedAsAFifoWithoutWaiting) {
    const fs::path root = folder_ / "kerbina_xe5";
    const auto wholeFile = [](const fs::path& file) {
        readFileBytes(file);
    };
    const auto textLines = [](const fs::path& file) {
        readTextLines(file);
    };
    const auto quotation = [](const fs::path& file) {
        readRegularFile(file);
    };
    const auto databaseHead = [](const fs::path& file) {
        readFileHead(file, 100);
    };
    const struct {
        fs::path file;
        std::function<void(const fs::path&)> read;
    } cases[] = {
        {root / "conf" / "Kerbina.conf",
         [&root](const fs::path&) {
             readSettingsFileLines(root);
         }},
        {root / "conf" / "Network_conf.conf",
         [&root](const fs::path&) {
             readNetworkFolder(root);
         }},
        {root / "conf" / "FKerbina.ini",
         [&root](const fs::path&) {
             readWindowPosition(root, "FKerbina");
         }},
        {root / "conf" / "USER_DATA.conf", textLines},
        {root / "conf" / "filesel_Dlg1.conf", textLines},
        {root / "printdata" / "print_Data.dat", textLines},
        {root / "printdata" / "K-0001.dat", textLines},
        {root / "temp" / "csv_inport.tmp", textLines},
        {root / "temp" / "copydata.tmp", textLines},
        {root / "temp" / "WITEM1.WRK", wholeFile},
        {root / "kerbina_data" / "見積.krb2", quotation},
        {folder_ / "database" / "kerbinaXe5.db3", databaseHead},
    };
    for (const auto& row : cases) {
        makeFifo(row.file);
        expectRefusedWithoutWaiting(row.file, row.file.filename().c_str(),
                                    [&row] { row.read(row.file); });
    }
}

// A device or a folder is refused like a FIFO: /dev/zero would never end, a folder reads as
// nothing.
TEST_F(FileIoTest, DevicesAndFoldersAreRefused) {
    for (const fs::path& file : {fs::path("/dev/zero"), fs::path("/dev/null"), folder_}) {
        EXPECT_THROW(readFileBytes(file), FileError) << file;
        EXPECT_THROW(readFileHead(file, 100), FileError) << file;
        EXPECT_THROW(readTextLines(file), FileError) << file;
    }
}

// A file larger than the limit is refused whole (without reading it) rather than filling the
// memory; a look at its head takes just the head.
TEST_F(FileIoTest, ReadsStopAtTheirLimit) {
    const fs::path file = folder_ / "print_Data.dat";
    writeFileAtomically(file, "0123456789");
    const struct {
        std::uintmax_t limit;
        bool refused;
    } cases[] = {{9, true}, {10, false}, {11, false}, {0, true}};
    for (const auto& row : cases) {
        if (row.refused) {
            EXPECT_THROW(readRegularFile(file, row.limit), FileError) << row.limit;
        } else {
            EXPECT_EQ(readRegularFile(file, row.limit), "0123456789") << row.limit;
        }
    }
    EXPECT_EQ(readFileHead(file, 4), "0123");
    EXPECT_EQ(readFileHead(file, 40), "0123456789");

    // A sparse file one byte beyond the text limit costs no disk and is never read.
    fs::resize_file(file, kTextReadLimit + 1);
    try {
        readTextLines(file);
        FAIL() << "a text file beyond the limit was read";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("大きすぎる"), std::string::npos);
    }
    EXPECT_EQ(readFileHead(file, 4), "0123");
}

// The rule for every write: only a regular file (also through a link) or a free name is
// replaced. A FIFO, a device or a folder stays what it is, and the write is reported as failed.
TEST_F(FileIoTest, OnlyARegularFileOrAFreeNameIsWritten) {
    const fs::path regular = folder_ / "見積.csv";
    writeFileAtomically(regular, "old");
    const fs::path fifo = folder_ / "pipe.csv";
    makeFifo(fifo);
    fs::create_symlink(regular, folder_ / "to_regular.csv");
    fs::create_symlink(fifo, folder_ / "to_fifo.csv");
    fs::create_symlink(folder_ / "none", folder_ / "dangling.csv");
    fs::create_directory(folder_ / "folder.csv");
    const struct {
        fs::path target;
        bool replaceable;
    } cases[] = {
        {folder_ / "new.csv", true},      {regular, true},      {folder_ / "to_regular.csv", true},
        {folder_ / "dangling.csv", true}, {fifo, false},        {folder_ / "to_fifo.csv", false},
        {folder_ / "folder.csv", false},  {"/dev/null", false},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(mayReplaceFile(row.target), row.replaceable) << row.target;
    }
    for (const fs::path& target : {fifo, folder_ / "to_fifo.csv", folder_ / "folder.csv"}) {
        try {
            writeTextLines(target, {"配管,"});
            ADD_FAILURE() << "wrote over " << target;
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "通常のファイルではないため書き込めません: " + target.string());
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(folder_ / "to_fifo.csv"));
    EXPECT_TRUE(fs::is_directory(folder_ / "folder.csv"));
    writeFileAtomically(regular, "new");
    EXPECT_EQ(readFileBytes(regular), "new");
}

TEST_F(FileIoTest, TextLinesAreCp932WithCrLf) {
    const fs::path file = folder_ / "Kerbina.conf";
    writeTextLines(file, {"[NAME]=配管～", "", "㎡"});
    EXPECT_EQ(readFileBytes(file), "[NAME]=\x94\x7A\x8A\xC7\x81\x60\r\n\r\n\x87\x75\r\n");
    EXPECT_EQ(readTextLines(file), (std::vector<std::string>{"[NAME]=配管～", "", "㎡"}));
}

// Every entry under the folder: relative name → content, "<dir>" for a folder.
std::map<std::string, std::string> contents(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        entries[entry.path().lexically_relative(folder).string()] =
            entry.is_directory() ? "<dir>" : readFileBytes(entry.path());
    }
    return entries;
}

// Each kind of change, alone and in a mix, once rolled back and once committed.
TEST_F(FileIoTest, ATransactionKeepsAllItsChangesOrNone) {
    const struct {
        const char* what;
        void (*change)(const fs::path&);
        std::map<std::string, std::string> committed;
    } cases[] = {
        {"replace",
         [](const fs::path& f) { writeFileAtomically(f / "a", "new a"); },
         {{"a", "new a"}, {"b", "b"}}},
        {"create",
         [](const fs::path& f) { writeFileAtomically(f / "c", "c"); },
         {{"a", "a"}, {"b", "b"}, {"c", "c"}}},
        {"remove", [](const fs::path& f) { removeFile(f / "a"); }, {{"b", "b"}}},
        {"rename over another",
         [](const fs::path& f) { renameFile(f / "a", f / "b"); },
         {{"b", "a"}}},
        {"folder and a file in it",
         [](const fs::path& f) {
             createFolders(f / "LIST.UND" / "deeper");
             writeFileAtomically(f / "LIST.UND" / "deeper" / "x", "x");
         },
         {{"a", "a"},
          {"b", "b"},
          {"LIST.UND", "<dir>"},
          {"LIST.UND/deeper", "<dir>"},
          {"LIST.UND/deeper/x", "x"}}},
        {"the same file changed many times",
         [](const fs::path& f) {
             writeFileAtomically(f / "a", "1");
             renameFile(f / "a", f / "c");
             writeFileAtomically(f / "a", "2");
             removeFile(f / "b");
             writeFileAtomically(f / "b", "3");
             removeFile(f / "c");
         },
         {{"a", "2"}, {"b", "3"}}},
        {"a moved file changed under its new name",
         [](const fs::path& f) {
             renameFile(f / "a", f / "c");
             writeFileAtomically(f / "c", "new c");
         },
         {{"b", "b"}, {"c", "new c"}}},
        {"a moved file removed under its new name",
         [](const fs::path& f) {
             renameFile(f / "a", f / "c");
             removeFile(f / "c");
         },
         {{"b", "b"}}},
        {"files moved along a row",
         [](const fs::path& f) {
             renameFile(f / "b", f / "c");
             renameFile(f / "a", f / "b");
             renameFile(f / "c", f / "d");
         },
         {{"b", "a"}, {"d", "b"}}},
        {"tolerant wildcard steps",
         [](const fs::path& f) {
             EXPECT_TRUE(tryRenameFile(f / "a", f / "a.brk"));
             EXPECT_TRUE(tryRemoveFile(f / "b"));
             EXPECT_FALSE(tryRemoveFile(f / "missing"));
         },
         {{"a.brk", "a"}}},
    };
    const std::map<std::string, std::string> initial = {{"a", "a"}, {"b", "b"}};
    for (const auto& row : cases) {
        for (const bool commit : {false, true}) {
            emptyFolderHoldingAAndB();
            try {
                FileTransaction outer;
                {
                    FileTransaction inner; // joins the outer one
                    row.change(folder_);
                    inner.commit();
                }
                if (!commit) {
                    throw FileError("the command failed");
                }
                outer.commit();
            } catch (const FileError&) {
            }
            EXPECT_EQ(contents(folder_), commit ? row.committed : initial)
                << row.what << (commit ? " committed" : " rolled back");
        }
    }
}

// A part that fails puts back its own changes; the rest of the command goes on and is kept or
// undone as a whole.
TEST_F(FileIoTest, ATransactionInsideAnotherUndoesOnlyItsOwnChanges) {
    for (const bool outerCommits : {true, false}) {
        emptyFolderHoldingAAndB();
        try {
            FileTransaction outer;
            writeFileAtomically(folder_ / "a", "outer a");
            try {
                FileTransaction inner;
                writeFileAtomically(folder_ / "a", "inner a");
                removeFile(folder_ / "b");
                writeFileAtomically(folder_ / "c", "inner c");
                throw FileError("the part failed");
            } catch (const FileError&) {
            }
            // The outer transaction still keeps the version of "a" from before it.
            std::map<std::string, std::string> now = contents(folder_);
            std::erase_if(now, [](const auto& entry) { return isLeftoverTemporary(entry.first); });
            EXPECT_EQ(now, (std::map<std::string, std::string>{{"a", "outer a"}, {"b", "b"}}));
            writeFileAtomically(folder_ / "b", "outer b");
            if (!outerCommits) {
                throw FileError("the command failed");
            }
            outer.commit();
        } catch (const FileError&) {
        }
        EXPECT_EQ(contents(folder_),
                  outerCommits
                      ? (std::map<std::string, std::string>{{"a", "outer a"}, {"b", "outer b"}})
                      : (std::map<std::string, std::string>{{"a", "a"}, {"b", "b"}}));
    }
}

TEST_F(FileIoTest, TheSeamFailsTheNthCallOnly) {
    writeFileAtomically(folder_ / "a", "a");
    failNthFileCall(2);
    EXPECT_NO_THROW(readFileBytes(folder_ / "a"));
    EXPECT_THROW(writeFileAtomically(folder_ / "a", "b"), FileError);
    EXPECT_NO_THROW(writeFileAtomically(folder_ / "a", "c"));
    EXPECT_EQ(countedFileCalls(), 3);
    failNthFileCall(0);
    EXPECT_EQ(readFileBytes(folder_ / "a"), "c");
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST(LeftoverTemporaries, OnlyTheWritersOwnNamesCount) {
    const struct {
        const char* name;
        bool leftover;
    } cases[] = {
        {"HEAD.WRK.123456.tmp", true},
        {"backup.krb2.7.tmp", true},
        {"a.0.tmp", true},
        {"copydata.tmp", false},
        {"clipdata.tmp", false},
        {".5.tmp", false},
        {"a..tmp", false},
        {"a.1x.tmp", false},
        {"a.12.tmp.bak", false},
        {"12.tmp", false},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(isLeftoverTemporary(row.name), row.leftover) << row.name;
    }
}

TEST(SplitTextLines, AcceptsCrLfAndLf) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb\n", {"a", "", "b"}},
        {"a\rb\r\n", {"a\rb"}}, // a CR inside a line is text
        {"\n", {""}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(splitTextLines(row.text), row.lines) << row.text;
    }
}

} // namespace
} // namespace kerbina

#include "document/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>
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
        EXPECT_EQ(std::string(error.what()), "ファイルに書き込めませんでした: " + target.string());
    }
    EXPECT_EQ(readFileBytes(target / "inside"), "old");
    EXPECT_EQ(entriesInFolder(), 1u);

    EXPECT_THROW(writeFileAtomically(folder_ / "missing" / "a.txt", "x"), FileError);
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

TEST_F(FileIoTest, TextLinesAreCp932WithCrLf) {
    const fs::path file = folder_ / "Kerbina.conf";
    writeTextLines(file, {"[NAME]=配管～", "", "㎡"});
    EXPECT_EQ(readFileBytes(file), "[NAME]=\x94\x7A\x8A\xC7\x81\x60\r\n\r\n\x87\x75\r\n");
    EXPECT_EQ(readTextLines(file), (std::vector<std::string>{"[NAME]=配管～", "", "㎡"}));
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

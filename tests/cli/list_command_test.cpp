// kerbina-cli list, run as a user runs it, over a database with a few saved quotations.
#include "base/file_io.h"
#include "base/path_text.h"
#include "storage/database.h"
#include "stored_quotations.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

namespace kerbina {
namespace {

class ListCommandTest : public testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("kerbina-cli-list-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(root / "conf");
        // The database folder is named by the network folder file, as on a shared office folder.
        writeTextLines(root / "conf" / "Network_conf.conf",
                       {"[Network_Dir]=" + pathText(root / "db")});
        std::filesystem::create_directories(root / "db");
        QuietPrompt quiet;
        SqliteFileDatabase database(root / "db" / "kerbinaXe5.db3", quiet);
        createQuotationTables(database);
        insertQuotation(database, {.number = "0007",
                                   .addressee = "東西\"設備\"",
                                   .workName = "空調",
                                   .site = "病院",
                                   .amount = "1500000",
                                   .requester = "佐藤",
                                   .created = "2024-02-01 00:00:00",
                                   .status = "1",
                                   .data = quotationText("0007", "1;冷温水配管;\r\n")});
        insertQuotation(database, {.number = "NF00008",
                                   .addressee = "南北空調",
                                   .amount = "2500.5",
                                   .created = "2024-03-15 00:00:00",
                                   .status = "2",
                                   .data = quotationText("NF00008", "1;冷温水配管;\r\n")});
        insertQuotation(database, {.number = "NF00009",
                                   .addressee = "南北空調",
                                   .amount = "90",
                                   .created = "2024-05-01 00:00:00",
                                   .status = "1",
                                   .data = quotationText("NF00009", "1;給水管;\r\n")});
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    // Runs the program; the exit status, and what it printed.
    int run(const std::string& arguments, std::string& out) {
        const auto output = root / "out.txt";
        const std::string command = std::string(KERBINA_CLI) + " list " + arguments +
                                    " --data-root '" + pathText(root) + "' > '" + pathText(output) +
                                    "' 2>&1";
        const int status = std::system(command.c_str());
        out = readFileBytes(output);
        return WEXITSTATUS(status);
    }

    std::filesystem::path root;
};

TEST_F(ListCommandTest, PrintsTheMatchingRowsAsJson) {
    std::string out;
    ASSERT_EQ(run("--search 冷温水 --from 2024-01-01 --to 2024-03-15 --min 1000", out), 0) << out;
    EXPECT_EQ(out, "{\n  \"count\": 2,\n  \"page\": 1,\n  \"pages\": 1,\n  \"rows\": [\n"
                   "    {\"number\": \"NF00008\", \"status\": 2, \"statusText\": \"成約\", "
                   "\"addressee\": \"南北空調\", \"site\": \"\", \"workName\": \"\", \"amount\": "
                   "2500.5, \"requester\": \"\", \"date\": \"2024-03-15 00:00:00\"},\n"
                   "    {\"number\": \"0007\", \"status\": 1, \"statusText\": \"提出済\", "
                   "\"addressee\": \"東西\\\"設備\\\"\", \"site\": \"病院\", \"workName\": "
                   "\"空調\", \"amount\": 1500000, \"requester\": \"佐藤\", \"date\": "
                   "\"2024-02-01 00:00:00\"}\n  ]\n}\n");
}

TEST_F(ListCommandTest, FiltersAndPagesAsTheList) {
    struct Case {
        std::string arguments;
        std::string expected; // the numbers printed, in order
    };
    const Case cases[] = {
        {"", "NF00009 NF00008 0007"},
        {"--status 1", "NF00009 0007"},
        {"--addressee 南北空調 --max 100", "NF00009"},
        {"--page 2 --per-page 2", "0007"},
        {"--sort 9", "NF00009 NF00008 0007"},
        {"--search '%'", ""},
    };
    for (const Case& c : cases) {
        std::string out;
        ASSERT_EQ(run(c.arguments, out), 0) << c.arguments << ": " << out;
        std::string numbers;
        for (std::size_t at = out.find("\"number\": \""); at != std::string::npos;
             at = out.find("\"number\": \"", at + 1)) {
            const std::size_t start = at + 11;
            numbers +=
                (numbers.empty() ? "" : " ") + out.substr(start, out.find('"', start) - start);
        }
        EXPECT_EQ(numbers, c.expected) << c.arguments;
    }
}

TEST_F(ListCommandTest, WrongArgumentsAndMissingDatabase) {
    std::string out;
    for (const char* bad : {"--from 2024-02-30", "--status 7", "--page 2", "--min abc", "--search",
                            "--per-page 0", "--sort 14", "--sort 22", "--sort 99", "--sort -1"}) {
        EXPECT_EQ(run(bad, out), 2) << bad;
    }
    std::filesystem::remove(root / "db" / "kerbinaXe5.db3");
    EXPECT_EQ(run("", out), 1);
    EXPECT_NE(out.find("見積データベースがありません。"), std::string::npos) << out;
    EXPECT_FALSE(std::filesystem::exists(root / "db" / "kerbinaXe5.db3"));
}

} // namespace
} // namespace kerbina

#include "quotation_database_fixture.h"
#include "storage/quotation_numbering.h"

#include <fstream>
#include <set>
#include <thread>

namespace kerbina {
namespace {

TEST(QuotationNumberFormat, ZerosFillUpToTheWidthInCharacters) {
    const struct {
        const char* prefix;
        std::int64_t counter;
        std::int64_t width;
        const char* number;
    } cases[] = {
        {"NF", 1, 7, "NF00001"},
        {"NF", 42, 7, "NF00042"},
        {"NF", 42, 3, "NF42"},           // narrower than prefix and digits: no zeros, not cut
        {"NF", 1234567, 7, "NF1234567"}, // digits alone reach the width
        {"見積", 5, 6, "見積0005"},      // a Japanese prefix counts its characters
        {"東京支店", 12, 4, "東京支店12"},
        {"", 7, 3, "007"},
        {"", 7, 0, "7"},
        {"A", 3, -5, "A3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatQuotationNumber(c.prefix, c.counter, c.width), c.number)
            << c.prefix << " " << c.counter << " " << c.width;
    }
}

TEST(QuotationNumberFormat, NumbersAreCutToTwelveBytesAtACharacterBoundary) {
    const struct {
        const char* number;
        const char* fitted;
    } cases[] = {
        {"NF0000000001", "NF0000000001"},
        {"NF00000000001", "NF0000000000"},
        {"東京都千代田区1", "東京都千代田"},
        {"A東京都千代田区", "A東京都千代"}, // the sixth character would end in byte 13
        {"見積0005", "見積0005"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitQuotationNumber(c.number), c.fitted) << c.number;
    }
}

class IssueNumberTest : public QuotationDatabaseTest {
protected:
    void SetUp() override {
        QuotationDatabaseTest::SetUp();
        ASSERT_TRUE(addresses->executeOrReport(
            "INSERT INTO address(ID,NAMAE1,sex,club,class) VALUES(7,'大和設備',9,'大和',6)"));
    }
    std::optional<std::string> issue(NumberingMode mode, std::string_view customer) {
        return issueQuotationNumber(*quotations, *addresses, mode, customer, prompt);
    }
    std::string customerCounter() {
        return addresses->queryRows("SELECT typeof(sex)||':'||sex FROM address WHERE ID=7")
            .front()
            .field(1);
    }

    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
};

TEST_F(IssueNumberTest, TheCentralCounterGivesNextNumbersAndStaysAnInteger) {
    EXPECT_EQ(issue({.automatic = true}, ""), "NF00001");
    EXPECT_EQ(central(), "integer:1");
    EXPECT_EQ(issue({.automatic = true}, "7"),
              "NF00002"); // customer ignored when per-customer is off
    EXPECT_EQ(central(), "integer:2");
    EXPECT_EQ(customerCounter(), "integer:9");
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(IssueNumberTest, PerCustomerNumbersComeFromTheAddresseeBook) {
    EXPECT_EQ(issue({.automatic = true, .perCustomer = true}, "7"), "大和0010");
    EXPECT_EQ(customerCounter(), "integer:10");
    EXPECT_EQ(central(), "integer:0");
}

TEST_F(IssueNumberTest, NothingIsIssuedWithoutACounterToAdvance) {
    ASSERT_TRUE(quotations->executeOrReport("DELETE FROM krbconf"));
    const struct {
        NumberingMode mode;
        const char* customer;
        std::string_view message;
    } cases[] = {
        {{.perCustomer = false}, "", kNoCounterRowText},
        {{.perCustomer = true}, "", kNoCustomerText},
        {{.perCustomer = true}, "  ", kNoCustomerText},
        {{.perCustomer = true}, "99", kNoCustomerRowText},
        {{.perCustomer = true}, "abc", kNoCustomerRowText},
    };
    for (const auto& c : cases) {
        prompt.shown.clear();
        EXPECT_EQ(issue(c.mode, c.customer), std::nullopt) << c.customer;
        EXPECT_EQ(prompt.shown, std::vector<std::string>{std::string(c.message)}) << c.customer;
    }
    EXPECT_EQ(customerCounter(), "integer:9");
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(IssueNumberTest, ACounterThatIsNoNumberStartsAgainFromOne) {
    ASSERT_TRUE(quotations->executeOrReport("UPDATE krbconf SET number='abc',keta='x'"));
    EXPECT_EQ(issue({}, ""), "NF1");
    EXPECT_EQ(central(), "integer:1");
}

TEST_F(IssueNumberTest, AnIssuedNumberFitsTheTwelveBytesOfTheHeader) {
    ASSERT_TRUE(quotations->executeOrReport("UPDATE krbconf SET header='東京本社',number=12344"));
    EXPECT_EQ(issue({}, ""), "東京本社1234");
    EXPECT_EQ(central(), "integer:12345");
}

TEST_F(IssueNumberTest, ADatabaseThatCannotBeUsedIssuesNothingAndSaysSo) {
    std::ofstream(folder() / "broken.db3") << "this is not a database file at all, just text";
    SqliteFileDatabase broken(folder() / "broken.db3", reporter);
    EXPECT_EQ(issueQuotationNumber(broken, *addresses, {}, "", prompt), std::nullopt);
    ASSERT_EQ(prompt.reports.size(), 1u);
    EXPECT_EQ(prompt.reports[0].first, kSqlErrorText);
}

TEST_F(IssueNumberTest, TwoConnectionsIssuingAtOnceNeverShareANumber) {
    constexpr int kEach = 200;
    const auto issueMany = [this](std::vector<std::string>& numbers) {
        QuietPrompt quiet;
        SqliteFileDatabase ownQuotations(folder() / "kerbinaXe5.db3", quiet);
        SqliteFileDatabase ownAddresses(folder() / "addressXe5.db3", quiet);
        for (int i = 0; i < kEach; ++i) {
            if (auto number = issueQuotationNumber(ownQuotations, ownAddresses, {.automatic = true},
                                                   "", quiet)) {
                numbers.push_back(*number);
            }
        }
    };
    expectDistinctWhenTwoTakeAtOnce(kEach, issueMany);
    EXPECT_EQ(central(), "integer:400");
}

} // namespace
} // namespace kerbina

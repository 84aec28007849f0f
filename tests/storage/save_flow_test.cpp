#include "base/file_io.h"
#include "quotation_database_fixture.h"
#include "storage/quotation_rows.h"
#include "storage/save_flow.h"

#include <functional>
#include <set>
#include <thread>

namespace kerbina {
namespace {

// The quotation being saved, in memory; its text names its number, as a quotation file does.
struct MemorySource : QuotationSaveSource {
    QuotationHeader current;
    int numbersStored = 0;
    bool unreadable = false;
    std::function<void()> whileRendering;

    QuotationHeader header() override { return current; }
    void storeQuotationNumber(const std::string& number) override {
        current.number = number;
        ++numbersStored;
    }
    RenderedQuotation render() override {
        if (unreadable) {
            throw FileError("作業ファイルを読めません。");
        }
        if (whileRendering) {
            whileRendering();
        }
        return {current,
                "[NUMBER]=" + current.number + "\r\n[ATESAKI_1]=" + current.addressee1 + "\r\n"};
    }
};

class SaveFlowTest : public QuotationDatabaseTest {
protected:
    SaveContext context(NumberingMode mode) {
        return SaveContext{*quotations, *addresses, mode, source, prompt};
    }
    void storeRow(const std::string& number, const std::string& addressee) {
        QuotationHeader header;
        header.number = number;
        header.addressee1 = addressee;
        ASSERT_EQ(writeQuotationRow(*quotations, header, "stored\r\n", RowWrite::InsertOnly,
                                    std::chrono::system_clock::now(), prompt),
                  RowWriteResult::Written);
    }
    SqlRows stored() { return rowsOf("SELECT krbnumber,ATESAKI_1,data FROM kerbina"); }

    MemorySource source;
    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    const std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

TEST_F(SaveFlowTest, ThePressOfSaveDecidesAsTheNumberingAndTheStoredRowsRequire) {
    const std::string overwrite = std::string("NF00009\r\n") + std::string(kOverwriteQuestion);
    const struct {
        const char* name;
        NumberingMode mode;
        const char* number;
        const char* customer;
        bool rowExists;
        std::deque<ScriptedAnswer> answers;
        SaveStep step;
        std::vector<std::string> shown;
        const char* numberAfter;
        const char* storedAddressee; // the row NF00009 afterwards; "" when there is none
    } cases[] = {
        {"automatic, no number, Yes: a number only",
         {.automatic = true},
         "",
         "",
         false,
         {true},
         SaveStep::StayOpen,
         {std::string(kIssueNumberQuestion)},
         "NF00001",
         ""},
        {"automatic, no number, No",
         {.automatic = true},
         "",
         "",
         false,
         {false},
         SaveStep::StayOpen,
         {std::string(kIssueNumberQuestion)},
         "",
         ""},
        {"per customer without a customer",
         {.automatic = true, .perCustomer = true},
         "",
         "",
         false,
         {},
         SaveStep::StayOpen,
         {std::string(kNumberNeededNoCustomerText)},
         "",
         ""},
        {"manual numbering, no number",
         {.automatic = false},
         "",
         "7",
         false,
         {},
         SaveStep::StayOpen,
         {std::string(kNumberNeededManualText)},
         "",
         ""},
        {"new number saves at once",
         {.automatic = true},
         "NF00009",
         "",
         false,
         {},
         SaveStep::Saved,
         {},
         "NF00009",
         "新しい宛先"},
        {"existing number, No: row unchanged",
         {.automatic = true},
         "NF00009",
         "",
         true,
         {false},
         SaveStep::StayOpen,
         {overwrite},
         "NF00009",
         "前の宛先"},
        {"existing number, Yes: row overwritten",
         {.automatic = false},
         "NF00009",
         "",
         true,
         {true},
         SaveStep::Saved,
         {overwrite},
         "NF00009",
         "新しい宛先"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(quotations->executeOrReport("DELETE FROM kerbina"));
        ASSERT_TRUE(quotations->executeOrReport("UPDATE krbconf SET number=0"));
        if (c.rowExists) {
            storeRow("NF00009", "前の宛先");
        }
        source.current = QuotationHeader{};
        source.current.number = c.number;
        source.current.id = c.customer;
        source.current.addressee1 = "新しい宛先";
        prompt.answers = c.answers;
        prompt.shown.clear();
        auto saving = context(c.mode);
        EXPECT_EQ(pressSave(saving, now).step, c.step);
        EXPECT_EQ(prompt.shown, c.shown);
        EXPECT_EQ(source.current.number, c.numberAfter);
        const SqlRows rows = stored();
        if (*c.storedAddressee == '\0') {
            EXPECT_TRUE(rows.empty());
        } else {
            ASSERT_EQ(rows.size(), 1u);
            EXPECT_EQ(rows[0].field(2), c.storedAddressee);
        }
        EXPECT_TRUE(prompt.reports.empty());
    }
}

TEST_F(SaveFlowTest, TheFirstPressOnlyIssuesANumberAndTheSecondSavesUnderIt) {
    auto saving = context({.automatic = true});
    prompt.answers = {true};
    const SavePressOutcome first = pressSave(saving, now);
    EXPECT_EQ(first.step, SaveStep::StayOpen);
    EXPECT_EQ(first.issuedNumber, "NF00001");
    EXPECT_TRUE(stored().empty());

    EXPECT_EQ(pressSave(saving, now).step, SaveStep::Saved);
    const SqlRows rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].field(1), "NF00001");
    // The row holds the text rendered when saving, with the number it was saved under.
    EXPECT_EQ(rows[0].field(3), "[NUMBER]=NF00001\r\n[ATESAKI_1]=\r\n");
}

TEST_F(SaveFlowTest, ARowAnotherWorkstationInsertedMeanwhileIsNotOverwrittenUnasked) {
    source.current.number = "NF00009";
    source.current.addressee1 = "新しい宛先";
    source.whileRendering = [this] {
        source.whileRendering = nullptr;
        storeRow("NF00009", "他の端末");
    };
    auto saving = context({.automatic = true});
    prompt.answers = {false};
    EXPECT_EQ(pressSave(saving, now).step, SaveStep::StayOpen);
    EXPECT_EQ(prompt.shown,
              std::vector<std::string>{"NF00009\r\n" + std::string(kOverwriteQuestion)});
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored()[0].field(2), "他の端末");
}

TEST_F(SaveFlowTest, ASaveThatCannotBeDoneIsReportedAndNotTakenForSuccess) {
    source.current.number = "NF00009";
    source.unreadable = true;
    auto saving = context({.automatic = true});
    EXPECT_EQ(pressSave(saving, now).step, SaveStep::Failed);
    EXPECT_EQ(prompt.reports.size(), 1u);
    EXPECT_TRUE(stored().empty());
}

TEST_F(SaveFlowTest, AnEnteredNumberIsFittedAndCancellingKeepsTheNumber) {
    source.current.number = "NF00003";
    auto saving = context({.automatic = false});
    prompt.texts = {std::nullopt, std::string("東京都千代田区123"), std::string("")};
    EXPECT_EQ(enterNumberForSave(saving), std::nullopt);
    EXPECT_EQ(source.current.number, "NF00003");
    EXPECT_EQ(source.numbersStored, 0);
    EXPECT_EQ(enterNumberForSave(saving), "東京都千代田");
    EXPECT_EQ(source.current.number, "東京都千代田");
    EXPECT_EQ(enterNumberForSave(saving), "");
    EXPECT_EQ(source.current.number, "");
    EXPECT_EQ(prompt.shown, std::vector<std::string>(3, std::string(kEnterNumberQuestion)));
}

TEST_F(SaveFlowTest, IssuingANumberForTheSaveStoresItOnlyWhenOneWasIssued) {
    auto saving = context({.automatic = true, .perCustomer = true});
    EXPECT_EQ(issueNumberForSave(saving), std::nullopt);
    EXPECT_EQ(source.numbersStored, 0);
    EXPECT_EQ(prompt.shown, std::vector<std::string>{std::string(kNoCustomerText)});
    EXPECT_EQ(central(), "integer:0");
}

TEST_F(SaveFlowTest, SavingAsANewQuotationSkipsNumbersThatAreTaken) {
    storeRow("NF00001", "手で付けた番号");
    storeRow("NF00002", "手で付けた番号");
    source.current.number = "OLD1";
    source.current.addressee1 = "新しい宛先";
    auto saving = context({.automatic = true});
    EXPECT_EQ(saveAsNewQuotation(saving, now), "NF00003");
    const SqlRows rows = rowsOf("SELECT krbnumber,ATESAKI_1 FROM kerbina ORDER BY krbnumber");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].field(2), "手で付けた番号");
    EXPECT_EQ(rows[1].field(2), "手で付けた番号");
    EXPECT_EQ(rows[2].field(2), "新しい宛先");
    EXPECT_EQ(*storedQuotationText(*quotations, "NF00003"),
              "[NUMBER]=NF00003\r\n[ATESAKI_1]=新しい宛先\r\n");
}

TEST_F(SaveFlowTest, TwoWorkstationsSavingAtOnceGetDistinctNumbersAndRows) {
    constexpr int kEach = 200;
    const auto saveMany = [this](std::vector<std::string>& numbers) {
        QuietPrompt quiet;
        SqliteFileDatabase ownQuotations(folder() / "kerbinaXe5.db3", quiet);
        SqliteFileDatabase ownAddresses(folder() / "addressXe5.db3", quiet);
        MemorySource own;
        SaveContext saving{ownQuotations, ownAddresses, {.automatic = true}, own, quiet};
        for (int i = 0; i < kEach; ++i) {
            if (auto number = saveAsNewQuotation(saving, std::chrono::system_clock::now())) {
                numbers.push_back(*number);
            }
        }
    };
    expectDistinctWhenTwoTakeAtOnce(kEach, saveMany);
    EXPECT_EQ(rowsOf("SELECT count(*) FROM kerbina").front().field(1), "400");
}

} // namespace
} // namespace kerbina

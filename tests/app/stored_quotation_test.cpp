// Opening a quotation of the quotation database and numbering its copies, through the session.
#include "app/quotation_session.h"
#include "base/file_io.h"
#include "base/text_codec.h"
#include "document/quotation_file.h"
#include "scripted_prompt.h"
#include "session_fixture.h"
#include "settings/numbering_row.h"
#include "settings/register_settings.h"
#include "storage/database_files.h"
#include "storage/quotation_numbering.h"
#include "storage/quotation_rows.h"
#include "temp_folder.h"
#include "test_data.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

namespace fs = std::filesystem;
using Kind = DocumentChange::Kind;

constexpr std::chrono::year_month_day kToday = StartedSession::kToday;

class StoredQuotationTest : public testing::Test {
protected:
    // Stores an example quotation, recomputed, under `number` with the row status `status`
    // (its text keeps the status it had), as the save does.
    void store(int example, const std::string& number, int status) {
        ASSERT_TRUE(
            session->openQuotationFile(exampleQuotation(example), FileRole::Source, kToday).done);
        session->document().header.number = number;
        const fs::path file = root.path() / (number + ".krb2");
        session->saveQuotationFile(file);
        const QuotationData data = readQuotationFile(file);
        ASSERT_EQ(writeQuotationRow(session->quotationDatabase(), data.header,
                                    fromCp932(readFileBytes(file)), RowWrite::InsertOnly,
                                    std::chrono::system_clock::now(), prompt),
                  RowWriteResult::Written);
        session->quotationDatabase().execute("UPDATE kerbina SET status=? WHERE krbnumber=?",
                                             {std::to_string(status), number});
        session->startNewQuotation(kToday);
    }

    ScriptedPrompt prompt = ScriptedPrompt::answering(false);
    StartedSession started{prompt};
    TempFolder& root = started.root;
    AppFolders& folders = started.folders;
    std::unique_ptr<QuotationSession>& session = started.session;
};

// A stored quotation opens recomputed, with the status of its row (the list's status change only
// touches the row), the cover in front, and no file of its own: its next save goes to its row.
TEST_F(StoredQuotationTest, OpensRecomputedWithTheStatusOfItsRow) {
    store(1, "Q-0001", 3);
    store(2, "Q-0002", 0);

    const SessionOutcome opened = session->openStoredQuotation("Q-0001", kToday);
    ASSERT_TRUE(opened.done);
    const QuotationHeader& header = session->document().header;
    EXPECT_EQ(header.number, "Q-0001");
    EXPECT_EQ(header.submittedGrandTotal, Currency::fromWhole(17883950));
    EXPECT_EQ(header.status, 3);
    EXPECT_FALSE(session->document().modified);
    EXPECT_TRUE(session->ownFile().empty());
    // A window shows the cover of a header that was replaced.
    EXPECT_TRUE(std::ranges::any_of(opened.changes, [](const DocumentChange& change) {
        return change.kind == Kind::HeaderReplaced;
    }));
    EXPECT_TRUE(prompt.notices.empty());
}

// What cannot be opened leaves the open quotation as it was: a row deleted by another
// workstation meanwhile is named, a damaged text declined (or unreadable) changes nothing.
TEST_F(StoredQuotationTest, WhatCannotBeOpenedLeavesTheOpenQuotation) {
    store(1, "Q-0001", 1);
    session->quotationDatabase().execute(
        "INSERT INTO kerbina(krbnumber,status,data) VALUES('BROKEN','0','壊れたデータ\r\n')");
    ASSERT_TRUE(session->openStoredQuotation("Q-0001", kToday).done);

    struct Case {
        const char* number;
        const char* notice;
    };
    for (const Case& tried : {Case{"Q-9999", "見積番号 Q-9999 の見積はデータベースにありません。"},
                              Case{"BROKEN", nullptr}}) {
        SCOPED_TRACE(tried.number);
        prompt.notices.clear();
        bool done = true;
        const RunOutcome outcome =
            session->run([&] { done = session->openStoredQuotation(tried.number, kToday).done; });
        EXPECT_FALSE(outcome.succeeded && done);
        EXPECT_EQ(session->document().header.number, "Q-0001");
        EXPECT_EQ(session->document().header.submittedGrandTotal, Currency::fromWhole(17883950));
        if (tried.notice != nullptr) {
            EXPECT_EQ(prompt.notices, std::vector<std::string>{tried.notice});
        }
    }
}

// Copies numbered per customer take the counter of the addressee-book entry named as the
// quotation's addressee; without such an entry no number is issued and the reason is shown.
TEST_F(StoredQuotationTest, CopyNumbersPerCustomerFollowTheAddresseeOfTheRow) {
    EnvironmentSettings& environment = session->environment();
    environment.automaticNumbering = true;
    environment.numberingPerCustomer = true;
    DatabaseNumberingRowStore numbering(session->quotationDatabase());
    session->applyRegisteredSettings(
        registerSettings(environment, folders.dataRoot, numbering, environment));
    SqliteFileDatabase addresses(databaseFilePath(folders.databaseFolder, DatabaseFile::Address),
                                 prompt);
    addresses.execute(
        "INSERT INTO address(ID,NAMAE1,sex,club,class) VALUES(7,'大和設備',9,'大和',6)");
    Database& quotations = session->quotationDatabase();
    quotations.execute(
        "INSERT INTO kerbina(krbnumber,ATESAKI_1,status,data) VALUES('A1','大和設備','0','')");
    quotations.execute(
        "INSERT INTO kerbina(krbnumber,ATESAKI_1,status,data) VALUES('A2','未登録商事','0','')");

    EXPECT_EQ(session->issueCopyNumber("A1"), "大和0010");
    EXPECT_EQ(session->issueCopyNumber("A2"), std::nullopt);
    EXPECT_EQ(prompt.notices, std::vector<std::string>{std::string(kNoCustomerText)});
}

} // namespace
} // namespace kerbina

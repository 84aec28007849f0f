#pragma once

#include "storage/database_files.h"
#include "storage/schema.h"
#include "storage_fixture.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kerbina {

// A test prompt: answers from a script (Yes/No questions, then text questions) and records every
// question and message in order. A question with no scripted answer left answers No (or
// cancels), so a forgotten answer shows in the record instead of hanging.
struct ScriptedPrompt : RecordingReporter {
    std::vector<bool> yesNo;
    std::vector<std::optional<std::string>> texts;
    std::vector<std::string> shown; // questions and messages, in order

    bool askYesNo(const std::string& question) override {
        shown.push_back(question);
        if (yesNo.empty()) {
            return false;
        }
        const bool answer = yesNo.front();
        yesNo.erase(yesNo.begin());
        return answer;
    }
    bool askText(const std::string& question, std::string& text) override {
        shown.push_back(question);
        if (texts.empty()) {
            return false;
        }
        const auto answer = texts.front();
        texts.erase(texts.begin());
        if (answer) {
            text = *answer;
        }
        return answer.has_value();
    }
    void notify(const std::string& text) override { shown.push_back(text); }
};

// A fresh quotation database and addressee database, created as at a first start.
class QuotationDatabaseTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        quotations = std::make_unique<SqliteFileDatabase>(folder() / "kerbinaXe5.db3", reporter);
        addresses = std::make_unique<SqliteFileDatabase>(folder() / "addressXe5.db3", reporter);
        ASSERT_TRUE(createDatabaseTables(*quotations, databaseFileDef(DatabaseFile::Quotation)));
        ASSERT_TRUE(createDatabaseTables(*addresses, databaseFileDef(DatabaseFile::Address)));
    }

    std::string central() {
        return quotations->queryRows("SELECT typeof(number)||':'||number FROM krbconf")
            .front()
            .field(1);
    }
    SqlRows rowsOf(std::string_view sql) { return quotations->queryRows(sql); }

    std::unique_ptr<SqliteFileDatabase> quotations;
    std::unique_ptr<SqliteFileDatabase> addresses;
};

} // namespace kerbina

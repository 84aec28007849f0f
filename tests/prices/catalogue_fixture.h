#pragma once

#include "money_literal.h"
#include "prices/catalogue.h"
#include "scripted_prompt.h"
#include "storage/schema.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <string>

namespace kerbina {

// A fresh quotation database with an empty catalogue.
class CatalogueTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(createDatabaseTables(database, databaseFileDef(DatabaseFile::Quotation)));
    }

    // Adds one catalogue row; returns its id.
    std::int64_t addPrice(PriceGroup group, const std::string& category, const std::string& name,
                          const std::string& specification,
                          const std::string& submittedPrice = "0") {
        database.execute("INSERT INTO tanka(GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,Price1) "
                         "VALUES(?,?,?,?,?);",
                         {static_cast<int>(group), category, name, specification, submittedPrice});
        return std::stoll(database.queryRows("SELECT max(ID) FROM tanka;")[0].field(1));
    }

    TempFolder folder;
    ScriptedPrompt reporter = ScriptedPrompt::answering(false);
    std::filesystem::path file = folder.path() / "kerbinaXe5.db3";
    SqliteFileDatabase database{file, reporter};
};

} // namespace kerbina

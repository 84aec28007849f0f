#pragma once

#include "storage/database_files.h"
#include "storage/schema.h"
#include "storage_fixture.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kerbina {

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

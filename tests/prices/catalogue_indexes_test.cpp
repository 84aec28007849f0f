#include "catalogue_fixture.h"
#include "prices/catalogue_indexes.h"
#include "storage/sqlite_connection.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

std::size_t catalogueIndexCount(Database& database) {
    return database
        .queryRows("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='tanka' AND "
                   "name='tanka_lookup';")
        .size();
}

TEST_F(CatalogueTest, LookupsUseTheIndexMadeOnce) {
    addPrice(PriceGroup::Tree, "弁類", "仕切弁", "50A");
    EXPECT_TRUE(ensureCatalogueIndexes(file));
    EXPECT_TRUE(ensureCatalogueIndexes(file));
    EXPECT_EQ(catalogueIndexCount(database), 1u);

    const SqlRows plan = database.queryRows(
        "EXPLAIN QUERY PLAN SELECT ITEMNAME FROM tanka WHERE GROUPID=? AND CATEGORY=? AND "
        "ITEMNAME<>'' GROUP BY ITEMNAME ORDER BY ITEMNAME;",
        {10, "弁類"});
    ASSERT_FALSE(plan.empty());
    EXPECT_NE(plan.back().field(4).find("tanka_lookup"), std::string::npos);
    EXPECT_EQ(priceNames(database, PriceGroup::Tree, "弁類"), (std::vector<std::string>{"仕切弁"}));
}

// The catalogue goes on without its index wherever the file cannot take one, and nothing is said.
TEST_F(CatalogueTest, AFileThatCannotTakeTheIndexIsLeftAsItIs) {
    addPrice(PriceGroup::Code, "配管", "鋼管", "20A");
    {
        SqliteConnection otherWriter(file);
        otherWriter.execute("BEGIN EXCLUSIVE;");
        EXPECT_FALSE(ensureCatalogueIndexes(file, std::chrono::milliseconds(20)));
        otherWriter.execute("COMMIT;");
    }
    EXPECT_EQ(catalogueIndexCount(database), 0u);
    EXPECT_EQ(pricesInCategory(database, PriceGroup::Code, "配管").size(), 1u);

    const std::filesystem::path missing = folder.path() / "missing.db3";
    EXPECT_FALSE(ensureCatalogueIndexes(missing));
    EXPECT_FALSE(std::filesystem::exists(missing));

    const std::filesystem::path withoutCatalogue = folder.path() / "other.db3";
    SqliteConnection(withoutCatalogue).execute("CREATE TABLE other(x);");
    EXPECT_FALSE(ensureCatalogueIndexes(withoutCatalogue));
    EXPECT_TRUE(reporter.reports.empty());
}

} // namespace
} // namespace kerbina

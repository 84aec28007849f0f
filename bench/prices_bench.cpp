// The unit price catalogue at 100,000 rows (half code prices in 200 categories, half tree prices
// in 100 categories of 50 names): refilling a category of the code tab, the name list of a tree
// category with a name's specifications, and the code and tree searches. The catalogue is
// generated once and kept in the build folder; its index is made as the program makes it.
#include "base/user_prompt.h"
#include "prices/catalogue.h"
#include "prices/catalogue_indexes.h"
#include "storage/schema.h"
#include "storage/sqlite_connection.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace kerbina;

constexpr int kRows = 100000;

std::filesystem::path catalogueFile() {
    const std::filesystem::path folder = KERBINA_BENCH_CACHE_DIR;
    const std::filesystem::path file = folder / "prices-100000.db3";
    if (std::filesystem::exists(file)) {
        return file;
    }
    std::filesystem::create_directories(folder);
    const std::filesystem::path partial = folder / "prices-100000.db3.part";
    std::filesystem::remove(partial);
    {
        QuietPrompt prompt;
        SqliteFileDatabase database(partial, prompt);
        createDatabaseTables(database, databaseFileDef(DatabaseFile::Quotation));
        SqliteConnection connection(partial);
        SqliteTransaction transaction(connection);
        SqliteStatement insert = connection.prepare(
            "INSERT INTO tanka(GROUPID,CATEGORY,ITEMNAME,ITEMSIZE,CI,FLAG,NET_Price,Price1,"
            "created,modefied) VALUES(?,?,?,?,?,?,?,?,?,?);");
        for (int row = 0; row < kRows; ++row) {
            const bool code = row % 2 == 0;
            const int index = row / 2;
            const std::string category = code ? "登録分類" + std::to_string(index % 200)
                                              : "仕様分類" + std::to_string(index % 100);
            const std::string name = code ? "配管用炭素鋼鋼管" + std::to_string(index)
                                          : "仕切弁" + std::to_string(index / 100 % 50);
            insert.run({code ? 1 : 10, category, name, "SGP " + std::to_string(index % 300) + "A",
                        "ｍ", 10, std::to_string(index % 9000) + ".5",
                        std::to_string(index % 12000) + ".25", "2026/12/11", "2026/12/11"});
        }
        transaction.commit();
    }
    std::filesystem::rename(partial, file);
    return file;
}

struct Catalogue {
    Catalogue() : file(catalogueFile()), database(file, prompt) { ensureCatalogueIndexes(file); }
    std::filesystem::path file;
    QuietPrompt prompt;
    SqliteFileDatabase database;
};

Catalogue& catalogue() {
    static Catalogue shared;
    return shared;
}

void BM_CodeCategoryRefill(benchmark::State& state) {
    Catalogue& prices = catalogue();
    for (auto _ : state) {
        benchmark::DoNotOptimize(priceCategories(prices.database, PriceGroup::Code));
        benchmark::DoNotOptimize(pricesInCategory(prices.database, PriceGroup::Code, "登録分類77"));
    }
}
BENCHMARK(BM_CodeCategoryRefill)->Unit(benchmark::kMillisecond);

void BM_TreeNameList(benchmark::State& state) {
    Catalogue& prices = catalogue();
    for (auto _ : state) {
        benchmark::DoNotOptimize(priceNames(prices.database, PriceGroup::Tree, "仕様分類42"));
        benchmark::DoNotOptimize(
            pricesOfName(prices.database, PriceGroup::Tree, "仕様分類42", "仕切弁7"));
    }
}
BENCHMARK(BM_TreeNameList)->Unit(benchmark::kMillisecond);

void BM_CodeSearch(benchmark::State& state) {
    Catalogue& prices = catalogue();
    for (auto _ : state) {
        benchmark::DoNotOptimize(searchCodePrices(prices.database, "鋼管4711"));
    }
}
BENCHMARK(BM_CodeSearch)->Unit(benchmark::kMillisecond);

void BM_TreeSearch(benchmark::State& state) {
    Catalogue& prices = catalogue();
    for (auto _ : state) {
        benchmark::DoNotOptimize(searchTreePrices(prices.database, "仕切弁4", "SGP 12"));
    }
}
BENCHMARK(BM_TreeSearch)->Unit(benchmark::kMillisecond);

} // namespace

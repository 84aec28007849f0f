#include "storage/schema.h"

#include <stdexcept>
#include <string>

namespace kerbina {
namespace {

constexpr std::string_view kPrimaryKey = "PRIMARY KEY";
constexpr std::string_view kRowId = "PRIMARY KEY AUTOINCREMENT";

// Saved quotations, one row each; `data` holds the whole quotation file text.
constexpr ColumnDef kKerbinaColumns[] = {
    {"krbnumber", "VARCHAR(12)", kPrimaryKey},
    {"ATESAKI_1", "VARCHAR (50)", {}},
    {"ATESAKI_2", "VARCHAR (50)", {}},
    {"CONSTRACT_1", "VARCHAR (50)", {}},
    {"CONSTRACT_2", "VARCHAR (50)", {}},
    {"ALLGTOTAL", "integer", {}},
    {"ALLNTOTAL", "integer", {}},
    {"TAXGTOTAL", "integer", {}},
    {"TAXNTOTAL", "integer", {}},
    {"NWHERE", "VARCHAR (50)", {}},
    {"MLIMIT", "VARCHAR (40)", {}},
    {"ULIMIT", "VARCHAR (40)", {}},
    {"TRADE", "VARCHAR (40)", {}},
    {"NUMBER", "VARCHAR (12)", {}},
    {"KEISYO", "VARCHAR (12)", {}},
    {"created", "date", {}},
    {"modified", "date", {}},
    {"INTANTO", "VARCHAR (20)", {}},
    {"OUTTANTO", "VARCHAR (20)", {}},
    {"DATALEVEL", "integer", {}},
    {"KEYCODE", "integer", {}},
    {"tag1str", "VARCHAR (80)", {}},
    {"tag2str", "VARCHAR (80)", {}},
    {"tag3str", "VARCHAR (80)", {}},
    {"tag1int", "integer", {}},
    {"tag2int", "integer", {}},
    {"tag3int", "integer", {}},
    {"keta", "integer", {}},
    {"cutlevel", "integer", {}},
    {"status", "VARCHAR (10)", {}},
    {"data", "text", {}},
};

constexpr ColumnDef kMasterItemsColumns[] = {
    {"ID", "INTEGER", kRowId},     {"FLAG", "integer", {}},     {"data1", "varchar(100)", {}},
    {"data2", "varchar(100)", {}}, {"TAG", "varchar(100)", {}}, {"KEISYO", "varchar(10)", {}},
    {"TANKALEVEL", "integer", {}}, {"HEADER", "integer", {}},   {"KETA", "integer", {}},
    {"NUMBER", "integer", {}},     {"created", "date", {}},     {"modefied", "date", {}},
};

// The unit price catalogue. "modefied" is the name the files have always used.
constexpr ColumnDef kTankaColumns[] = {
    {"ID", "INTEGER", kRowId},
    {"GROUPID", "integer", {}},
    {"CATEGORY", "varchar(50)", {}},
    {"ITEMNAME", "varchar(50)", {}},
    {"ITEMSIZE", "varchar(50)", {}},
    {"Construction", "NUMERIC", {}},
    {"YOSAN", "integer", {}},
    {"CI", "varchar(8)", {}},
    {"FLAG", "integer", {}},
    {"NET_Price", "NUMERIC", {}},
    {"Net_many", "NUMERIC", {}},
    {"Present_many", "NUMERIC", {}},
    {"Price1", "NUMERIC", {}},
    {"Price2", "NUMERIC", {}},
    {"Price3", "NUMERIC", {}},
    {"Price4", "NUMERIC", {}},
    {"Price5", "NUMERIC", {}},
    {"Fixed_Price", "NUMERIC", {}},
    {"Net_Construction", "NUMERIC", {}},
    {"Present_Construction1", "NUMERIC", {}},
    {"Present_Construction2", "NUMERIC", {}},
    {"Present_Construction3", "NUMERIC", {}},
    {"Present_Construction4", "NUMERIC", {}},
    {"Present_Construction5", "NUMERIC", {}},
    {"OPT1", "INTEGER", {}},
    {"OPT2", "NUMERIC", {}},
    {"OPT3", "varchar(100)", {}},
    {"TAG", "varchar(100)", {}},
    {"edit", "integer", {}},
    {"created", "date", {}},
    {"modefied", "date", {}},
};

// Numbering counters and stored options, one row per key.
constexpr ColumnDef kKrbconfColumns[] = {
    {"conf", "VARCHAR(20)", kPrimaryKey},
    {"header", "varchar(10)", {}},
    {"keta", "integer", {}},
    {"number", "integer", {}},
    {"notes", "TEXT", {}},
};
constexpr std::string_view kKrbconfQuotationRow[] = {"KERBINA", "NF", "7", "0", ""};
constexpr SeedRow kKrbconfSeeds[] = {kKrbconfQuotationRow};

constexpr ColumnDef kKrbpartsColumns[] = {
    {"ID", "INTEGER", kRowId},       {"GROUPID", "integer", {}}, {"CATEGORY", "varchar(50)", {}},
    {"ITEMNAME", "varchar(50)", {}}, {"parts", "TEXT", {}},
};

// The addressee book. `sex`, `club` and `class` hold the per-customer numbering: the last number
// handed out, the prefix and the total width.
constexpr ColumnDef kAddressColumns[] = {
    {"ID", "INTEGER", kRowId},       {"KIND", "INTEGER", {}},
    {"NAMAE1", "VARCHAR (40)", {}},  {"furigana1", "varchar(40)", {}},
    {"namae2", "varchar(40)", {}},   {"furigana2", "varchar(40)", {}},
    {"birth", "date", {}},           {"zipcode", "varchar(7)", {}},
    {"area", "varchar(20)", {}},     {"city", "varchar(60)", {}},
    {"location", "varchar(60)", {}}, {"building", "varchar(60)", {}},
    {"tel", "varchar(15)", {}},      {"fax", "varchar(15)", {}},
    {"keitai", "varchar(15)", {}},   {"email", "varchar(60)", {}},
    {"imail", "varchar(60)", {}},    {"url", "varchar(60)", {}},
    {"works", "varchar(40)", {}},    {"schoo", "varchar(40)", {}},
    {"keisho", "varchar(10)", {}},   {"sex", "integer", {}},
    {"club", "varchar(40)", {}},     {"class", "varchar(20)", {}},
    {"admission", "date", {}},       {"lastuse", "date", {}},
    {"userid", "varchar(10)", {}},   {"passwd", "varchar(12)", {}},
    {"companyid", "integer", {}},    {"tagchr1", "varchar(30)", {}},
    {"tagchr2", "varchar(30)", {}},  {"tagchr3", "varchar(60)", {}},
    {"tagchr4", "varchar(60)", {}},  {"tagint1", "integer", {}},
    {"tagint2", "integer", {}},      {"tagint3", "integer", {}},
    {"tagint4", "integer", {}},      {"point1", "integer", {}},
    {"point2", "integer", {}},       {"notes", "varchar(200)", {}},
};

constexpr ColumnDef kCompanyColumns[] = {
    {"ID", "INTEGER", kRowId},       {"NAMAE1", "VARCHAR (60)", {}},
    {"NAMAE2", "VARCHAR (60)", {}},  {"ZIPCODE", "VARCHAR(7)", {}},
    {"area", "varchar(20)", {}},     {"city", "varchar(60)", {}},
    {"location", "varchar(60)", {}}, {"building", "varchar(60)", {}},
    {"tel", "varchar(15)", {}},      {"fax", "varchar(15)", {}},
    {"keitai", "varchar(15)", {}},   {"email", "varchar(60)", {}},
    {"imail", "varchar(60)", {}},    {"url", "varchar(60)", {}},
    {"works", "varchar(40)", {}},    {"tagchr1", "varchar(30)", {}},
    {"tagchr2", "varchar(30)", {}},  {"tagchr3", "varchar(30)", {}},
    {"tagchr4", "varchar(30)", {}},
};

constexpr TableDef kQuotationTables[] = {
    {"kerbina", kKerbinaColumns, {}},   {"masteritems", kMasterItemsColumns, {}},
    {"tanka", kTankaColumns, {}},       {"krbconf", kKrbconfColumns, kKrbconfSeeds},
    {"krbparts", kKrbpartsColumns, {}},
};

constexpr TableDef kAddressTables[] = {
    {"address", kAddressColumns, {}},
    {"company", kCompanyColumns, {}},
};

constexpr DatabaseFileDef kDatabaseFiles[] = {
    {DatabaseFile::Quotation, "kerbinaXe5.db3", kQuotationTables, true},
    {DatabaseFile::Address, "addressXe5.db3", kAddressTables, true},
    {DatabaseFile::Piping, "kerbinaXe5EX.db3", {}, false},
    {DatabaseFile::DuctData, "kerbinaXe5DX.db3", {}, false},
    {DatabaseFile::DuctVhs, "kerbinaXe5VHS.db3", {}, false},
};

// The statement texts are made from the declarations above only, never from user or file text.
std::string createTableSql(const TableDef& table) {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + std::string(table.name) + "(";
    for (std::size_t index = 0; index < table.columns.size(); ++index) {
        const ColumnDef& column = table.columns[index];
        if (index > 0) {
            sql += ",";
        }
        sql += std::string(column.name) + " " + std::string(column.declaredType);
        if (!column.constraint.empty()) {
            sql += " " + std::string(column.constraint);
        }
    }
    return sql + ")";
}

// One statement, so two workstations creating the same database at once cannot both insert.
std::string insertSeedSql(const TableDef& table) {
    std::string names;
    std::string marks;
    for (std::size_t index = 0; index < table.columns.size(); ++index) {
        if (index > 0) {
            names += ",";
            marks += ",";
        }
        names += table.columns[index].name;
        marks += "?";
    }
    const std::string name(table.name);
    return "INSERT INTO " + name + "(" + names + ") SELECT " + marks +
           " WHERE NOT EXISTS (SELECT 1 FROM " + name + " WHERE " +
           std::string(table.columns.front().name) + " = ?)";
}

} // namespace

std::span<const DatabaseFileDef> databaseFiles() {
    return kDatabaseFiles;
}

const DatabaseFileDef& databaseFileDef(DatabaseFile file) {
    for (const DatabaseFileDef& definition : kDatabaseFiles) {
        if (definition.file == file) {
            return definition;
        }
    }
    throw std::out_of_range("unknown database file");
}

bool createDatabaseTables(Database& database, const DatabaseFileDef& definition) {
    for (const TableDef& table : definition.tables) {
        if (!database.executeOrReport(createTableSql(table))) {
            return false;
        }
        for (const SeedRow& row : table.seedRows) {
            // The seed values go in as texts, like every other value: the declared column types
            // store "7" and "0" as numbers.
            SqlParams params(row.begin(), row.end());
            params.emplace_back(row.front());
            if (!database.executeOrReport(insertSeedSql(table), params)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace kerbina

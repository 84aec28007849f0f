#pragma once

#include "storage/database.h"

#include <array>
#include <span>
#include <string_view>

namespace kerbina {

// Every table the program creates, declared once. Names, declared types and column order are
// those of the files already in use: a "SELECT *" row has its fields in this order, and the
// column texts follow the declared type exactly as written (see SqlRow).

struct ColumnDef {
    std::string_view name;
    std::string_view declaredType; // as written in the creation statement: "VARCHAR (50)"
    std::string_view constraint;   // "PRIMARY KEY", "PRIMARY KEY AUTOINCREMENT" or empty
};

// A row every new database receives: one text per column, in column order. The first column is
// its key; the row is inserted only when no row holds that key.
using SeedRow = std::span<const std::string_view>;

struct TableDef {
    std::string_view name;
    std::span<const ColumnDef> columns;
    std::span<const SeedRow> seedRows;
};

enum class DatabaseFile { Quotation, Address, Piping, DuctData, DuctVhs };

struct DatabaseFileDef {
    DatabaseFile file;
    std::string_view fileName;
    // Tables in creation order; empty for the module files, which only ever come as templates
    // from the installation and whose layout belongs to the companion programs.
    std::span<const TableDef> tables;
    bool createdWhenMissing;
};

// The five database files: quotations ("kerbinaXe5.db3": kerbina, masteritems, tanka, krbconf,
// krbparts), addressees ("addressXe5.db3": address, company), the piping module's
// ("kerbinaXe5EX.db3") and the duct module's ("kerbinaXe5DX.db3", "kerbinaXe5VHS.db3").
std::span<const DatabaseFileDef> databaseFiles();
const DatabaseFileDef& databaseFileDef(DatabaseFile file);

// Creates each table of the file that does not exist yet and inserts each seed row whose key is
// absent, so running it again changes nothing. Every statement goes through executeOrReport; the
// first failure is reported there and ends the creation with false.
bool createDatabaseTables(Database& database, const DatabaseFileDef& definition);

// The texts of the quotation status codes 0 to 6 held in kerbina.status.
inline constexpr std::array<std::string_view, 7> kQuotationStatusTexts = {
    "下書き", "提出済", "成約", "不成約", "請求書", "発行済", "領収済",
};

} // namespace kerbina

#include "base/text_codec.h"
#include "money_literal.h"
#include "takeoff/takeoff_import.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kerbina {
namespace {

// A received payload: name, specification, system and one breakdown field (50); the rest empty.
std::string payload(const std::string& name, int system, const std::string& breakdown) {
    std::vector<std::string> fields(91);
    fields[0] = "WM_DATAWRITE";
    fields[1] = name;
    fields[2] = "25A";
    fields[8] = fields[9] = "4";
    fields[12] = "110";
    fields[13] = "1201";
    fields[18] = std::to_string(system);
    fields[19] = "1";
    fields[49] = breakdown;
    std::string text;
    for (const std::string& field : fields) {
        text += field + ";";
    }
    return text;
}

QuotationData twoSheets() {
    QuotationData data;
    data.items.resize(3);
    data.items[1].kind = 10;
    data.items[2].kind = 96; // a comment item: no sheet of its own
    TakeoffRecord kept;
    kept.nameSpec = "既存;";
    data.takeoffEntries[1] = {kept};
    data.unitCostBreakdowns = {"複合単価:0000500;x;"};
    return data;
}

TEST(TakeoffImport, PayloadsGoToTheEndOfTheSheetsListWithTheirBreakdowns) {
    QuotationData data = twoSheets();
    const std::string file = toCp932(payload("配管用炭素鋼鋼管", 0, "管") + "\r\n\r\n" +
                                     payload("硬質塩化ビニル管", 2, "管") + "\r\n");
    EXPECT_EQ(importTakeoffPayloads(data, 1, file), 2);
    const std::vector<TakeoffRecord>& entries = data.takeoffEntries.at(1);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].nameSpec, "既存;");
    EXPECT_EQ(entries[1].nameSpec, "配管用炭素鋼鋼管;25A");
    EXPECT_EQ(entries[1].sheet, 1);
    EXPECT_EQ(entries[2].system, 2);
    EXPECT_EQ(entries[2].netQuantity, c("4"));
    // The same breakdown text twice is kept once, in order.
    EXPECT_EQ(data.unitCostBreakdowns,
              (std::vector<std::string>{"複合単価:0000500;x;",
                                        "複合単価:0001201;管;" + std::string(41, ';')}));

    // The same payloads as UTF-8 read alike.
    QuotationData utf8 = twoSheets();
    importTakeoffPayloads(utf8, 1, fromCp932(file));
    EXPECT_EQ(utf8.takeoffEntries, data.takeoffEntries);
}

TEST(TakeoffImport, OneBadLineAddsNothing) {
    const struct {
        const char* what;
        int sheet;
        std::string file;
        const char* named;
    } refused[] = {
        {"system 10 on line 3", 1, payload("a", 0, "") + "\n\n" + payload("b", 10, ""), "3 行目"},
        {"no message name", 1, payload("a", 0, "") + "\n" + payload("b", 0, "").substr(13),
         "2 行目"},
        {"a sheet that does not exist", 3, payload("a", 0, ""), "シート 3"},
        {"a comment item has no sheet", 2, payload("a", 0, ""), "シート 2"},
    };
    for (const auto& row : refused) {
        QuotationData data = twoSheets();
        const QuotationData before = data;
        try {
            importTakeoffPayloads(data, row.sheet, row.file);
            ADD_FAILURE() << row.what << ": imported";
        } catch (const TakeoffImportError& error) {
            EXPECT_NE(std::string(error.what()).find(row.named), std::string::npos)
                << row.what << ": " << error.what();
        }
        EXPECT_EQ(data.takeoffEntries, before.takeoffEntries) << row.what;
        EXPECT_EQ(data.unitCostBreakdowns, before.unitCostBreakdowns) << row.what;
    }
}

} // namespace
} // namespace kerbina

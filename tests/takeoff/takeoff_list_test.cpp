#include "money_literal.h"
#include "takeoff/takeoff_list.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// The take-off list of a sheet and the commands on the rows of the system shown.

namespace kerbina {
namespace {

TakeoffRecord entry(const std::string& name, int system) {
    TakeoffRecord e;
    e.nameSpec = name + ";";
    e.system = system;
    e.kind = 110;
    return e;
}

// "a0 b1 c0 d1 e0": entries a..e in list order, a, c, e in system 0 and b, d in system 1.
TakeoffList listOf(const std::vector<std::pair<std::string, int>>& entries) {
    TakeoffList list;
    for (const auto& [name, system] : entries) {
        list.entries.push_back(entry(name, system));
    }
    return list;
}

std::string namesOf(const TakeoffList& list) {
    std::string names;
    for (int i = 1; i <= list.count(); ++i) {
        const TakeoffRecord& e = list.entries[static_cast<std::size_t>(i)];
        names += (names.empty() ? "" : " ") + e.nameSpec.substr(0, e.nameSpec.find(';')) +
                 std::to_string(e.system);
    }
    return names;
}

const std::vector<std::pair<std::string, int>> kInterleaved = {
    {"a", 0}, {"b", 1}, {"c", 0}, {"d", 1}, {"e", 0}};

// Rows are rows of the system shown: a command on rows 1..2 of system 0 acts on a and c, never on
// b, which lies between them in the list.
TEST(TakeoffList, CommandsActOnTheRowsOfTheSystemShown) {
    TakeoffList list = listOf(kInterleaved);
    deleteTakeoffEntries(list, 0, {1, 2});
    EXPECT_EQ(namesOf(list), "b1 d1 e0");

    list = listOf(kInterleaved);
    EXPECT_EQ(moveTakeoffEntry(list, 1, 1, +1), 2);
    EXPECT_EQ(namesOf(list), "a0 d1 c0 b1 e0");
    EXPECT_EQ(moveTakeoffEntry(list, 1, 1, -1), std::nullopt); // row 1 upward
    EXPECT_EQ(moveTakeoffEntry(list, 1, 2, +1), std::nullopt); // the last entry downward
    EXPECT_EQ(moveTakeoffEntry(list, 0, 4, -1), std::nullopt); // an empty row
    EXPECT_EQ(moveTakeoffEntry(list, 0, 3, -1), 2);
    EXPECT_EQ(namesOf(list), "a0 d1 e0 b1 c0");

    list = listOf(kInterleaved);
    list.blankOrigin = 2;
    insertBlankTakeoffEntries(list, 0, {2, 3});
    EXPECT_EQ(namesOf(list), "a0 b1 0 0 c0 d1 e0");
    const TakeoffRecord& blank = list.entries[3];
    EXPECT_EQ(blank.origin, 2);
    EXPECT_EQ(blank.sortCode, c("30001"));
    EXPECT_EQ(blank.kind, LineKind(113));
    insertBlankTakeoffEntries(list, 1, {7, 7}); // an empty row: appended
    EXPECT_EQ(namesOf(list), "a0 b1 0 0 c0 d1 e0 1");

    list = listOf(kInterleaved);
    setTakeoffBaseCosts(list, 1, {2, 9}, c("120"), c("150"));
    EXPECT_EQ(list.entries[4].netBaseCost, c("120"));
    EXPECT_EQ(list.entries[4].submittedBaseCost, c("150"));
    EXPECT_EQ(list.entries[2].netBaseCost, Currency());

    const std::vector<std::string> copied = copyTakeoffEntries(list, 0, {2, 9});
    ASSERT_EQ(copied.size(), 3u);
    EXPECT_EQ(copied[0], "[Version]=2.00");
    EXPECT_EQ(copied[1].substr(0, 8), "0;0;0;c;");
    EXPECT_EQ(copied[2].substr(0, 8), "0;0;0;e;");
}

TEST(TakeoffList, PasteTakesTheSystemShownAndItsSortCodeDigit) {
    TakeoffRecord copied = entry("配管", 3);
    copied.sortCode = c("1200.3");
    copied.netBaseCost = c("80");
    TakeoffList source;
    source.entries.push_back(copied);
    const std::vector<std::string> file = copyTakeoffEntries(source, 3, {1, 1});

    TakeoffList list = listOf(kInterleaved);
    EXPECT_EQ(pasteTakeoffEntries(list, file, 1, 4, true, 2), 1);
    EXPECT_EQ(namesOf(list), "a0 b1 c0 配管1 d1 e0");
    const TakeoffRecord& pasted = list.entries[4];
    EXPECT_EQ(pasted.sheet, 4);
    EXPECT_EQ(pasted.sortCode, c("1200.1")); // the system digit is replaced, not added to
    EXPECT_EQ(pasted.netBaseCost, c("80"));

    pasteTakeoffEntries(list, file, 5, 4, false, 1); // not on a detail sheet: kept as copied
    EXPECT_EQ(list.entries.back().sortCode, c("1200.3"));

    const TakeoffList before = list;
    EXPECT_EQ(pasteTakeoffEntries(list, {"[Version]=1.00", file[1]}, 0, 4, true, 1), 0);
    EXPECT_THROW(pasteTakeoffEntries(list, {file[0], file[1], "1;1;0;x;;abc"}, 0, 4, true, 1),
                 TakeoffPasteError);
    EXPECT_EQ(namesOf(list), namesOf(before));
}

TEST(TakeoffList, OpeningDropsDiscardedEntriesAndTakesTheLastPipingOrigin) {
    std::vector<TakeoffRecord> stored = {entry("a", 0), entry("b", 0), entry("c", 0)};
    stored[0].origin = 2;
    stored[1].kind = 901;
    stored[2].origin = 3;
    const TakeoffList list = takeoffListFromStored(stored);
    EXPECT_EQ(namesOf(list), "a0 c0");
    EXPECT_EQ(list.blankOrigin, 2);
    EXPECT_EQ(storedEntries(list).size(), 2u);
}

// A payload as a companion program sends it: fields 1..91, each followed by ";".
std::string payloadOf(std::vector<std::string> fields) {
    std::string payload;
    for (const std::string& field : fields) {
        payload += field + ";";
    }
    return payload;
}

std::vector<std::string> pipeFields() {
    std::vector<std::string> f(91);
    f[0] = "WM_DATAWRITE";
    f[1] = "配管用炭素鋼鋼管";
    f[2] = "SGP 25A";
    f[3] = "ｍ";
    f[4] = "850";
    f[5] = "1200.5";
    f[8] = "12.5";
    f[9] = "\"\"";
    f[12] = "120";
    f[13] = "1201.3";
    f[15] = "10";
    f[16] = "0.125";
    f[18] = "3";
    f[19] = "1";
    f[21] = "300";
    f[31] = "2";
    f[41] = "0.5";
    f[49] = "管";
    f[90] = "その他";
    return f;
}

TEST(ReceivedTakeoff, AllFieldsAreCheckedBeforeTheEntryIsMade) {
    const ReceivedTakeoff received = readReceivedTakeoff(payloadOf(pipeFields()));
    const TakeoffRecord& e = received.entry;
    EXPECT_EQ(e.nameSpec, "配管用炭素鋼鋼管;SGP 25A");
    EXPECT_EQ(e.unit, "ｍ");
    EXPECT_EQ(e.netPrice, c("850"));
    EXPECT_EQ(e.submittedPrice, c("1200.5"));
    EXPECT_EQ(e.netQuantity, c("12.5"));
    EXPECT_EQ(e.submittedQuantity, Currency());
    EXPECT_EQ(e.kind, LineKind(110)); // 120 is stored as 110
    EXPECT_EQ(e.sortCode, c("1201.3"));
    EXPECT_EQ(e.category, 10);
    EXPECT_EQ(e.laborFactor, c("0.125"));
    EXPECT_EQ(e.system, 3);
    EXPECT_EQ(e.origin, 1);
    EXPECT_EQ(e.netBaseCost, c("300"));
    EXPECT_EQ(e.place, 2);
    EXPECT_EQ(e.ratioOther, c("0.5"));
    EXPECT_EQ(e.priceCode, "複合単価:0001201");
    ASSERT_TRUE(received.unitCostBreakdown);
    EXPECT_EQ(*received.unitCostBreakdown,
              "複合単価:0001201;管;" + std::string(40, ';') + "その他;");

    std::vector<std::string> noBreakdown = pipeFields();
    noBreakdown[49] = noBreakdown[90] = " ";
    EXPECT_FALSE(readReceivedTakeoff(payloadOf(noBreakdown)).unitCostBreakdown);
    noBreakdown.resize(42); // the breakdown fields may be left off
    EXPECT_EQ(readReceivedTakeoff(payloadOf(noBreakdown)).entry, received.entry);

    const struct {
        const char* what;
        std::size_t field; // 1-based
        const char* value;
    } refused[] = {
        {"a system above 9", 19, "10"},
        {"a negative system", 19, "-1"},
        {"a price that is no number", 5, "8,50"},
        {"a kind that is no number", 13, "x"},
        {"a base cost that is no integer", 22, "300.5"},
        {"a ratio that is no number", 42, "½"},
    };
    for (const auto& row : refused) {
        std::vector<std::string> fields = pipeFields();
        fields[row.field - 1] = row.value;
        EXPECT_THROW(readReceivedTakeoff(payloadOf(fields)), TakeoffPayloadError) << row.what;
    }
    std::vector<std::string> cut = pipeFields();
    cut.resize(41);
    EXPECT_THROW(readReceivedTakeoff(payloadOf(cut)), TakeoffPayloadError);
}

TEST(ReceivedTakeoff, GoesOverTheSelectedEntryOrToTheEndOfTheList) {
    TakeoffList list = listOf(kInterleaved);
    EXPECT_EQ(placeReceivedTakeoff(list, entry("x", 0), 0, 2).selectedRow, 3);
    EXPECT_EQ(namesOf(list), "a0 b1 x0 d1 e0");

    const ReceivedPlacement appended = placeReceivedTakeoff(list, entry("y", 0), 0, 4);
    EXPECT_EQ(namesOf(list), "a0 b1 x0 d1 e0 y0");
    EXPECT_EQ(appended.system, 0);
    EXPECT_EQ(appended.selectedRow, 5);

    const ReceivedPlacement other = placeReceivedTakeoff(list, entry("z", 1), 0, 9);
    EXPECT_EQ(namesOf(list), "a0 b1 x0 d1 e0 y0 z1");
    EXPECT_EQ(other.system, 1);
    EXPECT_EQ(other.selectedRow, 3); // its system shown, its last entry selected
}

} // namespace
} // namespace kerbina

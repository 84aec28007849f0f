#include "base/file_io.h"
#include "calc/totals.h"
#include "costs/welfare_form.h"
#include "costs/welfare_writes.h"
#include "money_literal.h"
#include "record_builders.h"
#include "recording_cycle.h"
#include "records/item_settings.h"
#include "records/line_kinds.h"
#include "scripted_prompt.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

// Everything a write needs, over a recording cycle.
struct WelfareBench {
    TempFolder folder;
    DocumentState state;
    RecordingCycle cycle;
    ScriptedPrompt host;
    GridSession session;
    GridContext context{state, cycle, host, session, folder.path()};
};

// The rates of the example: 9.98, 9.15, 0, 0.6 and 0 (r2 = 19.73), r1 = 16.5.
WelfareForm exampleForm(const char* workerRate = "100") {
    WelfareForm form;
    form.insuranceRates = {"9.98", "9.15", "0", "0.6", "0"};
    form.employerRate = *employerRateText(form.insuranceRates);
    form.labourRate = "16.5";
    form.workerRate = workerRate;
    return form;
}

WelfareEntry entryOf(const WelfareForm& form) {
    return std::get<WelfareEntry>(checkedWelfareEntry(form));
}

std::vector<std::string> namesFrom(const Sheet& sheet, int first) {
    std::vector<std::string> names;
    for (auto line = sheet.begin() + first; line != sheet.end(); ++line) {
        names.push_back(splitNameSpec(line->nameSpec).first);
    }
    return names;
}

std::vector<std::string> namesFrom(const ItemList& items, int first) {
    std::vector<std::string> names;
    for (auto item = items.begin() + first; item != items.end(); ++item) {
        names.push_back(item->name);
    }
    return names;
}

TEST(WelfareForm, EmployerRateIsTheSumOfTheInsuranceRatesWhileAllAreNumbers) {
    EXPECT_EQ(employerRateText({"9.98", "9.15", "0", "0.6", "0"}), "19.73");
    EXPECT_EQ(employerRateText({"0", "0", "0", "0", "0"}), "0");
    EXPECT_EQ(employerRateText({"9.98", "abc", "0", "0", "0"}), std::nullopt);
    EXPECT_EQ(WelfareForm{}.employerRate, "10"); // until the first change
}

TEST(WelfareForm, WriteRefusedWithoutLabourRateOrEmployerRate) {
    WelfareForm noLabourRate = exampleForm();
    noLabourRate.labourRate.clear();
    WelfareForm noEmployerRate = exampleForm();
    noEmployerRate.employerRate = "0";
    WelfareForm notANumber = exampleForm();
    notANumber.workerRate = "八十";
    EXPECT_EQ(std::get<std::string>(checkedWelfareEntry(noLabourRate)),
              "掛け率が入力されていません。");
    EXPECT_EQ(std::get<std::string>(checkedWelfareEntry(noEmployerRate)),
              "掛け率が入力されていません。");
    EXPECT_EQ(std::get<std::string>(checkedWelfareEntry(notANumber)), "率は数値で入力して下さい。");
}

TEST(WelfareRatio, LabourRateIsComputedExactlyInIntegers) {
    struct Case {
        const char* labour;
        const char* total;
        const char* tax;
        std::optional<std::string> field;
    };
    const Case cases[] = {
        {"2000000", "11000000", "1000000", "20"},
        {"1", "3", "0", "33.33"},               // 3333.33… + 0.5 truncated
        {"2", "3", "0", "66.67"},               // 6666.66… + 0.5 truncated
        {"0", "5000", "0", ""},                 // no labour: the field shows empty
        {"1000", "1000", "1000", std::nullopt}, // nothing left after the tax
    };
    for (const Case& each : cases) {
        const LabourRateOutcome outcome =
            labourRateFrom(WelfareBase{c(each.labour), c(each.total), c(each.tax)});
        EXPECT_EQ(outcome.fieldText, each.field) << each.labour << "/" << each.total;
        EXPECT_EQ(outcome.refusal.empty(), each.field.has_value());
    }
    EXPECT_EQ(labourRateFrom(WelfareBase{c("5"), c("10"), c("10")}).refusal,
              "税抜計が0のため労務費率を計算できません。");
}

TEST(WelfareRatio, StatusBarShowsLabourTotalLessTaxAndTax) {
    EXPECT_EQ(welfareStatusTexts(WelfareBase{c("2000000"), c("11000000"), c("1000000")}),
              (std::array<std::string, 3>{"労務費:2000000", "税抜計:10000000", "消費税:1000000"}));
}

TEST(WelfareRatio, BaseIsTheOpenSheetsOnASheetAndTheQuotationsOnTheList) {
    DocumentState state;
    ItemRecord first = sheetItem("配管");
    first.submittedTotal = c("1100");
    first.netTotal = c("900");
    first.laborTotal = c("300");
    ItemRecord second = sheetItem("ダクト");
    second.submittedTotal = c("500");
    second.laborTotal = c("100");
    state.items = {ItemRecord{}, first, second};
    state.currentSheetNumber = 1;
    state.sheetSubmittedTax = c("100");

    const WelfareBase sheet = welfareBase(state, false);
    EXPECT_EQ(sheet.labour, c("300"));
    EXPECT_EQ(sheet.submittedTotal, c("1100"));
    EXPECT_EQ(sheet.tax, c("100"));

    const WelfareBase list = welfareBase(state, true);
    EXPECT_EQ(list.labour, c("400"));
    EXPECT_EQ(list.submittedTotal, c("1600"));
    EXPECT_EQ(list.tax, Currency());
    EXPECT_EQ(state.items[2].submittedTotal, c("500")); // the quotation itself is left as it was
}

TEST(WelfareConf, RoundTripKeepsEveryFieldButTheName) {
    TempFolder root;
    WelfareForm written = exampleForm("80");
    written.name = "法定福利費";
    written.insuranceNames[1] = "厚生年金";
    written.sumName = "事業主負担計";
    written.workerRateName = "適用率";
    written.labourRate = "16.50"; // as typed: written as a plain number
    written.formulaInSpecification = true;
    writeWelfareConf(root.path(), written);
    const std::string bytes = readFileBytes(welfareConfPath(root.path()));
    EXPECT_EQ(readTextLines(welfareConfPath(root.path())),
              (std::vector<std::string>{
                  "[NAMAE]=法定福利費", "[ITEMNAME1]=健康保険", "[ITEMNAME2]=厚生年金",
                  "[ITEMNAME3]=介護保険", "[ITEMNAME4]=雇用保険", "[ITEMNAME5]=厚生年金基金",
                  "[ITEMNAME6]=適用率", "[SUMNAME]=事業主負担計", "[NAVR]=16.5",
                  "[ITEMVALUE1]=9.98", "[ITEMVALUE2]=9.15", "[ITEMVALUE3]=0", "[ITEMVALUE4]=0.6",
                  "[ITEMVALUE5]=0", "[ITEMVALUE6]=80", "[NAME_OPT1]=TRUE"}));

    WelfareForm read; // as at program start
    readWelfareConf(root.path(), read);
    EXPECT_EQ(read.name, "【法定福利費相当額】");
    EXPECT_EQ(read.employerRate, "19.73"); // recomputed from the rates read
    EXPECT_TRUE(read.formulaInSpecification);
    read.name = written.name;
    writeWelfareConf(root.path(), read);
    EXPECT_EQ(readFileBytes(welfareConfPath(root.path())), bytes);
}

TEST(WelfareConf, OnlyTheTickedLineTicksAndAMissingFileLeavesTheForm) {
    TempFolder root;
    WelfareForm form;
    form.formulaInSpecification = true;
    readWelfareConf(root.path(), form);
    EXPECT_TRUE(form.formulaInSpecification);
    EXPECT_EQ(form.employerRate, "10");

    writeWelfareConf(root.path(), WelfareForm{}); // [NAME_OPT1]=FALSE
    readWelfareConf(root.path(), form);
    EXPECT_TRUE(form.formulaInSpecification); // the file never unticks the box
}

TEST(WelfareSheet, EachLayoutWritesItsLinesFromTheRow) {
    struct Case {
        WelfareLayout layout;
        const char* workerRate;
        std::vector<std::string> names;
        std::vector<int> kinds;
    };
    const std::string lead = "上記の金額には以下の法定福利費相当額を含んでいます。";
    const Case cases[] = {
        {WelfareLayout::Single, "100", {"【法定福利費相当額】"}, {97}},
        {WelfareLayout::Expanded,
         "100",
         {"健康保険", "厚生年金保険 ", "雇用保険", "法定福利費事業主負担"},
         {97, 97, 97, 98}},
        {WelfareLayout::Formula,
         "100",
         {lead, "【法定福利費相当額】(A)", "Ａ(法定福利費)=Ｙ×Ｕ×Ｚ", "Ｙ：合計",
          "Ｕ：労務比率(16.5%)", "Ｚ：法定福利費事業主負担率(19.73%)"},
         {30, 97, 30, 30, 30, 30}},
        {WelfareLayout::Formula,
         "80",
         {lead, "【法定福利費相当額】(A)", "Ａ(法定福利費)=Ｙ×Ｕ×Ｚ×Ｒ", "Ｙ：合計",
          "Ｕ：労務比率(16.5%)", "Ｚ：法定福利費事業主負担率(19.73%)", "Ｒ：適用労働者率(80%)"},
         {30, 97, 30, 30, 30, 30, 30}},
    };
    for (const Case& each : cases) {
        WelfareBench bench;
        bench.state.sheet = numberedLines(8); // row 8 is overwritten, the rest appended
        const CommandResult result =
            writeWelfare(bench.context, Selection{8, 8}, entryOf(exampleForm(each.workerRate)),
                         each.layout, false);
        SCOPED_TRACE(each.names.size());
        EXPECT_EQ(namesFrom(bench.state.sheet, 8), each.names);
        std::vector<int> kinds;
        for (int row = 8; row <= bench.state.lineCount(); ++row) {
            kinds.push_back(bench.state.sheet[static_cast<std::size_t>(row)].kind.code());
        }
        EXPECT_EQ(kinds, each.kinds);
        EXPECT_EQ(splitNameSpec(bench.state.sheet[7].nameSpec).first, "L7");
        const int next = 8 + static_cast<int>(each.names.size());
        EXPECT_EQ(result.selection, (Selection{next, next}));
        EXPECT_EQ(bench.cycle.steps, (std::vector<std::string>{"snapshot", "totals", "write"}));
    }
}

TEST(WelfareSheet, WelfareLinesCarryTheRatesAndTheFormulaPlace) {
    WelfareBench bench;
    WelfareForm form = exampleForm("80");
    form.formulaInSpecification = true;
    writeWelfare(bench.context, Selection{1, 1}, entryOf(form), WelfareLayout::Expanded, false);

    const LineRecord& health = bench.state.sheet[1];
    EXPECT_EQ(health.nameSpec, "健康保険;;");
    EXPECT_EQ(health.unit, "式");
    EXPECT_EQ(health.netQuantity, c("16.5"));
    EXPECT_EQ(health.submittedQuantity, c("9.98"));
    EXPECT_EQ(health.submittedAdditionalPrice, c("80"));
    EXPECT_EQ(health.sortCode, c("99999"));
    EXPECT_EQ(health.amountText, "True");
    const LineRecord& sum = bench.state.sheet[4];
    EXPECT_EQ(sum.kind, LineKind::WelfareSum);
    EXPECT_EQ(sum.unit, "式");
    EXPECT_EQ(sum.netQuantity, Currency());
    EXPECT_EQ(sum.submittedAdditionalPrice, Currency());
    EXPECT_EQ(sum.amountText, "True");

    WelfareBench comments;
    writeWelfare(comments.context, Selection{1, 1}, entryOf(exampleForm()), WelfareLayout::Formula,
                 false);
    EXPECT_EQ(comments.state.sheet[1].unit, "");
    EXPECT_EQ(comments.state.sheet[1].amountText, "");
    EXPECT_EQ(comments.state.sheet[2].amountText, "False");
}

// The records written are what the totals pass computes the welfare from.
TEST(WelfareSheet, TheTotalsPassPutsTheFormulaWhereTheBoxSays) {
    for (const bool ticked : {true, false}) {
        WelfareBench bench;
        LineRecord priced = namedLine("配管");
        priced.netQuantity = priced.submittedQuantity = c("1");
        priced.netPrice = priced.submittedPrice = c("1000000");
        bench.state.sheet = sheetWithLines({priced});
        WelfareForm form = exampleForm("80");
        form.labourRate = "20";
        form.employerRate = "10";
        form.formulaInSpecification = ticked;
        writeWelfare(bench.context, Selection{2, 2}, entryOf(form), WelfareLayout::Single, false);
        recalculateSheet(bench.state);

        const LineRecord& welfare = bench.state.sheet[2];
        EXPECT_EQ(welfare.submittedAmount, c("16000")); // 1,000,000 × 20% × 10% × 80%
        const std::string formula = "1,000,000×20%×10%×80%";
        EXPECT_EQ(welfare.nameSpec.find(formula) != std::string::npos, ticked);
        EXPECT_EQ(welfare.note, ticked ? "" : formula);
    }
}

TEST(WelfareList, ExpandedWritesAllFiveInsurancesAndTheirSum) {
    WelfareBench bench;
    bench.state.items = {ItemRecord{}, sheetItem("配管"), sheetItem("ダクト")};
    const CommandResult result = writeWelfare(
        bench.context, Selection{8, 8}, entryOf(exampleForm()), WelfareLayout::Expanded, true);

    ASSERT_EQ(bench.state.itemMax(), 13);
    EXPECT_EQ(bench.state.items[7].kind, ItemKind::Sheet); // created empty up to the group
    EXPECT_EQ(namesFrom(bench.state.items, 8),
              (std::vector<std::string>{"健康保険", "厚生年金保険 ", "介護保険", "雇用保険",
                                        "厚生年金基金", "法定福利費事業主負担"}));
    const char* rates[] = {"9.98", "9.15", "0", "0.6", "0"};
    for (int row = 8; row <= 12; ++row) {
        const ItemRecord& item = bench.state.items[static_cast<std::size_t>(row)];
        EXPECT_EQ(item.kind, ItemKind::Welfare);
        EXPECT_EQ(welfareRates(item).labourRate, c("16.5"));
        EXPECT_EQ(welfareRates(item).employerRate, c(rates[row - 8]));
        EXPECT_EQ(welfareRates(item).workerRate, c("100"));
        EXPECT_FALSE(showsFormulaWithName(item));
    }
    const ItemRecord& sum = bench.state.items[13];
    EXPECT_EQ(sum.kind, ItemKind::WelfareSum);
    EXPECT_EQ(itemRangeNumbers(sum), (std::pair{8, 13}));
    EXPECT_EQ(result.selection, (Selection{14, 14}));
    EXPECT_EQ(bench.cycle.steps,
              (std::vector<std::string>{"list snapshot", "list totals", "write list"}));
}

TEST(WelfareList, SingleGoesThroughTheItemMessageAndFormulaWritesCommentItems) {
    WelfareBench single;
    single.state.items = {ItemRecord{}, sheetItem("配管")};
    WelfareForm ticked = exampleForm("80");
    ticked.formulaInSpecification = true;
    const CommandResult result =
        writeWelfare(single.context, Selection{2, 2}, entryOf(ticked), WelfareLayout::Single, true);
    const ItemRecord& welfare = single.state.items[2];
    EXPECT_EQ(welfare.kind, ItemKind::Welfare);
    EXPECT_EQ(welfare.name, "【法定福利費相当額】");
    EXPECT_EQ(welfare.note, "0");
    EXPECT_EQ(welfareRates(welfare).employerRate, c("19.73"));
    EXPECT_EQ(welfareRates(welfare).workerRate, c("80"));
    EXPECT_TRUE(showsFormulaWithName(welfare));
    EXPECT_EQ(result.selection, (Selection{3, 3}));

    for (const auto& [workerRate, count] : {std::pair{"100", 6}, std::pair{"80", 7}}) {
        WelfareBench bench;
        bench.state.items = {ItemRecord{}, sheetItem("配管")};
        writeWelfare(bench.context, Selection{2, 2}, entryOf(exampleForm(workerRate)),
                     WelfareLayout::Formula, true);
        ASSERT_EQ(bench.state.itemMax(), 1 + count);
        EXPECT_EQ(bench.state.items[2].name, "上記の金額には以下の法定福利費相当額を含んでいます");
        EXPECT_EQ(bench.state.items[2].kind, ItemKind::Comment);
        EXPECT_EQ(welfareRates(bench.state.items[2]).workerRate, c(workerRate));
        EXPECT_EQ(bench.state.items[3].name, "【法定福利費相当額】(A)");
        EXPECT_EQ(bench.state.items[3].kind, ItemKind::Welfare);
        EXPECT_EQ(bench.state.items[4].name,
                  count == 7 ? "Ａ(法定福利費)=Ｙ×Ｕ×Ｚ×Ｒ" : "Ａ(法定福利費)=Ｙ×Ｕ×Ｚ");
        EXPECT_EQ(bench.state.items.back().name,
                  count == 7 ? "Ｒ：適用労働者率(80%)" : "Ｚ：法定福利費事業主負担率(19.73%)");
    }
}

TEST(WelfareList, AWriteOverAnItemHoldingDataChangesNothing) {
    WelfareBench bench;
    ItemRecord priced = sheetItem("配管");
    priced.submittedTotal = c("1000");
    bench.state.items = {ItemRecord{}, sheetItem("見出し"), ItemRecord{}, ItemRecord{}, priced};
    const ItemList before = bench.state.items;

    // The group from row 2 would reach row 4.
    const CommandResult result = writeWelfare(
        bench.context, Selection{2, 2}, entryOf(exampleForm()), WelfareLayout::Expanded, true);

    EXPECT_EQ(bench.state.items, before);
    EXPECT_FALSE(result.changed);
    EXPECT_TRUE(bench.cycle.steps.empty());
    EXPECT_EQ(bench.host.notices,
              (std::vector<std::string>{"すでに積算データが存在しますので経費にはできません"}));
}

TEST(WelfareCommands, PlacementChecks) {
    WelfareBench bench;
    ItemRecord reduction = sheetItem("減額", ItemKind::Reduction);
    reduction.submittedTotal = c("500");
    ItemRecord expense = sheetItem("諸経費", ItemKind::ExpenseOnTotal);
    expense.submittedTotal = c("500");
    ItemRecord priced = sheetItem("配管");
    priced.netTotal = c("1");
    bench.state.items = {ItemRecord{},
                         sheetItem("a"),
                         reduction,
                         expense,
                         priced,
                         sheetItem("no sheet file"),
                         sheetItem("open sheet")};
    bench.state.currentSheetNumber = 6;
    bench.state.sheet = sheetWithLines({commentLine("見出し")}); // no totals, yet data

    const std::string holdsData = "すでに積算データが存在しますので経費にはできません";
    EXPECT_EQ(listWelfareRefusal(bench.state, bench.folder.path(), 1),
              "先頭行に法定福利費を入れる事はできません。");
    EXPECT_EQ(listWelfareRefusal(bench.state, bench.folder.path(), 2), std::nullopt);
    EXPECT_EQ(listWelfareRefusal(bench.state, bench.folder.path(), 3), std::nullopt);
    EXPECT_EQ(listWelfareRefusal(bench.state, bench.folder.path(), 4), holdsData);
    EXPECT_EQ(listWelfareRefusal(bench.state, bench.folder.path(), 5), std::nullopt);
    EXPECT_EQ(listWelfareRefusal(bench.state, bench.folder.path(), 6), holdsData);
    EXPECT_EQ(listWelfareRefusal(bench.state, bench.folder.path(), 9), std::nullopt);

    DocumentState sheet;
    sheet.sheet = sheetWithLines({namedLine("配管"), namedLine("計", LineKind::WelfareSum)});
    EXPECT_EQ(sheetWelfareRefusal(sheet), std::nullopt);
    sheet.sheet.push_back(namedLine("福利", LineKind::Welfare));
    EXPECT_EQ(sheetWelfareRefusal(sheet), "すでに法定福利費が入力されています");
}

TEST(WelfareCommands, WelfareLineRowsSpanTheFirstToTheLastWelfareLine) {
    DocumentState state;
    EXPECT_EQ(welfareLineRows(state), std::nullopt);
    state.sheet =
        sheetWithLines({namedLine("a"), namedLine("w", LineKind::Welfare), commentLine("c"),
                        namedLine("s", LineKind::WelfareSum), namedLine("b")});
    EXPECT_EQ(welfareLineRows(state), (Selection{2, 4}));
}

} // namespace
} // namespace kerbina

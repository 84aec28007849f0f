#include "calc/totals.h"
#include "document/quotation_file.h"
#include "document/totals_report.h"
#include "money_literal.h"
#include "test_data.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kerbina {
namespace {

using Json = nlohmann::json;

// A report or expected file parsed; a key given twice in one object fails the test instead of
// one copy hiding the other.
Json parseJson(std::string_view text) {
    std::vector<std::set<std::string>> keysOfOpenObjects;
    return Json::parse(text, [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) {
            keysOfOpenObjects.emplace_back();
        } else if (event == Json::parse_event_t::object_end) {
            keysOfOpenObjects.pop_back();
        } else if (event == Json::parse_event_t::key &&
                   !keysOfOpenObjects.back().insert(parsed.get<std::string>()).second) {
            throw std::runtime_error("JSON: duplicate key " + parsed.get<std::string>());
        }
        return true;
    });
}

// A string's text, or a number's or literal's as it is written.
std::string textOf(const Json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// Every difference between two values, by path: missing and extra keys, lengths, texts.
void compare(const Json& got, const Json& expected, const std::string& path,
             std::vector<std::string>& differences) {
    if (got.is_object() != expected.is_object() || got.is_array() != expected.is_array() ||
        got.is_string() != expected.is_string()) {
        differences.push_back(path + ": different types");
        return;
    }
    if (got.is_object()) {
        for (const auto& [key, value] : expected.items()) {
            if (!got.contains(key)) {
                differences.push_back(path + "." + key + ": missing");
            } else {
                compare(got.at(key), value, path + "." + key, differences);
            }
        }
        for (const auto& [key, value] : got.items()) {
            if (!expected.contains(key)) {
                differences.push_back(path + "." + key + ": not expected");
            }
        }
    } else if (got.is_array()) {
        if (got.size() != expected.size()) {
            differences.push_back(path + ": " + std::to_string(got.size()) +
                                  " elements, expected " + std::to_string(expected.size()));
        }
        for (std::size_t i = 0; i < std::min(got.size(), expected.size()); ++i) {
            compare(got.at(i), expected.at(i), path + "[" + std::to_string(i) + "]", differences);
        }
    } else if (textOf(got) != textOf(expected)) {
        differences.push_back(path + ": \"" + textOf(got) + "\", expected \"" + textOf(expected) +
                              "\"");
    }
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string reportOf(QuotationData data) {
    const auto results = recalculateQuotation(data, CalcSettings{}, true);
    return totalsReportJson(data, results);
}

// Example quotations with totals computed independently of the program. Recomputed with the
// settings of a fresh installation, each must give exactly its expected report.
TEST(TotalsReport, ExampleQuotationsGiveTheirExpectedTotals) {
    const std::filesystem::path folder = testDataFile("totals");
    for (int n = 1; n <= 6; ++n) {
        const std::string name = "example_" + std::to_string(n);
        SCOPED_TRACE(name);
        const std::string report = reportOf(readQuotationFile(folder / (name + ".krb2")));
        const Json expected = parseJson(fileText(folder / (name + ".expected.json")));
        std::vector<std::string> differences;
        compare(parseJson(report), expected, name, differences);
        for (const std::string& difference : differences) {
            ADD_FAILURE() << difference;
        }
    }
}

TEST(TotalsReport, TextsAreEscapedAndMoneyIsText) {
    QuotationData data;
    data.items = {ItemRecord{}, ItemRecord{}};
    data.items[1].name = "\"引用\" \\ 改\n行\x01";
    data.items[1].kind = 96;
    data.items[1].submittedTotal = c("-0.5");
    const Json report = parseJson(reportOf(data));
    const Json& item = report.at("items").at(0);
    EXPECT_EQ(textOf(item.at("name")), data.items[1].name);
    EXPECT_EQ(textOf(item.at("no")), "1");
    EXPECT_TRUE(item.at("note").is_string());
    EXPECT_EQ(report.at("sheets").size(), 0u);
    EXPECT_TRUE(report.at("grand").at("ALLGTOTAL").is_string());
}

TEST(TotalsReport, StoppedSheetPassReportsItsRowAndMessage) {
    const std::string item = "10;;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n";
    QuotationData data =
        readQuotationText("<TITLE>\r\n[ItemMax]=1\r\n</TITLE>\r\n<ITEM>\r\n" + item +
                          "</ITEM>\r\n<DATA>\r\n"
                          "1;配管;;0;11999;;10;2;2;100;100;0;0;0;0;0;0;0;0;;;\r\n"
                          "1;外注;;0;11999;;12;1;1;500;500;0;0;0;0;0;0;0;0;;;\r\n"
                          "1;範囲計;;0;11999;;93;1;2;0;0;0;0;0;0;0;0;0;0;;;\r\n"
                          "</DATA>\r\n</EOF>\r\n");
    const Json report = parseJson(reportOf(data));
    const Json& sheet = report.at("sheets").at(0);
    EXPECT_EQ(textOf(sheet.at("no")), "1");
    const Json& error = sheet.at("error");
    ASSERT_TRUE(error.is_object());
    EXPECT_EQ(textOf(error.at("row")), "3");
    EXPECT_NE(textOf(error.at("message")).find("範囲計"), std::string::npos);
    EXPECT_EQ(sheet.at("lines").size(), 3u);
}

} // namespace
} // namespace kerbina

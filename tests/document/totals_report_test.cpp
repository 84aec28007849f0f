#include "calc/totals.h"
#include "document/quotation_file.h"
#include "document/totals_report.h"
#include "money_literal.h"
#include "test_data.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <stdexcept>

namespace kerbina {
namespace {

// Just enough JSON to compare two reports key by key: objects, arrays, strings, and numbers and
// literals kept as their text.
struct Json {
    enum class Type { Object, Array, String, Scalar } type = Type::Scalar;
    std::string text;
    std::map<std::string, Json> members;
    std::vector<Json> elements;
};

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    Json parseDocument() {
        Json value = parseValue();
        skipBlanks();
        if (at_ != text_.size()) {
            fail("trailing text");
        }
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at " + std::to_string(at_));
    }
    void skipBlanks() {
        while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != npos) {
            ++at_;
        }
    }
    char peek() {
        skipBlanks();
        if (at_ >= text_.size()) {
            fail("unexpected end");
        }
        return text_[at_];
    }
    void expect(char c) {
        if (peek() != c) {
            fail(std::string("expected ") + c);
        }
        ++at_;
    }

    Json parseValue() {
        Json value;
        const char c = peek();
        if (c == '{') {
            value.type = Json::Type::Object;
            ++at_;
            if (peek() == '}') {
                ++at_;
                return value;
            }
            for (;;) {
                const std::string key = parseString();
                expect(':');
                if (!value.members.emplace(key, parseValue()).second) {
                    fail("duplicate key " + key);
                }
                if (peek() == '}') {
                    ++at_;
                    return value;
                }
                expect(',');
            }
        }
        if (c == '[') {
            value.type = Json::Type::Array;
            ++at_;
            if (peek() == ']') {
                ++at_;
                return value;
            }
            for (;;) {
                value.elements.push_back(parseValue());
                if (peek() == ']') {
                    ++at_;
                    return value;
                }
                expect(',');
            }
        }
        if (c == '"') {
            value.type = Json::Type::String;
            value.text = parseString();
            return value;
        }
        const std::size_t start = at_;
        while (at_ < text_.size() && std::string_view(",]} \t\r\n").find(text_[at_]) == npos) {
            ++at_;
        }
        value.text = std::string(text_.substr(start, at_ - start));
        if (value.text.empty()) {
            fail("empty value");
        }
        return value;
    }

    void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    unsigned hex4() {
        if (at_ + 4 > text_.size()) {
            fail("short \\u escape");
        }
        const unsigned code = std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16);
        at_ += 4;
        return code;
    }

    std::string parseString() {
        expect('"');
        std::string out;
        for (;;) {
            if (at_ >= text_.size()) {
                fail("unterminated string");
            }
            const char c = text_[at_++];
            if (c == '"') {
                return out;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = text_.at(at_++);
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'u': {
                unsigned code = hex4();
                if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
                    at_ += 2;
                    code = 0x10000 + ((code - 0xD800) << 10) + (hex4() - 0xDC00);
                }
                appendUtf8(out, code);
                break;
            }
            default:
                out += e;
            }
        }
    }

    static constexpr auto npos = std::string_view::npos;
    std::string_view text_;
    std::size_t at_ = 0;
};

Json parseJson(std::string_view text) {
    return JsonParser(text).parseDocument();
}

// Every difference between two values, by path: missing and extra keys, lengths, texts.
void compare(const Json& got, const Json& expected, const std::string& path,
             std::vector<std::string>& differences) {
    if (got.type != expected.type) {
        differences.push_back(path + ": different types");
        return;
    }
    switch (got.type) {
    case Json::Type::Object:
        for (const auto& [key, value] : expected.members) {
            const auto found = got.members.find(key);
            if (found == got.members.end()) {
                differences.push_back(path + "." + key + ": missing");
            } else {
                compare(found->second, value, path + "." + key, differences);
            }
        }
        for (const auto& [key, value] : got.members) {
            if (!expected.members.contains(key)) {
                differences.push_back(path + "." + key + ": not expected");
            }
        }
        break;
    case Json::Type::Array:
        if (got.elements.size() != expected.elements.size()) {
            differences.push_back(path + ": " + std::to_string(got.elements.size()) +
                                  " elements, expected " +
                                  std::to_string(expected.elements.size()));
        }
        for (std::size_t i = 0; i < std::min(got.elements.size(), expected.elements.size()); ++i) {
            compare(got.elements[i], expected.elements[i], path + "[" + std::to_string(i) + "]",
                    differences);
        }
        break;
    default:
        if (got.text != expected.text) {
            differences.push_back(path + ": \"" + got.text + "\", expected \"" + expected.text +
                                  "\"");
        }
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
    const Json& item = report.members.at("items").elements.at(0);
    EXPECT_EQ(item.members.at("name").text, data.items[1].name);
    EXPECT_EQ(item.members.at("no").text, "1");
    EXPECT_EQ(item.members.at("note").type, Json::Type::String);
    EXPECT_EQ(report.members.at("sheets").elements.size(), 0u);
    EXPECT_EQ(report.members.at("grand").members.at("ALLGTOTAL").type, Json::Type::String);
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
    const Json& sheet = report.members.at("sheets").elements.at(0);
    EXPECT_EQ(sheet.members.at("no").text, "1");
    const Json& error = sheet.members.at("error");
    ASSERT_EQ(error.type, Json::Type::Object);
    EXPECT_EQ(error.members.at("row").text, "3");
    EXPECT_NE(error.members.at("message").text.find("範囲計"), std::string::npos);
    EXPECT_EQ(sheet.members.at("lines").elements.size(), 3u);
}

} // namespace
} // namespace kerbina

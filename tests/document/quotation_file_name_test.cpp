#include "document/quotation_file_name.h"
#include "records/line_kinds.h"

#include <gtest/gtest.h>

namespace kerbina {
namespace {

DocumentState quotation(const std::string& number, const std::vector<std::string>& itemNames) {
    DocumentState state;
    state.header.number = number;
    for (const std::string& name : itemNames) {
        ItemRecord item = newSheetItem();
        item.name = name;
        state.items.push_back(item);
    }
    return state;
}

TEST(SuggestedQuotationFileName, NumberThenFirstNamedSheetThenAPlainName) {
    struct Case {
        std::string number;
        std::vector<std::string> items;
        std::string expected;
    };
    const Case cases[] = {
        {"A-0012", {"配管工事"}, "A-0012.krb2"},
        {"　", {"", "給水設備工事;1階"}, "給水設備工事.krb2"},
        {"", {}, "見積書.krb2"},
        {"12/34", {}, "12_34.krb2"},
        {"", {"..\\設備:工事?*"}, "___設備_工事__.krb2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(suggestedQuotationFileName(quotation(c.number, c.items)), c.expected)
            << c.expected;
    }
}

TEST(SuggestedSavePath, TheQuotationsOwnFileComesFirst) {
    const DocumentState state = quotation("Q-1", {});
    EXPECT_EQ(suggestedSavePath(state, "/data/own.krb2", "/data/kerbina_data"), "/data/own.krb2");
    EXPECT_EQ(suggestedSavePath(state, {}, "/data/kerbina_data"), "/data/kerbina_data/Q-1.krb2");
}

} // namespace
} // namespace kerbina

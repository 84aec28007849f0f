#include "document/totals_report.h"

#include "base/text.h"

#include <vector>

namespace kerbina {

namespace {

// Members of one JSON object on one line each, indented by the object's depth.
class JsonObject {
public:
    explicit JsonObject(int depth) : indent_(static_cast<std::size_t>(depth + 1) * 2, ' ') {}

    JsonObject& raw(std::string_view key, std::string_view json) {
        text_ += text_.empty() ? "{\n" : ",\n";
        text_ += indent_;
        text_ += jsonString(key);
        text_ += ": ";
        text_ += json;
        return *this;
    }
    JsonObject& text(std::string_view key, std::string_view value) {
        return raw(key, jsonString(value));
    }
    JsonObject& money(std::string_view key, Currency value) {
        return raw(key, jsonString(value.toString()));
    }
    JsonObject& number(std::string_view key, long long value) {
        return raw(key, std::to_string(value));
    }
    std::string close() {
        const std::string outer(indent_.size() - 2, ' ');
        return text_.empty() ? "{}" : text_ + "\n" + outer + "}";
    }

private:
    std::string indent_;
    std::string text_;
};

std::string jsonArray(const std::vector<std::string>& elements, int depth) {
    if (elements.empty()) {
        return "[]";
    }
    const std::string indent(static_cast<std::size_t>(depth + 1) * 2, ' ');
    std::string text = "[";
    for (std::size_t i = 0; i < elements.size(); ++i) {
        text += i == 0 ? "\n" : ",\n";
        text += indent;
        text += elements[i];
    }
    return text + "\n" + std::string(indent.size() - 2, ' ') + "]";
}

std::string itemJson(int number, const ItemRecord& item) {
    return JsonObject(2)
        .number("no", number)
        .number("kind", item.kind.code())
        .text("name", item.name)
        .money("submittedTotal", item.submittedTotal)
        .money("netTotal", item.netTotal)
        .money("submittedTax", item.submittedTax)
        .money("laborTotal", item.laborTotal)
        .text("note", item.note)
        .close();
}

std::string lineJson(int row, const LineRecord& line) {
    return JsonObject(4)
        .number("row", row)
        .number("kind", line.kind.code())
        .text("nameSpec", line.nameSpec)
        .money("netQuantity", line.netQuantity)
        .money("submittedQuantity", line.submittedQuantity)
        .money("netPrice", line.netPrice)
        .money("submittedPrice", line.submittedPrice)
        .money("netAdditionalPrice", line.netAdditionalPrice)
        .money("submittedAdditionalPrice", line.submittedAdditionalPrice)
        .money("netAmount", line.netAmount)
        .money("submittedAmount", line.submittedAmount)
        .number("hiddenFlag", line.hiddenFlag)
        .text("note", line.note)
        .close();
}

std::string sheetJson(const QuotationData& data, int number, const SheetPassResult& result) {
    std::vector<std::string> lines;
    const Sheet& sheet = data.sheets[static_cast<std::size_t>(number)];
    for (std::size_t row = 1; row < sheet.size(); ++row) {
        lines.push_back(lineJson(static_cast<int>(row), sheet[row]));
    }
    const std::string error = result.error ? JsonObject(3)
                                                 .number("row", result.error->row)
                                                 .text("message", result.error->message)
                                                 .close()
                                           : "null";
    return JsonObject(2)
        .number("no", number)
        .raw("error", error)
        .raw("lines", jsonArray(lines, 3))
        .close();
}

} // namespace

std::string totalsReportJson(const QuotationData& data,
                             const std::map<int, SheetPassResult>& sheets) {
    const QuotationHeader& header = data.header;
    const std::string grand = JsonObject(1)
                                  .money("ALLGTOTAL", header.submittedGrandTotal)
                                  .money("ALLNTOTAL", header.netGrandTotal)
                                  .money("TAXGTOTAL", header.submittedTaxTotal)
                                  .money("TAXNTOTAL", header.netTaxTotal)
                                  .close();
    std::vector<std::string> items;
    for (int n = 1; n <= data.itemMax(); ++n) {
        items.push_back(itemJson(n, data.items[n]));
    }
    std::vector<std::string> sheetTexts;
    for (const auto& [number, result] : sheets) {
        sheetTexts.push_back(sheetJson(data, number, result));
    }
    return JsonObject(0)
               .raw("grand", grand)
               .raw("items", jsonArray(items, 1))
               .raw("sheets", jsonArray(sheetTexts, 1))
               .close() +
           "\n";
}

} // namespace kerbina

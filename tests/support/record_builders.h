#pragma once

#include "records/document_state.h"
#include "records/kinds.h"
#include "records/line_kinds.h"
#include "records/quotation_data.h"
#include "records/records.h"

#include <string>
#include <vector>

namespace kerbina {

// The kind codes as the records hold them.
using LineKindCode = decltype(LineRecord::kind);
using ItemKindCode = decltype(ItemRecord::kind);

// A line of `kind` named `name`: its name field is the name, ";" and no specification.
inline LineRecord namedLine(const std::string& name, LineKindCode kind = LineKind::WholePriced) {
    LineRecord line;
    line.nameSpec = name + ";";
    line.kind = kind;
    return line;
}

// A range line of `kind` over the rows first..last.
inline LineRecord rangeLine(LineKindCode kind, int first, int last) {
    LineRecord line = namedLine("range", kind);
    line.netQuantity = Currency::fromWhole(first);
    line.submittedQuantity = Currency::fromWhole(last);
    return line;
}

// A comment line showing `text`.
inline LineRecord commentLine(const std::string& text) {
    LineRecord line;
    line.kind = LineKind::Comment;
    line.nameSpec = text;
    return line;
}

// A new sheet item of `kind` named `name`.
inline ItemRecord sheetItem(const std::string& name, ItemKindCode kind = ItemKind::Sheet) {
    ItemRecord item = newSheetItem();
    item.name = name;
    item.kind = kind;
    return item;
}

// A sheet holding `lines` from row 1 on (row 0 is the scratch slot).
inline Sheet sheetWithLines(const std::vector<LineRecord>& lines) {
    Sheet sheet{LineRecord{}};
    sheet.insert(sheet.end(), lines.begin(), lines.end());
    return sheet;
}

// A sheet of the lines "L1".."Ln" of kind 10.
inline Sheet numberedLines(int count) {
    Sheet sheet{LineRecord{}};
    for (int i = 1; i <= count; ++i) {
        sheet.push_back(namedLine("L" + std::to_string(i)));
    }
    return sheet;
}

// One sheet of a quotation and the name of its sheet item.
struct NamedSheet {
    std::string itemName;
    Sheet sheet;
};

// A quotation under `header` with one new sheet item per sheet, in order; item and sheet 0 are the
// placeholders every quotation starts with.
inline QuotationData quotationOf(const QuotationHeader& header,
                                 const std::vector<NamedSheet>& sheets) {
    QuotationData data;
    data.header = header;
    data.items = {ItemRecord{}};
    data.sheets = {Sheet{}};
    for (const NamedSheet& named : sheets) {
        data.items.push_back(sheetItem(named.itemName));
        data.sheets.push_back(named.sheet);
    }
    return data;
}

} // namespace kerbina

#include "grid/cell_entry.h"

#include "money/typed_number.h"
#include "records/line_kinds.h"

namespace kerbina {

namespace {

const LineRecord* lineAtRow(const DocumentState& state, int row) {
    return row >= 1 && row <= state.lineCount() ? &state.sheet[static_cast<std::size_t>(row)]
                                                : nullptr;
}

} // namespace

std::optional<CellField> cellFieldOf(const DocumentState& state, const DisplayOptions& options,
                                     int column) {
    if (options.listMode) {
        return std::nullopt;
    }
    const bool separated = gridLayout(state, options) == GridLayout::SheetSeparated;
    const int shift = separated ? 1 : 0;
    if (column == 1) {
        return CellField::Name;
    }
    if (separated && column == 2) {
        return CellField::Specification;
    }
    if (column == 4 + shift) {
        return CellField::Unit;
    }
    if (column == 5 + shift) {
        return CellField::Quantity;
    }
    if (column == 6 + shift && !options.additionalView) {
        return CellField::Price;
    }
    if (column == 8 + shift) {
        return CellField::Note;
    }
    return std::nullopt;
}

bool isCellEditable(const DocumentState& state, const DisplayOptions& options, int row,
                    int column) {
    if (row < 1 || !cellFieldOf(state, options, column)) {
        return false;
    }
    const LineRecord* line = lineAtRow(state, row);
    return line == nullptr || line->kind == LineKind::Empty || isOrdinaryLine(line->kind);
}

bool isTextCell(const DocumentState& state, const DisplayOptions& options, int row, int column) {
    const auto field = cellFieldOf(state, options, column);
    return field && *field != CellField::Quantity && *field != CellField::Price &&
           isCellEditable(state, options, row, column);
}

std::string cellEditText(const DocumentState& state, const DisplayOptions& options, int row,
                         int column) {
    const LineRecord* line = lineAtRow(state, row);
    const auto field = cellFieldOf(state, options, column);
    if (line == nullptr || !field) {
        return {};
    }
    const LineEntry entry = entryFromLine(*line);
    const auto number = [](Currency value) {
        return value.isZero() ? std::string() : value.toString();
    };
    switch (*field) {
    case CellField::Name:
        return entry.name;
    case CellField::Specification:
        return entry.specification;
    case CellField::Unit:
        return entry.unit;
    case CellField::Quantity:
        return number(options.netView ? entry.netQuantity : entry.submittedQuantity);
    case CellField::Price:
        return number(options.netView ? entry.netPrice : entry.submittedPrice);
    case CellField::Note:
        return entry.note;
    }
    return {};
}

void enterTypedQuantity(LineEntry& entry, Currency value, bool isNew, bool netView) {
    if (isNew || entry.netQuantity == entry.submittedQuantity) {
        entry.netQuantity = entry.submittedQuantity = value;
    } else {
        (netView ? entry.netQuantity : entry.submittedQuantity) = value;
    }
}

void enterTypedPrice(LineEntry& entry, Currency value, bool isNew, bool netView) {
    if (isNew) {
        entry.netPrice = entry.submittedPrice = value;
    } else {
        (netView ? entry.netPrice : entry.submittedPrice) = value;
    }
}

EntryOutcome typedCellEntry(const DocumentState& state, const DisplayOptions& options, int row,
                            int column, const std::string& text) {
    const auto field = cellFieldOf(state, options, column);
    if (!field || !isCellEditable(state, options, row, column)) {
        return {std::nullopt, {}};
    }
    const LineRecord* line = lineAtRow(state, row);
    const bool isNew = line == nullptr || line->kind == LineKind::Empty;
    LineEntry entry = line != nullptr ? entryFromLine(*line) : LineEntry{};
    if (isNew) {
        entry.editedKind.reset();
        entry.flagChoice = 0;
    }
    Currency value;
    if (*field == CellField::Quantity || *field == CellField::Price) {
        // A comment line given a quantity or a price becomes a priced line.
        if (entry.flagChoice == 6) {
            entry.flagChoice = 0;
        }
        try {
            value = parseTypedNumber(text);
        } catch (const NumberFormatError&) {
            return {std::nullopt, "数値を正しく入力してください。"};
        }
    }
    switch (*field) {
    case CellField::Name:
        entry.name = text;
        break;
    case CellField::Specification:
        entry.specification = text;
        break;
    case CellField::Unit:
        entry.unit = text;
        break;
    case CellField::Note:
        entry.note = text;
        break;
    case CellField::Quantity:
        enterTypedQuantity(entry, value, isNew, options.netView);
        break;
    case CellField::Price:
        enterTypedPrice(entry, value, isNew, options.netView);
        break;
    }
    const Currency groupCode = line != nullptr && !isNew ? line->sortCode : groupCodeOfButton(1);
    return lineMessageFromEntry(entry, groupCode, state.currentSheetNumber);
}

} // namespace kerbina

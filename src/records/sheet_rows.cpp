#include "records/sheet_rows.h"

#include "records/line_kinds.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace kerbina {
namespace {

// The first and last row of a range line as whole numbers, unclamped: a damaged file may hold
// bounds beyond the int range, and moving them by one must neither wrap nor cut them.
std::pair<std::int64_t, std::int64_t> wholeRange(const LineRecord& line) {
    return {line.netQuantity.wholePart(), line.submittedQuantity.wholePart()};
}

void setRange(LineRecord& line, std::int64_t first, std::int64_t last) {
    line.netQuantity = Currency::fromWhole(first);
    line.submittedQuantity = Currency::fromWhole(last);
}

} // namespace

LineRecord emptyLine() {
    LineRecord line;
    line.sortCode = Currency();
    line.kind = LineKind::Empty;
    return line;
}

void insertLineBlock(Sheet& sheet, int row, std::span<const LineRecord> inserted, RangeJoin join) {
    if (inserted.empty()) {
        return;
    }
    const int lineCount = static_cast<int>(sheet.size()) - 1;
    row = std::clamp(row, 1, lineCount + 1);
    const auto count = static_cast<std::int64_t>(inserted.size());
    for (LineRecord& line : std::span(sheet).subspan(1)) {
        if (!isRangeKind(line.kind)) {
            continue;
        }
        const auto [first, last] = wholeRange(line);
        const int joinFrom = join == RangeJoin::JoinRangeAbove ? row - 1 : row;
        if (first >= row) {
            setRange(line, first + count, last + count);
        } else if (last >= joinFrom) {
            setRange(line, first, last + count);
        }
    }
    sheet.insert(sheet.begin() + row, inserted.begin(), inserted.end());
}

void insertLine(Sheet& sheet, int row, const LineRecord& inserted, RangeJoin join) {
    insertLineBlock(sheet, row, std::span(&inserted, 1), join);
}

void insertEmptyLine(Sheet& sheet, int row, RangeJoin join) {
    insertLine(sheet, row, emptyLine(), join);
}

void removeLine(Sheet& sheet, int row) {
    const int lineCount = static_cast<int>(sheet.size()) - 1;
    if (row < 1 || row > lineCount) {
        return;
    }
    sheet.erase(sheet.begin() + row);
    for (LineRecord& line : std::span(sheet).subspan(1)) {
        if (!isRangeKind(line.kind)) {
            continue;
        }
        const auto [first, last] = wholeRange(line);
        if (first > row) {
            setRange(line, first - 1, last - 1);
        } else if (last >= row) {
            setRange(line, first, last - 1);
        }
    }
}

void insertEmptyLines(Sheet& sheet, int row, int count) {
    const std::vector<LineRecord> empty(static_cast<std::size_t>(std::max(count, 0)), emptyLine());
    insertLineBlock(sheet, row, empty, RangeJoin::JoinRangeAbove);
}

} // namespace kerbina

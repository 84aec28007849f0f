#include "grid/row_commands.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/user_error.h"
#include "grid/line_copy_file.h"
#include "records/line_kinds.h"
#include "records/sheet_rows.h"

#include <algorithm>
#include <utility>

namespace kerbina {
namespace {

// The selected rows that hold lines: top..min(bottom, lineCount); empty when top is past the end.
std::pair<int, int> existingRows(const DocumentState& state, Selection selection) {
    return {std::max(selection.top, 1), std::min(selection.bottom, state.lineCount())};
}

CommandResult eraseSelected(GridContext& context, Selection selection) {
    DocumentState& state = context.state;
    context.cycle.takeSheetSnapshot();
    const auto [first, last] = existingRows(state, selection);
    for (int row = first; row <= last; ++row) {
        LineRecord& line = state.sheet[static_cast<std::size_t>(row)];
        const Currency kept = line.reserved176;
        line = emptyLine();
        line.reserved176 = kept;
    }
    return finishChange(context, selection);
}

void pasteLines(DocumentState& state, const std::vector<LineRecord>& lines, int row,
                bool inserting) {
    row = std::max(row, 1);
    while (state.lineCount() < row - 1) {
        state.sheet.push_back(emptyLine());
    }
    for (const LineRecord& line : lines) {
        if (inserting) {
            insertEmptyLine(state.sheet, row, RangeJoin::JoinRangeAbove);
        } else if (row > state.lineCount()) {
            state.sheet.push_back(emptyLine());
        }
        state.sheet[static_cast<std::size_t>(row)] = line;
        ++row;
    }
}

CommandResult pasteFile(GridContext& context, Selection selection,
                        const std::filesystem::path& file, bool inserting) {
    context.cycle.takeSheetSnapshot();
    if (!pasteFromCopyFile(context.state, file, selection.top, inserting)) {
        return nothingChanged(selection);
    }
    return finishChange(context, selection);
}

Selection singleRow(int row) {
    return Selection{row, row};
}

} // namespace

bool holdsGeneratedLines(const DocumentState& state, Selection selection) {
    const auto [first, last] = existingRows(state, selection);
    for (int row = first; row <= last; ++row) {
        if (isGeneratedKind(state.sheet[static_cast<std::size_t>(row)].kind)) {
            return true;
        }
    }
    return false;
}

bool pasteFromCopyFile(DocumentState& state, const std::filesystem::path& file, int row,
                       bool inserting) {
    const auto lines = readLineCopyFile(file);
    if (!lines) {
        return false;
    }
    pasteLines(state, *lines, row, inserting);
    return true;
}

void copyRowsToFile(const DocumentState& state, const std::filesystem::path& file,
                    Selection selection) {
    const auto [first, last] = existingRows(state, selection);
    std::vector<LineRecord> lines;
    for (int row = first; row <= last; ++row) {
        lines.push_back(state.sheet[static_cast<std::size_t>(row)]);
    }
    writeLineCopyFile(file, lines, state.settings.quantityDecimals);
}

CommandResult insertLines(GridContext& context, Selection selection) {
    if (selection.top < 1 || selection.top > context.state.lineCount()) {
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    insertEmptyLines(context.state.sheet, selection.top,
                     std::max(selection.bottom - selection.top + 1, 1));
    return finishChange(context, selection);
}

CommandResult eraseLines(GridContext& context, Selection selection) {
    if (selection.top < 1 || selection.top > context.state.lineCount() ||
        holdsGeneratedLines(context.state, selection)) {
        return nothingChanged(selection);
    }
    return eraseSelected(context, selection);
}

CommandResult deleteLines(GridContext& context, Selection selection) {
    const auto [first, last] = existingRows(context.state, selection);
    if (first > last) {
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    for (int row = first; row <= last; ++row) {
        removeLine(context.state.sheet, first);
    }
    return finishChange(context, singleRow(first));
}

CommandResult moveLineUp(GridContext& context, Selection selection) {
    const int row = selection.top;
    if (row <= 1 || row > context.state.lineCount()) {
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    std::swap(context.state.sheet[static_cast<std::size_t>(row - 1)],
              context.state.sheet[static_cast<std::size_t>(row)]);
    context.session.lastMoveRow = row;
    return finishChange(context, Selection{selection.top - 1, selection.bottom - 1});
}

CommandResult moveLineDown(GridContext& context, Selection selection) {
    const int row = selection.top;
    if (row < 1 || row >= context.state.lineCount()) {
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    std::swap(context.state.sheet[static_cast<std::size_t>(row)],
              context.state.sheet[static_cast<std::size_t>(row + 1)]);
    context.session.lastMoveRow = row;
    return finishChange(context, Selection{selection.top + 1, selection.bottom + 1});
}

CommandResult copyLines(GridContext& context, Selection selection) {
    copyRowsToFile(context.state, copyDataFile(context.workFolder), selection);
    return nothingChanged(selection);
}

CommandResult cutLines(GridContext& context, Selection selection) {
    copyLines(context, selection);
    return deleteLines(context, selection);
}

CommandResult pasteLinesInserting(GridContext& context, Selection selection) {
    return pasteFile(context, singleRow(selection.top), copyDataFile(context.workFolder), true);
}

CommandResult pasteLinesOverwriting(GridContext& context, Selection selection) {
    return pasteFile(context, selection, copyDataFile(context.workFolder), false);
}

CommandResult pasteClipboardText(GridContext& context, Selection selection, std::string_view text) {
    const std::vector<std::string> clipboardLines = splitClipboardText(text);
    if (clipboardLines.empty()) {
        return nothingChanged(selection);
    }
    std::vector<std::string> file{std::string(kCopyFileVersionLine)};
    for (const std::string& line : clipboardLines) {
        file.push_back(clipboardLineText(line));
    }
    const std::filesystem::path clipFile = clipDataFile(context.workFolder);
    writeTextLines(clipFile, file);
    return pasteFile(context, singleRow(selection.top), clipFile, true);
}

CommandResult swapWithMovedLine(GridContext& context, Selection selection) {
    DocumentState& state = context.state;
    const int target = context.session.lastMoveRow;
    if (target < 1 || target > state.lineCount() || selection.top < 1 ||
        selection.top > state.lineCount()) {
        return nothingChanged(selection);
    }
    context.cycle.takeSheetSnapshot();
    state.sheet[static_cast<std::size_t>(target)] =
        state.sheet[static_cast<std::size_t>(selection.top)];
    return finishChange(context, selection);
}

CommandResult loadPartsFile(GridContext& context, Selection selection,
                            const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw UserError("パーツファイルが見つかりません。\n" + pathText(file));
    }
    const auto lines = readLineCopyFile(file);
    if (!lines) {
        throw UserError("パーツファイルの形式ではありません（先頭行が \"" +
                        std::string(kCopyFileVersionLine) + "\" ではありません）。\n" +
                        pathText(file));
    }
    context.cycle.takeSheetSnapshot();
    pasteLines(context.state, *lines, selection.top, true);
    return finishChange(context, singleRow(selection.top));
}

void savePartsFile(GridContext& context, Selection selection, const std::filesystem::path& file) {
    copyRowsToFile(context.state, file, selection);
    context.host.notify("パーツファイルを保存しました。");
}

CommandResult selectAll(const DocumentState& state, Selection selection, bool listMode) {
    const int count = listMode ? state.itemMax() : state.lineCount();
    if (count < 1) {
        return nothingChanged(selection);
    }
    return nothingChanged(Selection{1, count});
}

CommandResult cancelSelection(const DocumentState& state, Selection selection, bool listMode) {
    if (listMode || state.lineCount() < 1) {
        return nothingChanged(selection);
    }
    return goToFirstLine(state, selection, listMode);
}

CommandResult goToFirstLine(const DocumentState&, Selection selection, bool listMode) {
    if (listMode) {
        return nothingChanged(selection);
    }
    CommandResult result = nothingChanged(singleRow(1));
    result.scrollTop = 1;
    return result;
}

CommandResult goToLastLine(const DocumentState& state, Selection selection, bool listMode,
                           bool leaveOneAbove) {
    const int last = listMode ? state.itemMax() : state.lineCount();
    if (last < 1) {
        return nothingChanged(selection);
    }
    CommandResult result = nothingChanged(singleRow(last));
    result.scrollTop = leaveOneAbove ? std::max(last - 1, 1) : last;
    return result;
}

} // namespace kerbina

#include "grid/ui/row_commands_subsystem.h"

#include "grid/grid_cells.h"
#include "grid/item_commands.h"
#include "grid/row_commands.h"
#include "grid/spreadsheet_clipboard.h"
#include "widgets/command_set.h"
#include "widgets/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

namespace kerbina {

namespace {

// The program's own form of copied lines on the system clipboard, beside the spreadsheet text.
const QString kLinesMimeType = QStringLiteral("application/x-kerbina-lines");

} // namespace

void RowCommandsSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    using enum CommandPage;
    const auto add = [&](const char* name, const char* caption, QList<QKeySequence> keys,
                         CommandPage page, std::function<void()> handler) {
        commands.add(&menu, name, QString::fromUtf8(caption), keys, page, std::move(handler));
    };
    const auto showResult =
        [this](CommandResult (*command)(const DocumentState&, Selection, bool)) {
            return [this, command] {
                host_.showCommandResult(
                    command(host_.document(), host_.selection(), host_.displayOptions().listMode));
            };
        };
    if (place == menu_place::kEditRows) {
        add("insert", "割  込", {QKeySequence(Qt::SHIFT | Qt::Key_I)}, Both,
            [this] { runOnPage(insertLines, insertItem); });
        add("erase", "消  去", {QKeySequence(Qt::SHIFT | Qt::Key_E)}, Sheet,
            [this] { runOnSheet(eraseLines); });
        add("delete", "削  除", {QKeySequence(Qt::SHIFT | Qt::Key_Delete)}, Both,
            [this] { runOnPage(deleteLines, deleteItem); });
        add("moveUp", "上移動", {}, Sheet, [this] { runOnSheet(moveLineUp); });
        add("moveDown", "下移動", {}, Sheet, [this] { runOnSheet(moveLineDown); });
        menu.addSeparator();
        add("copy", "コピー", {QKeySequence(Qt::SHIFT | Qt::Key_C)}, Both,
            [this] { runOnPage(copyLines, copyItem); });
        add("cut", "切り取り", {QKeySequence(Qt::SHIFT | Qt::Key_X)}, Both,
            [this] { runOnPage(cutLines, cutItem); });
        add("pasteInserting", "貼付(割込)", {QKeySequence(Qt::SHIFT | Qt::Key_V)}, Both,
            [this] { runOnPage(pasteLinesInserting, pasteItem); });
        add("pasteOverwriting", "貼付(上書)", {QKeySequence(Qt::SHIFT | Qt::Key_Q)}, Sheet,
            [this] { runOnSheet(pasteLinesOverwriting); });
        add("pasteClipboard", "クリップボードから貼付", {QKeySequence(Qt::CTRL | Qt::Key_V)}, Sheet,
            [this] { pasteFromClipboard(); });
        add("copyClipboard", "クリップボードへコピー", {QKeySequence(Qt::CTRL | Qt::Key_C)}, Sheet,
            [this] { copyToClipboard(); });
        menu.addSeparator();
        add("selectAll", "全選択", {QKeySequence(Qt::CTRL | Qt::Key_A)}, Both,
            showResult(selectAll));
        add("cancelSelection", "全解除", {}, Both, showResult(cancelSelection));
        add("firstLine", "先頭行へ移動", {QKeySequence(Qt::Key_PageUp)}, Both,
            showResult(goToFirstLine));
        add("lastLine", "最終行へ移動", {QKeySequence(Qt::Key_PageDown)}, Both,
            showResult([](const DocumentState& state, Selection selection, bool listMode) {
                return goToLastLine(state, selection, listMode);
            }));
    } else if (place == menu_place::kListRows) {
        add("listCopy", "コピー", {}, List, [this] { runOnPage(copyLines, copyItem); });
        add("listCut", "切り取り", {}, List, [this] { runOnPage(cutLines, cutItem); });
        add("listPaste", "貼　付", {}, List, [this] { runOnPage(pasteLinesInserting, pasteItem); });
        add("listInsert", "割　込", {}, List, [this] { runOnPage(insertLines, insertItem); });
        add("listDelete", "削　除", {}, List, [this] { runOnPage(deleteLines, deleteItem); });
    }
}

void RowCommandsSubsystem::runOnPage(const GridCommand& onSheet, const GridCommand& onList) {
    host_.runGridCommand(host_.displayOptions().listMode ? onList : onSheet);
}

void RowCommandsSubsystem::runOnSheet(const GridCommand& onSheet) {
    if (!host_.displayOptions().listMode) {
        host_.runGridCommand(onSheet);
    }
}

// Lines copied by this program come back whole; tab-separated rows from a spreadsheet become
// ordinary lines; any other text becomes comment lines.
void RowCommandsSubsystem::pasteFromClipboard() {
    if (host_.displayOptions().listMode) {
        return;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data != nullptr && data->hasFormat(kLinesMimeType)) {
        const std::string lines = data->data(kLinesMimeType).toStdString();
        host_.runGridCommand([&lines](GridContext& context, Selection selection) {
            return pasteClipboardText(context, selection, lines);
        });
        return;
    }
    const std::string text = s(QGuiApplication::clipboard()->text());
    host_.runGridCommand([&text](GridContext& context, Selection selection) {
        return isSpreadsheetText(text) ? pasteSpreadsheetRows(context, selection, text)
                                       : pasteClipboardText(context, selection, text);
    });
}

// Ctrl+C: the selected lines as a table for spreadsheets, and in the program's own form.
void RowCommandsSubsystem::copyToClipboard() {
    if (host_.displayOptions().listMode) {
        return;
    }
    const Selection selection = host_.selection();
    const std::string lines = lineCopyText(host_.document(), selection);
    if (lines.empty()) {
        return;
    }
    auto* data = new QMimeData();
    data->setText(q(spreadsheetText(host_.document(), host_.displayOptions(), selection)));
    data->setData(kLinesMimeType, QByteArray::fromStdString(lines));
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace kerbina

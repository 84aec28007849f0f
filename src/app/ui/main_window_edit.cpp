// The main window's editing commands: rows and items on the grid, undo, the named commands of the
// tool buttons, the display switches, column widths and the calculation settings.
#include "app/ui/main_window.h"
#include "calc/totals.h"
#include "document/undo.h"
#include "document/work_store.h"
#include "grid/cell_entry.h"
#include "grid/column_layout.h"
#include "grid/item_commands.h"
#include "grid/line_entry.h"
#include "grid/line_message.h"
#include "grid/list_commands.h"
#include "grid/named_commands.h"
#include "grid/row_commands.h"
#include "grid/spreadsheet_clipboard.h"
#include "grid/ui/quotation_grid_model.h"
#include "grid/ui/quotation_view.h"
#include "records/line_kinds.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSplitter>
#include <QTableView>
#include <algorithm>

namespace kerbina {

namespace {

// A command or a line kind whose subsystem is not present.
const QString kUnavailable = QStringLiteral("この機能はまだ使えません。");

} // namespace

void MainWindow::undo() {
    apply(session_.undo().changes);
}

void MainWindow::redo() {
    apply(session_.redo().changes);
}

void MainWindow::applyCalculationSettings(const CalcSettings& chosen) {
    apply(session_.applyCalculationSettings(chosen));
}

void MainWindow::setSeparateNameSpec(bool separate) {
    apply(session_.setSeparateNameSpec(separate));
}

void MainWindow::addGridRows(int count) {
    session_.setGridRows(session_.gridRows() + count);
    view_->model()->setGridRows(session_.gridRows());
}

void MainWindow::runGridCommand(const GridCommand& command) {
    const auto [result, changes] = session_.runGridCommand(command, selection());
    apply(changes);
    showCommandResult(result);
}

// The rows the command changed were repainted with its changes; the selection follows it.
void MainWindow::showCommandResult(const CommandResult& result) {
    selectRows(result.selection.top, result.selection.bottom);
    if (result.scrollTop) {
        view_->grid()->scrollTo(view_->model()->index(*result.scrollTop - 1, 0),
                                QAbstractItemView::PositionAtTop);
    }
}

void MainWindow::runNamed(const QString& name) {
    NamedCommandResult named;
    const auto [result, changes] = session_.runGridCommand(
        [&](GridContext& context, Selection selection) {
            named = runNamedCommand(context, s(name), selection, display_.listMode);
            return named.result;
        },
        selection());
    apply(changes);
    showCommandResult(result);
    if (!named.windowCommand.empty()) {
        runWindowCommand(named.windowCommand);
    }
}

// The named commands the core leaves to the windows: the window's own, else the subsystem's that
// runs it; one that no subsystem present runs is said to be unavailable.
void MainWindow::runWindowCommand(std::string_view name) {
    if (name == "close") {
        close();
    } else if (name == "new_data") {
        openLineEditor();
    } else if (std::ranges::none_of(subsystems_, [name](const auto& subsystem) {
                   return subsystem->runNamed(name);
               })) {
        MessageBox::notify(this, kUnavailable);
    }
}

// On a sheet a double-click opens the editor of the line's kind. On the breakdown list a subsystem
// that edits the item's kind opens it; otherwise the list decides (grid/list_commands.h): the
// item's sheet, a new sheet one row past the last item, or the item's name and texts.
void MainWindow::onGridDoubleClicked(int row) {
    if (!display_.listMode) {
        selectRows(row, row);
        runCommand([this] { openLineEditor(); });
        return;
    }
    if (row <= state_.itemMax()) {
        const ItemRecord& item = state_.items[static_cast<std::size_t>(row)];
        for (const auto& subsystem : subsystems_) {
            if (subsystem->openItem(row, item)) {
                return;
            }
        }
    }
    std::optional<int> sheet;
    runCommand([this, row, &sheet] {
        runGridCommand([row, &sheet](GridContext& context, Selection) {
            ItemOpening opening = openListItem(context, row);
            sheet = opening.openSheet;
            return opening.result;
        });
    });
    if (sheet) {
        view_->selectTabOfSheet(*sheet);
    }
}

// Text typed into a cell: the same line message and write as from the data-entry dialog; a
// refused text is said and changes nothing.
void MainWindow::onCellTyped(int row, int column, const QString& text) {
    runCommand([&] {
        const EntryOutcome outcome = typedCellEntry(state_, display_, row, column, s(text));
        if (!outcome.message) {
            if (!outcome.refusal.empty()) {
                MessageBox::notify(this, q(outcome.refusal));
                // The refused text comes back in its cell: the keys typed next correct it.
                view_->editCell(row, column, text);
            }
            return;
        }
        const QModelIndex current = view_->grid()->currentIndex();
        runGridCommand([&outcome, row](GridContext& context, Selection) {
            return writeLineFromMessage(context, Selection{row, row}, *outcome.message,
                                        LineWriteMode::Overwrite, AfterWrite::Save, false);
        });
        // Like a spreadsheet, Enter takes the cursor down one row in the same column; Tab has
        // already taken it to the next cell, where it stays.
        const bool movedOn = current.row() != row - 1 || current.column() != column;
        view_->closeCurrentEditor();
        view_->grid()->setCurrentIndex(view_->model()->index(
            movedOn ? current.row() : std::min(row, view_->model()->rowCount() - 1),
            current.column()));
        // With the write, any editor Tab had opened is closed: the keys typed next go to the grid
        // again.
        view_->grid()->setFocus();
    });
}

// The line's kind decides its editor: the first subsystem that edits the kind opens it.
void MainWindow::openLineEditor() {
    if (display_.listMode) {
        MessageBox::notify(this, QStringLiteral("現在は内訳モードです。"));
        return;
    }
    const int row = selection().top;
    const LineRecord* line =
        row <= state_.lineCount() ? &state_.sheet[static_cast<std::size_t>(row)] : nullptr;
    for (const auto& subsystem : subsystems_) {
        if (subsystem->openLine(row, line)) {
            return;
        }
    }
    MessageBox::notify(this, kUnavailable);
}

} // namespace kerbina

// The main window's editing commands: rows and items on the grid, undo, the named commands of the
// tool buttons, the display switches, column widths and the calculation settings.
#include "app/app_title.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_support.h"
#include "app/ui/message_box.h"
#include "calc/totals.h"
#include "calc/ui/calc_settings_dialog.h"
#include "document/undo.h"
#include "document/work_store.h"
#include "grid/cell_entry.h"
#include "grid/column_layout.h"
#include "grid/item_commands.h"
#include "grid/line_entry.h"
#include "grid/line_message.h"
#include "grid/named_commands.h"
#include "grid/registered_text_replies.h"
#include "grid/row_commands.h"
#include "grid/spreadsheet_clipboard.h"
#include "grid/ui/data_entry_dialog.h"
#include "grid/ui/quotation_grid_model.h"
#include "grid/ui/quotation_view.h"
#include "grid/ui/text_selection_dialog.h"
#include "records/line_kinds.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSplitter>
#include <QTableView>

namespace kerbina {

void TFKERBINA::undo() {
    apply(session_.undo().changes);
}

void TFKERBINA::redo() {
    apply(session_.redo().changes);
}

void TFKERBINA::calcSettings() {
    if (const auto chosen = calcSettingsDialog_->edit(settingsShownInDialog(state_))) {
        apply(session_.applyCalculationSettings(*chosen));
    }
}

void TFKERBINA::separateNameSpec() {
    apply(session_.setSeparateNameSpec(true));
}

void TFKERBINA::combineNameSpec() {
    apply(session_.setSeparateNameSpec(false));
}

void TFKERBINA::toggleAdditionalView() {
    display_.additionalView = !display_.additionalView;
    additionalViewAction_->setText(display_.additionalView ? QStringLiteral("通常単価を表示")
                                                           : QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

void TFKERBINA::showNetView() {
    display_.netView = true;
    repaintGrid();
}

void TFKERBINA::showSubmittedView() {
    display_.netView = false;
    repaintGrid();
}

// The title bar's "仕切", "提出", "付帯単価仕切" and "付帯単価提出" buttons (sheets only).
void TFKERBINA::showPriceView(bool net, bool additional) {
    if (display_.listMode) {
        return;
    }
    display_.netView = net;
    display_.additionalView = additional;
    additionalViewAction_->setText(QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

// The sheet layouts also keep the splitters' positions: the side panel's splitter is the first
// ([Splitter2]); the second ([Splitter3]) keeps what the file holds.
void TFKERBINA::saveColumnWidths() {
    ColumnLayout columns{view_->shownColumnWidths(), {}, {}};
    columns.splitter2 = splitter_->sizes().value(0);
    saveColumnLayout(folders_.dataRoot, gridLayout(state_, display_), columns);
}

void TFKERBINA::resetColumnWidths() {
    resetColumnLayout(folders_.dataRoot, gridLayout(state_, display_),
                      view_->grid()->viewport()->width());
    applyGridLayout();
}

void TFKERBINA::saveListColumnWidths() {
    saveItemListColumnLayout(folders_.dataRoot, ColumnLayout{view_->shownColumnWidths(), {}, {}},
                             *this);
}

void TFKERBINA::resetListColumnWidths() {
    resetColumnLayout(folders_.dataRoot, GridLayout::ItemList, view_->grid()->viewport()->width());
    applyGridLayout();
}

void TFKERBINA::addOneGridRow() {
    session_.setGridRows(session_.gridRows() + 1);
    view_->model()->setGridRows(session_.gridRows());
}

void TFKERBINA::addTenGridRows() {
    session_.setGridRows(session_.gridRows() + 10);
    view_->model()->setGridRows(session_.gridRows());
}

void TFKERBINA::runGridCommand(const GridCommand& command) {
    const auto [top, bottom] = selectedRows();
    const auto [result, changes] = session_.runGridCommand(command, Selection{top, bottom});
    apply(changes);
    showCommandResult(result);
}

// The rows the command changed were repainted with its changes; the selection follows it.
void TFKERBINA::showCommandResult(const CommandResult& result) {
    selectRows(result.selection.top, result.selection.bottom);
    if (result.scrollTop) {
        view_->grid()->scrollTo(view_->model()->index(*result.scrollTop - 1, 0),
                                QAbstractItemView::PositionAtTop);
    }
}

void TFKERBINA::runNamed(const QString& name) {
    const auto [top, bottom] = selectedRows();
    NamedCommandResult named;
    const auto [result, changes] = session_.runGridCommand(
        [&](GridContext& context, Selection selection) {
            named = runNamedCommand(context, s(name), selection, display_.listMode);
            return named.result;
        },
        Selection{top, bottom});
    apply(changes);
    showCommandResult(result);
    switch (named.action) {
    case WindowAction::Close:
        close();
        break;
    case WindowAction::ChoosePartsToLoad: {
        const QString file = MessageBox::openFileName(
            this, QStringLiteral("パーツファイル"), q(pathText(folders_.dataRoot / "part")),
            QStringLiteral("ケルビナパ－ツファイル(prt) (*.prt)"));
        if (!file.isEmpty()) {
            runGridCommand([&file](GridContext& grid, Selection selection) {
                return loadPartsFile(grid, selection, pathFromText(s(file)));
            });
        }
        break;
    }
    case WindowAction::ChoosePartsToSave: {
        const QString file = MessageBox::saveFileName(
            this, QStringLiteral("パーツファイル"), q(pathText(folders_.dataRoot / "part")),
            QStringLiteral("ケルビナパ－ツファイル(prt) (*.prt)"), QStringLiteral("prt"));
        if (!file.isEmpty()) {
            GridContext context = session_.gridContext();
            savePartsFile(context, Selection{top, bottom}, pathFromText(s(file)));
        }
        break;
    }
    case WindowAction::OpenDataEntry:
        openLineEditor();
        break;
    case WindowAction::RenameItem:
        selectItemName();
        break;
    case WindowAction::NoteInput:
        selectComment();
        break;
    case WindowAction::Print:
        printFromPage();
        break;
    case WindowAction::CsvOutput:
        exportPageCsv();
        break;
    case WindowAction::None:
        break;
    default:
        MessageBox::notify(this, QStringLiteral("この機能はまだ使えません。"));
        break;
    }
}

void TFKERBINA::insertRows() {
    runGridCommand(display_.listMode ? GridCommand(insertItem) : GridCommand(insertLines));
}

void TFKERBINA::eraseRows() {
    if (!display_.listMode) {
        runGridCommand(eraseLines);
    }
}

void TFKERBINA::deleteRows() {
    runGridCommand(display_.listMode ? GridCommand(deleteItem) : GridCommand(deleteLines));
}

void TFKERBINA::moveRowUp() {
    if (!display_.listMode) {
        runGridCommand(moveLineUp);
    }
}

void TFKERBINA::moveRowDown() {
    if (!display_.listMode) {
        runGridCommand(moveLineDown);
    }
}

void TFKERBINA::copyRows() {
    runGridCommand(display_.listMode ? GridCommand(copyItem) : GridCommand(copyLines));
}

void TFKERBINA::cutRows() {
    runGridCommand(display_.listMode ? GridCommand(cutItem) : GridCommand(cutLines));
}

void TFKERBINA::pasteInserting() {
    runGridCommand(display_.listMode ? GridCommand(pasteItem) : GridCommand(pasteLinesInserting));
}

void TFKERBINA::pasteOverwriting() {
    if (!display_.listMode) {
        runGridCommand(pasteLinesOverwriting);
    }
}

namespace {

// The program's own form of copied lines on the system clipboard, beside the spreadsheet text.
const QString kLinesMimeType = QStringLiteral("application/x-kerbina-lines");

} // namespace

// Lines copied by this program come back whole; tab-separated rows from a spreadsheet become
// ordinary lines; any other text becomes comment lines.
void TFKERBINA::pasteFromClipboard() {
    if (display_.listMode) {
        return;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data != nullptr && data->hasFormat(kLinesMimeType)) {
        const std::string lines = data->data(kLinesMimeType).toStdString();
        runGridCommand([&lines](GridContext& context, Selection selection) {
            return pasteClipboardText(context, selection, lines);
        });
        return;
    }
    const std::string text = s(QGuiApplication::clipboard()->text());
    runGridCommand([&text](GridContext& context, Selection selection) {
        return isSpreadsheetText(text) ? pasteSpreadsheetRows(context, selection, text)
                                       : pasteClipboardText(context, selection, text);
    });
}

// Ctrl+C: the selected lines as a table for spreadsheets, and in the program's own form.
void TFKERBINA::copyToClipboard() {
    if (display_.listMode) {
        return;
    }
    const Selection selection = selectionNow();
    const std::string lines = lineCopyText(state_, selection);
    if (lines.empty()) {
        return;
    }
    auto* data = new QMimeData();
    data->setText(q(spreadsheetText(state_, display_, selection)));
    data->setData(kLinesMimeType, QByteArray::fromStdString(lines));
    QGuiApplication::clipboard()->setMimeData(data);
}

void TFKERBINA::selectAllRows() {
    showCommandResult(selectAll(state_, selectionNow(), display_.listMode));
}

void TFKERBINA::cancelSelectionCommand() {
    showCommandResult(cancelSelection(state_, selectionNow(), display_.listMode));
}

void TFKERBINA::firstLine() {
    showCommandResult(goToFirstLine(state_, selectionNow(), display_.listMode));
}

void TFKERBINA::lastLine() {
    showCommandResult(goToLastLine(state_, selectionNow(), display_.listMode));
}

// "内訳名入力": the name of the sheet in front, or of the selected item on the breakdown list.
void TFKERBINA::renameItemPrompt() {
    const auto [top, bottom] = selectedRows();
    const int item = display_.listMode ? top : state_.currentSheetNumber;
    const std::string current = item <= state_.itemMax()
                                    ? state_.items[static_cast<std::size_t>(item)].name
                                    : std::string();
    const auto name = MessageBox::input(this, QString::fromUtf8(applicationTitle(modules_)),
                                        QStringLiteral("内訳名入力"), false, q(current));
    if (!name) {
        return;
    }
    runGridCommand([&](GridContext& context, Selection selection) {
        return renameItem(context, selection, item, s(*name), display_.listMode);
    });
    view_->rebuildTabs();
    if (!display_.listMode) {
        view_->showItemTitle(
            q(splitNameSpec(state_.items[static_cast<std::size_t>(item)].name).first));
    }
}

// On a sheet a double-click opens the editor of the line's kind; on the breakdown list it opens
// that item's sheet, or asks for a comment item's texts.
void TFKERBINA::onGridDoubleClicked(int row) {
    if (!display_.listMode) {
        selectRows(row, row);
        runCommand([this] { openLineEditor(); });
        return;
    }
    if (row > state_.itemMax()) {
        return;
    }
    const ItemRecord& item = state_.items[static_cast<std::size_t>(row)];
    if (item.kind == ItemKind::Comment) {
        runCommand([&] {
            const QString caption = QString::fromUtf8(applicationTitle(modules_));
            const auto name = MessageBox::input(
                this, caption, QStringLiteral("コメントを入力してください"), false, q(item.name));
            const auto note = MessageBox::input(
                this, caption, QStringLiteral("金額欄摘要を入力してください"), false, q(item.note));
            runGridCommand([&](GridContext& context, Selection selection) {
                return editCommentItem(context, selection, row,
                                       name ? std::optional(s(*name)) : std::nullopt,
                                       note ? std::optional(s(*note)) : std::nullopt);
            });
        });
    } else if (ownsSheet(item.kind)) {
        view_->selectTabOfSheet(row);
    }
}

// Text typed into a cell: the same line message and write as from the data-entry dialog; a
// refused text is said and changes nothing.
void TFKERBINA::onCellTyped(int row, int column, const QString& text) {
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
            return WriteLineFromMessage(context, Selection{row, row}, *outcome.message,
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

// "特記事項": registered comments written as lines at the selection, one after the other; on the
// breakdown list, comment items.
void TFKERBINA::selectComment() {
    if (display_.listMode) {
        if (const auto refusal = commentItemRefusal(state_, session_.gridContext().workFolder,
                                                    selectedRows().first)) {
            MessageBox::notify(this, q(*refusal));
            return;
        }
        textSelectionDialog().selectComments([this](const LineMessage& reply) {
            runCommand([this, &reply] {
                runGridCommand([&reply](GridContext& context, Selection selection) {
                    return writeCommentItem(context, selection, reply);
                });
            });
        });
        return;
    }
    textSelectionDialog().selectComments([this](const LineMessage& message) {
        runCommand([this, &message] {
            runGridCommand([&message](GridContext& context, Selection selection) {
                return WriteLineFromMessage(context, selection, message, LineWriteMode::Overwrite,
                                            AfterWrite::Save, false);
            });
        });
    });
}

// The "内訳名" button: each registered name chosen renames the open sheet's item, or on the
// breakdown list the selected item (the next choice then names the item below it).
void TFKERBINA::selectItemName() {
    const auto itemName = [this] {
        const int item = display_.listMode ? selectedRows().first : state_.currentSheetNumber;
        return item >= 1 && item <= state_.itemMax()
                   ? state_.items[static_cast<std::size_t>(item)].name
                   : std::string();
    };
    textSelectionDialog().selectItemName(itemName(), [this, &itemName](const LineMessage& reply) {
        runCommand([this, &reply] {
            runGridCommand([this, &reply](GridContext& context, Selection selection) {
                return renameItemFromReply(context, selection, reply, display_.listMode);
            });
            if (!display_.listMode) {
                view_->rebuildTabs();
                view_->showItemTitle(
                    q(splitNameSpec(
                          state_.items[static_cast<std::size_t>(state_.currentSheetNumber)].name)
                          .first));
            }
        });
        return itemName();
    });
}

TfDATASELECT_Dlg& TFKERBINA::textSelectionDialog() {
    if (textSelectionDialog_ == nullptr) {
        textSelectionDialog_ =
            new TfDATASELECT_Dlg(session_.quotationDatabase(), folders_.dataRoot, this);
    }
    return *textSelectionDialog_;
}

namespace {

// A line the take-off produced (kinds 101..200) becomes a hand-entered line when edited here.
bool agreesToEditTakeoffLine(QWidget* parent, int kind) {
    return kind <= LineKind::FirstGenerated || kind > 200 ||
           MessageBox::ask(
               parent,
               QStringLiteral("数量調書からのデータです。編集すると積算データとなります。"
                              "\n編集しますか？"),
               MessageBox::Buttons::YesNo) == MessageBox::Answer::Yes;
}

} // namespace

// The data-entry dialog reads the lines of the document in memory and writes through
// WriteLineFromMessage at its row, as every producer of lines does.
class SheetLineEditor : public LineEditorHost {
public:
    explicit SheetLineEditor(TFKERBINA& window) : window_(window) {}

    int sheetNumber() const override { return window_.state_.currentSheetNumber; }
    std::optional<LineRecord> lineAt(int row) const override {
        if (row < 1 || row > window_.state_.lineCount()) {
            return std::nullopt;
        }
        return window_.state_.sheet[static_cast<std::size_t>(row)];
    }
    bool writeLine(const LineMessage& message, int row) override {
        return window_.runCommand([this, &message, row] {
            window_.runGridCommand([&message, row](GridContext& context, Selection) {
                return WriteLineFromMessage(context, Selection{row, row}, message,
                                            LineWriteMode::Overwrite, AfterWrite::Save, false);
            });
        });
    }
    void showRow(int row) override { window_.selectRows(row, row); }

private:
    TFKERBINA& window_;
};

void TFKERBINA::openDataEntryDialog(int row) {
    SheetLineEditor editor(*this);
    dataEntryDialog_->editFrom(editor, row);
}

void TFKERBINA::openLineEditor() {
    if (display_.listMode) {
        MessageBox::notify(this, QStringLiteral("現在は内訳モードです。"));
        return;
    }
    const int row = selectedRows().first;
    if (row > state_.lineCount()) {
        openDataEntryDialog(row);
        return;
    }
    const LineRecord& line = state_.sheet[static_cast<std::size_t>(row)];
    const int kind = line.kind;
    if (isCalculatedRangeKind(kind) || isWelfare(kind)) {
        // The calculated unit price and welfare dialogs come with their subsystems.
        MessageBox::notify(this, QStringLiteral("この機能はまだ使えません。"));
    } else if (kind == LineKind::Tax) {
        MessageBox::notify(this, QStringLiteral("このデータはここでは修正できません"));
    } else if (kind == LineKind::RangeTotalHidingItems ||
               kind == LineKind::RangeTotalShowingItems || kind == LineKind::SmallSum ||
               kind == LineKind::MidSum || kind == LineKind::SumLine) {
        const auto name = MessageBox::input(this, QString::fromUtf8(applicationTitle(modules_)),
                                            QStringLiteral("名称を入力してください"), false,
                                            q(splitNameSpec(line.nameSpec).first));
        if (name) {
            runGridCommand([&name, row](GridContext& context, Selection) {
                return renameLine(context, row, s(*name));
            });
        }
    } else if (kind == LineKind::Title) {
        renameItemPrompt();
    } else if (!agreesToEditTakeoffLine(this, kind)) {
        return;
    } else {
        openDataEntryDialog(row);
    }
}

// "新規データ入力": the data-entry dialog at the selection's first row, except for the lines it
// cannot edit.
void TFKERBINA::newDataEntry() {
    if (display_.listMode) {
        MessageBox::notify(this, QStringLiteral("現在は内訳モードです。"));
        return;
    }
    const int row = selectedRows().first;
    const int kind =
        row <= state_.lineCount() ? state_.sheet[static_cast<std::size_t>(row)].kind : 0;
    if (kind == LineKind::Tax) {
        MessageBox::notify(this, QStringLiteral("このデータはここでは修正できません"));
    } else if (kind == LineKind::Title) {
        renameItemPrompt();
    } else if (!agreesToEditTakeoffLine(this, kind)) {
        return;
    } else {
        openDataEntryDialog(row);
    }
}

} // namespace kerbina

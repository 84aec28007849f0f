// The sheet editing subsystem's dialogs: the data-entry dialog a line opens, the registered
// comments and item names, the item name prompt and the parts files.
#include "grid/ui/sheet_editing_subsystem.h"

#include "base/folders.h"
#include "base/path_text.h"
#include "base/user_prompt.h"
#include "grid/grid_cells.h"
#include "grid/item_commands.h"
#include "grid/line_entry.h"
#include "grid/line_message.h"
#include "grid/registered_text_replies.h"
#include "grid/row_commands.h"
#include "grid/ui/data_entry_dialog.h"
#include "grid/ui/text_selection_dialog.h"
#include "records/document_state.h"
#include "records/line_kinds.h"
#include "widgets/application_title.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

namespace kerbina {

namespace {

// A line the take-off produced (kinds 101..200) becomes a hand-entered line when edited here.
bool agreesToEditTakeoffLine(QWidget* parent, LineKind kind) {
    return !isTakeoffLine(kind) ||
           MessageBox::ask(
               parent,
               QStringLiteral("数量調書からのデータです。編集すると積算データとなります。"
                              "\n編集しますか？"),
               MessageBox::Buttons::YesNo) == MessageBox::Answer::Yes;
}

// The data-entry dialog reads the lines of the document in memory and writes through
// writeLineFromMessage at its row, as every producer of lines does.
class SheetLineEditor : public LineEditorHost {
public:
    explicit SheetLineEditor(SubsystemHost& host) : host_(host) {}

    int sheetNumber() const override { return host_.document().currentSheetNumber; }
    std::optional<LineRecord> lineAt(int row) const override {
        const DocumentState& state = host_.document();
        if (row < 1 || row > state.lineCount()) {
            return std::nullopt;
        }
        return state.sheet[static_cast<std::size_t>(row)];
    }
    bool writeLine(const LineMessage& message, int row) override {
        return host_.runCommand([this, &message, row] {
            host_.runGridCommand([&message, row](GridContext& context, Selection) {
                return writeLineFromMessage(context, Selection{row, row}, message,
                                            LineWriteMode::Overwrite, AfterWrite::Save, false);
            });
        });
    }
    void showRow(int row) override { host_.selectRows(row, row); }

private:
    SubsystemHost& host_;
};

const QString kPartsFilter = QStringLiteral("ケルビナパ－ツファイル(prt) (*.prt)");

} // namespace

SheetEditingSubsystem::SheetEditingSubsystem(SubsystemHost& host)
    : host_(host),
      dataEntryDialog_(new DataEntryDialog(host.folders().dataRoot, host.dialogParent())) {}

void SheetEditingSubsystem::environmentChanged() {
    dataEntryDialog_->applySettings(host_.environment());
}

QString SheetEditingSubsystem::title() const {
    return QString::fromUtf8(applicationTitle(host_.modules()));
}

bool SheetEditingSubsystem::runNamed(std::string_view name) {
    if (name == "uchiwake_title") {
        selectItemName();
    } else if (name == "note_in") {
        selectComment();
    } else if (name == "part_load") {
        loadChosenPartsFile();
    } else if (name == "part_save") {
        saveChosenPartsFile();
    } else {
        return false;
    }
    return true;
}

// A double-click on a line: the editor its kind calls for. The calculated unit price and welfare
// lines are left to their own subsystems.
bool SheetEditingSubsystem::openLine(int row, const LineRecord* line) {
    if (line == nullptr) {
        openDataEntryDialog(row);
        return true;
    }
    const LineKind kind = line->kind;
    if (isCalculatedRangeKind(kind) || isWelfare(kind)) {
        return false;
    }
    if (kind == LineKind::Tax) {
        MessageBox::notify(host_.dialogParent(),
                           QStringLiteral("このデータはここでは修正できません"));
    } else if (kind == LineKind::RangeTotalHidingItems ||
               kind == LineKind::RangeTotalShowingItems || kind == LineKind::SmallSum ||
               kind == LineKind::MidSum || kind == LineKind::SumLine) {
        const auto name = MessageBox::input(host_.dialogParent(), title(),
                                            QStringLiteral("名称を入力してください"), false,
                                            q(splitNameSpec(line->nameSpec).first));
        if (name) {
            host_.runGridCommand([&name, row](GridContext& context, Selection) {
                return renameLine(context, row, s(*name));
            });
        }
    } else if (kind == LineKind::Title) {
        renameItemPrompt();
    } else if (agreesToEditTakeoffLine(host_.dialogParent(), kind)) {
        openDataEntryDialog(row);
    }
    return true;
}

// "新規データ入力": the data-entry dialog at the selection's first row, except for the lines it
// cannot edit.
void SheetEditingSubsystem::newDataEntry() {
    if (host_.displayOptions().listMode) {
        MessageBox::notify(host_.dialogParent(), QStringLiteral("現在は内訳モードです。"));
        return;
    }
    const DocumentState& state = host_.document();
    const int row = host_.selection().top;
    const LineKind kind = row <= state.lineCount() ? state.sheet[static_cast<std::size_t>(row)].kind
                                                   : LineKind::Empty;
    if (kind == LineKind::Tax) {
        MessageBox::notify(host_.dialogParent(),
                           QStringLiteral("このデータはここでは修正できません"));
    } else if (kind == LineKind::Title) {
        renameItemPrompt();
    } else if (agreesToEditTakeoffLine(host_.dialogParent(), kind)) {
        openDataEntryDialog(row);
    }
}

void SheetEditingSubsystem::openDataEntryDialog(int row) {
    SheetLineEditor editor(host_);
    dataEntryDialog_->editFrom(editor, row);
}

// "内訳名入力": the name of the sheet in front, or of the selected item on the breakdown list.
void SheetEditingSubsystem::renameItemPrompt() {
    const DocumentState& state = host_.document();
    const bool listMode = host_.displayOptions().listMode;
    const int item = listMode ? host_.selection().top : state.currentSheetNumber;
    const std::string current =
        item <= state.itemMax() ? state.items[static_cast<std::size_t>(item)].name : std::string();
    const auto name = MessageBox::input(host_.dialogParent(), title(), QStringLiteral("内訳名入力"),
                                        false, q(current));
    if (!name) {
        return;
    }
    host_.runGridCommand([&](GridContext& context, Selection selection) {
        return renameItem(context, selection, item, s(*name), listMode);
    });
    host_.showItemName(item);
}

// "特記事項": registered comments written as lines at the selection, one after the other; on the
// breakdown list, comment items.
void SheetEditingSubsystem::selectComment() {
    if (host_.displayOptions().listMode) {
        if (const auto refusal = commentItemRefusal(
                host_.document(), host_.gridContext().workFolder, host_.selection().top)) {
            MessageBox::notify(host_.dialogParent(), q(*refusal));
            return;
        }
        textSelectionDialog().selectComments([this](const LineMessage& reply) {
            host_.runCommand([this, &reply] {
                host_.runGridCommand([&reply](GridContext& context, Selection selection) {
                    return writeCommentItem(context, selection, reply);
                });
            });
        });
        return;
    }
    textSelectionDialog().selectComments([this](const LineMessage& message) {
        host_.runCommand([this, &message] {
            host_.runGridCommand([&message](GridContext& context, Selection selection) {
                return writeLineFromMessage(context, selection, message, LineWriteMode::Overwrite,
                                            AfterWrite::Save, false);
            });
        });
    });
}

// The "内訳名" button: each registered name chosen renames the open sheet's item, or on the
// breakdown list the selected item (the next choice then names the item below it).
void SheetEditingSubsystem::selectItemName() {
    const auto itemName = [this] {
        const DocumentState& state = host_.document();
        const int item =
            host_.displayOptions().listMode ? host_.selection().top : state.currentSheetNumber;
        return item >= 1 && item <= state.itemMax()
                   ? state.items[static_cast<std::size_t>(item)].name
                   : std::string();
    };
    textSelectionDialog().selectItemName(itemName(), [this, &itemName](const LineMessage& reply) {
        host_.runCommand([this, &reply] {
            const bool listMode = host_.displayOptions().listMode;
            host_.runGridCommand([&reply, listMode](GridContext& context, Selection selection) {
                return renameItemFromReply(context, selection, reply, listMode);
            });
            if (!listMode) {
                host_.showItemName(host_.document().currentSheetNumber);
            }
        });
        return itemName();
    });
}

TextSelectionDialog& SheetEditingSubsystem::textSelectionDialog() {
    if (textSelectionDialog_ == nullptr) {
        textSelectionDialog_ = new TextSelectionDialog(
            host_.quotationDatabase(), host_.folders().dataRoot, host_.dialogParent());
    }
    return *textSelectionDialog_;
}

// "part_load": the lines of a chosen parts file come in at the selection.
void SheetEditingSubsystem::loadChosenPartsFile() {
    const QString file =
        MessageBox::openFileName(host_.dialogParent(), QStringLiteral("パーツファイル"),
                                 q(pathText(host_.folders().dataRoot / "part")), kPartsFilter);
    if (!file.isEmpty()) {
        host_.runGridCommand([&file](GridContext& grid, Selection selection) {
            return kerbina::loadPartsFile(grid, selection, pathFromText(s(file)));
        });
    }
}

// "part_save": the selected lines go to a parts file the user names.
void SheetEditingSubsystem::saveChosenPartsFile() {
    const Selection selection = host_.selection();
    const QString file = MessageBox::saveFileName(
        host_.dialogParent(), QStringLiteral("パーツファイル"),
        q(pathText(host_.folders().dataRoot / "part")), kPartsFilter, QStringLiteral("prt"));
    if (!file.isEmpty()) {
        GridContext context = host_.gridContext();
        kerbina::savePartsFile(context, selection, pathFromText(s(file)));
    }
}

} // namespace kerbina

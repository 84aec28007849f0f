#include "costs/ui/welfare_subsystem.h"

#include "base/folders.h"
#include "costs/ui/welfare_dialog.h"
#include "costs/welfare_writes.h"
#include "grid/row_commands.h"
#include "records/kinds.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

namespace kerbina {

WelfareSubsystem::WelfareSubsystem(SubsystemHost& host)
    : host_(host), dialog_(new WelfareDialog(host.folders().dataRoot, host.dialogParent())) {}

void WelfareSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    if (place == menu_place::kEditLines) {
        commands.add(&menu, "welfare", QStringLiteral("法定福利費"), {}, CommandPage::Sheet,
                     [this] { enterOnSheet(); });
    } else if (place == menu_place::kListRows) {
        commands.add(&menu, "listWelfare", QStringLiteral("法定福利費"), {}, CommandPage::List,
                     [this] { enterOnList(); });
    }
}

// A welfare line is not edited alone: all of them are selected and may be entered again.
bool WelfareSubsystem::openLine(int, const LineRecord* line) {
    if (line == nullptr || !isWelfare(line->kind)) {
        return false;
    }
    const auto rows = welfareLineRows(host_.document());
    host_.selectRows(rows->top, rows->bottom);
    if (MessageBox::ask(host_.dialogParent(), QStringLiteral("法定福利費を再入力しますか？"),
                        MessageBox::Buttons::YesNo) == MessageBox::Answer::Yes) {
        host_.runGridCommand([](GridContext& context, Selection selection) {
            return deleteLines(context, selection);
        });
        enterOnSheet();
    }
    return true;
}

void WelfareSubsystem::enterOnSheet() {
    if (const auto refusal = sheetWelfareRefusal(host_.document())) {
        MessageBox::notify(host_.dialogParent(), q(*refusal));
        return;
    }
    askAndWrite(false);
}

void WelfareSubsystem::enterOnList() {
    if (const auto refusal = listWelfareRefusal(host_.document(), host_.gridContext().workFolder,
                                                host_.selection().top)) {
        MessageBox::notify(host_.dialogParent(), q(*refusal));
        return;
    }
    askAndWrite(true);
}

// The dialog works in the mode of the command that opened it, whatever page is in front when it
// closes.
void WelfareSubsystem::askAndWrite(bool listMode) {
    const auto choice = dialog_->ask(welfareBase(host_.document(), listMode));
    if (!choice) {
        return;
    }
    host_.runGridCommand([&choice, listMode](GridContext& context, Selection selection) {
        return writeWelfare(context, selection, choice->entry, choice->layout, listMode);
    });
}

} // namespace kerbina

#include "costs/ui/expenses_subsystem.h"

#include "base/folders.h"
#include "costs/expenses.h"
#include "costs/ui/expense_dialog.h"
#include "widgets/application_title.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

namespace kerbina {

void ExpensesSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    if (place == menu_place::kEditLines) {
        commands.add(&menu, "expenses", QStringLiteral("諸経費"), {}, CommandPage::Sheet,
                     [this] { openOnSheet(); });
    } else if (place == menu_place::kListRows) {
        commands.add(&menu, "listExpenses", QStringLiteral("諸経費"), {}, CommandPage::List,
                     [this] { openOnList(); });
    }
}

void ExpensesSubsystem::openOnSheet() {
    GridContext context = host_.gridContext();
    if (!sheetExpensesAllowed(context, host_.selection())) {
        return;
    }
    ExpenseDialog::Writes writes;
    writes.entry = [this](const ExpenseEntry& entry) {
        write([&entry](GridContext& grid, Selection selection) {
            return writeExpenseLine(grid, selection, entry);
        });
    };
    writes.pattern = [this](const std::optional<std::vector<ExpensePatternLine>>& lines) {
        write([&lines](GridContext& grid, Selection selection) {
            return writeExpensePatternLines(grid, selection, lines);
        });
    };
    dialog().run(ExpenseDialog::Mode::Sheet, QString::fromUtf8(applicationTitle(host_.modules())),
                 writes);
}

// The item snapshot is taken by each write, so every expense item the dialog writes is one step
// of list undo.
void ExpensesSubsystem::openOnList() {
    if (const auto refusal = listExpenseRefusal(host_.document(), host_.gridContext().workFolder,
                                                host_.selection().top)) {
        MessageBox::notify(host_.dialogParent(), q(*refusal));
        return;
    }
    ExpenseDialog::Writes writes;
    writes.entry = [this](const ExpenseEntry& entry) {
        write([&entry](GridContext& grid, Selection selection) {
            return writeExpenseItem(grid, selection, entry);
        });
    };
    dialog().run(ExpenseDialog::Mode::List, QString::fromUtf8(applicationTitle(host_.modules())),
                 writes);
}

void ExpensesSubsystem::write(const GridCommand& command) {
    host_.runCommand([this, &command] { host_.runGridCommand(command); });
}

ExpenseDialog& ExpensesSubsystem::dialog() {
    if (dialog_ == nullptr) {
        dialog_ = new ExpenseDialog(host_.folders().dataRoot, host_.dialogParent());
    }
    return *dialog_;
}

} // namespace kerbina

#include "grid/ui/list_commands_subsystem.h"

#include "grid/list_commands.h"
#include "settings/environment_settings.h"
#include "widgets/command_set.h"

#include <QMenu>

namespace kerbina {

void ListCommandsSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    const auto settings = [this] {
        const EnvironmentSettings& environment = host_.environment();
        return ListSettings{environment.smallSumText(), environment.midSumText(),
                            environment.sumText(), environment.taxRate,
                            environment.reductionReducesCost};
    };
    using ListCommand = CommandResult (*)(GridContext&, Selection, const ListSettings&);
    const auto add = [&](const char* name, const char* caption, ListCommand command) {
        commands.add(&menu, name, QString::fromUtf8(caption), {}, CommandPage::List,
                     [this, settings, command] {
                         host_.runGridCommand([&](GridContext& context, Selection selection) {
                             return command(context, selection, settings());
                         });
                     });
    };
    if (place == menu_place::kListRows) {
        menu.addSeparator();
        commands.add(&menu, "listHierarchy", QStringLiteral("階  層"), {}, CommandPage::List,
                     [this] { host_.runGridCommand(addHierarchy); });
        add("listSmallSum", "小　計", addListSmallSum);
        add("listMidSum", "中　計", addListMidSum);
        add("listSumLine", "合計線", addListSumLine);
        add("listReduction", "減　額", addListReduction);
        add("listTax", "消費税", addListTax);
    } else if (place == menu_place::kListComment) {
        commands.add(&menu, "listNote", QStringLiteral("備考入力"), {}, CommandPage::List,
                     [this] { host_.runGridCommand(editItemNote); });
    }
}

} // namespace kerbina

#include "calc/ui/calc_settings_subsystem.h"

#include "calc/totals.h"
#include "calc/ui/calc_settings_dialog.h"
#include "widgets/command_set.h"

namespace kerbina {

CalcSettingsSubsystem::CalcSettingsSubsystem(SubsystemHost& host)
    : host_(host), dialog_(new CalcSettingsDialog(host.dialogParent())) {}

void CalcSettingsSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    if (place == menu_place::kConvertSettings) {
        commands.add(&menu, "calcSettings", QStringLiteral("桁設定"), {}, CommandPage::Both,
                     [this] { editSettings(); });
    } else if (place == menu_place::kListSettings) {
        commands.add(&menu, "listCalcSettings", QStringLiteral("桁設定"), {}, CommandPage::List,
                     [this] { editSettings(); });
    }
}

// The dialog shows the quotation's own settings; confirming them unchanged changes nothing.
void CalcSettingsSubsystem::editSettings() {
    if (const auto chosen = dialog_->edit(settingsShownInDialog(host_.document()))) {
        host_.applyCalculationSettings(*chosen);
    }
}

} // namespace kerbina

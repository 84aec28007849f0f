#include "settings/ui/settings_subsystem.h"

#include "base/folders.h"
#include "settings/numbering_row.h"
#include "settings/register_settings.h"
#include "settings/ui/settings_dialog.h"
#include "storage/database_files.h"
#include "storage/database_health.h"
#include "storage/module_presence.h"
#include "widgets/command_set.h"

namespace kerbina {

void SettingsSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    if (place == menu_place::kFileSettings) {
        commands.add(&menu, "environmentSettings", QStringLiteral("環境設定"), {},
                     CommandPage::Both, [this] { showSettings(); });
    }
}

void SettingsSubsystem::showSettings() {
    if (dialog_ == nullptr) {
        dialog_ = new SettingsDialog(host_.editableEnvironment(), host_.dialogParent());
        QObject::connect(
            dialog_, &SettingsDialog::registered, dialog_,
            [this](const RegisterOutcome& outcome) { host_.registerSettings(outcome); });
        dialog_->setDatabaseCheck([this] {
            return databaseCheckReport(
                databaseFilePath(host_.folders().databaseFolder, DatabaseFile::Quotation),
                host_.checkQuotationDatabase());
        });
        for (const SidePage& tab : host_.settingsTabs()) {
            dialog_->addTab(tab.page, tab.caption);
        }
    }
    DatabaseNumberingRowStore numbering(host_.quotationDatabase());
    dialog_->showModally(host_.folders(), host_.modules().piping, numbering);
    // Values changed and not registered are in force for the run as well.
    host_.environmentEdited();
}

} // namespace kerbina

#include "document/ui/backup_subsystem.h"

#include "document/ui/backup_list_dialog.h"
#include "document/work_folder.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"

namespace kerbina {

void BackupSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    if (place == menu_place::kFileBackup) {
        commands.add(&menu, "loadBackup", QStringLiteral("バックアップファイルを読み込む"), {},
                     CommandPage::Both, [this] { loadBackupFile(); });
    }
}

// A modified quotation is offered for saving first; Cancel, or a save that fails, keeps it open.
void BackupSubsystem::loadBackupFile() {
    QWidget* parent = host_.dialogParent();
    if (!host_.offerToSave()) {
        return;
    }
    const std::vector<BackupSummary> backups = listBackups(host_.backupFolder());
    if (backups.empty()) {
        MessageBox::notify(parent, QStringLiteral("バックアップファイルがありません。"));
        return;
    }
    if (const auto chosen = BackupListDialog::choose(parent, backups)) {
        host_.openAsUnsavedWork(backups[*chosen].file);
    }
}

} // namespace kerbina

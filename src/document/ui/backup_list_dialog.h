#pragma once

#include "document/work_folder.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class QListWidget;

namespace kerbina {

// "バックアップファイルを読み込む": the crash backups, newest first, one line each with the time of
// its last write, its grand total and the run it comes from (backupRowText). The window lists
// them (listBackups), asks here which one to open and opens it.
class BackupListDialog : public QDialog {
    Q_OBJECT

public:
    explicit BackupListDialog(const std::vector<BackupSummary>& backups, QWidget* parent = nullptr);

    // The lines shown, in order.
    QStringList rows() const;

    // Shows the list modally; the index of the backup chosen, nothing when cancelled. While the
    // message boxes are scripted (MessageBox::isScripted) no dialog is shown: the next scripted
    // choice is taken (nothing when none is left), and the lines are recorded.
    static std::optional<std::size_t> choose(QWidget* parent,
                                             const std::vector<BackupSummary>& backups);

    // ---- test hook ----
    static void setNextChoice(std::optional<std::size_t> index);
    // The lines of the lists shown since the last call; the log is cleared.
    static QStringList takeShownRows();

private:
    QListWidget* list_;

    static std::deque<std::optional<std::size_t>> choices_;
    static QStringList shownRows_;
};

} // namespace kerbina

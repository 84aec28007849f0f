#pragma once

#include "widgets/subsystem.h"

namespace kerbina {

// The crash backups: "バックアップファイルを読み込む" lists the backups of the work folder and
// opens the one chosen as unsaved work.
class BackupSubsystem final : public Subsystem {
public:
    explicit BackupSubsystem(SubsystemHost& host) : host_(host) {}

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;

private:
    void loadBackupFile();

    SubsystemHost& host_;
};

} // namespace kerbina

#pragma once

#include "widgets/subsystem.h"

namespace kerbina {

class SettingsDialog;

// The environment settings: "環境設定" shows the settings dialog, with the tabs the other
// subsystems bring; what "登　録" registers is put into effect at once.
class SettingsSubsystem final : public Subsystem {
public:
    explicit SettingsSubsystem(SubsystemHost& host) : host_(host) {}

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;

private:
    void showSettings();

    SubsystemHost& host_;
    SettingsDialog* dialog_ = nullptr; // made at its first show, kept for the run
};

} // namespace kerbina

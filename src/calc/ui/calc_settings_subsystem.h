#pragma once

#include "widgets/subsystem.h"

namespace kerbina {

class CalcSettingsDialog;

// The quotation's calculation settings: "桁設定" of "各種変換＆計算" and of "内訳一覧表" shows
// the calculation settings dialog over the quotation's own settings.
class CalcSettingsSubsystem final : public Subsystem {
public:
    explicit CalcSettingsSubsystem(SubsystemHost& host);

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;

private:
    void editSettings();

    SubsystemHost& host_;
    CalcSettingsDialog* dialog_;
};

} // namespace kerbina

#pragma once

#include "widgets/subsystem.h"

namespace kerbina {

// The structure commands of the breakdown list in "内訳一覧表" and the list's context menu: 階層,
// 小計, 中計, 合計線, 減額, 消費税 and 備考入力. Each runs its core command (grid/list_commands.h)
// on the selection with the environment's names, tax rate and reduction setting.
class ListCommandsSubsystem final : public Subsystem {
public:
    explicit ListCommandsSubsystem(SubsystemHost& host) : host_(host) {}

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;

private:
    SubsystemHost& host_;
};

} // namespace kerbina

#pragma once

#include "widgets/subsystem.h"

namespace kerbina {

// The rows of the page in front: insert, erase, delete, move, copy, cut and paste (lines on a
// sheet, items on the breakdown list), the system clipboard, and the selection and cursor moves of
// "編集" and "内訳一覧表".
class RowCommandsSubsystem final : public Subsystem {
public:
    explicit RowCommandsSubsystem(SubsystemHost& host) : host_(host) {}

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;

private:
    // The sheet's command, or on the breakdown list the item command of the same name.
    void runOnPage(const GridCommand& onSheet, const GridCommand& onList);
    void runOnSheet(const GridCommand& onSheet);
    void pasteFromClipboard();
    void copyToClipboard();

    SubsystemHost& host_;
};

} // namespace kerbina

#pragma once

#include "widgets/subsystem.h"

namespace kerbina {

class ExpenseDialog;

// Expenses: "諸経費" on a sheet (expense lines, the expense patterns) and on the breakdown list
// (expense items), both through the one expense dialog.
class ExpensesSubsystem final : public Subsystem {
public:
    explicit ExpensesSubsystem(SubsystemHost& host) : host_(host) {}

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;

private:
    void openOnSheet();
    void openOnList();
    void write(const GridCommand& command);
    ExpenseDialog& dialog();

    SubsystemHost& host_;
    ExpenseDialog* dialog_ = nullptr; // made when first opened, kept for the run
};

} // namespace kerbina

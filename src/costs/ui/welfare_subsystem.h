#pragma once

#include "widgets/subsystem.h"

namespace kerbina {

class WelfareDialog;

// The statutory welfare cost: the sheet's and the breakdown list's "法定福利費", which check the
// place and open the welfare dialog in their own mode, and the double-click on a welfare line,
// which offers to enter the welfare again.
class WelfareSubsystem final : public Subsystem {
public:
    explicit WelfareSubsystem(SubsystemHost& host);

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;
    bool openLine(int row, const LineRecord* line) override;

    // The commands, as their menu entries run them.
    void enterOnSheet();
    void enterOnList();

private:
    void askAndWrite(bool listMode);

    SubsystemHost& host_;
    WelfareDialog* dialog_;
};

} // namespace kerbina

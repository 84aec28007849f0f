#pragma once

#include "widgets/subsystem.h"

class QAction;

namespace kerbina {

// How the quotation page shows the quotation: the display switches of "表示" and the title bar's
// price buttons, the column widths of the sheets and of the breakdown list, the grid's rows and
// the moves between sheets.
class ViewCommandsSubsystem final : public Subsystem {
public:
    explicit ViewCommandsSubsystem(SubsystemHost& host);

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;
    void gridLaidOut() override;

private:
    void toggleAdditionalView();
    void showNetView(bool net);
    void showPriceView(bool net, bool additional);
    void saveColumnWidths();
    void resetColumnWidths(bool itemList);
    void saveListColumnWidths();
    void moveToSheet(int step);
    void repaintGrid();

    SubsystemHost& host_;
    CommandSet* commands_ = nullptr;
};

} // namespace kerbina

#pragma once

#include "prices/calculated_price.h"
#include "widgets/subsystem.h"

namespace kerbina {

class CalculatedPriceDialog;

// Calculated lines: the four commands of "特殊行" that open the calculated-price dialog with their
// type on a new line, and the double-click that opens it on a calculated line of the sheet.
class CalculatedPriceSubsystem final : public Subsystem {
public:
    explicit CalculatedPriceSubsystem(SubsystemHost& host) : host_(host) {}

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;
    bool openLine(int row, const LineRecord* line) override;

private:
    void openOnNewLine(CalculationType type);
    CalculatedPriceDialog& dialog();

    SubsystemHost& host_;
    CalculatedPriceDialog* dialog_ = nullptr; // made when first opened, kept for the run
};

} // namespace kerbina

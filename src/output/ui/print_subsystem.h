#pragma once

#include "widgets/subsystem.h"

namespace kerbina {

// Printing and CSV: the print and CSV commands of "ファイル" and the tool page's "print" and
// "csv_out". The quotation and the unit-cost breakdown list go to the print programs; the page in
// front goes to a CSV file; lines come in from the CSV editor.
class PrintSubsystem final : public Subsystem {
public:
    explicit PrintSubsystem(SubsystemHost& host) : host_(host) {}

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;
    bool runNamed(std::string_view name) override;

private:
    void printOpenQuotation(bool wholeQuotation);
    void printFromPage();
    void printUnitCostList();
    void exportPageCsv();
    void importCsvFromEditor();

    SubsystemHost& host_;
};

} // namespace kerbina

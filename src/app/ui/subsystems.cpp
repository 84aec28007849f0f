#include "app/ui/subsystems.h"

#include "calc/ui/calc_settings_subsystem.h"
#include "costs/ui/expenses_subsystem.h"
#include "costs/ui/welfare_subsystem.h"
#include "cover/ui/cover_subsystem.h"
#include "document/ui/backup_subsystem.h"
#include "grid/ui/list_commands_subsystem.h"
#include "grid/ui/row_commands_subsystem.h"
#include "grid/ui/sheet_editing_subsystem.h"
#include "grid/ui/view_commands_subsystem.h"
#include "output/ui/print_subsystem.h"
#include "prices/ui/calculated_price_subsystem.h"
#include "prices/ui/parts_subsystem.h"
#include "prices/ui/price_lookup_subsystem.h"
#include "settings/ui/settings_subsystem.h"
#include "storage/ui/quotation_list_subsystem.h"

namespace kerbina {

namespace {

template <typename Made> std::unique_ptr<Subsystem> made(SubsystemHost& host) {
    return std::make_unique<Made>(host);
}

} // namespace

// Adding a subsystem: its class in its own ui/ folder, and one line here.
std::vector<SubsystemFactory> standardSubsystems() {
    return {
        made<CoverSubsystem>,        made<QuotationListSubsystem>,   made<RowCommandsSubsystem>,
        made<PrintSubsystem>,        made<BackupSubsystem>,          made<SettingsSubsystem>,
        made<SheetEditingSubsystem>, made<ViewCommandsSubsystem>,    made<CalcSettingsSubsystem>,
        made<ListCommandsSubsystem>, made<CalculatedPriceSubsystem>, made<ExpensesSubsystem>,
        made<WelfareSubsystem>,      made<PriceLookupSubsystem>,     made<PartsSubsystem>,
    };
}

} // namespace kerbina

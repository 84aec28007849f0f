#include "prices/ui/calculated_price_subsystem.h"

#include "grid/grid_cells.h"
#include "prices/ui/calculated_price_dialog.h"
#include "records/kinds.h"
#include "settings/environment_settings.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

#include <QApplication>

namespace kerbina {

namespace {

constexpr struct {
    const char* objectName;
    CalculationType type;
} kCommands[] = {
    {"calculatedRate", CalculationType::Rate},
    {"calculatedLabour", CalculationType::Labour},
    {"calculatedAdditionalRate", CalculationType::AdditionalRate},
    {"calculatedPlainLine", CalculationType::PlainLine},
};

} // namespace

void CalculatedPriceSubsystem::addCommands(std::string_view place, QMenu& menu,
                                           CommandSet& commands) {
    if (place != menu_place::kEditLines) {
        return;
    }
    for (const auto& command : kCommands) {
        const CalculationType type = command.type;
        commands.add(&menu, QString::fromUtf8(command.objectName),
                     q(calculationTypeTexts(type).command), {}, CommandPage::Sheet,
                     [this, type] { openOnNewLine(type); });
    }
}

void CalculatedPriceSubsystem::openOnNewLine(CalculationType type) {
    const CalculatedOpening opening =
        openCalculatedLine(host_.document(), host_.displayOptions().listMode, host_.selection());
    if (!opening.refusal.empty()) {
        QApplication::beep();
        MessageBox::notify(host_.dialogParent(), q(opening.refusal));
        return;
    }
    CalculatedEntry entry;
    entry.type = type;
    entry.range = opening.range;
    const auto message = dialog().ask(entry, false, host_.environment().groupNames());
    if (!message) {
        return;
    }
    host_.runGridCommand([&message, &opening](GridContext& context, Selection) {
        return writeCalculatedLine(context, opening.row, *message, CalculatedWrite::NewLine);
    });
}

// A calculated line opens the dialog on its own values; "積算転記" then writes it again in place.
bool CalculatedPriceSubsystem::openLine(int row, const LineRecord* line) {
    if (line == nullptr || !isCalculatedRangeKind(line->kind)) {
        return false;
    }
    const auto message =
        dialog().ask(calculatedEntryFromLine(*line), true, host_.environment().groupNames());
    if (message) {
        host_.runGridCommand([&message, row](GridContext& context, Selection) {
            return writeCalculatedLine(context, row, *message, CalculatedWrite::EditedLine);
        });
    }
    return true;
}

CalculatedPriceDialog& CalculatedPriceSubsystem::dialog() {
    if (dialog_ == nullptr) {
        dialog_ = new CalculatedPriceDialog(host_.quotationDatabase(), host_.prompt(),
                                            host_.dialogParent());
    }
    return *dialog_;
}

} // namespace kerbina

#pragma once

#include "money/calc_settings.h"

#include <QDialog>
#include <QStringList>
#include <optional>
#include <vector>

class QButtonGroup;
class QGroupBox;

namespace kerbina {

// "計算処理設定": the calculation settings of the current sheet and of the whole quotation. The
// dialog only edits a CalcSettings value; the main window stores it and runs the follow-up
// (totals pass and write) for the page in front.
class CalcSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit CalcSettingsDialog(QWidget* parent = nullptr);

    // Selects each group's option from `current`; a value that matches no option leaves the
    // group's previous choice.
    void load(const CalcSettings& current);
    // The settings as the options now stand, on top of `current` for anything not shown.
    CalcSettings chosen(const CalcSettings& current) const;

    // How one group's options map to stored values.
    struct Encoding {
        QStringList captions;
        std::optional<Currency> (*fromIndex)(int);
        std::optional<int> (*indexOf)(Currency);
    };

    // Shows the dialog modally; the chosen settings when "設定実行" was pressed.
    std::optional<CalcSettings> edit(const CalcSettings& current);

private:
    struct Group {
        Currency CalcSettings::*field;
        QButtonGroup* buttons;
        const Encoding* encoding;
    };

    QGroupBox* addGroup(const QString& caption, Currency CalcSettings::*field,
                        const Encoding& encoding, int columns);

    std::vector<Group> groups_;
};

} // namespace kerbina

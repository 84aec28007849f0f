#pragma once

#include "grid/line_entry.h"

#include <QDialog>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace kerbina {

struct EnvironmentSettings;

// What the data-entry dialog needs from the window that opens it: the lines of the current sheet
// as they are in memory, and the one way lines are written (writeLineFromMessage).
class LineEditorHost {
public:
    virtual ~LineEditorHost() = default;
    virtual int sheetNumber() const = 0;
    // Line `row` of the current sheet; nothing past the last line.
    virtual std::optional<LineRecord> lineAt(int row) const = 0;
    // Writes the line at `row` (overwriting, or appending past the last line) and saves the
    // sheet; false when the write failed (the window has said why).
    virtual bool writeLine(const LineMessage& message, int row) = 0;
    // Moves the grid's selection to `row`.
    virtual void showRow(int row) = 0;
};

// "データ入力": edits one line of the current sheet at a time and, with "連続入力", steps on to the
// next row after each write. It only collects the fields; the rules are lineMessageFromEntry.
class DataEntryDialog : public QDialog {
    Q_OBJECT

public:
    // Tags of the fields in Enter order (1..11); each has a check box SB1..SB11 beside it.
    enum Tag {
        Name = 1,
        Specification,
        Unit,
        NetQuantity,
        NetPrice,
        NetAdditional,
        SubmittedQuantity,
        SubmittedPrice,
        SubmittedAdditional,
        LaborFactor,
        Note,
    };

    DataEntryDialog(const std::filesystem::path& dataRoot, QWidget* parent = nullptr);
    ~DataEntryDialog() override;

    // Unit and group button captions and the amount-text list from the settings.
    void applySettings(const EnvironmentSettings& settings);
    // Shows the dialog modally on row `row` of `host`'s sheet.
    void editFrom(LineEditorHost& host, int row);

    // For the window and tests: the row being edited, the fields as an entry, one field, Enter in a
    // field, and the write buttons ("積算転記" is group 1).
    int row() const { return row_; }
    LineEntry entry() const;
    QLineEdit* field(Tag tag) const;
    QCheckBox* stopHere(Tag tag) const;
    QCheckBox* continuous() const { return continuous_; }
    void enterPressed(int tag);
    void writeLine(int group);
    void loadRow(int row);

public slots:
    // A price chosen in a catalogue editor ("[code];..."): the next row loaded shows its fields
    // instead of the line. The catalogue's windows call it by name, as they cannot include this
    // dialog.
    void takePriceRecord(const QString& record);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    void showAmounts();
    void fill(const LineEntry& entry);
    void clearFields();
    void enableAll();
    void adaptToKind(LineKind kind, Currency sortCode);
    QWidget* tagged(int tag) const;
    void saveLists() const;

    std::filesystem::path dataRoot_;
    LineEditorHost* host_ = nullptr;
    int row_ = 1;
    std::optional<LineEntry> loaded_;      // the line as it was loaded (kind, marks it keeps)
    std::optional<LineEntry> priceRecord_; // a catalogue price waiting for the next load
    std::vector<std::string> units_;
    std::vector<std::string> amountTexts_;      // the user's own texts
    std::array<std::string, 4> settingTexts_{}; // [KINGAKU_NAME1]..[KINGAKU_NAME4]
    std::array<QString, 6> groupNames_{};

    std::array<QLineEdit*, 12> fields_{}; // by tag; [Unit] is the unit list's edit
    std::array<QCheckBox*, 12> stops_{};
    QComboBox* unitList_ = nullptr;
    QComboBox* amountText_ = nullptr;
    QComboBox* flag_ = nullptr;
    QComboBox* priceKind_ = nullptr;
    QLabel* netAmount_ = nullptr;
    QLabel* submittedAmount_ = nullptr;
    QLabel* heading_ = nullptr;
    QLabel* quantityCaption_ = nullptr;
    QLabel* priceCaption_ = nullptr;
    QGroupBox* groupFrame_ = nullptr;
    std::array<QPushButton*, 9> unitButtons_{};
    std::array<QPushButton*, 6> groupButtons_{};
    QCheckBox* continuous_ = nullptr;
    QStatusBar* status_ = nullptr;
};

} // namespace kerbina

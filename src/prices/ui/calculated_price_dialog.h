#pragma once

#include "prices/calculated_price.h"

#include <QDialog>
#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QWidget;

namespace kerbina {

// The calculated-price dialog: the values of one calculated line (or, for the plain type, one
// ordinary line) and the catalogue's calculated prices to take them from. It lives for the run
// and keeps what was typed between showings; the write itself is the caller's.
class CalculatedPriceDialog : public QDialog {
public:
    CalculatedPriceDialog(Database& database, UserPrompt& prompt, QWidget* parent);

    // Shows the dialog modally for `entry`: a new line takes its type and range and keeps the
    // other fields as they were left, an edited line shows all of its values. `groupNames` are
    // the captions of the six data groups. The line message of "積算転記", or nothing when
    // cancelled.
    std::optional<LineMessage> ask(const CalculatedEntry& entry, bool editedLine,
                                   const std::array<std::string, 6>& groupNames);

    // The buttons, as their clicks run them.
    void transfer();
    void addPrice();
    void updatePrice();
    void deletePrice();
    // "カテゴリー名を変更する" on the selected category.
    void renameCategory();

private:
    void buildFields(QWidget* parent);
    void buildCatalogue(QWidget* parent);
    void showType();
    void showEntry(const CalculatedEntry& entry);
    // The entry the fields hold; nothing when a number field holds no number (said).
    std::optional<CalculatedEntry> entryShown() const;
    CalculatedPrice priceShown(const CalculatedEntry& entry) const;
    void refreshCategories();
    void refreshPrices();
    void showSelectedPrice();
    std::string selectedCategory() const;
    // The category proposed for a stored price: the selected one, else the first.
    std::string proposedCategory() const;
    std::optional<std::int64_t> selectedPriceId() const;
    void selectPrice(std::int64_t id);

    Database& database_;
    UserPrompt& prompt_;
    CalculationType type_ = CalculationType::Rate;
    std::optional<LineMessage> message_;

    QLabel* heading_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* specification_ = nullptr;
    QComboBox* unit_ = nullptr;
    QLabel* netCaption_ = nullptr;
    QLineEdit* netValue_ = nullptr;
    QLabel* submittedCaption_ = nullptr;
    QLineEdit* submittedValue_ = nullptr;
    QLineEdit* note_ = nullptr;
    QComboBox* priceKind_ = nullptr;
    QWidget* calculationFrame_ = nullptr; // group, range and rounding: hidden for the plain type
    QCheckBox* allGroups_ = nullptr;
    std::array<QRadioButton*, 6> groups_{};
    QSpinBox* rangeFirst_ = nullptr;
    QSpinBox* rangeLast_ = nullptr;
    QComboBox* roundingLevel_ = nullptr;
    QWidget* plainFrame_ = nullptr; // kind and quantities: shown for the plain type only
    QComboBox* lineKind_ = nullptr;
    QLineEdit* netQuantity_ = nullptr;
    QLineEdit* submittedQuantity_ = nullptr;
    QListWidget* categories_ = nullptr;
    QLineEdit* search_ = nullptr;
    QTableWidget* prices_ = nullptr;
};

} // namespace kerbina

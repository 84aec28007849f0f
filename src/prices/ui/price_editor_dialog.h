#pragma once

#include "prices/price_editor.h"
#include "prices/price_histories.h"

#include <QDialog>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace kerbina {

struct EnvironmentSettings;

// The code unit price editor "Codetanka_Dlg" (登録単価) and the tree unit price editor
// "treetanka_dlg" (仕様単価): one dialog, told apart by its PriceEditorTable. It lists the
// catalogue rows of its group by category (and name), searches them, adds, changes and removes
// rows, writes a row into the sheet with a quantity button, and hands a double-clicked row back
// as the price the data-entry dialog takes over. The queries, statements, records and histories
// are the core's (prices/price_editor.h, prices/price_histories.h); the dialog collects input.
class PriceEditorDialog : public QDialog {
    Q_OBJECT

public:
    // Writes a price with a quantity into an empty line inserted at a row of the sheet; false
    // when nothing was written.
    using LineWriter = std::function<bool(const PriceRecord& price, Currency quantity, int row)>;

    PriceEditorDialog(const PriceEditorTable& table, const std::filesystem::path& dataRoot,
                      std::function<Database&()> database,
                      std::function<std::filesystem::path()> databaseFile, LineWriter writeLine,
                      QWidget* parent = nullptr);
    ~PriceEditorDialog() override;

    // The unit buttons' captions and the amount texts of the settings.
    void applySettings(const EnvironmentSettings& settings);
    // Shows the editor modally, its lists narrowed by the search texts; the quantity buttons write
    // from `row` on. The price double-clicked in the list; nothing when closed otherwise.
    std::optional<PriceRecord> run(const QString& search, const QString& specificationSearch,
                                   int row);

    // For the lookup tabs and tests: the lists filled again, a row of the price list chosen, the
    // buttons' steps and the fields as a price (nothing, after a message, when a number is not
    // one).
    void refresh();
    void choosePrice(int listRow);
    void addPrice();
    void updatePrice();
    void deletePrice();
    void writeWithQuantity(int quantity);
    void importPriceList();
    std::optional<PriceRecord> fieldsAsPrice();
    std::int64_t currentId() const { return currentId_; }
    int row() const { return row_; }

protected:
    void done(int result) override;

private:
    void buildWidgets();
    void fillLists();
    void showPrice(const PriceRecord& price);
    void rememberTexts(const PriceRecord& price);
    void saveHistories();
    void offerHistories();
    PriceEditorFilter filter() const;

    const PriceEditorTable& table_;
    std::filesystem::path dataRoot_;
    std::function<Database&()> database_; // the quotation database in use
    std::function<std::filesystem::path()> databaseFile_;
    LineWriter writeLine_;
    PriceEditorHistories histories_;
    AmountSettingTexts settingTexts_{};
    std::int64_t currentId_ = 0;
    int row_ = 1;
    std::optional<PriceRecord> chosen_;

    QListWidget* categoryList_ = nullptr;
    QListWidget* nameList_ = nullptr; // tree editor
    QTableWidget* priceList_ = nullptr;
    QLineEdit* search_ = nullptr;
    QLineEdit* specificationSearch_ = nullptr; // tree editor
    QComboBox* name_ = nullptr;
    QComboBox* specification_ = nullptr;
    QComboBox* unit_ = nullptr;
    QComboBox* category_ = nullptr;
    QComboBox* kind_ = nullptr;
    QComboBox* amountText_ = nullptr;
    // 仕切(原価), 定価, 提出単価, 付帯単価仕切, 付帯単価提出, 歩掛
    std::array<QLineEdit*, 6> numbers_{};
    std::array<QPushButton*, 9> unitButtons_{};
    QLabel* status_ = nullptr;
};

} // namespace kerbina

#pragma once

#include "prices/catalogue.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace kerbina {

class Database;

// One lookup tab of the side panel: "登録単価" (group 1: a category list, then the rows of the
// category) or "仕様単価" (group 10: a category choice, a name list, then the 仕様 texts of the
// name), with its search, the ten quantity buttons and the button that opens its editor. It
// only shows the catalogue and says what the user asked for; the subsystem acts.
class PriceLookupPage : public QWidget {
    Q_OBJECT

public:
    // `database` gives the quotation database in use (it is opened again when its folder changes).
    PriceLookupPage(PriceGroup group, std::function<Database&()> database,
                    QWidget* parent = nullptr);

    PriceGroup group() const { return group_; }
    // Everything again from the categories on, keeping the chosen category and name.
    void fill();
    // The rows of the chosen category (code) or name (tree) again.
    void fillRows();
    // The caption of the button that opens the editor (from the settings' price button names).
    void setEditorCaption(const QString& caption);
    // The price registration buttons of the piping module.
    void showCompanionButtons(bool shown);

    // The id of the grid's selected row; nothing without one.
    std::optional<std::int64_t> selectedId() const;
    // The search texts (the tree tab's second one searches the 仕様).
    QString searchText() const;
    QString specificationSearchText() const;

    QListWidget* categoryList() const { return categoryList_; }
    QComboBox* categoryChoice() const { return categoryChoice_; }
    QListWidget* nameList() const { return nameList_; }
    QTableWidget* grid() const { return grid_; }

signals:
    // A double-click (quantity 1) or a quantity button (its number) on the selected row.
    void priceChosen(qint64 id, int quantity);
    void searchAsked();
    void editorAsked();
    // A price registration button, by its tag (標準単価, 管材単価: -1; 付属単価 0; VHS単価 18).
    void companionAsked(int tag);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWidgets();
    QString chosenCategory() const;
    void fillNames();
    void chooseQuantity(int quantity);

    PriceGroup group_;
    std::function<Database&()> database_;
    QListWidget* categoryList_ = nullptr; // code tab
    QComboBox* categoryChoice_ = nullptr; // tree tab
    QListWidget* nameList_ = nullptr;     // tree tab
    QTableWidget* grid_ = nullptr;
    QLineEdit* search_ = nullptr;
    QLineEdit* specificationSearch_ = nullptr; // tree tab
    QPushButton* editorButton_ = nullptr;
    QWidget* companionButtons_ = nullptr;
};

} // namespace kerbina

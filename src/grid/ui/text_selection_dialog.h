#pragma once

#include "grid/line_entry.h"
#include "storage/registered_texts.h"

#include <QDialog>
#include <filesystem>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

namespace kerbina {

// "特記事項選択": the registered comment texts (group 40 of the quotation database's `tanka`
// table). Choosing one ("選択入力", a double-click) or typing one ("手入力") hands it to the
// window, which writes the comment line; the dialog stays open for the next. "新規追加", "修正登録"
// and "削除" keep the list.
class TfDATASELECT_Dlg : public QDialog {
    Q_OBJECT

public:
    TfDATASELECT_Dlg(Database& database, const std::filesystem::path& dataRoot,
                     QWidget* parent = nullptr);
    ~TfDATASELECT_Dlg() override;

    // Shows the dialog modally; `write` receives each chosen comment as its line message.
    void selectComments(const std::function<void(const LineMessage&)>& write);

    // For tests: the list as shown, and the actions of the buttons.
    const std::vector<RegisteredText>& texts() const { return texts_; }
    void selectRow(int row);
    void chooseSelected();
    void typeOwnText(const QString& text);
    QComboBox* quantityChoice() const { return quantity_; }
    QComboBox* unitChoice() const { return unit_; }
    QComboBox* amountTextChoice() const { return amountText_; }
    void addText();
    void renameText();
    void deleteText();

private:
    void reload();
    void reply(const std::string& text);
    bool acceptable(const QString& name);
    int selectedRow() const;
    void showAmountTexts(const QString& current);

    Database& database_;
    std::filesystem::path dataRoot_;
    std::vector<RegisteredText> texts_;
    std::vector<std::string> amountTexts_; // newest first, kept in conf/comment.lst
    std::function<void(const LineMessage&)> write_;
    QTableWidget* list_ = nullptr;
    QComboBox* quantity_ = nullptr;
    QComboBox* unit_ = nullptr;
    QComboBox* amountText_ = nullptr;
};

} // namespace kerbina

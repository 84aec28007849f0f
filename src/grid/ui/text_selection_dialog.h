#pragma once

#include "grid/line_entry.h"
#include "storage/registered_texts.h"

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

namespace kerbina {

// The registered texts of the quotation database's `tanka` table, in two modes:
// - "特記事項選択" (comments, group 40): choosing one ("選択入力", a double-click) or typing one
//   ("手入力") hands it to the window as a comment line message, with its quantity choice, unit
//   and amount text;
// - "内訳名選択" (breakdown item names, group 30): the same hands over a name, with the number
//   prefix chosen in "内訳番号" in front.
// Each reply is applied at once and the dialog stays open for the next. "新規追加", "修正登録" and
// "削除" keep the list of the mode's group. The status bar shows the group (panel 3), the reply
// kind (panel 4) and, for names, the item the next reply renames (panel 5).
class TextSelectionDialog : public QDialog {
    Q_OBJECT

public:
    TextSelectionDialog(Database& database, const std::filesystem::path& dataRoot,
                        QWidget* parent = nullptr);
    ~TextSelectionDialog() override;

    // Comment mode, modal; `write` receives each chosen comment as its line message.
    void selectComments(const std::function<void(const LineMessage&)>& write);
    // Item-name mode, modal, showing `currentName`; `rename` applies each reply and gives back the
    // name of the item the next reply will rename.
    void selectItemName(const std::string& currentName,
                        const std::function<std::string(const LineMessage&)>& rename);

    // For tests: the list as shown, the controls, and the actions of the buttons.
    const std::vector<RegisteredText>& texts() const { return texts_; }
    void selectRow(int row);
    void chooseSelected();
    void typeOwnText(const QString& text);
    QComboBox* quantityChoice() const { return quantity_; }
    QComboBox* unitChoice() const { return unit_; }
    QComboBox* amountTextChoice() const { return amountText_; }
    QComboBox* prefixChoice() const { return prefix_; }
    QString statusText(int panel) const;
    void addText();
    void renameText();
    void deleteText();

private:
    enum class Mode { Comment, ItemName };

    void showMode(Mode mode, const std::string& currentName);
    void reload();
    void reply(const std::string& text);
    bool acceptable(const QString& name);
    int selectedRow() const;
    int group() const;
    void showAmountTexts(const QString& current);

    Database& database_;
    std::filesystem::path dataRoot_;
    Mode mode_ = Mode::Comment;
    std::vector<RegisteredText> texts_;
    std::vector<std::string> amountTexts_; // newest first, kept in conf/comment.lst
    std::function<void(const LineMessage&)> write_;
    std::function<std::string(const LineMessage&)> rename_;
    QTableWidget* list_ = nullptr;
    QWidget* prefixRow_ = nullptr;
    QComboBox* prefix_ = nullptr;
    QWidget* commentFields_ = nullptr;
    QComboBox* quantity_ = nullptr;
    QComboBox* unit_ = nullptr;
    QComboBox* amountText_ = nullptr;
    std::vector<QLabel*> statusPanels_;
};

} // namespace kerbina

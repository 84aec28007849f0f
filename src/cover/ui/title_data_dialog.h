#pragma once

#include "cover/title_book.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QTableWidget;

namespace kerbina {

class TitleEntryBox;

// The picker of a cover field: the groups of a list ("すべて" first), its entries, and the
// buttons "選択入力" (choose the selected entry; a double-click and the context menu's "選　択"
// too), "編　集" (the context menu's "登　録"), "新規作成" and "キャンセル". Choosing or editing
// with no entry selected does nothing.
class TitleDataDialog : public QDialog {
    Q_OBJECT

public:
    TitleDataDialog(Database& quotations, Database& addresses, QWidget* parent = nullptr);

    void setNumbering(const NumberingOptions& numbering);
    // Shows the picker modally for a kind of list under a heading; the chosen entry, nothing
    // when it was cancelled.
    std::optional<TitleEntry> pick(const std::string& kind, const std::string& heading,
                                   const std::string& currentText);

    // What pick() does before the modal loop: sets the kind and heading, fills the lists and
    // selects the entry named like the current text.
    void prepare(const std::string& kind, const std::string& heading,
                 const std::string& currentText);
    const std::optional<TitleEntry>& chosen() const { return chosen_; }
    const std::vector<TitleEntry>& entries() const { return entries_; }
    QListWidget* groupList() const { return groups_; }
    QTableWidget* grid() const { return grid_; }
    void selectGroup(const std::string& group);
    void selectRow(int row);
    void chooseSelected();
    void editSelected();
    void createEntry();

    // Runs the edit dialog; true when "登　録" was pressed. Tests fill the dialog and answer.
    using EditRunner = std::function<bool(TitleEntryBox&)>;
    void setEditRunner(EditRunner runner);

private:
    void fillGroups();
    void fillEntries();
    void edit(const TitleEntry& entry);
    std::optional<std::int64_t> selectedId() const;

    TitleBook book_;
    std::string kind_;
    std::string heading_;
    NumberingOptions numbering_;
    std::vector<std::string> groupNames_;
    std::vector<TitleEntry> entries_;
    std::optional<TitleEntry> chosen_;
    EditRunner editRunner_;
    QLabel* headingLabel_ = nullptr;
    QListWidget* groups_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

} // namespace kerbina

#pragma once

#include "widgets/subsystem.h"

#include <QString>
#include <optional>

namespace kerbina {

class DataEntryDialog;
class TextSelectionDialog;

// Editing a sheet's lines: the data-entry dialog, the registered texts (comments and item names),
// the special lines of "特殊行", the bulk edits of "各種変換＆計算" and the parts files. It edits
// the lines that a double-click or "新規データ入力" opens, but for the kinds whose dialogs come
// with their own subsystems.
class SheetEditingSubsystem final : public Subsystem {
public:
    explicit SheetEditingSubsystem(SubsystemHost& host);

    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;
    bool runNamed(std::string_view name) override;
    bool openLine(int row, const LineRecord* line) override;
    void environmentChanged() override;

private:
    // ---- sheet_editing_menus.cpp ----
    void addLineCommands(QMenu& menu, CommandSet& commands);
    void addNoteCommands(QMenu& menu, CommandSet& commands);
    void addBulkEdits(QMenu& menu, CommandSet& commands);
    std::optional<QString> askName(const QString& initial);

    // ---- sheet_editing_subsystem.cpp ----
    void newDataEntry();
    void openDataEntryDialog(int row);
    void renameItemPrompt();
    void selectComment();
    void selectItemName();
    void loadChosenPartsFile();
    void saveChosenPartsFile();
    TextSelectionDialog& textSelectionDialog();
    QString title() const;

    SubsystemHost& host_;
    DataEntryDialog* dataEntryDialog_ = nullptr;
    TextSelectionDialog* textSelectionDialog_ =
        nullptr; // made when first used: it needs the database
};

} // namespace kerbina

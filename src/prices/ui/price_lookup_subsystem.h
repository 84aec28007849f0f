#pragma once

#include "prices/catalogue.h"
#include "widgets/subsystem.h"

#include <filesystem>

class QAction;

namespace kerbina {

class PriceEditorDialog;
class PriceLookupPage;
struct PriceEditorTable;

// The unit price catalogue beside the quotation: the side tabs "登録単価" and "仕様単価", their
// searches and quantity buttons, the code and tree editors, registering the cursor lines as
// catalogue rows (menu "単価関係" and the sheet's context menu) and the price registration
// programs of the piping module.
class PriceLookupSubsystem final : public Subsystem {
public:
    explicit PriceLookupSubsystem(SubsystemHost& host);

    std::vector<SidePage> sidePages() override;
    void addMenus(QMenuBar& menuBar, CommandSet& commands) override;
    void environmentChanged() override;

private:
    void openCatalogue();
    void fillPages();
    void putPrice(PriceGroup group, std::int64_t id, int quantity);
    bool writePrice(const PriceRecord& price, PriceSource source, Currency quantity,
                    LineWriteMode mode, Selection selection);
    void search(PriceLookupPage& page);
    void registerLines(PriceGroup group);
    void openEditor(PriceGroup group, const QString& search, const QString& specificationSearch);
    void startCompanion(int tag);
    PriceEditorDialog& editor(PriceGroup group);
    std::filesystem::path databaseFile() const;

    SubsystemHost& host_;
    CommandSet* commands_ = nullptr;
    PriceLookupPage* codePage_ = nullptr;
    PriceLookupPage* treePage_ = nullptr;
    PriceEditorDialog* codeEditor_ = nullptr; // made when first opened, kept for the run
    PriceEditorDialog* treeEditor_ = nullptr;
    QAction* codeEditorCommand_ = nullptr;
    QAction* treeEditorCommand_ = nullptr;
    QAction* registerCodeCommand_ = nullptr;
    QAction* registerTreeCommand_ = nullptr;
    bool catalogueOpened_ = false;
};

} // namespace kerbina

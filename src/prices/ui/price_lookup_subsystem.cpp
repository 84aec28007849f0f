#include "prices/ui/price_lookup_subsystem.h"

#include "base/folders.h"
#include "grid/grid_cells.h"
#include "link/companion_programs.h"
#include "prices/catalogue_indexes.h"
#include "prices/lookup_panel.h"
#include "prices/price_editor.h"
#include "prices/ui/price_editor_dialog.h"
#include "prices/ui/price_lookup_page.h"
#include "records/document_state.h"
#include "settings/environment_settings.h"
#include "storage/database_files.h"
#include "storage/module_presence.h"
#include "widgets/calendar.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"
#include "widgets/print_start.h"
#include "widgets/qt_text.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>

namespace kerbina {

namespace {

const QString kNotFound = QStringLiteral("見つかりませんでした");

} // namespace

PriceLookupSubsystem::PriceLookupSubsystem(SubsystemHost& host) : host_(host) {
    const auto database = [this]() -> Database& {
        return host_.quotationDatabase();
    };
    codePage_ = new PriceLookupPage(PriceGroup::Code, database);
    treePage_ = new PriceLookupPage(PriceGroup::Tree, database);
    for (PriceLookupPage* page : {codePage_, treePage_}) {
        QObject::connect(
            page, &PriceLookupPage::priceChosen, page,
            [this, page](qint64 id, int quantity) { putPrice(page->group(), id, quantity); });
        QObject::connect(page, &PriceLookupPage::searchAsked, page,
                         [this, page] { search(*page); });
        QObject::connect(page, &PriceLookupPage::editorAsked, page,
                         [this, page] { openEditor(page->group(), {}, {}); });
    }
    QObject::connect(codePage_, &PriceLookupPage::companionAsked, codePage_,
                     [this](int tag) { startCompanion(tag); });
}

std::vector<SidePage> PriceLookupSubsystem::sidePages() {
    return {{QStringLiteral("登録単価"), codePage_}, {QStringLiteral("仕様単価"), treePage_}};
}

void PriceLookupSubsystem::addMenus(QMenuBar& menuBar, CommandSet& commands) {
    commands_ = &commands;
    QMenu* menu = menuBar.addMenu(QStringLiteral("単価関係(&T)"));
    codeEditorCommand_ =
        commands.add(menu, "codePriceEditor", QStringLiteral("登録単価"), {}, CommandPage::Sheet,
                     [this] { openEditor(PriceGroup::Code, {}, {}); });
    treeEditorCommand_ =
        commands.add(menu, "treePriceEditor", QStringLiteral("仕様単価"), {}, CommandPage::Sheet,
                     [this] { openEditor(PriceGroup::Tree, {}, {}); });
    menu->addSeparator();
    registerCodeCommand_ = commands.add(
        menu, "registerCodePrice", QStringLiteral("カーソル行のデータを登録単価として登録"), {},
        CommandPage::Sheet, [this] { registerLines(PriceGroup::Code); });
    registerTreeCommand_ = commands.add(
        menu, "registerTreePrice", QStringLiteral("カーソル行のデータを仕様単価として登録"), {},
        CommandPage::Sheet, [this] { registerLines(PriceGroup::Tree); });
}

// The captions follow the settings' price button names; the catalogue is first read once the
// settings (and with them the database folder) are in force.
void PriceLookupSubsystem::environmentChanged() {
    const DisplayStyle style = displayStyle(host_.environment());
    codePage_->setEditorCaption(q(style.priceButtonCaptions[0]));
    treePage_->setEditorCaption(q(style.priceButtonCaptions[1]));
    codePage_->showCompanionButtons(host_.modules().piping);
    if (codeEditorCommand_ != nullptr) {
        codeEditorCommand_->setText(q(style.priceButtonCaptions[0]));
        treeEditorCommand_->setText(q(style.priceButtonCaptions[1]));
        registerCodeCommand_->setText(q(style.registerAsCodePriceCaption));
        registerTreeCommand_->setText(q(style.registerAsTreePriceCaption));
    }
    for (PriceEditorDialog* opened : {codeEditor_, treeEditor_}) {
        if (opened != nullptr) {
            opened->applySettings(host_.environment());
        }
    }
    if (!catalogueOpened_) {
        openCatalogue();
    }
}

// The lookups' index comes with the first look at the catalogue; a database another program
// holds busy, or one that cannot be written, is used without it.
void PriceLookupSubsystem::openCatalogue() {
    catalogueOpened_ = true;
    ensureCatalogueIndexes(databaseFile());
    fillPages();
}

void PriceLookupSubsystem::fillPages() {
    try {
        codePage_->fill();
        treePage_->fill();
    } catch (const DatabaseError& error) {
        host_.quotationDatabase().report(error);
    }
}

std::filesystem::path PriceLookupSubsystem::databaseFile() const {
    return databaseFilePath(host_.folders().databaseFolder, DatabaseFile::Quotation);
}

// A double-click or a quantity button: the row's price written over the selection's last row.
void PriceLookupSubsystem::putPrice(PriceGroup group, std::int64_t id, int quantity) {
    std::optional<PriceRecord> price;
    try {
        price = priceRecord(host_.quotationDatabase(), group, id);
    } catch (const DatabaseError& error) {
        host_.quotationDatabase().report(error);
    }
    if (price) {
        writePrice(*price, PriceSource::Editor, Currency::fromWhole(quantity),
                   LineWriteMode::Overwrite, host_.selection());
    }
}

bool PriceLookupSubsystem::writePrice(const PriceRecord& price, PriceSource source,
                                      Currency quantity, LineWriteMode mode, Selection selection) {
    const bool listMode = host_.displayOptions().listMode;
    return host_.runCommand([&] {
        host_.runGridCommand([&](GridContext& context, Selection) {
            return writeCataloguePrice(context, selection, price, source, quantity, mode, listMode);
        });
    });
}

void PriceLookupSubsystem::search(PriceLookupPage& page) {
    const bool tree = page.group() == PriceGroup::Tree;
    const std::string text = s(page.searchText());
    const std::string specificationText = s(page.specificationSearchText());
    if (text.empty() && specificationText.empty()) {
        return;
    }
    std::vector<PriceRecord> found;
    try {
        found = tree ? searchTreePrices(host_.quotationDatabase(), text, specificationText)
                     : searchCodePrices(host_.quotationDatabase(), text);
    } catch (const DatabaseError& error) {
        host_.quotationDatabase().report(error);
        return;
    }
    if (found.empty()) {
        MessageBox::notify(host_.dialogParent(), kNotFound);
    } else if (found.size() == 1) {
        writePrice(found.front(), PriceSource::SingleSearchHit,
                   Currency::fromWhole(kDoubleClickQuantity), LineWriteMode::InsertFirst,
                   host_.selection());
    } else if (tree && host_.displayOptions().listMode) {
        MessageBox::notify(host_.dialogParent(), QStringLiteral("現在は内訳モードです。"));
    } else {
        openEditor(page.group(), page.searchText(), page.specificationSearchText());
    }
}

// The editor, and the price it was closed on for the data-entry dialog at the selection's row.
void PriceLookupSubsystem::openEditor(PriceGroup group, const QString& search,
                                      const QString& specificationSearch) {
    const std::optional<PriceRecord> chosen =
        editor(group).run(search, specificationSearch, host_.selection().top);
    fillPages();
    if (!chosen || commands_ == nullptr || host_.displayOptions().listMode) {
        return;
    }
    QDialog* dataEntry =
        host_.dialogParent()->findChild<QDialog*>(QStringLiteral("TFDataedit_Dlg"));
    QAction* newData = commands_->find(QStringLiteral("newData"));
    if (dataEntry == nullptr || newData == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(dataEntry, "takePriceRecord", Qt::DirectConnection,
                              Q_ARG(QString, q(priceRecordText(*chosen))));
    newData->trigger();
}

PriceEditorDialog& PriceLookupSubsystem::editor(PriceGroup group) {
    PriceEditorDialog*& made = group == PriceGroup::Tree ? treeEditor_ : codeEditor_;
    if (made == nullptr) {
        const PriceEditorTable& table =
            group == PriceGroup::Tree ? kTreePriceEditor : kCodePriceEditor;
        made = new PriceEditorDialog(
            table, host_.folders().dataRoot,
            [this]() -> Database& { return host_.quotationDatabase(); },
            [this] { return databaseFile(); },
            [this](const PriceRecord& price, Currency quantity, int row) {
                return writePrice(price, PriceSource::Editor, quantity, LineWriteMode::InsertFirst,
                                  Selection{row, row});
            },
            host_.dialogParent());
        made->applySettings(host_.environment());
    }
    return *made;
}

void PriceLookupSubsystem::registerLines(PriceGroup group) {
    host_.runCommand([this, group] {
        registerSelectedLines(host_.quotationDatabase(), group, host_.document(), host_.selection(),
                              today());
    });
    MessageBox::notify(host_.dialogParent(), q(kLinesRegisteredText));
    fillPages();
}

// 標準単価登録 and 管材単価登録 (tag -1) start the standard price program, 付属単価登録 and
// VHS単価登録 the accessory price program with their tag; neither is waited for.
void PriceLookupSubsystem::startCompanion(int tag) {
    const std::string_view name = tag < 0 ? kStandardPriceProgram : kAccessoryPriceProgram;
    const auto program = companionProgram(host_.folders().installFolder, name);
    if (!program) {
        MessageBox::error(host_.dialogParent(), q(companionMissingText(name)));
        return;
    }
    const std::string argument = tag < 0 ? standardPriceArgument(host_.folders(), databaseFile())
                                         : accessoryPriceArgument(tag, databaseFile());
    if (!startPrintProgram(*program, argument)) {
        MessageBox::error(host_.dialogParent(), q(companionMissingText(name)));
    }
}

} // namespace kerbina

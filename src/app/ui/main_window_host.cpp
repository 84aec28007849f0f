// What the main window offers the subsystems (SubsystemHost): the steps on the open quotation,
// the settings put into effect, and a page standing in place of the quotation page.
#include "app/ui/main_window.h"
#include "cover/ui/cover_page.h"
#include "grid/ui/quotation_view.h"
#include "records/line_kinds.h"
#include "settings/numbering_row.h"
#include "settings/register_settings.h"
#include "storage/database_health.h"
#include "storage/ui/quotation_list_view.h"
#include "widgets/calendar.h"
#include "widgets/qt_text.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>

namespace kerbina {

QuotationListView* MainWindow::quotationList() const {
    return findChild<QuotationListView*>();
}

bool MainWindow::handleCompanionMessage(int code, std::string_view target, std::string_view text) {
    return std::ranges::any_of(subsystems_, [&](const auto& subsystem) {
        return subsystem->handleCompanionMessage(code, target, text);
    });
}

int MainWindow::sidePanelWidth() const {
    return splitter_->sizes().value(0);
}

void MainWindow::changeQuotation(const std::function<void(DocumentState&, WorkStore&)>& work) {
    work(state_, session_.store());
    updateTotalsPanel();
}

void MainWindow::writeCover() {
    apply(session_.writeCover());
}

// The cover shows the number before it is taken into the header again: a cover edited before the
// number was issued would otherwise put its empty number back.
void MainWindow::showQuotationNumber() {
    apply({{DocumentChange::Kind::HeaderWritten, 0, state_.header.number}});
    apply(session_.writeCover());
}

void MainWindow::openCoverNumberEntry() {
    coverPage_->pressNumberButton();
}

void MainWindow::showItemName(int item) {
    view_->rebuildTabs();
    if (!display_.listMode) {
        view_->showItemTitle(
            q(splitNameSpec(state_.items[static_cast<std::size_t>(item)].name).first));
    }
}

// The stored quotation becomes the open quotation, with its cover in front. When it cannot be
// opened the page standing in its place stays.
bool MainWindow::openStoredQuotation(const std::string& number) {
    bool opened = false;
    runCommand([this, &number, &opened] {
        const SessionOutcome outcome = session_.openStoredQuotation(number, today());
        opened = outcome.done;
        if (opened) {
            showQuotationAgain();
        }
        showOpenedQuotation(outcome);
    });
    if (!opened && coveringPage_ != nullptr) {
        coverWithPage();
    }
    return opened;
}

void MainWindow::openAsUnsavedWork(const std::filesystem::path& file) {
    openQuotation(file, FileRole::Source);
}

std::optional<std::string> MainWindow::issueCopyNumber(const std::string& sourceNumber) {
    return session_.issueCopyNumber(sourceNumber);
}

DatabaseCheck MainWindow::checkQuotationDatabase() {
    return session_.checkQuotationDatabase();
}

void MainWindow::registerSettings(const RegisterOutcome& outcome) {
    session_.applyRegisteredSettings(outcome);
    view_->grid()->setShowGrid(outcome.displayStyle.horizontalGridLines);
    view_->grid()->viewport()->update();
    environmentEdited();
    coverPage_->setCaptions(outcome.displayStyle.coverCaptions,
                            numberButtonCaption(outcome.numbering.automatic));
    coverPage_->setNumbering(outcome.numbering);
}

void MainWindow::environmentEdited() {
    for (const auto& subsystem : subsystems_) {
        subsystem->environmentChanged();
    }
}

std::vector<SidePage> MainWindow::settingsTabs() {
    std::vector<SidePage> tabs;
    for (const auto& subsystem : subsystems_) {
        if (auto tab = subsystem->settingsTab()) {
            tabs.push_back(*tab);
        }
    }
    return tabs;
}

void MainWindow::showSidePage(QWidget* page) {
    sidePanel_->setCurrentIndex(sidePanel_->indexOf(page));
}

// The quotation stays open behind the page until another one is opened from it.
void MainWindow::showInPlaceOfQuotation(QWidget* page, QMenu* menu) {
    if (coveringPage_ != nullptr) {
        return;
    }
    if (page->parentWidget() != splitter_) {
        splitter_->addWidget(page);
        splitter_->setStretchFactor(splitter_->indexOf(page), 1);
    }
    sideTabsBeforeCover_.clear();
    for (int tab = 0; tab < sidePanel_->count(); ++tab) {
        sideTabsBeforeCover_.push_back(sidePanel_->isTabVisible(tab));
    }
    sideTabBeforeCover_ = sidePanel_->currentIndex();
    actionsOffForCover_.clear();
    const QList<QAction*> ownActions = menu->actions();
    for (const auto& [name, command] : commands_.all()) {
        if (command->isEnabled() && !ownActions.contains(command)) {
            actionsOffForCover_.push_back(command);
        }
    }
    coveringPage_ = page;
    coveringMenu_ = menu;
    coverWithPage();
}

// The quotation page, its menus and commands (shortcuts included) and the side pages of the
// quotation give way to the page. Repeated after anything that repainted the quotation's chrome.
void MainWindow::coverWithPage() {
    for (int tab = sidePanel_->count() - 1; tab >= 0; --tab) {
        const bool listPage = std::ranges::find(quotationListSidePages_, sidePanel_->widget(tab)) !=
                              quotationListSidePages_.end();
        sidePanel_->setTabVisible(tab, listPage);
        if (listPage) {
            sidePanel_->setCurrentIndex(tab);
        }
    }
    for (QAction* command : actionsOffForCover_) {
        command->setEnabled(false);
    }
    for (QAction* command : coveringMenu_->actions()) {
        command->setEnabled(true);
    }
    for (QAction* entry : menuBar()->actions()) {
        if (QMenu* menu = entry->menu()) {
            menu->setEnabled(menu == coveringMenu_);
        }
    }
    view_->hide();
    coveringPage_->show();
}

void MainWindow::showQuotationAgain() {
    if (coveringPage_ == nullptr) {
        return;
    }
    std::exchange(coveringPage_, nullptr)->hide();
    view_->show();
    for (int tab = 0; tab < sidePanel_->count(); ++tab) {
        sidePanel_->setTabVisible(tab, sideTabsBeforeCover_.at(static_cast<std::size_t>(tab)));
    }
    sidePanel_->setCurrentIndex(sideTabBeforeCover_);
    for (QAction* command : std::exchange(actionsOffForCover_, {})) {
        command->setEnabled(true);
    }
    for (QAction* command : coveringMenu_->actions()) {
        command->setEnabled(false);
    }
    for (QAction* entry : menuBar()->actions()) {
        if (QMenu* menu = entry->menu()) {
            menu->setEnabled(menu != coveringMenu_);
        }
    }
    updateMenusForMode();
    // The quotation page had no width while the page stood in its place: its columns (the
    // default ones are shares of the grid's width) are laid out again once it has its width back.
    QTimer::singleShot(0, this, [this] { applyGridLayout(); });
}

} // namespace kerbina

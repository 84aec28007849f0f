// The main window's quotation list page "見積一覧": entering and leaving it, and what the page
// hands to the window (open, copy, print) or the window's menu does on it (CSV, Excel, the
// addressee column).
#include "app/ui/main_window.h"
#include "app/ui/main_window_support.h"
#include "app/ui/message_box.h"
#include "base/path_text.h"
#include "grid/ui/quotation_view.h"
#include "output/csv_export.h"
#include "output/print_data.h"
#include "output/ui/print_launch.h"
#include "storage/quotation_copy.h"
#include "storage/quotation_rows.h"
#include "storage/ui/quotation_copy_dialog.h"
#include "storage/ui/quotation_list_view.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kerbina {
namespace {

constexpr const char* kListSideTab = "宛先一覧";

} // namespace

void TFKERBINA::buildListPageMenu() {
    listPageMenu_ = menuBar()->addMenu(QStringLiteral("見積一覧表(&Q)"));
    addCommand(listPageMenu_, "listPageCsv", QStringLiteral("ファイル一覧表をCSV出力"), {},
               &TFKERBINA::exportListCsv);
    addCommand(listPageMenu_, "listPageWorkbook", QStringLiteral("ファイル一覧・エクセル出力"), {},
               &TFKERBINA::exportListWorkbook);
    listPageMenu_->addSeparator();
    auto* addresseeGroup = new QActionGroup(this);
    for (const bool show : {true, false}) {
        QAction* choice =
            addCommand(listPageMenu_, show ? "listShowAddressee" : "listHideAddressee",
                       show ? QStringLiteral("宛先を表示する") : QStringLiteral("宛先を表示しない"),
                       {}, [this, show] { setListShowsAddressee(show); });
        choice->setCheckable(true);
        choice->setChecked(show == (environment_.FILE_OPT2 == 0));
        addresseeGroup->addAction(choice);
    }
    listPageMenu_->setEnabled(false);
    for (QAction* command : listPageMenu_->actions()) {
        command->setEnabled(false);
    }
}

// "ファイル読込(見積一覧表)": the list page takes the place of the quotation page. The quotation
// stays open behind it until another one is opened from the list.
void TFKERBINA::showQuotationList() {
    if (listPageShown_ ||
        (state_.modified && !askYesNo("編集中のデータが失われますが、よろしいですか？"))) {
        return;
    }
    auto* sidePage = sidePanel_->findChild<QWidget*>(QString::fromUtf8(kListSideTab));
    if (listView_ == nullptr) {
        listView_ = new QuotationListView(session_.quotationDatabase(), session_.searchIndex(),
                                          *this, folders_.dataRoot);
        listView_->hide();
        listView_->setShowAddressee(environment_.FILE_OPT2 == 0);
        // The addressee and tag lists live in the side panel while the list is shown.
        auto* sideBox = new QVBoxLayout(sidePage);
        sideBox->setContentsMargins(2, 2, 2, 2);
        sideBox->addWidget(listView_->sideLists());
        splitter_->addWidget(listView_);
        splitter_->setStretchFactor(splitter_->indexOf(listView_), 1);
        connect(listView_, &QuotationListView::openRequested, this, &TFKERBINA::openFromList);
        connect(listView_, &QuotationListView::copyRequested, this,
                [this] { runCommand([this] { copyFromList(); }); });
        connect(listView_, &QuotationListView::printRequested, this,
                [this](const QStringList& numbers) {
                    runCommand([this, &numbers] { printFromList(numbers); });
                });
        connect(listView_, &QuotationListView::closeRequested, this,
                [this] { runCommand([this] { leaveQuotationList(); }); });
        connect(listView_, &QuotationListView::workbookWritten, this,
                &TFKERBINA::openWrittenWorkbook);
    }
    listView_->setTitles(environment_.title1, environment_.title2);

    sideTabsBeforeList_.clear();
    for (int tab = 0; tab < sidePanel_->count(); ++tab) {
        sideTabsBeforeList_.push_back(sidePanel_->isTabVisible(tab));
    }
    sideTabBeforeList_ = sidePanel_->currentIndex();
    actionsOffForList_.clear();
    const QList<QAction*> ownActions = listPageMenu_->actions();
    for (const auto& [name, command] : actions_) {
        if (command->isEnabled() && !ownActions.contains(command)) {
            actionsOffForList_.push_back(command);
        }
    }
    listPageShown_ = true;
    coverWithListPage();
    listView_->reread(true);
}

// The quotation page, its menus and commands (shortcuts included) and every side tab but
// "宛先一覧" give way to the list. Repeated after anything that repainted the quotation's chrome.
void TFKERBINA::coverWithListPage() {
    const int listTab =
        sidePanel_->indexOf(sidePanel_->findChild<QWidget*>(QString::fromUtf8(kListSideTab)));
    for (int tab = 0; tab < sidePanel_->count(); ++tab) {
        sidePanel_->setTabVisible(tab, tab == listTab);
    }
    sidePanel_->setCurrentIndex(listTab);
    for (QAction* command : actionsOffForList_) {
        command->setEnabled(false);
    }
    for (QAction* command : listPageMenu_->actions()) {
        command->setEnabled(true);
    }
    for (QAction* entry : menuBar()->actions()) {
        if (QMenu* menu = entry->menu()) {
            menu->setEnabled(menu == listPageMenu_);
        }
    }
    view_->hide();
    listView_->show();
}

// " 閉じる": back to the quotation page as it was left.
void TFKERBINA::leaveQuotationList() {
    if (!listPageShown_) {
        return;
    }
    listPageShown_ = false;
    listView_->hide();
    view_->show();
    for (int tab = 0; tab < sidePanel_->count(); ++tab) {
        sidePanel_->setTabVisible(tab, sideTabsBeforeList_.at(static_cast<std::size_t>(tab)));
    }
    sidePanel_->setCurrentIndex(sideTabBeforeList_);
    for (QAction* command : std::exchange(actionsOffForList_, {})) {
        command->setEnabled(true);
    }
    for (QAction* command : listPageMenu_->actions()) {
        command->setEnabled(false);
    }
    for (QAction* entry : menuBar()->actions()) {
        if (QMenu* menu = entry->menu()) {
            menu->setEnabled(menu != listPageMenu_);
        }
    }
    updateMenusForMode();
    showModuleTabs();
    // The quotation page had no width while the list stood in its place: its columns (the default
    // ones are shares of the grid's width) are laid out again once it has its width back.
    QTimer::singleShot(0, this, [this] { applyGridLayout(); });
}

// A double-click on a row: the stored quotation becomes the open quotation, with its cover in
// front. When it cannot be opened the list stays.
void TFKERBINA::openFromList(const QString& number) {
    bool opened = false;
    runCommand([this, &number, &opened] {
        const SessionOutcome outcome = session_.openStoredQuotation(s(number), today());
        opened = outcome.done;
        if (opened) {
            leaveQuotationList();
        }
        showOpenedQuotation(outcome);
    });
    if (!opened && listPageShown_) {
        coverWithListPage();
    }
}

// "複　製": the copy dialog, then the copies of the marked quotations, numbered as it chose.
void TFKERBINA::copyFromList() {
    QuotationCopyDialog dialog(readCopyCounter(session_.quotationDatabase()),
                               folders_.dataRoot / "temp", today(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const CopyClock clock{today(), dateTimeText(std::chrono::system_clock::now())};
    listView_->copyMarked(dialog.request(), clock, [this](const std::string& source) {
        return session_.issueCopyNumber(source);
    });
    sidePanel_->setCurrentIndex(
        sidePanel_->indexOf(sidePanel_->findChild<QWidget*>(QString::fromUtf8(kListSideTab))));
}

// "見積印刷": the stored texts of the marked quotations as one print batch, then the viewer.
void TFKERBINA::printFromList(const QStringList& numbers) {
    std::vector<std::pair<std::string, std::string>> marked;
    for (const QString& number : numbers) {
        if (auto text = storedQuotationText(session_.quotationDatabase(), s(number))) {
            marked.emplace_back(s(number), std::move(*text));
        } else {
            notify("見積番号 " + s(number) + " の見積はデータベースにありません。");
        }
    }
    if (marked.empty()) {
        return;
    }
    const auto request = printStoredQuotations(printSettings(), marked, *this);
    if (request && !startPrintProgram(request->program, request->argument)) {
        MessageBox::error(this, q(printProgramFailedMessage(request->program)));
    }
}

// "ファイル一覧表をCSV出力": the rows the list shows, to a file the user names.
void TFKERBINA::exportListCsv() {
    if (listView_ == nullptr) {
        return;
    }
    const auto file = chooseFileToSave("CSV出力", folders_.quotationFolder / "見積一覧表.csv",
                                       std::string(kListCsvFilter), "csv");
    if (file) {
        listView_->exportCsv(*file);
    }
}

// "ファイル一覧・エクセル出力": every row matching the list's filters, as a workbook the desktop
// then opens.
void TFKERBINA::exportListWorkbook() {
    if (listView_ == nullptr) {
        return;
    }
    const auto file =
        chooseFileToSave("ファイル一覧・エクセル出力", folders_.quotationFolder / "見積一覧表.xlsx",
                         "Excelファイル (*.xlsx)", "xlsx");
    if (file) {
        listView_->exportWorkbook(*file);
    }
}

void TFKERBINA::setListShowsAddressee(bool show) {
    if (listView_ == nullptr) {
        return;
    }
    listView_->setShowAddressee(show);
}

} // namespace kerbina

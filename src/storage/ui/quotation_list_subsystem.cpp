#include "storage/ui/quotation_list_subsystem.h"

#include "base/folders.h"
#include "base/path_text.h"
#include "base/user_prompt.h"
#include "output/csv_export.h"
#include "output/print_data.h"
#include "records/document_state.h"
#include "settings/environment_settings.h"
#include "storage/list_export.h"
#include "storage/quotation_copy.h"
#include "storage/quotation_rows.h"
#include "storage/ui/quotation_copy_dialog.h"
#include "storage/ui/quotation_list_view.h"
#include "widgets/calendar.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"
#include "widgets/print_start.h"
#include "widgets/qt_text.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>

namespace kerbina {

QuotationListSubsystem::QuotationListSubsystem(SubsystemHost& host) : host_(host) {}

std::vector<SidePage> QuotationListSubsystem::sidePages() {
    sidePage_ = new QWidget;
    sidePage_->setObjectName(QStringLiteral("宛先一覧"));
    return {SidePage{QStringLiteral("宛先一覧"), sidePage_, SidePageFor::QuotationList}};
}

void QuotationListSubsystem::addCommands(std::string_view place, QMenu& menu,
                                         CommandSet& commands) {
    if (place == menu_place::kFileOpen) {
        commands.add(&menu, "quotationList", QStringLiteral("ファイル読込(見積一覧表)"), {},
                     CommandPage::Both, [this] { showQuotationList(); });
    }
}

void QuotationListSubsystem::addMenus(QMenuBar& bar, CommandSet& commands) {
    menu_ = bar.addMenu(QStringLiteral("見積一覧表(&Q)"));
    commands.add(menu_, "listPageCsv", QStringLiteral("ファイル一覧表をCSV出力"), {},
                 CommandPage::Both, [this] { exportListCsv(); });
    commands.add(menu_, "listPageWorkbook", QStringLiteral("ファイル一覧・エクセル出力"), {},
                 CommandPage::Both, [this] { exportListWorkbook(); });
    menu_->addSeparator();
    auto* addresseeGroup = new QActionGroup(menu_);
    for (const bool show : {true, false}) {
        QAction* choice = commands.add(menu_, show ? "listShowAddressee" : "listHideAddressee",
                                       show ? QStringLiteral("宛先を表示する")
                                            : QStringLiteral("宛先を表示しない"),
                                       {}, CommandPage::Both, [this, show] {
                                           if (listView_ != nullptr) {
                                               listView_->setShowAddressee(show);
                                           }
                                       });
        choice->setCheckable(true);
        choice->setChecked(show == (host_.environment().listAddresseeChoice == 0));
        addresseeGroup->addAction(choice);
    }
    menu_->setEnabled(false);
    for (QAction* command : menu_->actions()) {
        command->setEnabled(false);
    }
}

void QuotationListSubsystem::windowClosing() {
    if (listView_ != nullptr) {
        listView_->saveLayout();
    }
}

// "ファイル読込(見積一覧表)": the list page takes the place of the quotation page. The quotation
// stays open behind it until another one is opened from the list.
void QuotationListSubsystem::showQuotationList() {
    if (host_.quotationCovered() ||
        (host_.document().modified &&
         !host_.prompt().askYesNo("編集中のデータが失われますが、よろしいですか？"))) {
        return;
    }
    if (listView_ == nullptr) {
        listView_ = new QuotationListView(host_.quotationDatabase(), host_.searchIndex(),
                                          host_.prompt(), host_.folders().dataRoot);
        listView_->hide();
        listView_->setShowAddressee(host_.environment().listAddresseeChoice == 0);
        // The addressee and tag lists live in the side page while the list is shown.
        auto* sideBox = new QVBoxLayout(sidePage_);
        sideBox->setContentsMargins(2, 2, 2, 2);
        sideBox->addWidget(listView_->sideLists());
        QObject::connect(listView_, &QuotationListView::openRequested, listView_,
                         [this](const QString& number) { openFromList(number); });
        QObject::connect(listView_, &QuotationListView::copyRequested, listView_,
                         [this] { host_.runCommand([this] { copyFromList(); }); });
        QObject::connect(listView_, &QuotationListView::printRequested, listView_,
                         [this](const QStringList& numbers) {
                             host_.runCommand([this, &numbers] { printFromList(numbers); });
                         });
        QObject::connect(listView_, &QuotationListView::closeRequested, listView_,
                         [this] { host_.runCommand([this] { host_.showQuotationAgain(); }); });
        QObject::connect(listView_, &QuotationListView::workbookWritten, listView_,
                         [this](const QString& file) { openWrittenWorkbook(file); });
    }
    listView_->setTitles(host_.environment().siteNameTitle, host_.environment().workNameTitle);
    host_.showInPlaceOfQuotation(listView_, menu_);
    listView_->reread(true);
}

// A double-click on a row: the stored quotation becomes the open quotation, with its cover in
// front. When it cannot be opened the list stays.
void QuotationListSubsystem::openFromList(const QString& number) {
    host_.openStoredQuotation(s(number));
}

// "複　製": the copy dialog, then the copies of the marked quotations, numbered as it chose.
void QuotationListSubsystem::copyFromList() {
    QuotationCopyDialog dialog(readCopyCounter(host_.quotationDatabase()),
                               host_.folders().dataRoot / "temp", today(), host_.dialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const CopyClock clock{today(), dateTimeText(std::chrono::system_clock::now())};
    listView_->copyMarked(dialog.request(), clock, [this](const std::string& source) {
        return host_.issueCopyNumber(source);
    });
    host_.showSidePage(sidePage_);
}

// "見積印刷": the stored texts of the marked quotations as one print batch, then the viewer.
void QuotationListSubsystem::printFromList(const QStringList& numbers) {
    std::vector<std::pair<std::string, std::string>> marked;
    for (const QString& number : numbers) {
        if (auto text = storedQuotationText(host_.quotationDatabase(), s(number))) {
            marked.emplace_back(s(number), std::move(*text));
        } else {
            host_.prompt().notify("見積番号 " + s(number) + " の見積はデータベースにありません。");
        }
    }
    if (marked.empty()) {
        return;
    }
    if (const auto request = printStoredQuotations(printSettings(host_), marked, host_.prompt())) {
        startPrint(host_.dialogParent(), *request);
    }
}

// "ファイル一覧表をCSV出力": the rows the list shows, to a file the user names.
void QuotationListSubsystem::exportListCsv() {
    if (listView_ == nullptr) {
        return;
    }
    const auto file = host_.prompt().chooseFileToSave(
        "CSV出力", host_.folders().quotationFolder / "見積一覧表.csv", std::string(kListCsvFilter),
        "csv");
    if (file) {
        listView_->exportCsv(*file);
    }
}

// "ファイル一覧・エクセル出力": every row matching the list's filters, as a workbook the desktop
// then opens.
void QuotationListSubsystem::exportListWorkbook() {
    if (listView_ == nullptr) {
        return;
    }
    const auto file = host_.prompt().chooseFileToSave(
        "ファイル一覧・エクセル出力", host_.folders().quotationFolder / "見積一覧表.xlsx",
        "Excelファイル (*.xlsx)", "xlsx");
    if (file) {
        listView_->exportWorkbook(*file);
    }
}

// The workbook of "ファイル一覧・エクセル出力" opens in the desktop's spreadsheet program; where
// none is set up for it, the user is told where the file is instead of seeing nothing happen.
void QuotationListSubsystem::openWrittenWorkbook(const QString& file) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        MessageBox::error(host_.dialogParent(), q(workbookNotOpenedText(pathFromText(s(file)))));
    }
}

} // namespace kerbina

// The main window: construction, start-up and close, what the core asks of the window, and the
// page in front. Its commands live in main_window_files.cpp (quotation files),
// main_window_edit.cpp (grid, view and calculation commands) and main_window_menus.cpp; what it
// offers the subsystems in main_window_host.cpp.
#include "app/ui/main_window.h"

#include "app/startup.h"
#include "base/conf_file.h"
#include "cover/ui/cover_page.h"
#include "grid/column_layout.h"
#include "grid/ui/quotation_grid_model.h"
#include "grid/ui/quotation_view.h"
#include "records/line_kinds.h"
#include "settings/numbering_row.h"
#include "settings/settings_files.h"
#include "storage/database_files.h"
#include "storage/ui/save_dialog.h"
#include "widgets/application_title.h"
#include "widgets/calendar.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/window_position.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <exception>

namespace kerbina {

namespace {

constexpr const char* kWindowPositionName = "FKerbina";

} // namespace

MainWindow::MainWindow(AppFolders folders, ModulePresence modules,
                       const std::vector<SubsystemFactory>& subsystems, QWidget* parent)
    : QMainWindow(parent), session_(std::move(folders), modules, *this),
      commands_(
          *this, [this](const std::function<void()>& handler) { runCommand(handler); },
          [this] { return display_.listMode; }) {
    setObjectName(QStringLiteral("TFKERBINA"));
    setWindowTitle(QString::fromUtf8(applicationTitle(modules_)));
    session_.setSaveDialog([this](SaveContext& context) { return runSaveDialog(context); });
    session_.setLockWait(new LockWaitBox(this));
    // Before the open sheet is written the cover's texts go to the top of their history lists
    // (nothing changes when they are there already) and the cover into the header.
    session_.setCoverSource([this](QuotationHeader& header) {
        coverPage_->updateHistories();
        coverPage_->writeCover(header);
    });
    view_ = new QuotationView(state_, display_);
    for (const SubsystemFactory& make : subsystems) {
        subsystems_.push_back(make(*this));
    }
    buildWidgets();
    buildMenus();
    restoreWindowPosition();
}

MainWindow::~MainWindow() = default;

QTableView* MainWindow::grid() const {
    return view_->grid();
}

QTabBar* MainWindow::sheetTabs() const {
    return view_->tabs();
}

void MainWindow::buildWidgets() {
    resize(1280, 800);
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Horizontal, central);
    outer->addWidget(splitter_);

    // The side panel: one page per subsystem that shows something beside the quotation.
    sidePanel_ = new QTabWidget(splitter_);
    sidePanel_->setObjectName(QStringLiteral("sidePanel"));
    // The split reads every sheet's work file: it is worked out once the window has been idle for
    // a moment, never on the way of a keystroke.
    costSplitTimer_ = new QTimer(this);
    costSplitTimer_->setSingleShot(true);
    costSplitTimer_->setInterval(300);
    connect(costSplitTimer_, &QTimer::timeout, this, &MainWindow::showCostSplit);
    connect(sidePanel_, &QTabWidget::currentChanged, costSplitTimer_, qOverload<>(&QTimer::start));
    for (const auto& subsystem : subsystems_) {
        for (const SidePage& side : subsystem->sidePages()) {
            const int tab = sidePanel_->addTab(side.page, side.caption);
            if (side.shownWith == SidePageFor::QuotationList) {
                sidePanel_->setTabVisible(tab, false);
                quotationListSidePages_.push_back(side.page);
            }
        }
    }
    // The window shows the header, the totals and the number on the cover's page.
    coverPage_ = sidePanel_->findChild<CoverPage*>();

    connect(view_, &QuotationView::itemNameClicked, this,
            [this] { runCommand([this] { runWindowCommand("uchiwake_title"); }); });
    connect(view_, &QuotationView::namedCommandClicked, this,
            [this](const QString& name) { runCommand([this, name] { runNamed(name); }); });
    connect(view_, &QuotationView::tabChosen, this, &MainWindow::onTabChanged);
    connect(view_, &QuotationView::rowDoubleClicked, this, &MainWindow::onGridDoubleClicked);
    // After the editor has closed: the write changes the rows the typed line touches.
    connect(view_->model(), &QuotationGridModel::cellTyped, this, &MainWindow::onCellTyped,
            Qt::QueuedConnection);

    splitter_->addWidget(sidePanel_);
    splitter_->addWidget(view_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, 1020});
    setCentralWidget(central);

    // Panels 0 to 3 hold the folders and the database file that companion programs are started
    // with; they are not shown, the bar shows the undo counters and the quotation's file name.
    for (int panel = 0; panel < 6; ++panel) {
        auto* label = new QLabel(statusBar());
        label->setObjectName(QStringLiteral("statusPanel%1").arg(panel));
        statusBar()->addWidget(label, panel == 5 ? 1 : 0);
        label->setVisible(panel >= 4);
        statusPanels_.push_back(label);
    }
    setStatusPanel(0, pathText(folders_.dataRoot));
    setStatusPanel(1, pathText(folders_.databaseFolder));
}

// Window positions are the whole window with its frame, as other programs store them: the frame
// is placed at the stored position, and the size left for the window's inside once the frame is
// known (when the window is first shown).
void MainWindow::restoreWindowPosition() {
    if (const auto stored = storedWindowPosition(folders_.dataRoot, kWindowPositionName)) {
        move(stored->topLeft());
        resize(stored->size());
        restoredFrameSize_ = stored->size();
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (restoredFrameSize_.isValid()) {
        resize(restoredFrameSize_ - (frameGeometry().size() - geometry().size()));
        restoredFrameSize_ = QSize();
    }
}

void MainWindow::saveWindowPosition() {
    try {
        storeWindowPosition(folders_.dataRoot, kWindowPositionName, *this);
    } catch (const std::exception& error) {
        MessageBox::error(this, QString::fromStdString(error.what()));
    }
}

bool MainWindow::startUp(const std::optional<std::filesystem::path>& fileToOpen) {
    reportedFaults_.clear();
    // A settings file that cannot be read (a folder, a device, damaged) is reported; the program
    // goes on with the values it has.
    try {
        session_.openDatabases();
        session_.readSettingsFiles();
    } catch (const std::exception& error) {
        showError(error);
    }
    setStatusPanel(3, pathText(databaseFilePath(folders_.databaseFolder, DatabaseFile::Quotation)));
    environmentEdited();
    // Shaded rows replace the horizontal grid lines; the delegate draws the vertical ones.
    view_->grid()->setShowGrid(!display_.alternateRowShading);

    // The password comes before anything touches the work files of the previous run.
    bool passwordRequired = false;
    try {
        passwordRequired = startupPasswordRequired(folders_.dataRoot);
    } catch (const std::exception& error) {
        showError(error);
    }
    if (passwordRequired) {
        const auto entry = MessageBox::input(this, QStringLiteral("見積・見積ソフト「ケルビナ」"),
                                             QStringLiteral("ユ－ザ－パスワ－ド入力"), true);
        if (!startupPasswordAccepted(
                folders_.dataRoot, entry ? std::optional<std::string>(s(*entry)) : std::nullopt)) {
            return false;
        }
    }

    session_.readSettings();
    try {
        session_.beginRun();
    } catch (const std::exception& error) {
        MessageBox::error(this, QString::fromStdString(error.what()));
    }
    // The run starts with the same new quotation as "新規作成" gives (its [KEYCODE] included: the
    // display mode 1 set before it is replaced by the new quotation's header).
    apply(session_.startNewQuotation(today()));
    apply(session_.showSheetPage());
    if (const auto layout = readColumnLayout(folders_.dataRoot, gridLayout(state_, display_));
        layout && layout->splitter2.value_or(0) > 0) {
        const int total = splitter_->sizes().value(0) + splitter_->sizes().value(1);
        splitter_->setSizes({*layout->splitter2, std::max(0, total - *layout->splitter2)});
    }
    state_.modified = false;
    // After a run that did not end cleanly the user may take its last backup instead of the file
    // named on the command line; the backup opens as unsaved work.
    if (!offerCrashBackup() && fileToOpen) {
        // A file that cannot be read is reported; the empty quotation stays open.
        runCommand([this, &fileToOpen] { openQuotation(*fileToOpen, FileRole::OwnFile); });
    }

    const auto confValue = [this](const char* key) {
        try {
            return readConfValue(folders_.dataRoot, key);
        } catch (const std::exception& error) {
            showError(error);
            return std::string();
        }
    };
    const std::string dataDir = confValue("[Data_Dir]");
    if (!dataDir.empty()) {
        folders_.quotationFolder = pathFromText(dataDir);
        std::error_code error;
        std::filesystem::create_directories(folders_.quotationFolder, error);
    }
    setStatusPanel(2, pathText(folders_.quotationFolder));
    const std::string statusBarSetting = confValue("[status_bar]");
    if (statusBarSetting == "TRUE" || statusBarSetting == "FALSE") {
        statusBar()->setVisible(statusBarSetting == "TRUE");
    }
    if (height() < 800) {
        statusBar()->setVisible(false);
    }
    sidePanel_->setCurrentIndex(0);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!offerToSave()) {
        saveWindowPosition();
        event->ignore();
        return;
    }
    for (const auto& subsystem : subsystems_) {
        subsystem->windowClosing();
    }
    saveWindowPosition();
    endRun(folders_.dataRoot);
    event->accept();
}

UserPrompt::Answer MainWindow::askYesNoCancel(const std::string& question) {
    switch (MessageBox::ask(this, q(question), MessageBox::Buttons::YesNoCancel)) {
    case MessageBox::Answer::Yes:
        return Answer::Yes;
    case MessageBox::Answer::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool MainWindow::askYesNoDefaultNo(const std::string& question) {
    return MessageBox::ask(this, q(question), MessageBox::Buttons::YesNoDefaultNo) ==
           MessageBox::Answer::Yes;
}

// Shows what a session operation changed, in the order it changed it: the rows it changed are
// repainted, inserted or removed in the grid; a new quotation, another page, other settings or
// columns lay the grid out anew.
void MainWindow::apply(const DocumentChanges& changes) {
    using Kind = DocumentChange::Kind;
    QuotationGridModel* model = view_->model();
    for (const DocumentChange& change : changes) {
        switch (change.kind) {
        case Kind::QuotationStarted:
            clearView();
            applyGridLayout();
            break;
        case Kind::HeaderReplaced:
            showCover();
            sidePanel_->setCurrentIndex(0);
            break;
        case Kind::HeaderWritten:
            statusPanels_[5]->setToolTip(q(change.text));
            coverPage_->showNumber(change.text);
            break;
        case Kind::ItemsChanged:
            view_->rebuildTabs();
            break;
        case Kind::SheetOpened:
            view_->showItemTitle(q(splitNameSpec(change.text).first));
            break;
        case Kind::SettingsChanged:
            model->refresh();
            break;
        case Kind::ColumnsChanged:
            applyGridLayout();
            break;
        case Kind::TotalsChanged:
            // The grid grows with the page; it shrinks only for a new quotation.
            model->setGridRows(std::max(model->gridRows(), session_.gridRows()));
            updateTotalsPanel();
            break;
        case Kind::UndoMoved:
            setStatusPanel(4, change.text);
            break;
        case Kind::RowsChanged:
            model->rowsChanged(change.first, change.last);
            break;
        case Kind::RowsInserted:
            model->rowsInserted(change.first, change.last);
            break;
        case Kind::RowsRemoved:
            model->rowsRemoved(change.first, change.last);
            break;
        case Kind::PageChosen:
            if (change.sheet == 0) {
                view_->showListTabQuietly();
            } else {
                view_->selectTabOfSheet(change.sheet);
            }
            break;
        case Kind::PageEntered:
            showPageWidgets();
            applyGridLayout();
            break;
        case Kind::FileChanged:
            showOwnFile();
            break;
        }
    }
}

int MainWindow::sheetOfTab(int tab) const {
    return view_->sheetOfTab(tab);
}

void MainWindow::applyGridLayout() {
    const GridLayout layout = gridLayout(state_, display_);
    view_->applyColumnWidths(
        layout,
        loadColumnLayout(folders_.dataRoot, layout, view_->grid()->viewport()->width()).widths);
    for (const auto& subsystem : subsystems_) {
        subsystem->gridLaidOut();
    }
}

void MainWindow::clearView() {
    view_->showSheetTotals(std::nullopt);
    view_->model()->setGridRows(session_.gridRows());
    view_->grid()->scrollToTop();
    selectRows(1, 1);
}

// Long paths are shortened in the middle; the whole text is the panel's hint.
void MainWindow::setStatusPanel(int panel, const std::string& text) {
    constexpr int kPanelWidth = 260;
    QLabel* label = statusPanels_[static_cast<std::size_t>(panel)];
    label->setToolTip(q(text));
    label->setText(label->fontMetrics().elidedText(q(text), Qt::ElideMiddle, kPanelWidth));
}

std::optional<std::filesystem::path>
MainWindow::chooseFileToOpen(const std::string& caption, const std::filesystem::path& start,
                             const std::string& filter) {
    const QString file = MessageBox::openFileName(this, q(caption), q(pathText(start)), q(filter));
    return file.isEmpty() ? std::nullopt : std::optional(pathFromText(s(file)));
}

std::optional<std::filesystem::path>
MainWindow::chooseFileToSave(const std::string& caption, const std::filesystem::path& suggested,
                             const std::string& filter, const std::string& suffix) {
    const QString file =
        MessageBox::saveFileName(this, q(caption), q(pathText(suggested)), q(filter), q(suffix));
    return file.isEmpty() ? std::nullopt : std::optional(pathFromText(s(file)));
}

bool MainWindow::askYesNo(const std::string& text) {
    return MessageBox::ask(this, q(text), MessageBox::Buttons::YesNo) == MessageBox::Answer::Yes;
}

bool MainWindow::askText(const std::string& question, std::string& text) {
    const auto entered =
        MessageBox::input(this, QApplication::applicationName(), q(question), false, q(text));
    if (!entered) {
        return false;
    }
    text = entered->toStdString();
    return true;
}

void MainWindow::notify(const std::string& text) {
    MessageBox::notify(this, q(text));
}

// A database that cannot be used fails every statement of a step (at start-up the file checks,
// the settings and the numbering row) with the same message: each message is shown once per
// action.
void MainWindow::reportError(std::string_view, std::string_view detail) {
    const QString message = QString::fromUtf8(detail.data(), static_cast<int>(detail.size()));
    if (reportedFaults_.contains(message)) {
        return;
    }
    reportedFaults_.insert(message);
    MessageBox::error(this, message);
}

// An error in the system's words, a database error as its fault message; each once per action
// (a settings file that cannot be read fails every read of it).
void MainWindow::showError(const std::exception& error) {
    reportError(kSqlErrorText, messageForUser(error));
}

bool MainWindow::runCommand(const std::function<void()>& command) {
    if (commandDepth_ == 0) {
        reportedFaults_.clear();
    }
    ++commandDepth_;
    const RunOutcome outcome = session_.run(command);
    --commandDepth_;
    if (outcome.error) {
        reportError(kSqlErrorText, *outcome.error);
    }
    apply(outcome.changes);
    for (const std::string& notice : outcome.notices) {
        MessageBox::notify(this, q(notice));
    }
    return outcome.succeeded;
}

void MainWindow::onTabChanged(int tab) {
    runCommand([this, tab] { apply(session_.showPage(sheetOfTab(tab))); });
}

void MainWindow::showCover() {
    const MainSettings& settings = session_.settings();
    coverPage_->setCaptions(settings.coverCaptions, settings.quotationNumberCaption);
    coverPage_->setNumbering(NumberingOptions{settings.autoNumbering, settings.perCustomerNumbering,
                                              settings.offerNumberAfterCustomerPick});
    coverPage_->readCover(&state_.header);
    session_.coverShown();
}

// The tool page, title bar and menus of the page in front.
void MainWindow::showPageWidgets() {
    view_->showPage();
    updateMenusForMode();
}

void MainWindow::updateMenusForMode() {
    const bool sheet = !display_.listMode;
    editMenu_->setEnabled(sheet);
    convertMenu_->setEnabled(sheet);
    listMenu_->setEnabled(!sheet);
    // The grid's context menu follows the page in front.
    for (QAction* shown : view_->grid()->actions()) {
        view_->grid()->removeAction(shown);
    }
    // A command of a subsystem that is not present is left out.
    const QString commands =
        sheet
            ? QStringLiteral("copy cut pasteInserting pasteOverwriting insert erase delete moveUp "
                             "moveDown pasteClipboard cursorNameToSpecification "
                             "cursorSpecificationToName smallSum midSum rangeSum hiddenRangeSum "
                             "sumLine tax calculatedRate calculatedLabour calculatedAdditionalRate "
                             "calculatedPlainLine comment properties registerCodePrice "
                             "registerTreePrice")
            : QStringLiteral("listUndo listTransfer listCopy listPaste listInsert listDelete "
                             "listHierarchy listComment listNote listReduction listExpenses "
                             "listTax listSmallSum listMidSum listSumLine listCalcSettings");
    for (const QString& name : commands.split(QLatin1Char(' '))) {
        if (QAction* command = action(name)) {
            view_->grid()->addAction(command);
        }
    }
}

void MainWindow::updateTotalsPanel() {
    view_->showSheetTotals(session_.totals().sheet);
    coverPage_->showTotals(session_.totals());
    costSplitTimer_->start();
}

// Only while the cover page is in front, and again when it comes to the front.
void MainWindow::showCostSplit() {
    if (sidePanel_->currentWidget() != coverPage_) {
        return;
    }
    if (const auto split = session_.costSplit()) {
        coverPage_->showCostSplit(*split);
    }
}

Selection MainWindow::selection() const {
    const auto [top, bottom] = view_->selectedRows();
    return Selection{top, bottom};
}

void MainWindow::selectRows(int top, int bottom) {
    view_->selectRows(top, bottom);
}

} // namespace kerbina

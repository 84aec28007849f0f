#include "app/ui/main_window.h"

#include "app/app_title.h"
#include "app/startup.h"
#include "app/ui/message_box.h"
#include "base/conf_file.h"
#include "base/file_io.h"
#include "calc/totals.h"
#include "calc/ui/calc_settings_dialog.h"
#include "document/direct_read.h"
#include "document/quotation_file.h"
#include "document/quotation_file_name.h"
#include "document/ui/backup_list_dialog.h"
#include "document/undo.h"
#include "document/work_store.h"
#include "grid/column_layout.h"
#include "grid/item_commands.h"
#include "grid/named_commands.h"
#include "grid/row_commands.h"
#include "grid/ui/quotation_grid_delegate.h"
#include "grid/ui/quotation_grid_model.h"
#include "money/rounding.h"
#include "records/line_kinds.h"
#include "settings/numbering_row.h"
#include "settings/settings_files.h"
#include "storage/database_files.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>
#include <exception>
#include <span>

namespace kerbina {

namespace {

constexpr const char* kWindowPositionName = "FKerbina";
constexpr int kDefaultGridRows = 101;
constexpr int kRowHeight = 22;
constexpr int kFontPixels = 13;

QString q(const std::string& text) {
    return QString::fromStdString(text);
}
std::string s(const QString& text) {
    return text.toStdString();
}

std::chrono::year_month_day today() {
    return std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
}

QFont gridFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("IPAGothic")});
    font.setPixelSize(kFontPixels);
    return font;
}

QLabel* totalLabel(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(120);
    label->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: black; padding: 2px 6px; }"));
    return label;
}

} // namespace

TFKERBINA::TFKERBINA(AppFolders folders, ModulePresence modules, QWidget* parent)
    : QMainWindow(parent), folders_(std::move(folders)), modules_(modules) {
    setObjectName(QStringLiteral("TFKERBINA"));
    setWindowTitle(QString::fromUtf8(applicationTitle(modules_)));
    store_.workFolder = folders_.dataRoot / "temp";
    store_.backupFolder = folders_.dataRoot / "backup";
    buildWidgets();
    buildMenus();
    buildToolPages();
    calcSettingsDialog_ = new TFCalcSettings_Dlg(this);
    restoreWindowPosition();
}

TFKERBINA::~TFKERBINA() = default;

// ---------------------------------------------------------------------------------------------
// Construction

void TFKERBINA::buildWidgets() {
    resize(1280, 800);
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Horizontal, central);
    outer->addWidget(splitter_);

    sidePanel_ = new QTabWidget(splitter_);
    sidePanel_->setObjectName(QStringLiteral("sidePanel"));
    for (const char* caption : {"表紙・合計", "仕様単価", "登録単価", "パーツファイル", "宛先一覧",
                                "配管工事編", "ダクト工事編"}) {
        auto* page = new QWidget(sidePanel_);
        page->setObjectName(QString::fromUtf8(caption));
        sidePanel_->addTab(page, QString::fromUtf8(caption));
    }
    buildCoverTotals(sidePanel_->widget(0));
    sidePanel_->setTabVisible(5, modules_.piping);
    sidePanel_->setTabVisible(6, modules_.duct);

    auto* quotationPage = new QWidget(splitter_);
    auto* page = new QVBoxLayout(quotationPage);
    page->setContentsMargins(2, 2, 2, 2);
    page->setSpacing(2);

    // Title bar: the breakdown item on the left, the sheet totals on the right.
    auto* titleBar = new QWidget(quotationPage);
    titleBar->setObjectName(QStringLiteral("titleBar"));
    titleBar->setAutoFillBackground(true);
    titleBar->setStyleSheet(
        QStringLiteral("#titleBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                       "stop:0 #3b4a6b, stop:1 #1f2940); } #titleBar QLabel#itemTitle { color: "
                       "white; font-weight: bold; }"));
    auto* title = new QHBoxLayout(titleBar);
    title->setContentsMargins(6, 3, 6, 3);
    itemNameButton_ = new QPushButton(QStringLiteral("内訳名"), titleBar);
    itemNameButton_->setObjectName(QStringLiteral("itemNameButton"));
    itemTitle_ = new QLabel(titleBar);
    itemTitle_->setObjectName(QStringLiteral("itemTitle"));
    title->addWidget(itemNameButton_);
    title->addWidget(itemTitle_, 1);
    totalsPanel_ = new QWidget(titleBar);
    auto* totals = new QHBoxLayout(totalsPanel_);
    totals->setContentsMargins(0, 0, 0, 0);
    auto* sumCaption = new QLabel(QStringLiteral("合 計"), totalsPanel_);
    sumCaption->setStyleSheet(QStringLiteral("color: white;"));
    netButton_ = new QPushButton(QStringLiteral("仕切"), totalsPanel_);
    netButton_->setObjectName(QStringLiteral("netButton"));
    netTotal_ = totalLabel(totalsPanel_);
    netTotal_->setObjectName(QStringLiteral("netTotal"));
    submittedButton_ = new QPushButton(QStringLiteral("提出"), totalsPanel_);
    submittedButton_->setObjectName(QStringLiteral("submittedButton"));
    submittedTotal_ = totalLabel(totalsPanel_);
    submittedTotal_->setObjectName(QStringLiteral("submittedTotal"));
    auto* additionalNet = new QPushButton(QStringLiteral("付帯単価仕切"), totalsPanel_);
    auto* additionalSubmitted = new QPushButton(QStringLiteral("付帯単価提出"), totalsPanel_);
    totals->addWidget(sumCaption);
    totals->addWidget(netButton_);
    totals->addWidget(netTotal_);
    totals->addWidget(submittedButton_);
    totals->addWidget(submittedTotal_);
    totals->addWidget(additionalNet);
    totals->addWidget(additionalSubmitted);
    title->addWidget(totalsPanel_);
    connect(itemNameButton_, &QPushButton::clicked, this,
            [this] { runCommand([this] { renameItemPrompt(); }); });
    connect(netButton_, &QPushButton::clicked, this, &TFKERBINA::showNetButton);
    connect(submittedButton_, &QPushButton::clicked, this, &TFKERBINA::showSubmittedButton);
    connect(additionalNet, &QPushButton::clicked, this, &TFKERBINA::showAdditionalNetButton);
    connect(additionalSubmitted, &QPushButton::clicked, this,
            &TFKERBINA::showAdditionalSubmittedButton);
    page->addWidget(titleBar);

    // Tool pages: page 0 for the breakdown list, page 1 for a sheet.
    toolPages_ = new QStackedWidget(quotationPage);
    toolPages_->setObjectName(QStringLiteral("toolPages"));
    page->addWidget(toolPages_);

    grid_ = new QTableView(quotationPage);
    grid_->setObjectName(QStringLiteral("StrColGrid1"));
    model_ = new QuotationGridModel(state_, display_, grid_);
    grid_->setModel(model_);
    grid_->setItemDelegate(new QuotationGridDelegate(*model_, grid_));
    grid_->setFont(gridFont());
    grid_->horizontalHeader()->setFont(gridFont());
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setFrameShape(QFrame::NoFrame);
    grid_->setWordWrap(false);
    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Set widths apply exactly: the header's own minimum would widen the narrow No, GR and 単位
    // columns.
    grid_->horizontalHeader()->setMinimumSectionSize(8);
    grid_->viewport()->installEventFilter(this);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this,
            &TFKERBINA::onColumnResized);
    page->addWidget(grid_, 1);

    tabs_ = new QTabBar(quotationPage);
    tabs_->setObjectName(QStringLiteral("TabControl1"));
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    page->addWidget(tabs_);
    connect(tabs_, &QTabBar::currentChanged, this, &TFKERBINA::onTabChanged);
    connect(grid_, &QTableView::doubleClicked, this, &TFKERBINA::onGridDoubleClicked);

    splitter_->addWidget(sidePanel_);
    splitter_->addWidget(quotationPage);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, 1020});
    setCentralWidget(central);

    for (int panel = 0; panel < 6; ++panel) {
        auto* label = new QLabel(statusBar());
        label->setObjectName(QStringLiteral("statusPanel%1").arg(panel));
        statusBar()->addWidget(label, panel == 5 ? 1 : 0);
        statusPanels_.push_back(label);
    }
    setStatusPanel(0, pathText(folders_.dataRoot));
    setStatusPanel(1, pathText(folders_.databaseFolder));
}

// The quotation totals on the cover tab "表紙・合計"; the cover fields join them with the cover
// page window.
void TFKERBINA::buildCoverTotals(QWidget* page) {
    auto* layout = new QFormLayout(page);
    const char* captions[] = {"見積金額(提出)", "見積金額(仕切)", "差額", "利益率", "労務費"};
    for (std::size_t index = 0; index < grandTotals_.size(); ++index) {
        auto* value = new QLabel(QStringLiteral("0"), page);
        value->setObjectName(QStringLiteral("grandTotal%1").arg(index));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFont(gridFont());
        layout->addRow(QString::fromUtf8(captions[index]), value);
        grandTotals_[index] = value;
    }
}

QAction* TFKERBINA::addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                               const QKeySequence& shortcut, void (TFKERBINA::*handler)()) {
    auto* command = new QAction(caption, this);
    command->setObjectName(objectName);
    if (!shortcut.isEmpty()) {
        command->setShortcut(shortcut);
    }
    connect(command, &QAction::triggered, this,
            [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
    menu->addAction(command);
    // Shortcuts work whatever menu is enabled: the window holds every command too.
    addAction(command);
    actions_[objectName] = command;
    return command;
}

QAction* TFKERBINA::action(const QString& objectName) const {
    const auto found = actions_.find(objectName);
    return found == actions_.end() ? nullptr : found->second;
}

void TFKERBINA::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    addCommand(file, "newQuotation", QStringLiteral("新規作成"), QKeySequence::New,
               &TFKERBINA::newQuotation);
    addCommand(file, "openFile", QStringLiteral("直接ファイルを開く"), QKeySequence::Open,
               &TFKERBINA::openQuotationFile);
    addCommand(file, "saveFile", QStringLiteral("ファイルに保存"), QKeySequence::Save,
               &TFKERBINA::saveQuotationFile);
    addCommand(file, "importVersion1", QStringLiteral("Version1のファイルを開く"), {},
               &TFKERBINA::importVersion1File);
    file->addSeparator();
    addCommand(file, "loadBackup", QStringLiteral("バックアップファイルを読み込む"), {},
               &TFKERBINA::loadBackupFile);
    addCommand(file, "openWorkFolder", QStringLiteral("エクスプローラーを開く(作業フォルダー)"), {},
               &TFKERBINA::openWorkFolder);
    file->addSeparator();
    addCommand(file, "close", QStringLiteral("終了"), QKeySequence(Qt::ALT | Qt::Key_F4),
               &TFKERBINA::closeProgram);

    editMenu_ = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    addCommand(editMenu_, "undo", QStringLiteral("取り消し"), QKeySequence::Undo, &TFKERBINA::undo);
    addCommand(editMenu_, "redo", QStringLiteral("やり直し"), QKeySequence(Qt::CTRL | Qt::Key_Y),
               &TFKERBINA::redo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    editMenu_->addSeparator();
    addCommand(editMenu_, "insert", QStringLiteral("割  込"), QKeySequence(Qt::SHIFT | Qt::Key_I),
               &TFKERBINA::insertRows);
    addCommand(editMenu_, "erase", QStringLiteral("消  去"), QKeySequence(Qt::SHIFT | Qt::Key_E),
               &TFKERBINA::eraseRows);
    addCommand(editMenu_, "delete", QStringLiteral("削  除"),
               QKeySequence(Qt::SHIFT | Qt::Key_Delete), &TFKERBINA::deleteRows);
    addCommand(editMenu_, "moveUp", QStringLiteral("上移動"), {}, &TFKERBINA::moveRowUp);
    addCommand(editMenu_, "moveDown", QStringLiteral("下移動"), {}, &TFKERBINA::moveRowDown);
    editMenu_->addSeparator();
    addCommand(editMenu_, "copy", QStringLiteral("コピー"), QKeySequence(Qt::SHIFT | Qt::Key_C),
               &TFKERBINA::copyRows);
    addCommand(editMenu_, "cut", QStringLiteral("切り取り"), QKeySequence(Qt::SHIFT | Qt::Key_X),
               &TFKERBINA::cutRows);
    addCommand(editMenu_, "pasteInserting", QStringLiteral("貼付(割込)"),
               QKeySequence(Qt::SHIFT | Qt::Key_V), &TFKERBINA::pasteInserting);
    addCommand(editMenu_, "pasteOverwriting", QStringLiteral("貼付(上書)"),
               QKeySequence(Qt::SHIFT | Qt::Key_Q), &TFKERBINA::pasteOverwriting);
    addCommand(editMenu_, "pasteClipboard", QStringLiteral("クリップボードから貼付"), {},
               &TFKERBINA::pasteFromClipboard);
    editMenu_->addSeparator();
    addCommand(editMenu_, "selectAll", QStringLiteral("全選択"), QKeySequence(Qt::CTRL | Qt::Key_A),
               &TFKERBINA::selectAllRows);
    addCommand(editMenu_, "cancelSelection", QStringLiteral("全解除"), {},
               &TFKERBINA::cancelSelectionCommand);
    addCommand(editMenu_, "firstLine", QStringLiteral("先頭行へ移動"), QKeySequence(Qt::Key_PageUp),
               &TFKERBINA::firstLine);
    addCommand(editMenu_, "lastLine", QStringLiteral("最終行へ移動"),
               QKeySequence(Qt::Key_PageDown), &TFKERBINA::lastLine);

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&D)"));
    // The three display switches show their state as check marks.
    auto* nameSpecGroup = new QActionGroup(this);
    for (QAction* choice :
         {addCommand(view, "separateNameSpec", QStringLiteral("名称と仕様を分離する"), {},
                     &TFKERBINA::separateNameSpec),
          addCommand(view, "combineNameSpec", QStringLiteral("名称と仕様を分離しない"), {},
                     &TFKERBINA::combineNameSpec)}) {
        choice->setCheckable(true);
        nameSpecGroup->addAction(choice);
    }
    additionalViewAction_ =
        addCommand(view, "additionalView", QStringLiteral("付帯単価を表示"),
                   QKeySequence(Qt::Key_Home), &TFKERBINA::toggleAdditionalView);
    additionalViewAction_->setCheckable(true);
    auto* priceViewGroup = new QActionGroup(this);
    for (QAction* choice :
         {addCommand(view, "netView", QStringLiteral("原価を表示"),
                     QKeySequence(Qt::CTRL | Qt::Key_PageUp), &TFKERBINA::showNetView),
          addCommand(view, "submittedView", QStringLiteral("提出金額を表示"),
                     QKeySequence(Qt::CTRL | Qt::Key_PageDown), &TFKERBINA::showSubmittedView)}) {
        choice->setCheckable(true);
        priceViewGroup->addAction(choice);
    }
    view->addSeparator();
    addCommand(view, "nextSheet", QStringLiteral("次の明細へ"),
               QKeySequence(Qt::CTRL | Qt::Key_Tab), &TFKERBINA::nextSheet);
    addCommand(view, "previousSheet", QStringLiteral("前の明細へ"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), &TFKERBINA::previousSheet)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    view->addSeparator();
    addCommand(view, "saveColumnWidths", QStringLiteral("グリッドの幅を保存"), {},
               &TFKERBINA::saveColumnWidths);
    addCommand(view, "resetColumnWidths", QStringLiteral("グリッドの幅をリセット"), {},
               &TFKERBINA::resetColumnWidths);
    addCommand(view, "addOneRow", QStringLiteral("グリッド行を1行追加"), {},
               &TFKERBINA::addOneGridRow);
    addCommand(view, "addTenRows", QStringLiteral("グリッド行を10行追加"), {},
               &TFKERBINA::addTenGridRows);

    convertMenu_ = menuBar()->addMenu(QStringLiteral("各種変換＆計算(&V)"));
    addCommand(convertMenu_, "calcSettings", QStringLiteral("桁設定"), {},
               &TFKERBINA::calcSettings);

    listMenu_ = menuBar()->addMenu(QStringLiteral("内訳一覧表(&L)"));
    addCommand(listMenu_, "listUndo", QStringLiteral("取り消し"), {}, &TFKERBINA::undo);
    listMenu_->addSeparator();
    addCommand(listMenu_, "listCopy", QStringLiteral("コピー"), {}, &TFKERBINA::copyRows);
    addCommand(listMenu_, "listCut", QStringLiteral("切り取り"), {}, &TFKERBINA::cutRows);
    addCommand(listMenu_, "listPaste", QStringLiteral("貼　付"), {}, &TFKERBINA::pasteInserting);
    addCommand(listMenu_, "listInsert", QStringLiteral("割　込"), {}, &TFKERBINA::insertRows);
    addCommand(listMenu_, "listDelete", QStringLiteral("削　除"), {}, &TFKERBINA::deleteRows);
    listMenu_->addSeparator();
    addCommand(listMenu_, "listSaveColumnWidths", QStringLiteral("グリッドの幅を保存"), {},
               &TFKERBINA::saveListColumnWidths);
    addCommand(listMenu_, "listResetColumnWidths", QStringLiteral("グリッドの幅をリセット"), {},
               &TFKERBINA::resetListColumnWidths);
    addCommand(listMenu_, "listCalcSettings", QStringLiteral("桁設定"), {},
               &TFKERBINA::calcSettings);
}

// Window positions are the whole window with its frame, as other programs store them: the frame
// is placed at the stored position, and the size left for the window's inside once the frame is
// known (when the window is first shown).
void TFKERBINA::restoreWindowPosition() {
    try {
        const WindowPosition position = readWindowPosition(folders_.dataRoot, kWindowPositionName);
        if (position.height > 0) {
            move(position.left, position.top);
            resize(position.width, position.height);
            restoredFrameSize_ = QSize(position.width, position.height);
        }
    } catch (const std::exception&) {
        // An unreadable position file leaves the designed position.
    }
}

void TFKERBINA::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (restoredFrameSize_.isValid()) {
        resize(restoredFrameSize_ - (frameGeometry().size() - geometry().size()));
        restoredFrameSize_ = QSize();
    }
}

void TFKERBINA::saveWindowPosition() {
    const QRect frame = frameGeometry();
    try {
        writeWindowPosition(
            folders_.dataRoot, kWindowPositionName,
            WindowPosition{frame.left(), frame.top(), frame.width(), frame.height()});
    } catch (const std::exception& error) {
        MessageBox::error(this, QString::fromStdString(error.what()));
    }
}

} // namespace kerbina

namespace kerbina {

// ---------------------------------------------------------------------------------------------
// Start-up and close

bool TFKERBINA::startUp(const std::optional<std::filesystem::path>& fileToOpen) {
    reportedFaults_.clear();
    quotations_ = std::make_unique<SqliteFileDatabase>(
        databaseFilePath(folders_.databaseFolder, DatabaseFile::Quotation), *this);
    prepareDatabaseFiles(folders_.databaseFolder, folders_.installFolder, modules_, *this);
    setStatusPanel(3, pathText(databaseFilePath(folders_.databaseFolder, DatabaseFile::Quotation)));

    Userread(environment_, folders_.dataRoot);
    DatabaseNumberingRowStore numbering(*quotations_);
    try {
        Dataread(environment_, folders_.dataRoot, numbering);
    } catch (const ESQLiteException& error) {
        reportError(kSqlErrorText, databaseFaultMessage(error));
    }
    display_.alternateRowShading = environment_.alternateRowShading();
    // Shaded rows replace the horizontal grid lines; the delegate draws the vertical ones.
    grid_->setShowGrid(!display_.alternateRowShading);

    // The password comes before anything touches the work files of the previous run.
    if (startupPasswordRequired(folders_.dataRoot)) {
        const auto entry = MessageBox::input(this, QStringLiteral("見積・見積ソフト「ケルビナ」"),
                                             QStringLiteral("ユ－ザ－パスワ－ド入力"), true);
        if (!startupPasswordAccepted(
                folders_.dataRoot, entry ? std::optional<std::string>(s(*entry)) : std::nullopt)) {
            return false;
        }
    }

    readSettings(state_);
    try {
        beginRun(store_, folders_.dataRoot);
    } catch (const std::exception& error) {
        MessageBox::error(this, QString::fromStdString(error.what()));
    }
    // The run starts with the same new quotation as "新規作成" gives (its [KEYCODE] included: the
    // display mode 1 set before it is replaced by the new quotation's header).
    startNewQuotation(state_, store_, *this, today());
    enterSheetMode();
    if (const auto layout = readColumnLayout(folders_.dataRoot, gridLayout(state_, display_));
        layout && layout->splitter2.value_or(0) > 0) {
        const int total = splitter_->sizes().value(0) + splitter_->sizes().value(1);
        splitter_->setSizes({*layout->splitter2, std::max(0, total - *layout->splitter2)});
    }
    // After a run that did not end cleanly the user may take its last backup instead of the file
    // named on the command line.
    if (!offerCrashBackup() && fileToOpen) {
        // A file that cannot be read is reported; the empty quotation stays open.
        runCommand([this, &fileToOpen] { openQuotation(*fileToOpen, FileRole::OwnFile); });
    }
    state_.modified = false;

    const std::string dataDir = readConfValue(folders_.dataRoot, "[Data_Dir]");
    if (!dataDir.empty()) {
        folders_.quotationFolder = pathFromText(dataDir);
        std::error_code error;
        std::filesystem::create_directories(folders_.quotationFolder, error);
    }
    setStatusPanel(2, pathText(folders_.quotationFolder));
    const std::string statusBarSetting = readConfValue(folders_.dataRoot, "[status_bar]");
    if (statusBarSetting == "TRUE" || statusBarSetting == "FALSE") {
        statusBar()->setVisible(statusBarSetting == "TRUE");
    }
    if (height() < 800) {
        statusBar()->setVisible(false);
    }
    sidePanel_->setCurrentIndex(0);
    return true;
}

void TFKERBINA::closeEvent(QCloseEvent* event) {
    if (state_.modified) {
        switch (MessageBox::ask(this, QStringLiteral("編集中のデータを保存しますか？"),
                                MessageBox::Buttons::YesNoCancel)) {
        case MessageBox::Answer::Yes:
            if (!saveToDatabase()) {
                saveWindowPosition();
                event->ignore();
                return;
            }
            break;
        case MessageBox::Answer::No:
            break;
        default:
            saveWindowPosition();
            event->ignore();
            return;
        }
    }
    saveWindowPosition();
    endRun(folders_.dataRoot);
    event->accept();
}

bool TFKERBINA::offerCrashBackup() {
    const std::optional<BackupSummary> backup = crashBackupToOffer(store_);
    if (!backup) {
        return false;
    }
    const std::string total = backup->damaged ? "壊れているか途中までのファイルです"
                                              : "総合計 " + MoneyText(backup->grandTotal);
    const std::string question = "前回は正常に終了しませんでした。\n最後のバックアップ（" +
                                 localTimeText(backup->written) + "、" + total + "）を開きますか？";
    if (MessageBox::ask(this, q(question), MessageBox::Buttons::YesNoDefaultNo) !=
        MessageBox::Answer::Yes) {
        return false;
    }
    runCommand([this, &backup] { openQuotation(backup->file, FileRole::Source); });
    return true;
}

// ---------------------------------------------------------------------------------------------
// What the core asks of the window

DocumentHost::Answer TFKERBINA::askYesNoCancel(const std::string& question) {
    switch (MessageBox::ask(this, q(question), MessageBox::Buttons::YesNoCancel)) {
    case MessageBox::Answer::Yes:
        return Answer::Yes;
    case MessageBox::Answer::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool TFKERBINA::askYesNoDefaultNo(const std::string& question) {
    return MessageBox::ask(this, q(question), MessageBox::Buttons::YesNoDefaultNo) ==
           MessageBox::Answer::Yes;
}

void TFKERBINA::inform(const std::string& text) {
    MessageBox::notify(this, q(text));
}

// The cover page, its history lists and its fields come with the cover page window; until then
// the header keeps the values the quotation was opened with.
void TFKERBINA::updateCoverHistory() {}
void TFKERBINA::copyCoverToHeader(QuotationHeader&) {}
void TFKERBINA::loadCoverPage(const QuotationHeader&) {}

void TFKERBINA::showQuotationNumber(const std::string& number) {
    statusPanels_[5]->setToolTip(q(number));
}

void TFKERBINA::showCoverTab() {
    sidePanel_->setCurrentIndex(0);
}

void TFKERBINA::readSettings(DocumentState& state) {
    SettingsSources sources;
    try {
        sources = gatherSettingsSources(folders_.dataRoot, *quotations_, environment_.title1,
                                        environment_.title2);
    } catch (const std::exception& error) {
        showError(error);
    }
    // The print style is the settings dialog's value; where it is empty the bundled style fills
    // it, so that a later "登　録" keeps it instead of writing it empty.
    settings_.printStylePath = environment_.print_dir;
    settings_ = kerbina::readSettings(settings_, sources);
    environment_.print_dir = settings_.printStylePath;
    applyToDocument(settings_, state);
    display_.reductionMark = settings_.reductionMark;
}

// Saving to the database comes with the save dialog; until then the quotation is saved to a file.
bool TFKERBINA::saveToDatabase() {
    MessageBox::notify(
        this, QStringLiteral("データベースへの保存はまだできません。ファイルに保存します。"));
    try {
        return saveToChosenFile();
    } catch (const std::exception& error) {
        showError(error);
        return false;
    }
}

// Asks where to save (the quotation's own file, or a name made from it in the quotation folder)
// and writes the quotation there. False when the user cancelled; a failed write raises.
bool TFKERBINA::saveToChosenFile() {
    const QString path = MessageBox::saveFileName(
        this, QStringLiteral("ファイルに保存"),
        q(pathText(suggestedSavePath(state_, ownFile_, folders_.quotationFolder))),
        QStringLiteral("ケルビナデータファイル (*.krb2)"), QStringLiteral("krb2"));
    if (path.isEmpty()) {
        return false;
    }
    SAVERECORD(state_, store_, *this, RecordMode::Wrk);
    writeQuotationFile(pathFromText(s(path)), collectQuotation(state_, store_.workFolder),
                       QuotationWriteOptions{state_.itemNameLine});
    setOwnFile(pathFromText(s(path)));
    state_.modified = false;
    return true;
}

// The file the quotation was opened from or last saved to: offered by the next save, shown in the
// status bar and the title.
void TFKERBINA::setOwnFile(const std::filesystem::path& file) {
    ownFile_ = file;
    setStatusPanel(5, file.empty() ? std::string() : pathText(file));
    const QString title = QString::fromUtf8(applicationTitle(modules_));
    setWindowTitle(file.empty() ? title
                                : q(pathText(file.filename())) + QStringLiteral(" - ") + title);
}

void TFKERBINA::showSheetTitle(const std::string& itemName) {
    itemTitle_->setText(q(splitNameSpec(itemName).first));
}

void TFKERBINA::rebuildSheetTabs() {
    rebuildingTabs_ = true;
    while (tabs_->count() > 0) {
        tabs_->removeTab(0);
    }
    tabSheets_ = {0};
    tabs_->addTab(QStringLiteral("内訳表"));
    int current = 0;
    for (int item = 1; item <= state_.itemMax(); ++item) {
        const ItemRecord& record = state_.items[static_cast<std::size_t>(item)];
        if (!ownsSheet(record.kind)) {
            continue;
        }
        // A sheet whose item has no name yet shows its item number.
        const QString caption = q(splitNameSpec(record.name).first);
        tabs_->addTab(caption.isEmpty() ? QString::number(item) : caption);
        tabSheets_.push_back(item);
        if (item == state_.currentSheetNumber && !display_.listMode) {
            current = tabs_->count() - 1;
        }
    }
    tabs_->setCurrentIndex(current);
    rebuildingTabs_ = false;
}

int TFKERBINA::sheetOfTab(int tab) const {
    return tab >= 0 && tab < static_cast<int>(tabSheets_.size())
               ? tabSheets_[static_cast<std::size_t>(tab)]
               : 0;
}

void TFKERBINA::selectTab(int tab) {
    for (int index = 0; index < static_cast<int>(tabSheets_.size()); ++index) {
        if ((tab == 0 && index == 0) ||
            (tab > 0 && tabSheets_[static_cast<std::size_t>(index)] == tab)) {
            tabs_->setCurrentIndex(index);
            return;
        }
    }
}

void TFKERBINA::applyGridLayout() {
    const GridLayout layout = gridLayout(state_, display_);
    setWidths_ = loadColumnLayout(folders_.dataRoot, layout, grid_->viewport()->width()).widths;
    grid_->setUpdatesEnabled(false);
    model_->refresh();
    // A column the layout does not store (the breakdown list's last one) keeps its width.
    for (int column = static_cast<int>(setWidths_.size()); column < model_->columnCount();
         ++column) {
        setWidths_.push_back(grid_->columnWidth(column));
    }
    fitColumns();
    grid_->setUpdatesEnabled(true);
    updateViewChecks();
}

// Every column at its set width; the name column takes what the others leave of the grid.
void TFKERBINA::fitColumns() {
    const std::vector<int> widths =
        fittedWidths(gridLayout(state_, display_), setWidths_, grid_->viewport()->width());
    fittingColumns_ = true;
    for (int column = 0; column < static_cast<int>(widths.size()); ++column) {
        grid_->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    }
    fittingColumns_ = false;
}

// A column the user drags keeps its new width; the name column gives or takes the difference.
void TFKERBINA::onColumnResized(int column, int, int newWidth) {
    if (fittingColumns_ || column < 0 || column >= static_cast<int>(setWidths_.size()) ||
        column == stretchColumn(gridLayout(state_, display_))) {
        return;
    }
    setWidths_[static_cast<std::size_t>(column)] = newWidth;
    fitColumns();
}

bool TFKERBINA::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() && event->type() == QEvent::Resize) {
        fitColumns();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFKERBINA::updateViewChecks() {
    action("separateNameSpec")->setChecked(state_.separateNameSpec);
    action("combineNameSpec")->setChecked(!state_.separateNameSpec);
    additionalViewAction_->setChecked(display_.additionalView);
    action("netView")->setChecked(display_.netView);
    action("submittedView")->setChecked(!display_.netView);
}

void TFKERBINA::repaintGrid() {
    model_->refresh();
    updateViewChecks();
}

void TFKERBINA::nextSheet() {
    if (tabs_->count() > 1) {
        tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
    }
}

void TFKERBINA::previousSheet() {
    if (tabs_->count() > 1) {
        tabs_->setCurrentIndex((tabs_->currentIndex() + tabs_->count() - 1) % tabs_->count());
    }
}

void TFKERBINA::showModuleTabs() {
    sidePanel_->setTabVisible(5, modules_.piping && !display_.listMode);
    sidePanel_->setTabVisible(6, modules_.duct && !display_.listMode);
}

void TFKERBINA::refresh(const RecalcOutcome& outcome, bool listMode) {
    display_.listMode = listMode;
    panel_ = outcome.panel;
    model_->refresh();
    if (outcome.growGridTo) {
        model_->setGridRows(*outcome.growGridTo);
    }
    updateTotalsPanel();
    if (!outcome.error) {
        return;
    }
    // One action may run the passes more than once (a tab switch, undo): its error is shown
    // once, when the action ends.
    if (commandDepth_ > 0) {
        pendingPassError_ = outcome.error->message;
    } else {
        MessageBox::notify(this, q(outcome.error->message));
    }
}

int TFKERBINA::gridRowCount() const {
    return model_->gridRows();
}

void TFKERBINA::clearView() {
    netTotal_->setText(QStringLiteral("0"));
    submittedTotal_->setText(QStringLiteral("0"));
    model_->setGridRows(kDefaultGridRows);
    grid_->scrollToTop();
    selectRows(1, 1);
}

void TFKERBINA::showUndoCounters(const std::string& text) {
    setStatusPanel(4, text);
}

// Long paths are shortened in the middle; the whole text is the panel's hint.
void TFKERBINA::setStatusPanel(int panel, const std::string& text) {
    constexpr int kPanelWidth = 260;
    QLabel* label = statusPanels_[static_cast<std::size_t>(panel)];
    label->setToolTip(q(text));
    label->setText(label->fontMetrics().elidedText(q(text), Qt::ElideMiddle, kPanelWidth));
}

bool TFKERBINA::ask(const std::string& text) {
    return MessageBox::ask(this, q(text), MessageBox::Buttons::YesNo) == MessageBox::Answer::Yes;
}

void TFKERBINA::notify(const std::string& text) {
    MessageBox::notify(this, q(text));
}

// A database that cannot be used fails every statement of a step (at start-up the file checks,
// the settings and the numbering row) with the same message: it is shown once per action.
void TFKERBINA::reportError(std::string_view, std::string_view detail) {
    const QString message = QString::fromUtf8(detail.data(), static_cast<int>(detail.size()));
    if (reportedFaults_.contains(message)) {
        return;
    }
    reportedFaults_.insert(message);
    MessageBox::error(this, message);
}

// An error in the system's words; a database error as its fault message (once per action).
void TFKERBINA::showError(const std::exception& error) {
    if (const auto* database = dynamic_cast<const ESQLiteException*>(&error)) {
        reportError(kSqlErrorText, databaseFaultMessage(*database));
    } else {
        MessageBox::error(this, QString::fromStdString(error.what()));
    }
}

void TFKERBINA::runCommand(const std::function<void()>& command) {
    const TotalsPanel panelBefore = panel_;
    const bool listModeBefore = display_.listMode;
    if (commandDepth_ == 0) {
        reportedFaults_.clear();
    }
    ++commandDepth_;
    try {
        // A failed command leaves the files and the document in memory as they were.
        runAsOneChange(state_, store_, command);
    } catch (const std::exception& error) {
        // The files and the document in memory are back as they were (runAsOneChange); the
        // window shows the totals and the page it showed. A range-sum error of the rolled-back
        // change is not shown.
        panel_ = panelBefore;
        display_.listMode = listModeBefore;
        pendingPassError_.reset();
        showError(error);
        rebuildSheetTabs();
        showPageWidgets();
        applyGridLayout();
        updateTotalsPanel();
    }
    --commandDepth_;
    if (commandDepth_ == 0 && pendingPassError_) {
        const std::string message = std::move(*pendingPassError_);
        pendingPassError_.reset();
        MessageBox::notify(this, q(message));
    }
}

} // namespace kerbina

namespace kerbina {

// ---------------------------------------------------------------------------------------------
// The page in front

void TFKERBINA::onTabChanged(int tab) {
    if (rebuildingTabs_ || tab < 0) {
        return;
    }
    runCommand([this, tab] {
        copyCoverToHeader(state_.header);
        HeadWrite(state_, store_.workFolder, *this);
        if (tab == 0) {
            SAVERECORD(state_, store_, *this, RecordMode::Wrk);
            enterListMode();
        } else {
            display_.listMode = false;
            openSheet(state_, store_, *this, sheetOfTab(tab));
            enterSheetMode();
        }
    });
}

void TFKERBINA::enterSheetMode() {
    display_.listMode = false;
    showPageWidgets();
    applyGridLayout();
    recalcAndShowTotals(false);
}

void TFKERBINA::enterListMode() {
    display_.listMode = true;
    showPageWidgets();
    applyGridLayout();
    recalcAndShowTotals(true);
}

// The tool page, title bar, menus and module tabs of the page in front.
void TFKERBINA::showPageWidgets() {
    const bool sheet = !display_.listMode;
    toolPages_->setCurrentIndex(sheet && toolPages_->count() > 1 ? 1 : 0);
    netButton_->setEnabled(sheet);
    submittedButton_->setEnabled(sheet);
    totalsPanel_->setVisible(sheet);
    if (!sheet) {
        itemTitle_->setText(QStringLiteral("内訳一覧表"));
    }
    updateMenusForMode();
    showModuleTabs();
}

void TFKERBINA::updateMenusForMode() {
    const bool sheet = !display_.listMode;
    editMenu_->setEnabled(sheet);
    convertMenu_->setEnabled(sheet);
    listMenu_->setEnabled(!sheet);
    // The grid's context menu follows the page in front.
    for (QAction* shown : grid_->actions()) {
        grid_->removeAction(shown);
    }
    const char* const sheetMenu[] = {
        "copy",  "cut",    "pasteInserting", "pasteOverwriting", "insert",
        "erase", "delete", "moveUp",         "moveDown",         "pasteClipboard"};
    const char* const listMenu[] = {"listUndo",   "listCopy",   "listPaste",
                                    "listInsert", "listDelete", "listCalcSettings"};
    for (const char* name :
         sheet ? std::span<const char* const>(sheetMenu) : std::span<const char* const>(listMenu)) {
        grid_->addAction(action(QString::fromUtf8(name)));
    }
}

void TFKERBINA::recalcAndShowTotals(bool listMode) {
    recalculateAndShow(state_, *this, listMode);
}

void TFKERBINA::updateTotalsPanel() {
    if (display_.listMode || !panel_.sheet) {
        netTotal_->clear();
        submittedTotal_->clear();
    } else {
        netTotal_->setText(q(MoneyText(panel_.sheet->net)));
        submittedTotal_->setText(q(MoneyText(panel_.sheet->submitted)));
    }
    const QString values[] = {q(MoneyText(panel_.all.submitted)), q(MoneyText(panel_.all.net)),
                              q(MoneyText(panel_.all.difference)), q(panel_.all.margin),
                              q(MoneyText(panel_.allLabor))};
    for (std::size_t index = 0; index < grandTotals_.size(); ++index) {
        grandTotals_[index]->setText(values[index]);
    }
}

std::pair<int, int> TFKERBINA::selectedRows() const {
    const QModelIndexList rows = grid_->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        const int current = grid_->currentIndex().isValid() ? grid_->currentIndex().row() + 1 : 1;
        return {current, current};
    }
    int top = rows.front().row();
    int bottom = top;
    for (const QModelIndex& index : rows) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
    }
    return {top + 1, bottom + 1};
}

void TFKERBINA::selectRows(int top, int bottom) {
    if (model_->rowCount() == 0) {
        return;
    }
    top = std::clamp(top, 1, model_->rowCount());
    bottom = std::clamp(bottom, top, model_->rowCount());
    const QItemSelection selection(model_->index(top - 1, 0),
                                   model_->index(bottom - 1, model_->columnCount() - 1));
    grid_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    grid_->selectionModel()->setCurrentIndex(model_->index(top - 1, 0),
                                             QItemSelectionModel::NoUpdate);
}

// ---------------------------------------------------------------------------------------------
// File commands

bool TFKERBINA::askToKeepModifiedQuotation() {
    if (!state_.modified) {
        return true;
    }
    switch (MessageBox::ask(this, QStringLiteral("編集中のデータを保存しますか？"),
                            MessageBox::Buttons::YesNo)) {
    case MessageBox::Answer::Yes:
        return saveToDatabase();
    default:
        return true;
    }
}

void TFKERBINA::newQuotation() {
    display_.listMode = false;
    if (NewKerbina(state_, store_, *this, today())) {
        setOwnFile({});
        enterSheetMode();
    }
}

void TFKERBINA::openQuotationFile() {
    if (!askToKeepModifiedQuotation()) {
        return;
    }
    const QString path = MessageBox::openFileName(
        this, QStringLiteral("直接ファイルを開く"), q(pathText(folders_.quotationFolder)),
        QStringLiteral("ケルビナファイル(krb2) (*.krb2)"));
    if (!path.isEmpty()) {
        openQuotation(pathFromText(s(path)), FileRole::OwnFile);
    }
}

void TFKERBINA::importVersion1File() {
    if (state_.modified &&
        MessageBox::ask(this, QStringLiteral("編集中のデータが失われますが、よろしいですか？"),
                        MessageBox::Buttons::YesNo) != MessageBox::Answer::Yes) {
        return;
    }
    const QString path = MessageBox::openFileName(
        this, QStringLiteral("Version1のファイルを開く"), q(pathText(folders_.quotationFolder)),
        QStringLiteral("ケルビナVersion1(krb) (*.krb *.KRB)"));
    if (!path.isEmpty()) {
        openQuotation(pathFromText(s(path)), FileRole::Source);
    }
}

void TFKERBINA::saveQuotationFile() {
    if (saveToChosenFile()) {
        MessageBox::notify(this, QStringLiteral("データを保存しました。"));
    }
}

void TFKERBINA::loadBackupFile() {
    if (state_.modified) {
        switch (MessageBox::ask(this, QStringLiteral("編集中のデータを保存しますか？"),
                                MessageBox::Buttons::YesNoCancel)) {
        case MessageBox::Answer::Yes:
            if (!saveToDatabase()) {
                return;
            }
            break;
        case MessageBox::Answer::No:
            break;
        default:
            return;
        }
    }
    const std::vector<BackupSummary> backups = listBackups(store_.backupFolder);
    if (backups.empty()) {
        MessageBox::notify(this, QStringLiteral("バックアップファイルがありません。"));
        return;
    }
    if (const auto chosen = BackupListDialog::choose(this, backups)) {
        openQuotation(backups[*chosen].file, FileRole::Source);
    }
}

void TFKERBINA::openWorkFolder() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(q(pathText(folders_.dataRoot))));
}

void TFKERBINA::closeProgram() {
    close();
}

// ---------------------------------------------------------------------------------------------
// Undo, settings and display

void TFKERBINA::undo() {
    if (display_.listMode) {
        if (undoList(state_, store_, *this)) {
            rebuildSheetTabs();
            enterListMode();
        }
    } else if (undoSheet(state_, store_, *this)) {
        recalcAndShowTotals(false);
    }
}

void TFKERBINA::redo() {
    if (!display_.listMode && redoSheet(state_, store_, *this)) {
        recalcAndShowTotals(false);
    }
}

void TFKERBINA::calcSettings() {
    const auto chosen = calcSettingsDialog_->edit(settingsShownInDialog(state_));
    if (!chosen) {
        return;
    }
    applyCalcSettings(state_, *chosen);
    if (display_.listMode) {
        recalculateSheet(state_);
        recalcAndShowTotals(true);
        Saveitem(state_, store_, ListMode::Wrk);
    } else {
        recalcAndShowTotals(false);
        SAVERECORD(state_, store_, *this, RecordMode::Wrk);
    }
}

void TFKERBINA::separateNameSpec() {
    state_.separateNameSpec = true;
    applyGridLayout();
    recalcAndShowTotals(display_.listMode);
}

void TFKERBINA::combineNameSpec() {
    state_.separateNameSpec = false;
    applyGridLayout();
    recalcAndShowTotals(display_.listMode);
}

void TFKERBINA::toggleAdditionalView() {
    display_.additionalView = !display_.additionalView;
    additionalViewAction_->setText(display_.additionalView ? QStringLiteral("通常単価を表示")
                                                           : QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

void TFKERBINA::showNetView() {
    display_.netView = true;
    repaintGrid();
}

void TFKERBINA::showSubmittedView() {
    display_.netView = false;
    repaintGrid();
}

void TFKERBINA::showNetButton() {
    if (display_.listMode) {
        return;
    }
    display_.netView = true;
    display_.additionalView = false;
    additionalViewAction_->setText(QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

void TFKERBINA::showSubmittedButton() {
    if (display_.listMode) {
        return;
    }
    display_.netView = false;
    display_.additionalView = false;
    additionalViewAction_->setText(QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

void TFKERBINA::showAdditionalNetButton() {
    if (display_.listMode) {
        return;
    }
    display_.netView = true;
    display_.additionalView = true;
    additionalViewAction_->setText(QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

void TFKERBINA::showAdditionalSubmittedButton() {
    if (display_.listMode) {
        return;
    }
    display_.netView = false;
    display_.additionalView = true;
    additionalViewAction_->setText(QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

namespace {

ColumnLayout currentWidths(const QTableView& grid, int columns) {
    ColumnLayout layout;
    for (int column = 0; column < columns; ++column) {
        layout.widths.push_back(grid.columnWidth(column));
    }
    return layout;
}

} // namespace

// The sheet layouts also keep the splitters' positions: the side panel's splitter is the first
// ([Splitter2]); the second ([Splitter3]) keeps what the file holds.
void TFKERBINA::saveColumnWidths() {
    ColumnLayout columns = currentWidths(*grid_, model_->columnCount());
    columns.splitter2 = splitter_->sizes().value(0);
    saveColumnLayout(folders_.dataRoot, gridLayout(state_, display_), columns);
}

void TFKERBINA::resetColumnWidths() {
    resetColumnLayout(folders_.dataRoot, gridLayout(state_, display_), grid_->viewport()->width());
    applyGridLayout();
}

void TFKERBINA::saveListColumnWidths() {
    saveItemListColumnLayout(folders_.dataRoot, currentWidths(*grid_, model_->columnCount()),
                             *this);
}

void TFKERBINA::resetListColumnWidths() {
    resetColumnLayout(folders_.dataRoot, GridLayout::ItemList, grid_->viewport()->width());
    applyGridLayout();
}

void TFKERBINA::addOneGridRow() {
    model_->setGridRows(model_->gridRows() + 1);
}

void TFKERBINA::addTenGridRows() {
    model_->setGridRows(model_->gridRows() + 10);
}

} // namespace kerbina

namespace kerbina {

void TFKERBINA::openQuotation(const std::filesystem::path& path, FileRole role) {
    const OpenedView view = Direct_read(state_, store_, *this, path, std::nullopt, today());
    if (view == OpenedView::NotOpened) {
        return;
    }
    // An old .krb file (also when named on the command line) is converted, never written back.
    const bool quotationFile = QString::fromStdString(pathText(path.extension()))
                                   .compare(QStringLiteral(".krb2"), Qt::CaseInsensitive) == 0;
    setOwnFile(role == FileRole::OwnFile && quotationFile ? path : std::filesystem::path());
    if (view == OpenedView::Sheet) {
        selectTab(state_.currentSheetNumber);
        enterSheetMode();
    } else {
        rebuildingTabs_ = true;
        tabs_->setCurrentIndex(0);
        rebuildingTabs_ = false;
        enterListMode();
    }
    grid_->scrollToTop();
    selectRows(1, 1);
}

} // namespace kerbina

namespace kerbina {

// ---------------------------------------------------------------------------------------------
// Grid commands

namespace {

struct ToolButton {
    const char* caption;
    const char* command; // the name the dispatcher knows, kept as the button's hint
};

constexpr ToolButton kListTools[] = {
    {"取り消し", "undo"},     {"割　込", "insert"},   {"削　除", "delete"},
    {"全選択", "all_select"}, {"先頭行", "top_line"}, {"最終行", "Last_Line"},
};
constexpr ToolButton kSheetTools[] = {
    {"取り消し", "undo"},   {"割  込", "insert"},        {"消  去", "erase"},
    {"上移動", "move_up"},  {"下移動", "move_down"},     {"入替", "swap"},
    {"コピー", "copy"},     {"パーツ読込", "part_load"}, {"パーツ保存", "part_save"},
    {"先頭行", "top_line"}, {"最終行", "Last_Line"},
};

} // namespace

void TFKERBINA::buildToolPages() {
    for (const auto& tools :
         {std::span<const ToolButton>(kListTools), std::span<const ToolButton>(kSheetTools)}) {
        auto* page = new QWidget(toolPages_);
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(0, 0, 0, 0);
        for (const ToolButton& tool : tools) {
            auto* button = new QPushButton(QString::fromUtf8(tool.caption), page);
            const QString name = QString::fromUtf8(tool.command);
            button->setToolTip(name);
            button->setObjectName(QStringLiteral("tool_") + name);
            button->setFocusPolicy(Qt::NoFocus);
            connect(button, &QPushButton::clicked, this,
                    [this, name] { runCommand([this, name] { runNamed(name); }); });
            row->addWidget(button);
        }
        row->addStretch();
        toolPages_->addWidget(page);
    }
}

void TFKERBINA::runGridCommand(const GridCommand& command) {
    const auto [top, bottom] = selectedRows();
    GridContext context{state_, cycle_, *this, gridSession_, store_.workFolder};
    showCommandResult(command(context, Selection{top, bottom}));
}

void TFKERBINA::showCommandResult(const CommandResult& result) {
    if (result.itemsChanged) {
        rebuildSheetTabs();
        rebuildingTabs_ = true;
        tabs_->setCurrentIndex(0);
        rebuildingTabs_ = false;
        enterListMode();
    } else if (result.changed) {
        model_->refresh();
    }
    selectRows(result.selection.top, result.selection.bottom);
    if (result.scrollTop) {
        grid_->scrollTo(model_->index(*result.scrollTop - 1, 0), QAbstractItemView::PositionAtTop);
    }
}

void TFKERBINA::runNamed(const QString& name) {
    const auto [top, bottom] = selectedRows();
    GridContext context{state_, cycle_, *this, gridSession_, store_.workFolder};
    const NamedCommandResult named =
        runNamedCommand(context, s(name), Selection{top, bottom}, display_.listMode);
    showCommandResult(named.result);
    switch (named.action) {
    case WindowAction::Close:
        close();
        break;
    case WindowAction::ChoosePartsToLoad: {
        const QString file = MessageBox::openFileName(
            this, QStringLiteral("パーツファイル"), q(pathText(folders_.dataRoot / "part")),
            QStringLiteral("ケルビナパ－ツファイル(prt) (*.prt)"));
        if (!file.isEmpty()) {
            runGridCommand([&file](GridContext& grid, Selection selection) {
                return loadPartsFile(grid, selection, pathFromText(s(file)));
            });
        }
        break;
    }
    case WindowAction::ChoosePartsToSave: {
        const QString file = MessageBox::saveFileName(
            this, QStringLiteral("パーツファイル"), q(pathText(folders_.dataRoot / "part")),
            QStringLiteral("ケルビナパ－ツファイル(prt) (*.prt)"), QStringLiteral("prt"));
        if (!file.isEmpty()) {
            savePartsFile(context, Selection{top, bottom}, pathFromText(s(file)));
        }
        break;
    }
    case WindowAction::None:
        break;
    default:
        MessageBox::notify(this, QStringLiteral("この機能はまだ使えません。"));
        break;
    }
}

void TFKERBINA::insertRows() {
    runGridCommand(display_.listMode ? GridCommand(insertItem) : GridCommand(insertLines));
}

void TFKERBINA::eraseRows() {
    if (!display_.listMode) {
        runGridCommand(eraseLines);
    }
}

void TFKERBINA::deleteRows() {
    runGridCommand(display_.listMode ? GridCommand(deleteItem) : GridCommand(deleteLines));
}

void TFKERBINA::moveRowUp() {
    if (!display_.listMode) {
        runGridCommand(moveLineUp);
    }
}

void TFKERBINA::moveRowDown() {
    if (!display_.listMode) {
        runGridCommand(moveLineDown);
    }
}

void TFKERBINA::copyRows() {
    runGridCommand(display_.listMode ? GridCommand(copyItem) : GridCommand(copyLines));
}

void TFKERBINA::cutRows() {
    runGridCommand(display_.listMode ? GridCommand(cutItem) : GridCommand(cutLines));
}

void TFKERBINA::pasteInserting() {
    runGridCommand(display_.listMode ? GridCommand(pasteItem) : GridCommand(pasteLinesInserting));
}

void TFKERBINA::pasteOverwriting() {
    if (!display_.listMode) {
        runGridCommand(pasteLinesOverwriting);
    }
}

void TFKERBINA::pasteFromClipboard() {
    if (display_.listMode) {
        return;
    }
    const std::string text = s(QGuiApplication::clipboard()->text());
    runGridCommand([&text](GridContext& context, Selection selection) {
        return pasteClipboardText(context, selection, text);
    });
}

void TFKERBINA::selectAllRows() {
    const auto [top, bottom] = selectedRows();
    showCommandResult(selectAll(state_, Selection{top, bottom}, display_.listMode));
}

void TFKERBINA::cancelSelectionCommand() {
    const auto [top, bottom] = selectedRows();
    showCommandResult(cancelSelection(state_, Selection{top, bottom}, display_.listMode));
}

void TFKERBINA::firstLine() {
    const auto [top, bottom] = selectedRows();
    showCommandResult(goToFirstLine(state_, Selection{top, bottom}, display_.listMode));
}

void TFKERBINA::lastLine() {
    const auto [top, bottom] = selectedRows();
    showCommandResult(goToLastLine(state_, Selection{top, bottom}, display_.listMode));
}

// "内訳名入力": the name of the sheet in front, or of the selected item on the breakdown list.
void TFKERBINA::renameItemPrompt() {
    const auto [top, bottom] = selectedRows();
    const int item = display_.listMode ? top : state_.currentSheetNumber;
    const std::string current = item <= state_.itemMax()
                                    ? state_.items[static_cast<std::size_t>(item)].name
                                    : std::string();
    const auto name = MessageBox::input(this, QString::fromUtf8(applicationTitle(modules_)),
                                        QStringLiteral("内訳名入力"), false, q(current));
    if (!name) {
        return;
    }
    runGridCommand([&](GridContext& context, Selection selection) {
        return renameItem(context, selection, item, s(*name), display_.listMode);
    });
    rebuildSheetTabs();
    if (!display_.listMode) {
        showSheetTitle(state_.items[static_cast<std::size_t>(item)].name);
    }
}

void TFKERBINA::onGridDoubleClicked(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    // On a sheet the title line (kind 100) renames the sheet; the other lines will open the line
    // data-entry dialog. On the breakdown list a double-click opens that item's sheet.
    if (!display_.listMode) {
        const int row = index.row() + 1;
        if (row <= state_.lineCount() &&
            state_.sheet[static_cast<std::size_t>(row)].kind == LineKind::Title) {
            runCommand([this] { renameItemPrompt(); });
        }
        return;
    }
    const int item = index.row() + 1;
    if (item <= state_.itemMax() && ownsSheet(state_.items[static_cast<std::size_t>(item)].kind)) {
        selectTab(item);
    }
}

} // namespace kerbina

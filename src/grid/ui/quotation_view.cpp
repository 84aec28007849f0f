#include "grid/ui/quotation_view.h"

#include "grid/cell_entry.h"
#include "grid/column_layout.h"
#include "grid/ui/quotation_grid_delegate.h"
#include "grid/ui/quotation_grid_model.h"
#include "money/rounding.h"
#include "records/line_kinds.h"
#include "widgets/fonts.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

namespace kerbina {

namespace {

constexpr int kRowHeight = 22;

struct ToolButton {
    const char* caption;
    const char* command; // the name the dispatcher knows, kept as the button's hint
};

constexpr ToolButton kListTools[] = {
    {"取り消し", "undo"},     {"割　込", "insert"},   {"削　除", "delete"},
    {"全選択", "all_select"}, {"先頭行", "top_line"}, {"最終行", "Last_Line"},
    {"特記事項", "note_in"},  {"印刷", "print"},      {"CSV出力", "csv_out"},
};
constexpr ToolButton kSheetTools[] = {
    {"取り消し", "undo"},   {"割  込", "insert"},        {"消  去", "erase"},
    {"上移動", "move_up"},  {"下移動", "move_down"},     {"入替", "swap"},
    {"コピー", "copy"},     {"パーツ読込", "part_load"}, {"パーツ保存", "part_save"},
    {"先頭行", "top_line"}, {"最終行", "Last_Line"},
};

QLabel* totalLabel(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(120);
    label->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: black; padding: 2px 6px; }"));
    return label;
}

} // namespace

QuotationView::QuotationView(const DocumentState& state, const DisplayOptions& display,
                             QWidget* parent)
    : QWidget(parent), state_(state), display_(display) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(2, 2, 2, 2);
    page->setSpacing(2);
    page->addWidget(buildTitleBar());

    // Tool pages: page 0 for the breakdown list, page 1 for a sheet.
    toolPages_ = new QStackedWidget(this);
    toolPages_->setObjectName(QStringLiteral("toolPages"));
    buildToolPages();
    page->addWidget(toolPages_);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("StrColGrid1"));
    model_ = new QuotationGridModel(state_, display_, grid_);
    grid_->setModel(model_);
    grid_->setItemDelegate(new QuotationGridDelegate(*model_, grid_));
    grid_->setFont(quotationFont());
    grid_->horizontalHeader()->setFont(quotationFont());
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // F2 or typing edits a cell in place, as in a spreadsheet; a double-click opens the line's
    // editor instead.
    grid_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid_->setFrameShape(QFrame::NoFrame);
    grid_->setWordWrap(false);
    grid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Set widths apply exactly: the header's own minimum would widen the narrow No, GR and 単位
    // columns.
    grid_->horizontalHeader()->setMinimumSectionSize(8);
    grid_->viewport()->installEventFilter(this);
    grid_->installEventFilter(this);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this,
            &QuotationView::onColumnResized);
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit rowDoubleClicked(index.row() + 1);
        }
    });
    page->addWidget(grid_, 1);

    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("TabControl1"));
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        if (!rebuildingTabs_ && tab >= 0) {
            emit tabChosen(tab);
        }
    });
    page->addWidget(tabs_);
}

// The breakdown item on the left, the sheet totals on the right.
QWidget* QuotationView::buildTitleBar() {
    auto* titleBar = new QWidget(this);
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
    connect(itemNameButton_, &QPushButton::clicked, this, &QuotationView::itemNameClicked);
    connect(netButton_, &QPushButton::clicked, this, &QuotationView::netClicked);
    connect(submittedButton_, &QPushButton::clicked, this, &QuotationView::submittedClicked);
    connect(additionalNet, &QPushButton::clicked, this, &QuotationView::additionalNetClicked);
    connect(additionalSubmitted, &QPushButton::clicked, this,
            &QuotationView::additionalSubmittedClicked);
    return titleBar;
}

void QuotationView::buildToolPages() {
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
                    [this, name] { emit namedCommandClicked(name); });
            row->addWidget(button);
        }
        row->addStretch();
        toolPages_->addWidget(page);
    }
}

void QuotationView::showPage() {
    const bool sheet = !display_.listMode;
    toolPages_->setCurrentIndex(sheet ? 1 : 0);
    netButton_->setEnabled(sheet);
    submittedButton_->setEnabled(sheet);
    totalsPanel_->setVisible(sheet);
    if (!sheet) {
        itemTitle_->setText(QStringLiteral("内訳一覧表"));
    }
}

void QuotationView::showItemTitle(const QString& title) {
    itemTitle_->setText(title);
}

void QuotationView::showSheetTotals(const std::optional<SheetFigures>& sheet) {
    if (display_.listMode || !sheet) {
        netTotal_->clear();
        submittedTotal_->clear();
    } else {
        netTotal_->setText(QString::fromStdString(wholeYenText(sheet->net)));
        submittedTotal_->setText(QString::fromStdString(wholeYenText(sheet->submitted)));
    }
}

void QuotationView::rebuildTabs() {
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
        const QString caption = QString::fromStdString(splitNameSpec(record.name).first);
        tabs_->addTab(caption.isEmpty() ? QString::number(item) : caption);
        tabSheets_.push_back(item);
        if (item == state_.currentSheetNumber && !display_.listMode) {
            current = tabs_->count() - 1;
        }
    }
    tabs_->setCurrentIndex(current);
    rebuildingTabs_ = false;
}

int QuotationView::sheetOfTab(int tab) const {
    return tab >= 0 && tab < static_cast<int>(tabSheets_.size())
               ? tabSheets_[static_cast<std::size_t>(tab)]
               : 0;
}

void QuotationView::selectTabOfSheet(int sheet) {
    for (int index = 0; index < static_cast<int>(tabSheets_.size()); ++index) {
        if ((sheet == 0 && index == 0) ||
            (sheet > 0 && tabSheets_[static_cast<std::size_t>(index)] == sheet)) {
            tabs_->setCurrentIndex(index);
            return;
        }
    }
}

void QuotationView::showListTabQuietly() {
    rebuildingTabs_ = true;
    tabs_->setCurrentIndex(0);
    rebuildingTabs_ = false;
}

void QuotationView::applyColumnWidths(GridLayout layout, std::vector<int> widths) {
    layout_ = layout;
    setWidths_ = std::move(widths);
    grid_->setUpdatesEnabled(false);
    model_->refresh();
    for (int column = static_cast<int>(setWidths_.size()); column < model_->columnCount();
         ++column) {
        setWidths_.push_back(grid_->columnWidth(column));
    }
    fitColumns();
    grid_->setUpdatesEnabled(true);
}

std::vector<int> QuotationView::shownColumnWidths() const {
    std::vector<int> widths;
    for (int column = 0; column < model_->columnCount(); ++column) {
        widths.push_back(grid_->columnWidth(column));
    }
    return widths;
}

// Every column at its set width; the name column takes what the others leave of the grid.
void QuotationView::fitColumns() {
    const std::vector<int> widths = fittedWidths(layout_, setWidths_, grid_->viewport()->width());
    fittingColumns_ = true;
    for (int column = 0; column < static_cast<int>(widths.size()); ++column) {
        grid_->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    }
    fittingColumns_ = false;
}

// A column the user drags keeps its new width; the name column gives or takes the difference.
void QuotationView::onColumnResized(int column, int, int newWidth) {
    if (fittingColumns_ || column < 0 || column >= static_cast<int>(setWidths_.size()) ||
        column == stretchColumn(layout_)) {
        return;
    }
    setWidths_[static_cast<std::size_t>(column)] = newWidth;
    fitColumns();
}

bool QuotationView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() && event->type() == QEvent::Resize) {
        fitColumns();
    }
    // Specifications start with capitals (VP, SGP, SUS): on a text cell a Shift+letter is the
    // first character of the text, not the row command bound to it.
    if (watched == grid_ && event->type() == QEvent::ShortcutOverride &&
        keyTypesIntoCell(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool QuotationView::keyTypesIntoCell(const QKeyEvent& key) const {
    const QString text = key.text();
    if (text.isEmpty() || !text.front().isPrint() ||
        (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return false;
    }
    const QModelIndex current = grid_->currentIndex();
    const auto [top, bottom] = selectedRows();
    return current.isValid() && top == bottom && top == current.row() + 1 &&
           isTextCell(state_, display_, current.row() + 1, current.column());
}

std::pair<int, int> QuotationView::selectedRows() const {
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

void QuotationView::selectRows(int top, int bottom) {
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

void QuotationView::editCell(int row, int column, const QString& text) {
    const QModelIndex cell = model_->index(row - 1, column);
    if (!cell.isValid()) {
        return;
    }
    grid_->setFocus();
    grid_->setCurrentIndex(cell);
    grid_->edit(cell);
    if (auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        editor != nullptr && editor->parentWidget() == grid_->viewport()) {
        editor->setText(text);
    }
}

void QuotationView::closeCurrentEditor() {
    const QModelIndex current = grid_->currentIndex();
    if (QWidget* editor = grid_->indexWidget(current); editor != nullptr) {
        emit grid_->itemDelegateForIndex(current)->closeEditor(editor,
                                                               QAbstractItemDelegate::NoHint);
    }
}

} // namespace kerbina

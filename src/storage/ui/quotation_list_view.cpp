#include "storage/ui/quotation_list_view.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "storage/list_export.h"
#include "storage/list_layout.h"
#include "storage/schema.h"
#include "storage/search_index.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kerbina {
namespace {

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

// An amount with digit grouping ("1500000.5" -> "1,500,000.5"); other texts as they are.
QString groupedAmount(const std::string& text) {
    std::size_t digitsEnd = text.find('.');
    digitsEnd = digitsEnd == std::string::npos ? text.size() : digitsEnd;
    const std::size_t digitsStart = !text.empty() && text[0] == '-' ? 1 : 0;
    for (std::size_t i = digitsStart; i < digitsEnd; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return qt(text);
        }
    }
    std::string out = text.substr(0, digitsStart);
    for (std::size_t i = digitsStart; i < digitsEnd; ++i) {
        if (i > digitsStart && (digitsEnd - i) % 3 == 0) {
            out += ',';
        }
        out += text[i];
    }
    return qt(out + text.substr(digitsEnd));
}

const QColor kEvenRow(240, 241, 244);
const QColor kMarked(94, 99, 162);
const QColor kGreyText(128, 128, 128);

} // namespace

QuotationListView::QuotationListView(Database& quotations, SearchIndex* index, UserPrompt& prompt,
                                     std::filesystem::path dataRoot, QWidget* parent)
    : QWidget(parent), quotations_(quotations), index_(index), prompt_(prompt),
      dataRoot_(std::move(dataRoot)) {
    setObjectName("見積一覧");

    // The side: addressees and tags with "指定解除".
    addressees_ = new QListWidget;
    addressees_->setObjectName("ListBoxAtesaki");
    tags_ = new QListWidget;
    tags_->setObjectName("ListBoxTag");
    auto* clearChoice = new QPushButton("指定解除");
    auto* side = new QSplitter(Qt::Vertical);
    side->setObjectName("Splitter2");
    side->setMaximumWidth(220);
    side->addWidget(addressees_);
    side->addWidget(tags_);
    sideLists_ = new QWidget;
    sideLists_->setObjectName("宛先一覧Lists");
    auto* sideBox = new QVBoxLayout(sideLists_);
    sideBox->setContentsMargins(0, 0, 0, 0);
    sideBox->addWidget(side);
    sideBox->addWidget(clearChoice);

    // The tool row: actions, search, status and rows per page.
    auto* deleteButton = new QPushButton("削  除");
    auto* copyButton = new QPushButton("複　製");
    auto* printButton = new QPushButton("見積印刷");
    auto* closeButton = new QPushButton(" 閉じる");
    searchText_ = new QLineEdit;
    searchText_->setObjectName("検索文字列");
    searchText_->setPlaceholderText("検索文字列");
    auto* searchButton = new QPushButton("検索実行");
    // "すべて" (id 0), then the status codes 0 to 6 (ids 1 to 7).
    auto* statusBox = new QGroupBox("ステータス");
    statusBox->setObjectName("ステータス");
    auto* statusRow = new QHBoxLayout(statusBox);
    status_ = new QButtonGroup(this);
    for (int id = 0; id <= static_cast<int>(kQuotationStatusTexts.size()); ++id) {
        auto* choice =
            new QRadioButton(id == 0 ? QString("すべて")
                                     : qt(kQuotationStatusTexts[static_cast<std::size_t>(id - 1)]));
        status_->addButton(choice, id);
        statusRow->addWidget(choice);
    }
    status_->button(0)->setChecked(true);
    rowsPerPage_ = new QComboBox;
    rowsPerPage_->setObjectName("1ページの件数");
    rowsPerPage_->addItems({"見えている行数", "100", "200", "300", "500", "1000", "すべて"});
    searchText_->setMinimumWidth(240);
    auto* tools = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{
             deleteButton, copyButton, printButton, closeButton, searchText_, searchButton}) {
        tools->addWidget(widget);
    }
    tools->addStretch();
    auto* choices = new QHBoxLayout;
    choices->addWidget(statusBox);
    choices->addWidget(new QLabel("1ページの件数"));
    choices->addWidget(rowsPerPage_);
    choices->addStretch();

    caption_ = new QLabel;
    grid_ = new QTableWidget;
    grid_->setObjectName("fileGrid");
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->setToolTip("スペースキーで選択");
    grid_->setWordWrap(false);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->setStyleSheet("QTableWidget { selection-background-color: rgb(83,85,108); }");
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);

    topPage_ = new QPushButton("Top Page");
    previousPage_ = new QPushButton("Page -1");
    nextPage_ = new QPushButton("Page+1");
    lastPage_ = new QPushButton("LastPage");
    count_ = new QLabel;
    count_->setObjectName("countText");
    total_ = new QLabel;
    total_->setObjectName("pageTotal");
    auto* paging = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{
             topPage_, previousPage_, nextPage_, lastPage_, count_, new QLabel("合計:"), total_}) {
        paging->addWidget(widget);
    }
    paging->addStretch();

    auto* main = new QVBoxLayout;
    main->addLayout(tools);
    main->addLayout(choices);
    main->addWidget(caption_);
    main->addWidget(grid_, 1);
    main->addLayout(paging);
    main->addWidget(new QLabel("行を選択し、SPACEキーを押すと複数選択となります。"));
    auto* whole = new QHBoxLayout(this);
    whole->addWidget(sideLists_);
    whole->addLayout(main, 1);

    connect(searchButton, &QPushButton::clicked, this, [this] { goToPage(1); });
    connect(searchText_, &QLineEdit::returnPressed, this, [this] { goToPage(1); });
    connect(status_, &QButtonGroup::idClicked, this, [this] { goToPage(1); });
    connect(rowsPerPage_, &QComboBox::currentIndexChanged, this, [this] { goToPage(1); });
    connect(topPage_, &QPushButton::clicked, this, [this] { goToPage(1); });
    connect(previousPage_, &QPushButton::clicked, this, [this] { goToPage(page_.page - 1); });
    connect(nextPage_, &QPushButton::clicked, this, [this] { goToPage(page_.page + 1); });
    connect(lastPage_, &QPushButton::clicked, this, [this] { goToPage(-1); });
    connect(addressees_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        request_.filter.addressee = utf8(item->text());
        goToPage(1);
    });
    connect(tags_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        request_.filter.tag = utf8(item->text());
        goToPage(1);
    });
    connect(clearChoice, &QPushButton::clicked, this, [this] {
        addressees_->clearSelection();
        tags_->clearSelection();
        request_.filter.addressee.clear();
        request_.filter.tag.clear();
        goToPage(1);
    });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &QuotationListView::headerClicked);
    // A column the user resizes keeps that width as the one the layout file holds.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                const auto index = static_cast<std::size_t>(column);
                if (!fittingColumns_ && column > 0 && index < layoutWidths_.size()) {
                    layoutWidths_[index] = width;
                }
            });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(page_.rows.size())) {
            emit openRequested(qt(page_.rows[static_cast<std::size_t>(row)].number));
        }
    });
    connect(grid_, &QTableWidget::customContextMenuRequested, this,
            &QuotationListView::showGridMenu);
    connect(deleteButton, &QPushButton::clicked, this, &QuotationListView::deleteMarked);
    connect(copyButton, &QPushButton::clicked, this, [this] {
        if (marks_.empty()) {
            prompt_.notify(std::string(kNothingToCopyMessage));
        } else {
            emit copyRequested(markedNumbers());
        }
    });
    connect(printButton, &QPushButton::clicked, this, [this] {
        if (marks_.empty()) {
            prompt_.notify(std::string(kNothingToPrintMessage));
        } else {
            emit printRequested(markedNumbers());
        }
    });
    connect(closeButton, &QPushButton::clicked, this, &QuotationListView::closeRequested);

    applyLayout();
}

void QuotationListView::setTitles(const std::string& title1, const std::string& title2) {
    title1_ = title1;
    title2_ = title2;
    fillGrid();
}

void QuotationListView::setShowAddressee(bool show) {
    if (show == showAddressee_) {
        return;
    }
    saveLayout();
    showAddressee_ = show;
    applyLayout();
}

// Reads the layout file of the current layout, then the first page with the side lists.
void QuotationListView::applyLayout() {
    const ListLayout layout = readListLayout(dataRoot_, showAddressee_);
    request_.sortCode = layout.sortCode;
    const QSignalBlocker blocker(rowsPerPage_);
    rowsPerPage_->setCurrentIndex(std::clamp(layout.rowsChoice, 0, rowsPerPage_->count() - 1));
    layoutWidths_ = layout.columnWidths;
    grid_->setColumnCount(static_cast<int>(layoutWidths_.size()));
    grid_->setColumnHidden(0, true);
    fitColumns();
    request_.page = 1;
    reread(true);
}

// The columns take the layout file's widths, but where they would not fit the grid the name
// columns give way, in proportion and each down to a narrowest width, so that the amount, the
// requester and the date are seen whole without scrolling sideways.
void QuotationListView::fitColumns() {
    constexpr int kNarrowestNameColumn = 80;
    constexpr std::size_t kFirstNameColumn = 3;
    const std::size_t lastNameColumn = showAddressee_ ? 5 : 4;
    int total = 0;
    int names = 0;
    for (std::size_t column = 1; column < layoutWidths_.size(); ++column) {
        total += layoutWidths_[column];
        if (column >= kFirstNameColumn && column <= lastNameColumn) {
            names += layoutWidths_[column];
        }
    }
    const int excess = std::max(0, total - grid_->viewport()->width());
    const int namesFitted =
        std::max(names - excess,
                 kNarrowestNameColumn * static_cast<int>(lastNameColumn - kFirstNameColumn + 1));
    fittingColumns_ = true;
    for (std::size_t column = 1; column < layoutWidths_.size(); ++column) {
        int width = layoutWidths_[column];
        if (excess > 0 && names > 0 && column >= kFirstNameColumn && column <= lastNameColumn) {
            width = std::max(kNarrowestNameColumn, width * namesFitted / names);
        }
        grid_->setColumnWidth(static_cast<int>(column), width);
    }
    fittingColumns_ = false;
}

void QuotationListView::saveLayout() {
    ListLayout layout;
    layout.columnWidths = layoutWidths_;
    layout.sortCode = request_.sortCode;
    layout.rowsChoice = rowsPerPage_->currentIndex();
    layout.addresseeBoxHeight = addressees_->height();
    try {
        writeListLayout(dataRoot_, showAddressee_, layout);
    } catch (const FileError& error) {
        prompt_.reportError("ERROR", error.what());
    }
}

bool QuotationListView::exportCsv(const std::filesystem::path& file) {
    try {
        writeListCsv(file, page_.rows, showAddressee_);
    } catch (const FileError& error) {
        prompt_.reportError("ERROR", error.what());
        return false;
    }
    prompt_.notify(std::string(kListCsvDoneMessage));
    return true;
}

bool QuotationListView::exportWorkbook(const std::filesystem::path& file) {
    try {
        writeListWorkbook(
            file, readAllQuotationRows(quotations_, request_.filter, request_.sortCode, index_),
            listColumns(showAddressee_, title1_, title2_, request_.sortCode), showAddressee_);
    } catch (const DatabaseError& error) {
        prompt_.reportError("ERROR", databaseFaultMessage(error));
        return false;
    } catch (const FileError& error) {
        prompt_.reportError("ERROR", error.what());
        return false;
    }
    emit workbookWritten(QString::fromStdString(pathText(file)));
    return true;
}

CopyOutcome QuotationListView::copyMarked(const CopyRequest& request, const CopyClock& clock,
                                          const CopyNumberIssuer& issueNumber) {
    CopyOutcome outcome;
    try {
        outcome = copyQuotations(quotations_, marks_.numbers(), request, clock, issueNumber,
                                 prompt_, index_);
    } catch (const DatabaseError& error) {
        prompt_.reportError("ERROR", databaseFaultMessage(error));
    }
    marks_.clear();
    request_.page = 1;
    reread(true);
    return outcome;
}

void QuotationListView::goToPage(int page) {
    request_.page = page;
    reread(false);
}

void QuotationListView::reread(bool lists) {
    request_.filter.searchText = utf8(searchText_->text());
    request_.filter.status =
        status_->checkedId() > 0 ? std::optional<int>(status_->checkedId() - 1) : std::nullopt;
    const int visibleRows =
        grid_->viewport()->height() / std::max(1, grid_->verticalHeader()->defaultSectionSize());
    request_.rowsPerPage = rowsPerPageOfChoice(rowsPerPage_->currentIndex(), visibleRows);
    try {
        if (lists) {
            // Selections are kept by text, so a list that changed order keeps the right one.
            for (auto [box, texts] : {std::pair{addressees_, listedAddressees(quotations_, index_)},
                                      std::pair{tags_, listedTags(quotations_, index_)}}) {
                const QString chosen = box->currentItem() ? box->currentItem()->text() : QString();
                box->clear();
                for (const std::string& text : texts) {
                    box->addItem(qt(text));
                    if (qt(text) == chosen) {
                        box->setCurrentRow(box->count() - 1);
                    }
                }
            }
        }
        page_ = readQuotationList(quotations_, request_, index_);
    } catch (const DatabaseError& error) {
        prompt_.reportError("ERROR", databaseFaultMessage(error));
        page_ = QuotationListPage{};
        page_.countText = "0件 0/0";
    }
    request_.page = page_.page;
    fillGrid();
}

void QuotationListView::fillGrid() {
    caption_->setText(status_->checkedButton()->text());
    const std::vector<ListColumn> columns =
        listColumns(showAddressee_, title1_, title2_, request_.sortCode);
    QStringList titles;
    for (const ListColumn& column : columns) {
        titles << qt(column.title);
    }
    grid_->setColumnCount(static_cast<int>(columns.size()));
    grid_->setHorizontalHeaderLabels(titles);
    grid_->setColumnHidden(0, true);
    const int amountColumn = showAddressee_ ? 6 : 5;
    // At least one row, empty when nothing matches.
    grid_->setRowCount(std::max<int>(1, static_cast<int>(page_.rows.size())));
    grid_->clearContents();
    for (std::size_t row = 0; row < page_.rows.size(); ++row) {
        const QuotationListRow& data = page_.rows[row];
        const std::vector<std::string> cells = listCells(data, showAddressee_);
        const bool marked = marks_.isMarked(data.number);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            const bool amount = static_cast<int>(column) == amountColumn;
            auto* item =
                new QTableWidgetItem(amount ? groupedAmount(cells[column]) : qt(cells[column]));
            item->setTextAlignment(Qt::AlignVCenter | (amount ? Qt::AlignRight : Qt::AlignLeft));
            if (column == 1 && marked) {
                item->setBackground(kMarked);
            } else if (row % 2 == 1) {
                item->setBackground(kEvenRow);
            }
            if (data.number.empty()) {
                item->setForeground(kGreyText);
            }
            grid_->setItem(static_cast<int>(row), static_cast<int>(column), item);
        }
    }
    count_->setText(qt(page_.countText));
    total_->setText("¥" + groupedAmount(page_.pageTotal.toString()));
    topPage_->setEnabled(page_.canGoBack);
    previousPage_->setEnabled(page_.canGoBack);
    nextPage_->setEnabled(page_.canGoForward);
    lastPage_->setEnabled(page_.canGoForward);
}

void QuotationListView::headerClicked(int column) {
    request_.sortCode = sortCodeAfterClick(showAddressee_, column, request_.sortCode);
    reread(false);
}

// The first choice of "1ページの件数" becomes the number of rows the grid shows now.
void QuotationListView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    const int visibleRows =
        grid_->viewport()->height() / std::max(1, grid_->verticalHeader()->defaultSectionSize());
    rowsPerPage_->setItemText(0, QString::number(std::max(1, visibleRows)));
    if (rowsPerPage_->currentIndex() == 0) {
        reread(false);
    }
}

bool QuotationListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() && event->type() == QEvent::Resize) {
        fitColumns();
    }
    if (watched == grid_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        toggleSelectedMarks();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void QuotationListView::toggleSelectedMarks() {
    for (const QModelIndex& index : grid_->selectionModel()->selectedRows()) {
        const auto row = static_cast<std::size_t>(index.row());
        if (row < page_.rows.size() && !page_.rows[row].number.empty()) {
            marks_.toggle(page_.rows[row].number);
        }
    }
    fillGrid();
}

void QuotationListView::clearMarks() {
    marks_.clear();
    fillGrid();
}

QStringList QuotationListView::markedNumbers() const {
    QStringList numbers;
    for (const std::string& number : marks_.numbers()) {
        numbers << qt(number);
    }
    return numbers;
}

void QuotationListView::deleteMarked() {
    if (marks_.empty()) {
        prompt_.notify(std::string(kNothingToDeleteMessage));
        return;
    }
    if (!prompt_.askYesNo(deleteQuestion(marks_.count()))) {
        return;
    }
    deleteQuotations(quotations_, marks_.numbers(), index_);
    marks_.clear();
    reread(true);
}

void QuotationListView::changeStatusOfMarked(int code) {
    if (marks_.empty()) {
        prompt_.notify(std::string(kNothingToChangeStatusMessage));
        return;
    }
    changeQuotationStatus(quotations_, marks_.numbers(), code, index_);
    marks_.clear();
    reread(false);
}

void QuotationListView::showGridMenu(const QPoint& position) {
    QMenu menu(this);
    for (const StatusMenuItem& item : kStatusMenu) {
        menu.addAction(qt(item.caption), this,
                       [this, code = item.code] { changeStatusOfMarked(code); });
    }
    menu.exec(grid_->viewport()->mapToGlobal(position));
}

} // namespace kerbina

#include "grid/ui/view_commands_subsystem.h"

#include "base/folders.h"
#include "grid/column_layout.h"
#include "grid/grid_cells.h"
#include "grid/ui/quotation_grid_model.h"
#include "grid/ui/quotation_view.h"
#include "records/document_state.h"
#include "widgets/command_set.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTabBar>
#include <QTableView>

namespace kerbina {

ViewCommandsSubsystem::ViewCommandsSubsystem(SubsystemHost& host) : host_(host) {
    QuotationView& view = host.quotationView();
    QObject::connect(&view, &QuotationView::netClicked, &view,
                     [this] { showPriceView(true, false); });
    QObject::connect(&view, &QuotationView::submittedClicked, &view,
                     [this] { showPriceView(false, false); });
    QObject::connect(&view, &QuotationView::additionalNetClicked, &view,
                     [this] { showPriceView(true, true); });
    QObject::connect(&view, &QuotationView::additionalSubmittedClicked, &view,
                     [this] { showPriceView(false, true); });
}

void ViewCommandsSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    using enum CommandPage;
    commands_ = &commands;
    const auto add = [&](const char* name, const char* caption, QList<QKeySequence> keys,
                         CommandPage page, std::function<void()> handler) {
        return commands.add(&menu, name, QString::fromUtf8(caption), keys, page,
                            std::move(handler));
    };
    if (place == menu_place::kListSettings) {
        add("listSaveColumnWidths", "グリッドの幅を保存", {}, List,
            [this] { saveListColumnWidths(); });
        add("listResetColumnWidths", "グリッドの幅をリセット", {}, List,
            [this] { resetColumnWidths(true); });
        return;
    }
    if (place != menu_place::kView) {
        return;
    }
    // The three display switches show their state as check marks.
    auto* nameSpecGroup = new QActionGroup(&menu);
    for (QAction* choice : {add("separateNameSpec", "名称と仕様を分離する", {}, Both,
                                [this] { host_.setSeparateNameSpec(true); }),
                            add("combineNameSpec", "名称と仕様を分離しない", {}, Both,
                                [this] { host_.setSeparateNameSpec(false); })}) {
        choice->setCheckable(true);
        nameSpecGroup->addAction(choice);
    }
    add("additionalView", "付帯単価を表示", {QKeySequence(Qt::Key_Home)}, Both, [this] {
        toggleAdditionalView();
    })->setCheckable(true);
    auto* priceViewGroup = new QActionGroup(&menu);
    for (QAction* choice :
         {add("netView", "原価を表示", {QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, Both,
              [this] { showNetView(true); }),
          add("submittedView", "提出金額を表示", {QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, Both,
              [this] { showNetView(false); })}) {
        choice->setCheckable(true);
        priceViewGroup->addAction(choice);
    }
    menu.addSeparator();
    add("nextSheet", "次の明細へ", {QKeySequence(Qt::CTRL | Qt::Key_Tab)}, Both,
        [this] { moveToSheet(1); });
    add("previousSheet", "前の明細へ",
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
        Both, [this] { moveToSheet(-1); });
    menu.addSeparator();
    add("saveColumnWidths", "グリッドの幅を保存", {}, Sheet, [this] { saveColumnWidths(); });
    add("resetColumnWidths", "グリッドの幅をリセット", {}, Sheet,
        [this] { resetColumnWidths(false); });
    add("addOneRow", "グリッド行を1行追加", {}, Both, [this] { host_.addGridRows(1); });
    add("addTenRows", "グリッド行を10行追加", {}, Both, [this] { host_.addGridRows(10); });
}

// The check marks show the display switches of the quotation in front.
void ViewCommandsSubsystem::gridLaidOut() {
    const DocumentState& state = host_.document();
    const DisplayOptions& display = host_.displayOptions();
    commands_->find("separateNameSpec")->setChecked(state.separateNameSpec);
    commands_->find("combineNameSpec")->setChecked(!state.separateNameSpec);
    commands_->find("additionalView")->setChecked(display.additionalView);
    commands_->find("netView")->setChecked(display.netView);
    commands_->find("submittedView")->setChecked(!display.netView);
}

void ViewCommandsSubsystem::repaintGrid() {
    host_.quotationView().model()->refresh();
    gridLaidOut();
}

void ViewCommandsSubsystem::toggleAdditionalView() {
    DisplayOptions& display = host_.editableDisplay();
    display.additionalView = !display.additionalView;
    commands_->find("additionalView")
        ->setText(display.additionalView ? QStringLiteral("通常単価を表示")
                                         : QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

void ViewCommandsSubsystem::showNetView(bool net) {
    host_.editableDisplay().netView = net;
    repaintGrid();
}

// The title bar's "仕切", "提出", "付帯単価仕切" and "付帯単価提出" buttons (sheets only).
void ViewCommandsSubsystem::showPriceView(bool net, bool additional) {
    DisplayOptions& display = host_.editableDisplay();
    if (display.listMode) {
        return;
    }
    display.netView = net;
    display.additionalView = additional;
    commands_->find("additionalView")->setText(QStringLiteral("付帯単価を表示"));
    repaintGrid();
}

// The sheet layouts also keep the splitters' positions: the side panel's splitter is the first
// ([Splitter2]); the second ([Splitter3]) keeps what the file holds.
void ViewCommandsSubsystem::saveColumnWidths() {
    ColumnLayout columns{host_.quotationView().shownColumnWidths(), {}, {}};
    columns.splitter2 = host_.sidePanelWidth();
    saveColumnLayout(host_.folders().dataRoot, gridLayout(host_.document(), host_.displayOptions()),
                     columns);
}

void ViewCommandsSubsystem::saveListColumnWidths() {
    saveItemListColumnLayout(host_.folders().dataRoot,
                             ColumnLayout{host_.quotationView().shownColumnWidths(), {}, {}},
                             host_.prompt());
}

void ViewCommandsSubsystem::resetColumnWidths(bool itemList) {
    resetColumnLayout(host_.folders().dataRoot,
                      itemList ? GridLayout::ItemList
                               : gridLayout(host_.document(), host_.displayOptions()),
                      host_.quotationView().grid()->viewport()->width());
    host_.layOutGrid();
}

void ViewCommandsSubsystem::moveToSheet(int step) {
    QTabBar* tabs = host_.quotationView().tabs();
    if (tabs->count() > 1) {
        tabs->setCurrentIndex((tabs->currentIndex() + tabs->count() + step) % tabs->count());
    }
}

} // namespace kerbina

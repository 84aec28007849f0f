#pragma once

#include "calc/totals.h"
#include "grid/grid_cells.h"
#include "records/document_state.h"

#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

class QKeyEvent;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace kerbina {

class QuotationGridModel;

// The quotation page of the main window: the title bar (the 内訳名 button, the item name and the
// sheet totals "合 計" / "仕切" / "提出" / "付帯単価仕切" / "付帯単価提出"), the tool buttons of
// the page in front, the grid `StrColGrid1` and the sheet tabs `TabControl1` ("内訳表", then one
// tab per sheet-owning item). It shows the document and reports what the user clicks; the main
// window decides what happens.
class QuotationView : public QWidget {
    Q_OBJECT

public:
    QuotationView(const DocumentState& state, const DisplayOptions& display,
                  QWidget* parent = nullptr);

    QTableView* grid() const { return grid_; }
    QTabBar* tabs() const { return tabs_; }
    QuotationGridModel* model() const { return model_; }

    // The tool page, buttons and totals of the page in front (display.listMode).
    void showPage();
    void showItemTitle(const QString& title);
    // The sheet totals of the title bar; nothing on the breakdown list.
    void showSheetTotals(const std::optional<SheetFigures>& sheet);

    // One tab for the breakdown list and one per sheet-owning item (an item without a name shows
    // its number); the current sheet's tab is selected, or tab 0 on the breakdown list. No
    // tabChosen signal is sent for it.
    void rebuildTabs();
    // The item number of a tab (0 for the breakdown list).
    int sheetOfTab(int tab) const;
    // Selects the tab of sheet n (0: the breakdown list), which sends tabChosen.
    void selectTabOfSheet(int sheet);
    // Selects tab 0 without sending tabChosen.
    void showListTabQuietly();

    // The column widths of `layout` as set (stored or default), then fitted to the grid: the name
    // column takes what the others leave (fittedWidths), again whenever the grid's width changes.
    // A column the layout does not store keeps its width.
    void applyColumnWidths(GridLayout layout, std::vector<int> widths);
    std::vector<int> shownColumnWidths() const;

    // First and last selected grid row (1-based); the current row when nothing is selected.
    std::pair<int, int> selectedRows() const;
    void selectRows(int top, int bottom);
    // Opens the editor of a cell (grid row from 1) holding `text`.
    void editCell(int row, int column, const QString& text);
    // Closes the editor open on the current cell, if any, without taking its text.
    void closeCurrentEditor();

signals:
    void tabChosen(int tab);
    void itemNameClicked();
    void netClicked();
    void submittedClicked();
    void additionalNetClicked();
    void additionalSubmittedClicked();
    // A tool button: the name the named-command dispatcher knows.
    void namedCommandClicked(const QString& name);
    void rowDoubleClicked(int row); // 1-based grid row

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTitleBar();
    void buildToolPages();
    void fitColumns();
    void onColumnResized(int column, int oldWidth, int newWidth);
    // A printable key (Shift or not) with one row selected and a text cell current: it starts
    // editing that cell, and no shortcut may take it.
    bool keyTypesIntoCell(const QKeyEvent& key) const;

    const DocumentState& state_;
    const DisplayOptions& display_;
    std::vector<int> tabSheets_; // tab index → item number; tab 0 is the breakdown list (0)
    bool rebuildingTabs_ = false;
    GridLayout layout_ = GridLayout::SheetSeparated;
    std::vector<int> setWidths_; // the columns' set widths in the layout in front
    bool fittingColumns_ = false;

    QTableView* grid_ = nullptr;
    QuotationGridModel* model_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QStackedWidget* toolPages_ = nullptr;
    QLabel* itemTitle_ = nullptr;
    QPushButton* itemNameButton_ = nullptr;
    QWidget* totalsPanel_ = nullptr;
    QPushButton* netButton_ = nullptr;
    QPushButton* submittedButton_ = nullptr;
    QLabel* netTotal_ = nullptr;
    QLabel* submittedTotal_ = nullptr;
};

} // namespace kerbina

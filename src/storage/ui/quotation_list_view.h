#pragma once

#include "base/user_prompt.h"
#include "storage/database.h"
#include "storage/quotation_actions.h"
#include "storage/quotation_copy.h"
#include "storage/quotation_list.h"

#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace kerbina {

class SearchIndex;

// The list page "見積一覧": the saved quotations one page at a time in the grid `fileGrid`, with
// the search text, the addressee and tag lists, the status choice, the rows per page, header
// sorting, marks (SPACE), delete and status change. Opening, copying, printing and closing are
// the main window's: the page reports them as signals with the quotation numbers.
class QuotationListView : public QWidget {
    Q_OBJECT

public:
    QuotationListView(Database& quotations, SearchIndex* index, UserPrompt& prompt,
                      std::filesystem::path dataRoot, QWidget* parent = nullptr);

    // The captions "[TITLE1]" and "[TITLE2]" of the settings for the site and work-name columns.
    void setTitles(const std::string& title1, const std::string& title2);
    // "宛先を表示する" / "宛先を表示しない": switches the column layout and its layout file.
    void setShowAddressee(bool show);
    bool showsAddressee() const { return showAddressee_; }

    // Reads the page again; with `lists` the addressee and tag lists too.
    void reread(bool lists);
    // Writes the layout file of the current layout (when the main window closes).
    void saveLayout();

    // "ファイル一覧表をCSV出力": the shown rows to `file`, then "出力しました。". False, reported,
    // when the file cannot be written.
    bool exportCsv(const std::filesystem::path& file);
    // "ファイル一覧・エクセル出力": every matching row, in list order, to the .xlsx `file`; then
    // workbookWritten, for the window to open it with the desktop's default application.
    bool exportWorkbook(const std::filesystem::path& file);

    // Copies the marked quotations as the copy dialog chose (copyQuotations), then clears the
    // marks and shows page 1 with fresh side lists. The copies made.
    CopyOutcome copyMarked(const CopyRequest& request, const CopyClock& clock,
                           const CopyNumberIssuer& issueNumber);

    // The addressee and tag lists with "指定解除": beside the grid until the main window moves
    // them into its side panel "宛先一覧".
    QWidget* sideLists() const { return sideLists_; }

    const QuotationMarks& marks() const { return marks_; }
    void clearMarks();
    const QuotationListPage& page() const { return page_; }

signals:
    void openRequested(const QString& number);
    void copyRequested(const QStringList& numbers);
    void printRequested(const QStringList& numbers);
    void closeRequested();
    void workbookWritten(const QString& file);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyLayout();
    void fitColumns();
    void fillGrid();
    void headerClicked(int column);
    void toggleSelectedMarks();
    void deleteMarked();
    void changeStatusOfMarked(int code);
    void showGridMenu(const QPoint& position);
    QStringList markedNumbers() const;
    void goToPage(int page);

    Database& quotations_;
    SearchIndex* index_;
    UserPrompt& prompt_;
    std::filesystem::path dataRoot_;
    bool showAddressee_ = false;
    std::string title1_ = "現場名称";
    std::string title2_ = "工事名称";
    QuotationListRequest request_;
    QuotationListPage page_;
    QuotationMarks marks_;

    QLineEdit* searchText_ = nullptr;
    QButtonGroup* status_ = nullptr;
    QComboBox* rowsPerPage_ = nullptr;
    QWidget* sideLists_ = nullptr;
    QListWidget* addressees_ = nullptr;
    QListWidget* tags_ = nullptr;
    QLabel* caption_ = nullptr;
    QTableWidget* grid_ = nullptr;
    std::vector<int> layoutWidths_; // the widths the layout file holds, column 0 unused
    bool fittingColumns_ = false;
    QLabel* count_ = nullptr;
    QLabel* total_ = nullptr;
    QPushButton* topPage_ = nullptr;
    QPushButton* previousPage_ = nullptr;
    QPushButton* nextPage_ = nullptr;
    QPushButton* lastPage_ = nullptr;
};

} // namespace kerbina

#pragma once

#include "calc/cost_split.h"
#include "calc/totals.h"
#include "cover/cover_fields.h"
#include "cover/cover_history.h"
#include "cover/title_book.h"

#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace kerbina {

// The side panel's tab "表紙・合計": the quotation's grand totals above, the cover below: the
// addressee, site and work names, terms, persons, date, number, tag and status, each text with
// its history list, the ten buttons that pick a text from the addressee book or a master list,
// and the cover template. The page keeps the cover while it is edited; the window takes it into
// the header (writeCover) and has the header file written.
class CoverPage : public QWidget {
    Q_OBJECT

public:
    // Shows the picker for a kind of list under a heading with the field's current text; nothing
    // when it was cancelled.
    using Picker = std::function<std::optional<TitleEntry>(
        const std::string& kind, const std::string& heading, const std::string& currentText)>;
    // Issues a new quotation number for a customer id (may be empty); nothing when no number
    // was issued (the issuer has told the user why).
    using NumberIssuer = std::function<std::optional<std::string>(const std::string& customerId)>;

    explicit CoverPage(QWidget* parent = nullptr);

    void showTotals(const TotalsPanel& totals);
    // The grand total before tax by kind of cost, under "材料費等(税抜)": 材料費, 労務費,
    // 法定福利費 and 経費.
    void showCostSplit(const CostSplit& split);

    // Where the history lists (dataRoot/temp) and the template (dataRoot/conf) are kept.
    void setDataRoot(const std::filesystem::path& dataRoot);
    // The captions the settings give: the site-name and work-name buttons with their hints, and
    // the number button ("見積番号" or "自動見積番号").
    void setCaptions(const CoverCaptions& captions, const std::string& numberCaption);
    void setNumbering(const NumberingOptions& numbering);
    void setPicker(Picker picker);
    void setNumberIssuer(NumberIssuer issuer);

    // Fills the tab: today's date, every history list from its file, then the cover of the
    // header when there is one (no header: empty fields).
    void readCover(const QuotationHeader* header);
    // Takes the tab into the header (the texts cut to their widths, no status as 0, the
    // customer id of the last addressee pick, [DATALEVEL] 0) once anything on the tab differs
    // from what readCover showed; until then the header keeps exactly what it was loaded with,
    // so looking through a quotation never changes it. Writing the header file is the caller's.
    void writeCover(QuotationHeader& header) const;
    // The history update before the open sheet is written. Raises FileError.
    void updateHistories();
    void showNumber(const std::string& number);

    CoverValues values() const;
    void showValues(const CoverValues& cover);
    const CoverHistories& histories() const { return histories_; }

    // The number button: issues a number (automatic numbering, none yet) or asks for one
    // ("見積番号を入力してください"); then the cover changes.
    void pressNumberButton();
    // Pick button `index` of coverPicks().
    void pick(std::size_t index);
    // "表紙テンプレートを読み込む": the texts of the template file into the tab.
    void readTemplate();
    // "表紙テンプレートとして保存": the tab's texts into the template file
    // ("設定状態を登録しました。").
    void saveTemplate();

signals:
    // The cover changed in a way the header must follow at once (the addressee, a number): the
    // window takes the tab into the header and writes the header file.
    void coverChanged();

private:
    void buildCoverFields(QWidget* panel);
    void showHistories();
    QComboBox* textControl(CoverText text) const;
    std::string text(CoverText text) const;
    void setText(CoverText text, const std::string& value);

    std::array<QLabel*, 5> grandTotals_{};            // submitted, net, difference, margin, labour
    std::array<QLabel*, 4> costSplit_{};              // material, labour, welfare, expenses
    std::array<QComboBox*, kCoverTextCount> texts_{}; // null for the number, which is a label
    std::array<QPushButton*, 10> pickButtons_{};
    QComboBox* era_ = nullptr;
    QSpinBox* year_ = nullptr; // the year within the era
    QSpinBox* month_ = nullptr;
    QSpinBox* day_ = nullptr;
    QLabel* number_ = nullptr;
    QPushButton* numberButton_ = nullptr;
    QComboBox* status_ = nullptr;

    std::filesystem::path dataRoot_;
    CoverHistories histories_;
    std::string customerId_;
    std::string committedAddressee_; // the addressee as last taken into the header
    CoverValues shownCover_;         // the tab as readCover left it
    NumberingOptions numbering_;
    CoverCaptions captions_;
    Picker picker_;
    NumberIssuer numberIssuer_;
};

} // namespace kerbina

#pragma once

#include "widgets/subsystem.h"

#include <QString>
#include <QStringList>

class QMenu;

namespace kerbina {

class QuotationListView;

// The quotation list page "見積一覧": "ファイル読込(見積一覧表)" puts it in place of the quotation
// page, with its side page "宛先一覧" and its menu "見積一覧表(&Q)"; from it stored quotations are
// opened, copied, printed and exported.
class QuotationListSubsystem final : public Subsystem {
public:
    explicit QuotationListSubsystem(SubsystemHost& host);

    std::vector<SidePage> sidePages() override;
    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;
    void addMenus(QMenuBar& bar, CommandSet& commands) override;
    void windowClosing() override;

private:
    void showQuotationList();
    void openFromList(const QString& number);
    void copyFromList();
    void printFromList(const QStringList& numbers);
    void exportListCsv();
    void exportListWorkbook();
    void openWrittenWorkbook(const QString& file);

    SubsystemHost& host_;
    QWidget* sidePage_ = nullptr;
    QMenu* menu_ = nullptr;
    QuotationListView* listView_ = nullptr; // made when the list is first entered
};

} // namespace kerbina

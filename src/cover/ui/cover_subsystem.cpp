#include "cover/ui/cover_subsystem.h"

#include "base/folders.h"
#include "cover/ui/cover_page.h"
#include "cover/ui/title_data_dialog.h"
#include "settings/main_settings.h"

namespace kerbina {

CoverSubsystem::CoverSubsystem(SubsystemHost& host) : host_(host), page_(new CoverPage) {
    page_->setDataRoot(host.folders().dataRoot);
    page_->setPicker(
        [this](const std::string& kind, const std::string& heading, const std::string& current) {
            return pickTitle(kind, heading, current);
        });
    page_->setNumberIssuer(
        [this](const std::string& customerId) { return host_.issueQuotationNumber(customerId); });
    // A new addressee or number goes into the header file at once.
    QObject::connect(page_, &CoverPage::coverChanged, page_,
                     [this] { host_.runCommand([this] { host_.writeCover(); }); });
}

std::vector<SidePage> CoverSubsystem::sidePages() {
    return {SidePage{QStringLiteral("表紙・合計"), page_, SidePageFor::Quotation}};
}

std::optional<TitleEntry> CoverSubsystem::pickTitle(const std::string& kind,
                                                    const std::string& heading,
                                                    const std::string& current) {
    if (titleDataDialog_ == nullptr) {
        titleDataDialog_ = new TitleDataDialog(host_.quotationDatabase(), host_.addressDatabase(),
                                               host_.dialogParent());
    }
    const MainSettings& settings = host_.mainSettings();
    titleDataDialog_->setNumbering(NumberingOptions{settings.autoNumbering,
                                                    settings.perCustomerNumbering,
                                                    settings.offerNumberAfterCustomerPick});
    return titleDataDialog_->pick(kind, heading, current);
}

} // namespace kerbina

#pragma once

#include "cover/title_book.h"
#include "widgets/subsystem.h"

namespace kerbina {

class CoverPage;
class TitleDataDialog;

// The cover: the side page "表紙・合計" (the grand totals and the cover's fields), its pick buttons
// opening the picker over the quotation and address databases, and its number button. The window
// shows the header, the totals and the number on the page.
class CoverSubsystem final : public Subsystem {
public:
    explicit CoverSubsystem(SubsystemHost& host);

    std::vector<SidePage> sidePages() override;

private:
    // The picker of a cover field; made when first used (it needs the databases).
    std::optional<TitleEntry> pickTitle(const std::string& kind, const std::string& heading,
                                        const std::string& current);

    SubsystemHost& host_;
    CoverPage* page_;
    TitleDataDialog* titleDataDialog_ = nullptr;
};

} // namespace kerbina

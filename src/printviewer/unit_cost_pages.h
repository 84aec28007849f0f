#pragma once

#include "printviewer/page_document.h"

#include <string>
#include <vector>

namespace kerbina {

// The unit-cost breakdown list (代価表) as the printer lays it out, A4 landscape: 15 entries a
// page, page i headed "P-i", each entry with its number over the whole list, so that the notes
// "代価表 P-x No.y" of the quotation's lines find their entry. The lines are those of
// print_Data.dat: the entry's number, then its fields 2 to 29, each followed by ";".
class UnitCostPages final : public PageDocument {
public:
    static constexpr int kEntriesPerPage = 15;

    explicit UnitCostPages(std::vector<std::string> lines);

    int pageCount() const override;
    void paint(QPainter& painter, int index) const override;
    bool landscape() const override { return true; }
    QString title() const override;

private:
    std::vector<std::vector<std::string>> entries_;
};

} // namespace kerbina

#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <vector>

class QPainter;

namespace kerbina {

// Pages laid out before they are painted, so their number is known before the first is drawn.
// Painting uses a coordinate system of 0.1 mm on an A4 page, whatever the device: 2100 × 2970
// portrait, 2970 × 2100 landscape.
class PageDocument {
public:
    static constexpr int kA4Short = 2100;
    static constexpr int kA4Long = 2970;

    virtual ~PageDocument() = default;
    // Lays out more pages; false once every page is laid out. A document may lay its pages out a
    // part at a time, so that a preview shows the first page while the rest are still to come;
    // pageCount() counts the pages laid out so far.
    virtual bool layOutMore() { return false; }
    virtual bool laidOut() const { return true; }
    void layOutAll() {
        while (layOutMore()) {
        }
    }
    virtual int pageCount() const = 0;
    // Paints page `index` (0-based) on a painter whose window is the page.
    virtual void paint(QPainter& painter, int index) const = 0;
    virtual bool landscape() const { return false; }
    virtual QString title() const = 0;

    int pageWidth() const { return landscape() ? kA4Long : kA4Short; }
    int pageHeight() const { return landscape() ? kA4Short : kA4Long; }
};

// Lays out every page and writes them as a PDF file, fonts embedded. The file is written whole
// under a temporary name beside `file` and renamed over it only once every byte is on the disk, so
// a failure leaves an existing file as it was. Raises FileError, in the system's words, when the
// file cannot be written, when `file` names something other than a regular file (a folder, a
// device, a FIFO) or when it is one of `inputs`, the files the pages were made from.
void writePdf(PageDocument& document, const std::filesystem::path& file,
              const std::vector<std::filesystem::path>& inputs);

// The family list for the pages: Latin letters and digits from a plain Latin font, Japanese from
// the first Japanese font installed, IPA fonts first. Text copied from the PDF or searched in it
// must be the text drawn, and a PDF maps each glyph back to one character: the Japanese fonts draw
// Latin text with glyph variants that map back to nothing, and some (Noto Sans CJK among them)
// draw a kanji such as 見 or 工 with the glyph of its Kangxi radical (⾒, ⼯), which maps back to
// the radical.
QStringList japaneseFontFamilies();
// A Japanese font of `size` painting units.
QFont fontOfSize(double size, bool bold = false);
// Draws a text inside `rect`: at its size when it fits, else shrunk, else wrapped onto more lines
// at a smaller size, so nothing is cut off silently.
void drawFitted(QPainter& painter, const QRectF& rect, const QString& text, Qt::Alignment alignment,
                double size, bool bold = false);
// "n / N" at the foot of the page.
void drawPageNumber(QPainter& painter, const PageDocument& document, int index);

} // namespace kerbina

#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

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
    virtual int pageCount() const = 0;
    // Paints page `index` (0-based) on a painter whose window is the page.
    virtual void paint(QPainter& painter, int index) const = 0;
    virtual bool landscape() const { return false; }
    virtual QString title() const = 0;

    int pageWidth() const { return landscape() ? kA4Long : kA4Short; }
    int pageHeight() const { return landscape() ? kA4Short : kA4Long; }
};

// Writes the pages to a PDF file, fonts embedded. False when the file cannot be written.
bool writePdf(const PageDocument& document, const QString& file);

// The family list for the pages: Latin letters and digits from a plain Latin font, Japanese from
// the first Japanese font installed. The Japanese fonts draw Latin text with glyph variants that a
// PDF cannot map back to characters, so text copied from the PDF or searched in it would lose them.
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

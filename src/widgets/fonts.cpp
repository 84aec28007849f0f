#include "widgets/fonts.h"

#include <QStringList>

namespace kerbina {

namespace {

constexpr int kFontPixels = 13;

} // namespace

QFont quotationFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Meiryo"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("IPAGothic")});
    font.setPixelSize(kFontPixels);
    return font;
}

} // namespace kerbina

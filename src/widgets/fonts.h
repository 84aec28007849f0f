#pragma once

#include <QFont>

namespace kerbina {

// The font of the grid and the totals: "メイリオ" where it exists, else a Japanese font of the
// desktop.
QFont quotationFont();

} // namespace kerbina
